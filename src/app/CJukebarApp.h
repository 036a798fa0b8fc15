#pragma once
// The program's start-up and end: parse the command line, make the one
// configuration (which finds and enters the installation folder), run the
// main window modally until it ends, tear down. The desktop side supplies
// the prompt, the window's host and its modal run.

#include <memory>

#include "config/CJukebarCommandLineInfo.h"
#include "skin/SkinSet.h"

namespace jb {

class CMainDlg;
class IMainDlgHost;
class IPrompt;
class UserSettings;

class IAppDesktop {
 public:
  virtual ~IAppDesktop() = default;
  // Messages before the window exists (the installation check).
  virtual IPrompt& Prompt() = 0;
  // The window's host; made once the configuration has entered the
  // installation folder.
  virtual IMainDlgHost& Host() = 0;
  // The host's events go to dlg from now on (null: nowhere).
  virtual void Attach(CMainDlg* dlg) = 0;
  // Shows the window and runs it until EndDialog; returns its result.
  virtual int RunModal() = 0;
};

class CJukebarApp {
 public:
  // Returns false, always: nothing follows the main window.
  bool InitInstance(int argc, const char* const* argv, IAppDesktop& desktop, const UserSettings& settings);

  CJukebarCommandLineInfo m_cmdInfo;
  SkinSet m_skin;
};

}  // namespace jb
