#pragma once
// What the main window's logic asks of the desktop window that shows it.
// CMainDlg decides everything; the host only carries it out (a Qt window on
// the desktop, a recorder in the tests). All calls come on the UI thread.
//
// Sizes and positions are logical pixels: the host scales the back buffer
// on dense screens, never the numbers.

#include <string>
#include <vector>

#include "config/CConfig.h"
#include "window/MenuIds.h"

namespace jb {

class IMessageTarget;
class IPrompt;
class IShell;

// Cursor pictures by resource id, chosen by the zone under the mouse.
enum CursorId : int {
  kCursorClose = 133,      // close button
  kCursorTitle = 134,      // title bar (moves the window)
  kCursorResize = 135,     // resize grip, toggle of a collapsed row
  kCursorTrack = 136,      // scroll track
  kCursorExpanded = 137,   // toggle of an expanded row
  kCursorArrow = 138,      // anywhere else
  kCursorScrollUp = 139,   // scroll-bar up arrow
  kCursorScrollDown = 140  // scroll-bar down arrow
};

// Notification-area pictures by resource id.
enum TrayIconId : int {
  kTrayIconIdle = 169,
  kTrayIconStarting = 170,
  // The progress frames, in the order the scan shows them (186 before 185).
  kTrayFrame0 = 183,
  kTrayFrame1 = 184,
  kTrayFrame2 = 186,
  kTrayFrame3 = 185,
  kTrayFrame4 = 187,
  kTrayFrame5 = 188,
  kTrayFrame6 = 189,
  kTrayFrame7 = 190,
  kTrayFrame8 = 191,
  kTrayFrame9 = 192,
  kTrayFrame10 = 193,
  kTrayFrame11 = 194,
};

// The window's large icon.
inline constexpr int kWindowIcon = 128;

// The sheets the commands open. A host offers a sheet once it exists;
// until then its command is greyed.
enum class Sheet { About, Options, EnvironmentSettings };

// What the environment settings sheet ended with.
enum class SheetResult { Exit = 1, Scan = 2 };

class IMainDlgHost {
 public:
  virtual ~IMainDlgHost() = default;

  // The window's rectangle on the screen (the window has no frame, so it
  // is the client area).
  virtual Rect GetWindowRect() const = 0;
  // Moves and sizes the window without changing its z-order. CMainDlg
  // applies the new client size itself (OnSize) right after, so the host
  // need not report it back; a repeated size is ignored anyway.
  virtual void SetWindowRect(const Rect& rect) = 0;
  // The rectangles of the screens, for placing a window stored off them.
  // Empty when unknown (nothing is moved then).
  virtual std::vector<Rect> GetScreenRects() const = 0;

  // Mouse capture for the drag modes. When the capture is lost other than
  // through ReleaseCapture, the host calls CMainDlg::OnCaptureChanged.
  virtual void SetCapture() = 0;
  virtual void ReleaseCapture() = 0;

  // A repeating timer; each period the host calls CMainDlg::OnTimer(id).
  virtual void SetTimer(unsigned id, int milliseconds) = 0;
  virtual void KillTimer(unsigned id) = 0;

  // The back buffer changed: repaint the window from it now, no erasing.
  virtual void PaintNow() = 0;

  // Shows a pop-up of menu 141 at the screen point, items in greyedIds
  // greyed, and waits for the choice: the command id, 0 when dismissed.
  // CMainDlg carries the command out itself (the host does not call
  // OnCommand for it). trackRightButton: the menu follows the right button.
  virtual int TrackPopupMenu(MenuPopup popup, int screenX, int screenY, bool trackRightButton,
                             const std::vector<int>& greyedIds) = 0;
  // The mouse pointer on the screen.
  virtual void GetCursorPos(int& screenX, int& screenY) const = 0;
  virtual void SetCursor(CursorId cursor) = 0;
  virtual void SetForeground() = 0;

  // Message boxes, questions, file dialogs, wait cursor and the beep.
  virtual IPrompt& Prompt() = 0;
  // Where the player is reached for the hand-off.
  virtual IShell& Shell() = 0;
  // The window as the scan thread reaches it: messages arrive, in order, as
  // CMainDlg::OnMessage calls on the UI thread (Send waits for the handler).
  virtual IMessageTarget& MessageTarget() = 0;

  // The notification-area icon. Without a notification area the host keeps
  // nothing (the title bar's menu button offers the same menu).
  virtual void TrayCreate(TrayIconId icon, const std::string& toolTip) = 0;
  virtual void TraySetIcon(TrayIconId icon) = 0;
  virtual void TraySetToolTip(const std::string& toolTip) = 0;
  virtual void TrayRemove() = 0;

  // The splash, shown modally during start-up (nothing until it exists).
  virtual void ShowSplash() {}
  // Whether a sheet can be opened; RunSheet opens it modally and returns
  // its result (SheetResult for the environment settings).
  virtual bool HasSheet(Sheet) const { return false; }
  virtual int RunSheet(Sheet) { return 0; }

  // Ends the window's modal run: the program then tears down and exits.
  virtual void EndDialog(int result) = 0;
};

}  // namespace jb
