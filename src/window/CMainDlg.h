#pragma once
// The main window's logic: the frame's hit zones and cursors, the mouse
// modes (move, title buttons, stepped resize, scroll arrows, thumb drag),
// wheel and keys, the menus and their commands, the scan messages with the
// progress bar and tray icon, the form toggle and the close check. It owns
// the environment, the tree, the scroll bar and the painter with the back
// buffer; the desktop window (IMainDlgHost) forwards its events to the
// handlers below and shows BackBuffer() when it paints.
//
// All handlers run on the UI thread. The scan thread reaches the window only
// through the host's message target, which calls OnMessage here.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "environment/CEnvironment.h"
#include "platform/Shell.h"
#include "treeview/TreeScrollBar.h"
#include "treeview/TreeView.h"
#include "window/IMainDlgHost.h"
#include "window/MainWindowPainter.h"
#include "window/MenuIds.h"
#include "window/WindowMessages.h"

namespace jb {

class CConfig;
class SkinSet;

class CMainDlg {
 public:
  // Modifier keys held during a mouse or key event, or-ed together.
  enum Modifier : unsigned { kNoModifier = 0, kShift = 1, kCtrl = 2 };
  // The same keys as the tree takes them.
  static constexpr Modifiers TreeModifiers(unsigned modifiers) {
    return ((modifiers & kShift) ? Modifiers::Shift : Modifiers::None) |
           ((modifiers & kCtrl) ? Modifiers::Ctrl : Modifiers::None);
  }
  // Keys by their virtual-key codes.
  enum Key : int {
    kKeyEnter = 13,
    kKeySpace = 32,
    kKeyPageUp = 33,
    kKeyPageDown = 34,
    kKeyEnd = 35,
    kKeyHome = 36,
    kKeyLeft = 37,
    kKeyUp = 38,
    kKeyRight = 39,
    kKeyDown = 40,
  };
  // Hit zones of the client area.
  enum Zone : int {
    kZoneNone = 0,
    kZoneTitle = 1,
    kZoneMenuButton = 2,
    kZoneFormButton = 3,
    kZoneCloseButton = 4,
    kZoneResizeGrip = 6,
    kZoneRowText = 7,
    kZoneRowToggle = 8,
    kZoneEmptyTree = 9,
    kZoneScrollUp = 10,
    kZoneScrollDown = 11,
    kZoneScrollTrack = 12,
  };
  // What a held left button is doing.
  enum MouseMode : std::uint8_t {
    kModeNone = 0,
    kModeMove = 1,
    kModeButton = 5,
    kModeResize = 6,
    kModeScrollUp = 10,
    kModeScrollDown = 11,
    kModeThumb = 12,
  };
  // The mouse messages the tray icon reports (OnTrayNotify).
  enum TrayMouse : unsigned { kTrayLButtonUp = 0x0202, kTrayLButtonDblClk = 0x0203, kTrayRButtonUp = 0x0205 };
  // The results EndDialog is given.
  enum DialogResult : int { kIdOk = 1, kIdCancel = 2 };

  static constexpr unsigned kArrowTimer = 1025;
  static constexpr int kArrowPeriod = 50;  // milliseconds
  // The resize grip's steps and the smallest large form.
  static constexpr int kStepWidth = 25, kStepHeight = 29;
  static constexpr int kMinWidth = 275, kMinHeight = 116;

  // skin is loaded by OnInitDialog; config is the program's one CConfig.
  CMainDlg(IMainDlgHost& host, CConfig& config, SkinSet& skin);
  // Removes the tray icon.
  ~CMainDlg();
  CMainDlg(const CMainDlg&) = delete;
  CMainDlg& operator=(const CMainDlg&) = delete;

  // Brings the window up: an invalid installation (message 6) or a skin
  // that does not load ends it at once (EndDialog with kIdCancel, false).
  // Then the player's auto-load, the splash, the environment named by the
  // configuration and its tree, the window's place from the configuration,
  // and the tray icon with its tip. True when the window is up.
  bool OnInitDialog();

  // A new client size (ignored before OnInitDialog and when unchanged).
  void OnSize(int width, int height);
  // Focus gained or lost: the title bar's active or inactive look.
  void OnActivate(bool active);

