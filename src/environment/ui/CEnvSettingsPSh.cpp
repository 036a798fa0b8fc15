#include "environment/ui/CEnvSettingsPSh.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "environment/CEnvironment.h"
#include "platform/ui/QtText.h"
#include "resources/ui/CResourcesPage.h"
#include "strings/StringTable.h"

namespace jb {

namespace {

QPushButton* SheetButton(int id, QWidget* parent) {
  auto* button = new QPushButton(ToQString(LoadString(id)), parent);
  button->setAutoDefault(false);
  button->setMinimumWidth(104);
  return button;
}

}  // namespace

CEnvSettingsPSh::CEnvSettingsPSh(CEnvironment& environment, CConfig& config, const QString& pictureFolder,
                                 QWidget* parent)
    : QDialog(parent), m_pictures(pictureFolder) {
  setWindowTitle(ToQString(LoadString(ids::SettingsTitle)));
  auto* tabs = new QTabWidget(this);
  m_pPage = new CResourcesPage(environment.Resources(), config, m_pictures,
                               [&environment] { environment.SetModified(); }, tabs);
  tabs->addTab(m_pPage, QStringLiteral("Resources"));

  QPushButton* scan = SheetButton(ids::ScanButton, this);
  scan->setObjectName(QStringLiteral("id22"));
  QPushButton* exit = SheetButton(ids::ExitButton, this);
  exit->setObjectName(QStringLiteral("id2"));
  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(8);
  buttons->addStretch(1);
  buttons->addWidget(scan);
  buttons->addWidget(exit);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs, 1);
  layout->addLayout(buttons);

  connect(scan, &QPushButton::clicked, this, [this] {
    m_nResult = kScan;
    accept();
  });
  connect(exit, &QPushButton::clicked, this, &QDialog::reject);
  m_pPage->List()->setFocus();
}

int CEnvSettingsPSh::Run() {
  m_nResult = kExit;
  exec();
  return m_nResult;
}

}  // namespace jb
