// The commands of menu 141: environment files, scan, sheets, exit and the
// hand-off of the selection to the player.

#include "config/CConfig.h"
#include "window/CMainDlg.h"
#include "window/HandOff.h"
#include "window/WindowMessages.h"

namespace jb {

bool CMainDlg::IsCommandEnabled(int id) const {
  switch (id) {
    case kCmdAbout:
      return m_host.HasSheet(Sheet::About);
    case kCmdOptions:
      return m_host.HasSheet(Sheet::Options);
    case kCmdEnvSettings:
      return !m_bScanning && m_host.HasSheet(Sheet::EnvironmentSettings);
    case kEnvironmentSubMenu:
    case kCmdEnvNew:
    case kCmdEnvLoad:
    case kCmdEnvSave:
    case kCmdEnvSaveAs:
    case kCmdScan:
    case kCmdExit:
      return !m_bScanning;
    case kCmdPlaySelection:
    case kCmdAddSelection:
      return true;
    default:
      return false;  // Help has nothing to show
  }
}

std::vector<int> CMainDlg::GreyedItems(MenuPopup popup) const {
  std::vector<int> greyed;
  auto add = [&](const auto& items) {
    for (const MenuItem& item : items)
      if ((item.kind == MenuItem::kCommand || item.kind == MenuItem::kSubMenu) && !IsCommandEnabled(item.id))
        greyed.push_back(item.id);
  };
  if (popup == MenuPopup::Tray)
    add(kTrayMenuItems);
  else
    add(kTreeMenuItems);
  return greyed;
}

void CMainDlg::OnCommand(int id) {
  if (!IsCommandEnabled(id) || !m_pEnvironment) return;
  switch (id) {
    case kCmdAbout:
      m_host.RunSheet(Sheet::About);
      break;
    case kCmdOptions:
      m_host.RunSheet(Sheet::Options);
      break;
    case kCmdEnvNew:
      if (m_pEnvironment->New()) AfterEnvironmentReplaced();
      break;
    case kCmdEnvLoad:
      if (m_pEnvironment->Open()) AfterEnvironmentReplaced();
      break;
    case kCmdEnvSave:
      m_pEnvironment->Save();
      UpdateTrayTip(MainWindowPainter::kNoProgress);
      break;
    case kCmdEnvSaveAs:
      m_pEnvironment->SaveAs();
      m_config.SetEnvironmentPath(m_pEnvironment->GetPath());
      UpdateTrayTip(MainWindowPainter::kNoProgress);
      break;
    case kCmdEnvSettings:
      OnEnvironmentSettings();
      break;
    case kCmdScan:
      OnScan();
      break;
    case kCmdExit:
      OnCancel();
      break;
    case kCmdPlaySelection:
      HandOff(ShellAction::Play);
      break;
    case kCmdAddSelection:
      HandOff(ShellAction::Enqueue);
      break;
    default:
      break;
  }
}

void CMainDlg::AfterEnvironmentReplaced() {
  m_config.SetEnvironmentPath(m_pEnvironment->GetPath());
  UpdateTrayTip(MainWindowPainter::kNoProgress);
  RebuildTree();
  RefreshView();
}

void CMainDlg::OnScan() {
  SetScanning(true);
  OnScanStarted();
  // A thread that cannot start shows message 3 and posts WM_SCAN_DONE,
  // which leaves the scanning state again.
  m_pEnvironment->StartScan(m_host.MessageTarget());
}

void CMainDlg::OnEnvironmentSettings() {
  SetScanning(true);
  IMessageTarget& window = m_host.MessageTarget();
  if (m_host.RunSheet(Sheet::EnvironmentSettings) == static_cast<int>(SheetResult::Scan)) {
    window.Post(WM_SCAN_STARTED, 0, 0);
    m_pEnvironment->StartScan(window);
  } else {
    window.Post(WM_SCAN_DONE, 0, 0);
  }
}

void CMainDlg::HandOff(ShellAction action) { HandOffSelection(m_tree, action, m_host.Shell(), m_host.Prompt()); }

}  // namespace jb
