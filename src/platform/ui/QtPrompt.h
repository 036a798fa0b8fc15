#pragma once
// The prompt interface on Qt: message boxes, file dialogs, the wait cursor
// and the beep, for the desktop program.

#include <QPointer>
#include <QWidget>
#include <functional>

#include "platform/Prompt.h"

namespace jb {

class QtPrompt : public IPrompt {
 public:
  // The program's texts by string id.
  using TextLoader = std::function<std::string(int stringId)>;

  // Boxes and dialogs are modal to parent, which may be null or change.
  explicit QtPrompt(TextLoader loadText, QWidget* parent = nullptr)
      : m_loadText(std::move(loadText)), m_parent(parent) {}
  void SetParent(QWidget* parent) { m_parent = parent; }

  // The detail goes under the message box's "Show Details..." button.
  void ShowMessage(int stringId, const std::string& detail = {}) override;
  void ShowText(const std::string& text) override;
  Answer AskYesNoCancel(const std::string& text) override;
  std::optional<std::string> ChooseOpenFile(const FileDialogOptions& options) override;
  std::optional<std::string> ChooseSaveFile(const FileDialogOptions& options) override;
  // Qt's own directory chooser under the prompt text, in a window of its own.
  std::optional<std::string> ChooseFolder(const FolderDialogOptions& options) override;
  void BeginWaitCursor() override;
  void EndWaitCursor() override;
  void Beep() override;

  // "Text (*.ext)|*.ext||" as a Qt name filter list: "Text (*.ext)".
  static QString NameFilters(const std::string& filter);

 private:
  TextLoader m_loadText;
  QPointer<QWidget> m_parent;
};

}  // namespace jb
