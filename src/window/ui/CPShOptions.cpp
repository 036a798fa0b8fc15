#include "window/ui/CPShOptions.h"

#include <QTabWidget>

#include "config/CConfig.h"
#include "platform/ui/QtText.h"
#include "strings/StringTable.h"
#include "treeview/ui/CTreeViewPage.h"
#include "window/ui/CMainWindowPage.h"

namespace jb {

CPShOptions::CPShOptions(CConfig& config, SkinSet& skin, IMessageTarget& mainWindow, IPrompt& prompt,
                         QWidget* parent)
    : QtSheet(ToQString(LoadString(ids::OptionsTitle)), parent), m_config(config) {
  setObjectName(QStringLiteral("CPShOptions"));
  Pages()->addTab(new CMainWindowPage(config, skin), CMainWindowPage::Title());
  Pages()->addTab(new CTreeViewPage(config, skin, mainWindow, prompt), CTreeViewPage::Title());
}

CPShOptions::~CPShOptions() { m_config.Save(); }

}  // namespace jb
