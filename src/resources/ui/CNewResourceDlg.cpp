#include "resources/ui/CNewResourceDlg.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "resources/CreateResource.h"

namespace jb {

CNewResourceDlg::CNewResourceDlg(std::unique_ptr<CResource>& newResource, CResourceTypeArray& types,
                                 const ResourcePictures& pictures, QWidget* parent)
    : CTypeListDlg(types, pictures, QStringLiteral("New resource"), QStringLiteral("Select the resource type :"),
                   parent),
      m_newResource(newResource) {
  auto* buttons = new QDialogButtonBox(this);
  m_pNew = buttons->addButton(QStringLiteral("&New..."), QDialogButtonBox::AcceptRole);
  m_pNew->setObjectName(QStringLiteral("id1"));
  QPushButton* cancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
  cancel->setObjectName(QStringLiteral("id2"));
  m_pLayout->addWidget(buttons);

  connect(m_pNew, &QPushButton::clicked, this, &CNewResourceDlg::OnNew);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(List(), &QTreeWidget::itemSelectionChanged, this, [this] { m_pNew->setEnabled(SelectedType()); });
  connect(List(), &QTreeWidget::itemDoubleClicked, this, [this] {
    if (m_pNew->isEnabled()) OnNew();
  });
  SelectRow(List(), -1);
  m_pNew->setEnabled(false);
}

void CNewResourceDlg::OnNew() {
  CResourceType* type = SelectedType();
  if (!type) return;
  m_newResource = CreateResource(type);
  accept();
}

}  // namespace jb
