#pragma once
// The desktop side of start-up: Qt's prompt, the player's shell and the
// main window's host, made when start-up asks for them, plus the ways the
// desktop ends a program (session end, termination signals), which all pass
// the window's close check.

#include <QObject>
#include <memory>

#include "app/CJukebarApp.h"
#include "platform/Shell.h"
#include "platform/ui/QtPrompt.h"

class QSessionManager;
class QSocketNotifier;

namespace jb {

class QtMainWindow;
class QtResourceEditor;
class QtTypePropertiesEditor;
class SkinSet;

class QtDesktop : public IAppDesktop {
 public:
  explicit QtDesktop(const UserSettings& settings);
  ~QtDesktop() override;

  IPrompt& Prompt() override { return m_prompt; }
  // Made on first use, after start-up entered the installation folder,
  // with the pictures of its res/ folder.
  IMainDlgHost& Host() override;
  void Attach(CMainDlg* dlg) override;
  int RunModal() override;

  QtMainWindow* Window() const { return m_pWindow.get(); }
  // The skin whose icons the type dialogs offer, once a window is attached.
  void UseSkin(const SkinSet& skin) { m_pSkin = &skin; }

  // SIGTERM, SIGINT and SIGHUP close the window as its close button does.
  // Call once, from the UI thread.
  void CatchTerminationSignals();

 private:
  void OnCommitData(QSessionManager& manager);
  void OnTerminationSignal();

  QtPrompt m_prompt;
  std::unique_ptr<IShell> m_pShell;
  std::unique_ptr<QtMainWindow> m_pWindow;
  CMainDlg* m_pDlg = nullptr;
  const SkinSet* m_pSkin = nullptr;
  // EditProperties runs the type dialogs while a window is attached.
  std::unique_ptr<QtTypePropertiesEditor> m_pTypeEditor;
  // CResource::Edit runs the resources' dialogs likewise.
  std::unique_ptr<QtResourceEditor> m_pResourceEditor;
  QObject m_context;
  std::unique_ptr<QSocketNotifier> m_pSignalNotifier;
};

// How long the splash shows: JUKEBAR_SPLASH_MS when it holds a number of
// milliseconds (0 skips it, for tests), else the usual 2.5 seconds.
int SplashMilliseconds();

// Applies the desktop's palette to the colours the skinned controls take
// from the system.
void UseDesktopPalette();

}  // namespace jb
