#include "app/CJukebarApp.h"

#include <string>

#include "config/CConfig.h"
#include "platform/FileSystem.h"
#include "window/CMainDlg.h"

namespace jb {
namespace {

// The environment named on the command line is relative to where the user
// started the program, not to the installation folder the configuration
// makes current.
void AnchorToStartDirectory(CJukebarCommandLineInfo& cmdInfo) {
  std::string path;
  if (cmdInfo.GetEnvironmentOverride(path) && !path.empty()) cmdInfo.m_aParams[0] = AbsolutePath(path);
}

}  // namespace

bool CJukebarApp::InitInstance(int argc, const char* const* argv, IAppDesktop& desktop, const UserSettings& settings) {
  m_cmdInfo.ParseCommandLine(argc, argv);
  AnchorToStartDirectory(m_cmdInfo);
  auto config = std::make_unique<CConfig>(desktop.Prompt(), settings, m_cmdInfo);
  {
    CMainDlg dlg(desktop.Host(), *config, m_skin);
    desktop.Attach(&dlg);
    if (dlg.OnInitDialog()) desktop.RunModal();
    desktop.Attach(nullptr);
  }
  config.reset();
  return false;
}

}  // namespace jb