  // Mouse events in client coordinates, with the modifiers held.
  void OnLButtonDown(int x, int y, unsigned modifiers);
  void OnLButtonUp(int x, int y, unsigned modifiers);
  void OnLButtonDblClk(int x, int y, unsigned modifiers);
  void OnRButtonDown(int x, int y, unsigned modifiers);
  void OnMouseMove(int x, int y, unsigned modifiers);
  // delta in wheel units, 120 a notch; positive away from the user.
  void OnMouseWheel(int delta, unsigned modifiers);
  // The capture ended (released or taken away): the mouse mode ends.
  void OnCaptureChanged();
  // Every key-down comes here first. True when the window used the key.
  bool OnKeyDown(int key, unsigned modifiers);
  void OnTimer(unsigned id);

  // WM_SCAN_STARTED, WM_SCAN_PROGRESS (lParam the tick), WM_SCAN_DONE,
  // WM_TRAY_NOTIFY (lParam the mouse message) and WM_TREE_REFRESH.
  long OnMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
  void OnScanStarted();
  void OnScanProgress(int tick);
  void OnScanDone();
  void OnTrayNotify(unsigned mouseMessage);

  // A command of menu 141 (nothing when it is greyed).
  void OnCommand(int id);
  // The items to grey in a pop-up of menu 141 as things stand.
  std::vector<int> GreyedItems(MenuPopup popup) const;
  bool IsCommandEnabled(int id) const;

  // Every way to close the window: runs CanClose, then EndDialog(kIdCancel).
  void OnCancel();
  // The session is ending: true when the program may end. Saves as
  // CanClose does but keeps the environment, in case the logout is
  // cancelled elsewhere and the window goes on.
  bool OnQueryEndSession();
  // Refused with a beep while scanning, or when the user keeps a modified
  // environment; otherwise saves the configuration with the environment's
  // path, drops the environment and answers true.
  bool CanClose();

  void SetScanning(bool on);
  // The tray tip: environment name, "*" when modified, " - Jukebar", and
  // " - [p%]" unless progress is -1.
  void UpdateTrayTip(int progress);
  // Paints tree and scroll bar into the back buffer and shows it.
  void RefreshView();

  // The zone under a client point, and the cursor it shows.
  int HitTest(int x, int y);
  CursorId CursorAt(int x, int y);

  const CQvSprite& BackBuffer() const { return m_painter.BackBuffer(); }
  bool IsScanning() const { return m_bScanning; }
  int GetProgress() const { return m_nProgress; }
  int GetClientWidth() const { return m_nClientWidth; }
  int GetClientHeight() const { return m_nClientHeight; }
  bool IsSmallForm() const { return m_nClientHeight == CConfig::kSmallHeight; }
  int GetMouseMode() const { return m_nMouseMode; }
  // Null after a successful CanClose.
  CEnvironment* GetEnvironment() { return m_pEnvironment.get(); }
  TreeView& Tree() { return m_tree; }
  // What the sheets and the splash work on.
  CConfig& Config() { return m_config; }
  SkinSet& Skin() { return m_skin; }
  TreeScrollBar& ScrollBar() { return m_scrollBar; }

 private:
  // The tree's refresh requests, answered on the spot (same thread).
  class TreeTarget : public IMessageTarget {
   public:
    explicit TreeTarget(CMainDlg& dlg) : m_dlg(dlg) {}
    void Post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;

   private:
    CMainDlg& m_dlg;
  };

  // The close check without dropping the environment.
  bool MayEnd();
  // Frame.
  void PlaceWindow(Rect rect);
  void ToggleForm();
  void ReportPlacement();
  void PaintNow();
  void RebuildTree();
  // Mouse.
  void BeginMouseMode(MouseMode mode, int x, int y);
  void OnTitleButtonAction(int button);
  void ResizeTo(int x, int y);
  void DragThumb(int y);
  // Scan and tray.
  void ShowProgress(int progress);
  // Commands.
  void HandOff(ShellAction action);
  void AfterEnvironmentReplaced();
  void OnScan();
  void OnEnvironmentSettings();

  IMainDlgHost& m_host;
  CConfig& m_config;
  SkinSet& m_skin;
  TreeTarget m_treeTarget{*this};
  TreeView m_tree;
  TreeScrollBar m_scrollBar;
  MainWindowPainter m_painter;
  std::unique_ptr<CEnvironment> m_pEnvironment;

  bool m_bInitialised = false;
  bool m_bTrayCreated = false;
  int m_nClientWidth = 0;
  int m_nClientHeight = 0;
  bool m_bScanning = false;
  int m_nProgress = MainWindowPainter::kNoProgress;

  // Input state.
  std::uint8_t m_nMouseMode = kModeNone;
  int m_nPressX = 0;
  int m_nPressY = 0;
  int m_nPressedButton = MainWindowPainter::kNoButton;
  unsigned m_nTimerId = 0;
  int m_nWheelRemainder = 0;
};

}  // namespace jb
