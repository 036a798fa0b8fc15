#include "window/ui/CEnvSettingsPSh.h"

#include <QPushButton>
#include <QTabWidget>

#include "environment/CEnvironment.h"
#include "platform/ui/QtText.h"
#include "resources/ui/CResourcesPage.h"
#include "strings/StringTable.h"

namespace jb {

CEnvSettingsPSh::CEnvSettingsPSh(CEnvironment& environment, CConfig& config, const QString& pictureFolder,
                                 QWidget* parent)
    : QtSheet(ToQString(LoadString(ids::SettingsTitle)), parent), m_pictures(pictureFolder) {
  m_pPage = new CResourcesPage(environment.Resources(), config, m_pictures,
                               [&environment] { environment.SetModified(); }, Pages());
  Pages()->addTab(m_pPage, QStringLiteral("Resources"));
  connect(AddButton(ids::ScanButton), &QPushButton::clicked, this, [this] {
    m_nResult = kScan;
    accept();
  });
  m_pPage->List()->setFocus();
}

int CEnvSettingsPSh::Run() {
  m_nResult = kExit;
  exec();
  return m_nResult;
}

}  // namespace jb
