#include "resources/ui/CTypeListDlg.h"

#include <QLabel>
#include <QVBoxLayout>

#include "platform/ui/QtText.h"
#include "resources/ui/ResourcePictures.h"
#include "strings/StringTable.h"
#include "types/CResourceTypeArray.h"

namespace jb {

CTypeListDlg::CTypeListDlg(CResourceTypeArray& types, const ResourcePictures& pictures, const QString& title,
                           const QString& caption, QWidget* parent)
    : QDialog(parent), m_types(types), m_pLayout(new QVBoxLayout(this)), m_strip(pictures.Strip(kTypeStrip, 16)) {
  setWindowTitle(title);
  m_pList = MakeReportList(1073, {ToQString(LoadString(ids::NameColumn)), ToQString(LoadString(ids::ExtensionsColumn))},
                           QSize(16, 14), this);
  m_pList->setMinimumSize(300, 180);
  auto* label = new QLabel(caption, this);
  label->setBuddy(m_pList);
  m_pLayout->addWidget(label);
  m_pLayout->addWidget(m_pList, 1);
  for (size_t i = 0; i < types.GetSize(); ++i) {
    auto* row = new TypeRow(types.GetAt(i));
    ShowType(row);
    m_pList->addTopLevelItem(row);
  }
  m_pList->sortItems(0, Qt::AscendingOrder);
}

CResourceType* CTypeListDlg::SelectedType() const {
  const int row = SelectedRow(m_pList);
  return row < 0 ? nullptr : static_cast<TypeRow*>(m_pList->topLevelItem(row))->Object();
}

void CTypeListDlg::AddRow(CResourceType* type) {
  auto* row = new TypeRow(type);
  ShowType(row);
  m_pList->addTopLevelItem(row);
  SortKeepingSelection(m_pList, row);
}

void CTypeListDlg::UpdateRow(TypeRow* row) {
  ShowType(row);
  SortKeepingSelection(m_pList, row);
}

void CTypeListDlg::ShowType(TypeRow* row) {
  const CResourceType& type = *row->Object();
  StringList extensions;
  type.GetExtensions(extensions);
  row->setText(0, ToQString(type.GetName()));
  row->setText(1, ToQString(JoinExtensions(extensions)));
  const int image = type.GetIcon(0);
  if (image < m_strip.size()) row->setIcon(0, m_strip[image]);
}

void CTypeListDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  SplitColumns(m_pList, 2);
}

}  // namespace jb
