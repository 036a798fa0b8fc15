// The scanning state, the scan thread's messages with the progress bar, and
// the notification-area icon with its animation and tool tip.

#include <algorithm>

#include "platform/Memory.h"
#include "strings/StringTable.h"
#include "window/CMainDlg.h"

namespace jb {
namespace {

constexpr int kLastTick = 119;
constexpr TrayIconId kTrayFrames[] = {
    kTrayFrame0, kTrayFrame1, kTrayFrame2, kTrayFrame3, kTrayFrame4,  kTrayFrame5,
    kTrayFrame6, kTrayFrame7, kTrayFrame8, kTrayFrame9, kTrayFrame10, kTrayFrame11,
};

}  // namespace

void CMainDlg::SetScanning(bool on) { m_bScanning = on; }

void CMainDlg::UpdateTrayTip(int progress) {
  std::string tip;
  if (!m_pEnvironment || m_pEnvironment->GetPath().empty())
    tip = LoadString(ids::NewEnvironmentName);
  else
    tip = m_pEnvironment->GetFileName();
  if (m_pEnvironment && m_pEnvironment->IsModified()) tip += "*";
  tip += " - Jukebar";
  if (progress != MainWindowPainter::kNoProgress) tip += " - [" + std::to_string(progress) + "%]";
  m_host.TraySetToolTip(tip);
}

void CMainDlg::ShowProgress(int progress) {
  m_nProgress = progress;
  // The small form has no progress bar; the tray still shows the scan.
  if (IsSmallForm())
    m_painter.SetProgress(progress);
  else
    m_painter.ShowProgress(progress);
}

void CMainDlg::OnScanStarted() {
  m_host.TraySetIcon(kTrayIconStarting);
  UpdateTrayTip(0);
  ShowProgress(0);
}

void CMainDlg::OnScanProgress(int tick) {
  if (!m_bScanning) return;
  tick = std::clamp(tick, 0, kLastTick);
  m_host.TraySetIcon(kTrayFrames[tick / 10]);
  UpdateTrayTip(tick * 100 / (kLastTick + 1));
  ShowProgress(tick + 1);
}

void CMainDlg::OnScanDone() {
  if (m_bScanning) {
    UpdateTrayTip(100);
    SetScanning(false);
    if (m_pEnvironment) m_pEnvironment->EndScan();
    RebuildTree();
    // The old catalogue and tree are gone: a window that stays up for days
    // should not keep their memory too.
    ReleaseFreeMemory();
    RefreshView();
    m_host.TraySetIcon(kTrayIconIdle);
    ShowProgress(MainWindowPainter::kNoProgress);
  }
  UpdateTrayTip(MainWindowPainter::kNoProgress);
}

void CMainDlg::OnTrayNotify(unsigned mouseMessage) {
  switch (mouseMessage) {
    case kTrayRButtonUp: {
      m_host.SetForeground();
      int x = 0, y = 0;
      m_host.GetCursorPos(x, y);
      OnCommand(m_host.TrackPopupMenu(MenuPopup::Tray, x, y, false, GreyedItems(MenuPopup::Tray)));
      break;
    }
    case kTrayLButtonUp:
      m_host.SetForeground();
      break;
    case kTrayLButtonDblClk:
      m_host.SetForeground();
      ToggleForm();
      break;
    default:
      break;
  }
}

}  // namespace jb
