#include "resources/ui/ListRows.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>

#include "platform/ui/ControlId.h"
#include "resources/ResourceEditing.h"

namespace jb {
namespace {

class KeyFilter : public QObject {
 public:
  KeyFilter(QObject* parent, int key, std::function<void()> action)
      : QObject(parent), m_nKey(key), m_action(std::move(action)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == m_nKey) {
      m_action();
      return true;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  int m_nKey;
  std::function<void()> m_action;
};

}  // namespace

QTreeWidget* MakeReportList(int id, const QStringList& columns, QSize imageSize, QWidget* parent) {
  auto* list = new QTreeWidget(parent);
  list->setObjectName(ControlName(id));
  list->setRootIsDecorated(false);
  list->setUniformRowHeights(true);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setAllColumnsShowFocus(true);
  list->setIconSize(imageSize);
  list->setColumnCount(std::max<int>(1, static_cast<int>(columns.size())));
  if (columns.isEmpty())
    list->setHeaderHidden(true);
  else
    list->setHeaderLabels(columns);
  list->header()->setSectionsMovable(false);
  list->header()->setSortIndicatorShown(false);
  return list;
}

void SplitColumns(QTreeWidget* list, int quarters) {
  const int w = list->viewport()->width() - list->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  list->setColumnWidth(0, w / 4 * quarters);
  list->header()->setStretchLastSection(true);
}

int SelectedRow(const QTreeWidget* list) {
  const QList<QTreeWidgetItem*> selected = list->selectedItems();
  return selected.isEmpty() ? -1 : list->indexOfTopLevelItem(selected.front());
}

void SelectRow(QTreeWidget* list, int row) {
  QTreeWidgetItem* item = row >= 0 ? list->topLevelItem(row) : nullptr;
  if (!item) {
    list->clearSelection();
    list->setCurrentItem(nullptr);
    return;
  }
  list->setCurrentItem(item);
  item->setSelected(true);
  list->scrollToItem(item);
}

void RemoveRow(QTreeWidget* list, int row) {
  delete list->takeTopLevelItem(row);
  SelectRow(list, RowAfterRemoval(row, list->topLevelItemCount()));
}

void SortKeepingSelection(QTreeWidget* list, QTreeWidgetItem* item) {
  list->sortItems(0, Qt::AscendingOrder);
  if (item) SelectRow(list, list->indexOfTopLevelItem(item));
}

QPushButton* MakeIconButton(int id, const QIcon& icon, QWidget* parent) {
  auto* button = new QPushButton(icon, QString(), parent);
  button->setObjectName(ControlName(id));
  button->setIconSize(QSize(16, 16));
  button->setAutoDefault(false);
  return button;
}

void OnKey(QWidget* widget, int key, std::function<void()> action) {
  widget->installEventFilter(new KeyFilter(widget, key, std::move(action)));
}

}  // namespace jb
