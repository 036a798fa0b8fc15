// The frame's hit zones and cursors, and what the mouse does in them.

#include <cmath>

#include "config/CConfig.h"
#include "platform/Prompt.h"
#include "skin/SkinSet.h"
#include "window/CMainDlg.h"

namespace jb {
namespace {

constexpr std::uint8_t kWheelModeMask = 0x07;
enum WheelMode : std::uint8_t { kWheelLines = 1, kWheelHalfPage = 2, kWheelPage = 4 };
constexpr int kWheelNotch = 120;

bool IsTitleButton(int zone) {
  return zone == CMainDlg::kZoneMenuButton || zone == CMainDlg::kZoneFormButton || zone == CMainDlg::kZoneCloseButton;
}

}  // namespace

int CMainDlg::HitTest(int x, int y) {
  const int w = m_nClientWidth, h = m_nClientHeight;
  if (y >= 3 && y < 12) {
    if (x >= 4 && x < 17) return kZoneMenuButton;
    if (x >= w - 21 && x < w - 12) return kZoneFormButton;
    if (x >= w - 11 && x < w - 2) return kZoneCloseButton;
  }
  if (y < 14 || IsSmallForm()) return kZoneTitle;
  if (x >= w - 19 && x < w - 4 && y >= h - 19 && y < h - 4) return kZoneResizeGrip;
  if (int zone = m_tree.HitTest(x, y); zone != TreeView::kZoneNone) return zone;
  return m_scrollBar.HitTest(x, y);
}

CursorId CMainDlg::CursorAt(int x, int y) {
  switch (HitTest(x, y)) {
    case kZoneTitle:
      return kCursorTitle;
    case kZoneCloseButton:
      return kCursorClose;
    case kZoneResizeGrip:
      return kCursorResize;
    case kZoneRowToggle: {
      const DisplayNode* node = m_tree.HitNode();
      return node && node->IsExpanded() ? kCursorExpanded : kCursorResize;
    }
    case kZoneScrollUp:
      return kCursorScrollUp;
    case kZoneScrollDown:
      return kCursorScrollDown;
    case kZoneScrollTrack:
      return kCursorTrack;
    default:
      return kCursorArrow;
  }
}

void CMainDlg::OnLButtonDown(int x, int y, unsigned modifiers) {
  const int zone = HitTest(x, y);
  switch (zone) {
    case kZoneTitle:
      BeginMouseMode(kModeMove, x, y);
      break;
    case kZoneMenuButton:
    case kZoneFormButton:
    case kZoneCloseButton:
      m_nPressedButton = zone;
      m_painter.SetPressedButton(zone);
      BeginMouseMode(kModeButton, x, y);
      break;
    case kZoneResizeGrip:
      BeginMouseMode(kModeResize, x, y);
      break;
    case kZoneRowText:
      m_tree.ClickRowText(m_tree.HitNode(), TreeModifiers(modifiers));
      break;
    case kZoneRowToggle:
      m_tree.ToggleRow(m_tree.HitNode());
      break;
    case kZoneEmptyTree:
      m_tree.ClickEmptyArea(TreeModifiers(modifiers));
      break;
    case kZoneScrollUp:
    case kZoneScrollDown:
      m_tree.Scroll(zone == kZoneScrollUp ? -1 : 1, Redraw::Once);
      BeginMouseMode(static_cast<MouseMode>(zone), x, y);
      m_nTimerId = kArrowTimer;
      m_host.SetTimer(kArrowTimer, kArrowPeriod);
      break;
    case kZoneScrollTrack:
      BeginMouseMode(kModeThumb, x, y);
      DragThumb(y);
      break;
    default:
      break;
  }
}

void CMainDlg::BeginMouseMode(MouseMode mode, int x, int y) {
  m_nMouseMode = mode;
  m_nPressX = x;
  m_nPressY = y;
  m_host.SetCapture();
}

void CMainDlg::OnMouseMove(int x, int y, unsigned) {
  switch (m_nMouseMode) {
    case kModeNone:
      m_host.SetCursor(CursorAt(x, y));
      break;
    case kModeMove: {
      Rect r = m_host.GetWindowRect();
      const int dx = x - m_nPressX, dy = y - m_nPressY;
      m_host.SetWindowRect({r.left + dx, r.top + dy, r.right + dx, r.bottom + dy});
      ReportPlacement();
      break;
    }
    case kModeButton: {
      const int zone = HitTest(x, y);
      const int button = IsTitleButton(zone) ? zone : MainWindowPainter::kNoButton;
      if (button != m_nPressedButton) {
        m_nPressedButton = button;
        m_painter.SetPressedButton(button);
      }
      break;
    }
    case kModeResize:
      ResizeTo(x, y);
      break;
    case kModeScrollUp:
    case kModeScrollDown:
      m_nPressX = x;
      m_nPressY = y;
      break;
    case kModeThumb:
      DragThumb(y);
      break;
    default:
      break;
  }
}

void CMainDlg::ResizeTo(int x, int y) {
  const int cols = x / kStepWidth + 1, rows = y / kStepHeight + 1;
  if (cols == m_nClientWidth / kStepWidth && rows == m_nClientHeight / kStepHeight) return;
  const int width = std::max(cols * kStepWidth, kMinWidth);
  const int height = std::max(rows * kStepHeight, kMinHeight);
  const Rect r = m_host.GetWindowRect();
  m_host.SetWindowRect({r.left, r.top, r.left + width, r.top + height});
  OnSize(width, height);
  ReportPlacement();
}

void CMainDlg::DragThumb(int y) {
  const int thumb = m_skin.ScrollThumb().GetHeight();
  const int travel = m_scrollBar.GetTrackLength();
  int t = y - m_scrollBar.GetY() - m_scrollBar.GetArrowHeight() - thumb / 2;
  t = std::max(std::min(std::max(t, 0), travel), 0);
  m_scrollBar.Draw(t);
  // Without travel the thumb cannot say which page it means.
  const int range = m_scrollBar.GetRange();
  if (range != 0 && travel > 0) {
    const int p = static_cast<int>(std::floor(static_cast<double>(range) * t / travel + 0.5));
    const int delta = p - m_scrollBar.GetPosition();
    m_scrollBar.SetPosition(p);
    if (delta != 0) {
      m_tree.Scroll(delta, Redraw::None);
      m_tree.Paint();
    }
  }
  PaintNow();
}

void CMainDlg::OnLButtonUp(int, int, unsigned) {
  const std::uint8_t mode = m_nMouseMode;
  m_host.ReleaseCapture();
  OnCaptureChanged();
  if (mode == kModeButton) {
    OnTitleButtonAction(m_nPressedButton);
  } else if (mode == kModeThumb) {
    m_scrollBar.Draw();
    PaintNow();
  }
}

void CMainDlg::OnCaptureChanged() {
  m_nMouseMode = kModeNone;
  if (m_nTimerId != 0) {
    m_host.KillTimer(m_nTimerId);
    m_nTimerId = 0;
  }
}

void CMainDlg::OnTitleButtonAction(int button) {
  m_nPressedButton = MainWindowPainter::kNoButton;
  m_painter.SetPressedButton(MainWindowPainter::kNoButton);
  switch (button) {
    case kZoneMenuButton: {
      const Rect r = m_host.GetWindowRect();
      OnCommand(m_host.TrackPopupMenu(MenuPopup::Tray, r.left + 4, r.top + 13, false, GreyedItems(MenuPopup::Tray)));
      break;
    }
    case kZoneFormButton:
      ToggleForm();
      break;
    case kZoneCloseButton:
      OnCancel();
      break;
    default:
      break;
  }
}

void CMainDlg::OnTimer(unsigned id) {
  if (id != kArrowTimer || m_nTimerId == 0) return;
  // Repeats only while the pointer stays on the arrow it pressed.
  if (HitTest(m_nPressX, m_nPressY) == m_nMouseMode)
    m_tree.Scroll(m_nMouseMode == kModeScrollUp ? -1 : 1, Redraw::Once);
}

void CMainDlg::OnLButtonDblClk(int x, int y, unsigned) {
  switch (HitTest(x, y)) {
    case kZoneTitle:
      ToggleForm();
      break;
    case kZoneMenuButton:
      OnCancel();
      break;
    case kZoneRowText:
      HandOff(ShellAction::Play);
      break;
    default:
      break;
  }
}

void CMainDlg::OnRButtonDown(int x, int y, unsigned) {
  const int zone = HitTest(x, y);
  if (zone != kZoneRowText && zone != kZoneRowToggle && zone != kZoneEmptyTree) {
    m_host.Prompt().Beep();
    return;
  }
  const bool onRow = zone != kZoneEmptyTree;
  if (onRow) m_tree.SelectForMenu(m_tree.HitNode());
  std::vector<int> greyed;
  if (!onRow) greyed = {kCmdPlaySelection, kCmdAddSelection};
  int sx = 0, sy = 0;
  m_host.GetCursorPos(sx, sy);
  OnCommand(m_host.TrackPopupMenu(MenuPopup::Tree, sx, sy, true, greyed));
}

void CMainDlg::OnMouseWheel(int delta, unsigned) {
  if (IsSmallForm()) {
    ToggleForm();
    return;
  }
  m_nWheelRemainder += delta;
  const int notches = m_nWheelRemainder / kWheelNotch;
  const int page = m_tree.GetRowsPerPage();
  if (notches == 0 || page == 0) return;
  m_nWheelRemainder -= notches * kWheelNotch;
  int rows = 0;
  switch (m_config.scrollOptions & kWheelModeMask) {
    case kWheelLines:
      rows = -notches * std::min(page - 1, static_cast<int>(m_config.wheelLines));
      break;
    case kWheelHalfPage:
      rows = -notches * (page / 2);
      break;
    case kWheelPage:
      rows = -notches * (page - 1);
      break;
    default:
      return;
  }
  m_tree.Scroll(rows, Redraw::Smooth);
}

}  // namespace jb
