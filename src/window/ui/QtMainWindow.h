#pragma once
// The main window on the desktop: a frameless, always-on-top tool window
// that hands every event to CMainDlg and shows its back buffer. It carries
// out what CMainDlg asks (IMainDlgHost): placing itself, capture, timers,
// menu 141, cursors, the tray icon and the end of its modal run.

#include <QBasicTimer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>

#include "platform/ui/QtMessageTarget.h"
#include "window/IMainDlgHost.h"
#include "window/ui/CQvTrayIcon.h"
#include "window/ui/QtPictures.h"

class QEventLoop;

namespace jb {

class CMainDlg;

class QtMainWindow : public QWidget, public IMainDlgHost {
 public:
  // pictureFolder holds the cursors' and icons' PNG files.
  QtMainWindow(IPrompt& prompt, IShell& shell, const QString& pictureFolder);
  ~QtMainWindow() override;

  // Events go to dlg from now on (null: nowhere).
  void Attach(CMainDlg* dlg) { m_pDlg = dlg; }
  // Shows the window and runs until EndDialog; returns its result. After an
  // EndDialog that came first (a failed start), returns at once.
  int RunModal();
  bool HasEnded() const { return m_bEnded; }
  const QString& PictureFolder() const { return m_pictures.Folder(); }

  // IMainDlgHost.
  Rect GetWindowRect() const override;
  void SetWindowRect(const Rect& rect) override;
  std::vector<Rect> GetScreenRects() const override;
  void SetCapture() override;
  void ReleaseCapture() override;
  void SetTimer(unsigned id, int milliseconds) override;
  void KillTimer(unsigned id) override;
  void PaintNow() override;
  int TrackPopupMenu(MenuPopup popup, int screenX, int screenY, bool trackRightButton,
                     const std::vector<int>& greyedIds) override;
  void GetCursorPos(int& screenX, int& screenY) const override;
  void SetCursor(CursorId cursor) override;
  void SetForeground() override;
  IPrompt& Prompt() override { return m_prompt; }
  IShell& Shell() override { return m_shell; }
  IMessageTarget& MessageTarget() override { return m_target; }
  void TrayCreate(TrayIconId icon, const std::string& toolTip) override;
  void TraySetIcon(TrayIconId icon) override;
  void TraySetToolTip(const std::string& toolTip) override;
  void TrayRemove() override;
  void ShowSplash() override;
  bool HasSheet(Sheet sheet) const override;
  int RunSheet(Sheet sheet) override;
  void EndDialog(int result) override;

  // The splash and the sheets that layers above this one own (About),
  // supplied by start-up. The Options sheet is the window's own.
  void SetSplash(std::function<void()> show) { m_splash = std::move(show); }
  void SetSheet(Sheet sheet, std::function<int()> run) { m_sheets[sheet] = std::move(run); }

  // The key's code as the window's key handler knows it; 0 for keys it
  // has no code for.
  static int VirtualKey(int qtKey);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void OnMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
  void LoseCapture();

  IPrompt& m_prompt;
  IShell& m_shell;
  QtPictures m_pictures;
  QtMessageTarget m_target;
  CQvTrayIcon m_tray;
  CMainDlg* m_pDlg = nullptr;
  std::map<unsigned, QBasicTimer> m_timers;
  std::function<void()> m_splash;
  std::map<Sheet, std::function<int()>> m_sheets;
  bool m_bCaptured = false;
  QEventLoop* m_pLoop = nullptr;
  bool m_bEnded = false;
  int m_nResult = 0;
};

// Asks Qt for its X11 back end when nothing else was asked for and an X
// display is there: the window places itself, which Wayland does not allow.
// Call before the application object is made.
void PreferXcb();

}  // namespace jb
