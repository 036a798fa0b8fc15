#pragma once
// What the program's property sheets share: pages on tabs and, under them,
// the row where the Help, OK, Cancel and Apply buttons would be. It holds
// only "E&xit" (id 2, ending the sheet with the cancel result) and the
// sheet's own buttons left of it, each 80 pixels wide with 8 between them,
// right-aligned.

#include <QDialog>

class QHBoxLayout;
class QPushButton;
class QTabWidget;

namespace jb {

class QtSheet : public QDialog {
 public:
  QtSheet(const QString& caption, QWidget* parent);

  QTabWidget* Pages() const { return m_pPages; }
  QPushButton* ExitButton() const { return m_pExit; }

 protected:
  // Adds a button before "E&xit", after the ones added before it. Its text
  // is string id, which is also its control id.
  QPushButton* AddButton(int id);

 private:
  QTabWidget* m_pPages = nullptr;
  QHBoxLayout* m_pButtons = nullptr;
  QPushButton* m_pExit = nullptr;
};

}  // namespace jb
