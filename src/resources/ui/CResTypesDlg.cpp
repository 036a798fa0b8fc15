#include "resources/ui/CResTypesDlg.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/ui/QtText.h"
#include "resources/ui/ResourcePictures.h"
#include "strings/StringTable.h"
#include "types/BuiltinTypes.h"
#include "types/CResourceTypeArray.h"

namespace jb {

CResTypesDlg::CResTypesDlg(CResourceTypeArray& types, const ResourcePictures& pictures, QWidget* parent)
    : CTypeListDlg(types, pictures, QStringLiteral("Resource types edition"), QStringLiteral("Defined resource types :"),
                   parent),
      m_pNew(MakeIconButton(1074, pictures.Icon(kIconNewType), this)),
      m_pProperties(MakeIconButton(1075, pictures.Icon(kIconProperties), this)),
      m_pDelete(MakeIconButton(1076, pictures.Icon(kIconDelete), this)) {
  auto* exit = new QPushButton(ToQString(LoadString(ids::ExitButton)), this);
  exit->setObjectName(QStringLiteral("id2"));
  exit->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* button : {m_pNew, m_pProperties, m_pDelete}) buttons->addWidget(button);
  buttons->addStretch(1);
  buttons->addWidget(exit);
  m_pLayout->addLayout(buttons);

  connect(m_pNew, &QPushButton::clicked, this, &CResTypesDlg::OnNew);
  connect(m_pProperties, &QPushButton::clicked, this, &CResTypesDlg::OnProperties);
  connect(m_pDelete, &QPushButton::clicked, this, &CResTypesDlg::OnDelete);
  connect(exit, &QPushButton::clicked, this, &QDialog::reject);
  connect(List(), &QTreeWidget::itemSelectionChanged, this, &CResTypesDlg::UpdateButtons);
  connect(List(), &QTreeWidget::itemDoubleClicked, this, [this] {
    if (m_pProperties->isEnabled()) OnProperties();
  });
  OnKey(List(), Qt::Key_Delete, [this] {
    if (m_pDelete->isEnabled()) OnDelete();
  });
  UpdateButtons();
}

void CResTypesDlg::UpdateButtons() {
  const TypeButtons allowed = TypeButtonsFor(SelectedType());
  m_pProperties->setEnabled(allowed.properties);
  m_pDelete->setEnabled(allowed.remove);
}

void CResTypesDlg::OnNew() {
  auto type = std::make_unique<CUserType>();
  if (!type->EditProperties()) return;
  CResourceType* added = type.get();
  m_types.Add(std::move(type));
  AddRow(added);
}

void CResTypesDlg::OnProperties() {
  const int row = SelectedRow(List());
  if (row < 0) return;
  auto* item = static_cast<TypeRow*>(List()->topLevelItem(row));
  if (item->Object()->EditProperties()) UpdateRow(item);
}

void CResTypesDlg::OnDelete() {
  const int row = SelectedRow(List());
  if (row < 0) return;
  CResourceType* type = static_cast<TypeRow*>(List()->topLevelItem(row))->Object();
  for (size_t i = 0; i < m_types.GetSize(); ++i)
    if (m_types.GetAt(i) == type) {
      m_types.RemoveAt(i);
      break;
    }
  RemoveRow(List(), row);
}

}  // namespace jb
