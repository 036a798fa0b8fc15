#pragma once
// What the three type property dialogs share: a modal dialog with a grid of
// labelled rows, icon sliders with previews, and Cancel just left of OK.
// The type changes only when OK is accepted; Cancel and the close box leave
// it as it was.

#include <QDialog>
#include <memory>
#include <string>

#include "sprites/ui/IconSlider.h"

class QGridLayout;
class QLineEdit;
class QPushButton;

namespace jb {

class IPrompt;

class TypeDialog : public QDialog {
 protected:
  TypeDialog(const QString& title, const CQvSpriteArray& icons, IPrompt& prompt, QWidget* parent);

  // A label over an edit holding text; the edit's objectName is "id" + id.
  QLineEdit* AddEdit(const QString& label, int id, const std::string& text);
  // A label, then a slider over the icons and its preview on one row.
  std::unique_ptr<IconSlider> AddIconSlider(const QString& label, int sliderId, int previewId, const CQvSprite& sizeOf,
                                            int position);
  // Adds the buttons under the rows; OK runs OnOk, which accepts or not.
  void FinishLayout();
  QPushButton* OkButton() const { return m_pOk; }
  virtual void OnOk() = 0;

  // The edit's text as bytes: the original bytes while the text is the one
  // shown for them, so a name that is not UTF-8 survives an unchanged edit.
  static std::string EditBytes(const QLineEdit* edit, const std::string& original);

  const CQvSpriteArray& m_icons;
  IPrompt& m_prompt;

 private:
  QGridLayout* m_pGrid;
  QPushButton* m_pOk = nullptr;
};

}  // namespace jb
