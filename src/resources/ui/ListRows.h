#pragma once
// What the dialogs' list controls share: report lists whose rows carry the
// object they show and sort by the dialogs' own orders, the selection, and
// the removal of the selected row.

#include <QTreeWidget>
#include <functional>

class QPushButton;

namespace jb {

// A row carrying a pointer to the object it shows, ordered by Less.
template <class T, bool (*Less)(const T&, const T&)>
class ObjectRow : public QTreeWidgetItem {
 public:
  explicit ObjectRow(T* object) : m_pObject(object) {}
  T* Object() const { return m_pObject; }
  bool operator<(const QTreeWidgetItem& other) const override {
    return Less(*m_pObject, *static_cast<const ObjectRow&>(other).m_pObject);
  }

 private:
  T* m_pObject;
};

// A report list with single, full-row selection, named after its id; no
// header when columns is empty.
QTreeWidget* MakeReportList(int id, const QStringList& columns, QSize imageSize, QWidget* parent);
// Gives the first column quarters/4 of the width the list shows rows in
// (less a vertical scroll bar) and the rest to the second.
void SplitColumns(QTreeWidget* list, int quarters);

// The selected row; -1 for none.
int SelectedRow(const QTreeWidget* list);
// Selects row and shows it; clears the selection for -1.
void SelectRow(QTreeWidget* list, int row);
// Deletes row and selects the one that takes its place, else the new last.
void RemoveRow(QTreeWidget* list, int row);
// Sorts and keeps item selected.
void SortKeepingSelection(QTreeWidget* list, QTreeWidgetItem* item);

// A push button that shows an icon and no text, named after its id.
QPushButton* MakeIconButton(int id, const QIcon& icon, QWidget* parent);

// Calls action when key is pressed in widget (the key goes no further).
void OnKey(QWidget* widget, int key, std::function<void()> action);

}  // namespace jb
