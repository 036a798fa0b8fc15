#include "resources/ui/CResourcesPage.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/CConfig.h"
#include "platform/ui/QtText.h"
#include "resources/CResourceArray.h"
#include "resources/ui/CNewResourceDlg.h"
#include "resources/ui/CResTypesDlg.h"
#include "resources/ui/ResourcePictures.h"

namespace jb {

CResourcesPage::CResourcesPage(CResourceArray& resources, CConfig& config, const ResourcePictures& pictures,
                               std::function<void()> markModified, QWidget* parent)
    : QWidget(parent),
      m_resources(resources),
      m_config(config),
      m_pictures(pictures),
      m_markModified(std::move(markModified)),
      m_strip(pictures.Strip(kTypeStrip, 16)),
      m_pList(MakeReportList(1040, {}, QSize(16, 14), this)),
      m_pProperties(MakeIconButton(1045, pictures.Icon(kIconProperties), this)),
      m_pRemove(MakeIconButton(1042, pictures.Icon(kIconDelete), this)) {
  setObjectName(QStringLiteral("id152"));
  QPushButton* add = MakeIconButton(1041, pictures.Icon(kIconNewResource), this);
  QPushButton* types = MakeIconButton(1043, pictures.Icon(kIconResourceTypes), this);
  auto* label = new QLabel(QStringLiteral("Resources to scan or to cloak :"), this);
  label->setBuddy(m_pList);
  m_pList->setMinimumSize(300, 200);
  auto* buttons = new QVBoxLayout;
  QWidget* previous = m_pList;
  for (QPushButton* button : {add, types, m_pProperties, m_pRemove}) {
    buttons->addWidget(button);
    setTabOrder(previous, button);
    previous = button;
  }
  buttons->addStretch(1);
  auto* body = new QHBoxLayout;
  body->addWidget(m_pList, 1);
  body->addLayout(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addLayout(body, 1);

  for (size_t i = resources.GetSize(); i-- > 0;) {
    auto* row = new ResourceRow(resources.GetAt(i));
    ShowResource(row);
    m_pList->addTopLevelItem(row);
  }
  m_pList->sortItems(0, Qt::AscendingOrder);

  connect(add, &QPushButton::clicked, this, &CResourcesPage::OnNew);
  connect(types, &QPushButton::clicked, this, &CResourcesPage::OnResourceTypes);
  connect(m_pProperties, &QPushButton::clicked, this, &CResourcesPage::OnProperties);
  connect(m_pRemove, &QPushButton::clicked, this, &CResourcesPage::OnRemove);
  connect(m_pList, &QTreeWidget::itemSelectionChanged, this, &CResourcesPage::UpdateButtons);
  connect(m_pList, &QTreeWidget::itemDoubleClicked, this, [this] {
    if (m_pProperties->isEnabled()) OnProperties();
  });
  OnKey(m_pList, Qt::Key_Delete, [this] {
    if (m_pRemove->isEnabled()) OnRemove();
  });
  UpdateButtons();
}

void CResourcesPage::ShowResource(ResourceRow* row) {
  const CResource& resource = *row->Object();
  row->setText(0, ToQString(resource.m_strPath));
  const int image = resource.GetIcon();
  row->setIcon(0, image < m_strip.size() ? m_strip[image] : QIcon());
}

void CResourcesPage::UpdateButtons() {
  const bool selected = SelectedRow(m_pList) >= 0;
  m_pProperties->setEnabled(selected);
  m_pRemove->setEnabled(selected);
}

void CResourcesPage::OnNew() {
  std::unique_ptr<CResource> resource;
  CNewResourceDlg chooser(resource, m_config.resourceTypes, m_pictures, this);
  if (chooser.exec() != QDialog::Accepted || !resource || !resource->Edit(m_resources)) return;
  auto* row = new ResourceRow(resource.get());
  m_resources.Add(std::move(resource));
  m_markModified();
  ShowResource(row);
  m_pList->addTopLevelItem(row);
  SortKeepingSelection(m_pList, row);
}

void CResourcesPage::OnProperties() {
  const int index = SelectedRow(m_pList);
  if (index < 0) return;
  auto* row = static_cast<ResourceRow*>(m_pList->topLevelItem(index));
  if (!row->Object()->Edit(m_resources)) return;
  m_markModified();
  ShowResource(row);
  SortKeepingSelection(m_pList, row);
}

void CResourcesPage::OnRemove() {
  const int index = SelectedRow(m_pList);
  if (index < 0) return;
  const CResource* resource = static_cast<ResourceRow*>(m_pList->topLevelItem(index))->Object();
  for (size_t i = 0; i < m_resources.GetSize(); ++i)
    if (m_resources.GetAt(i) == resource) {
      m_resources.RemoveAt(i);
      break;
    }
  m_markModified();
  RemoveRow(m_pList, index);
}

void CResourcesPage::OnResourceTypes() {
  UnbindUserTypes(m_resources);
  CResTypesDlg dialog(m_config.resourceTypes, m_pictures, this);
  dialog.exec();
  m_resources.RelinkTypes(m_config.resourceTypes);
  m_config.Save();
}

}  // namespace jb
