#include "window/CMainDlg.h"

#include <algorithm>
#include <climits>

#include "config/CConfig.h"
#include "platform/Prompt.h"
#include "skin/SkinSet.h"
#include "strings/StringTable.h"
#include "window/HandOff.h"

namespace jb {
namespace {

long long DistanceSquared(const Rect& a, const Rect& b) {
  long long dx = std::max({0LL, static_cast<long long>(b.left) - a.right, static_cast<long long>(a.left) - b.right});
  long long dy = std::max({0LL, static_cast<long long>(b.top) - a.bottom, static_cast<long long>(a.top) - b.bottom});
  return dx * dx + dy * dy;
}

bool Overlaps(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// A window that lies wholly off every screen comes back onto the nearest
// one; the stored position stays until the user moves the window.
Rect KeepOnScreen(Rect rect, const std::vector<Rect>& screens) {
  if (screens.empty()) return rect;
  for (const Rect& s : screens)
    if (Overlaps(rect, s)) return rect;
  const Rect& s = *std::min_element(screens.begin(), screens.end(), [&](const Rect& a, const Rect& b) {
    return DistanceSquared(rect, a) < DistanceSquared(rect, b);
  });
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  const int left = std::max(s.left, std::min(rect.left, s.right - width));
  const int top = std::max(s.top, std::min(rect.top, s.bottom - height));
  return {left, top, left + width, top + height};
}

}  // namespace

void CMainDlg::TreeTarget::Post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  m_dlg.OnMessage(message, wParam, lParam);
}

void CMainDlg::TreeTarget::Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  m_dlg.OnMessage(message, wParam, lParam);
}

CMainDlg::CMainDlg(IMainDlgHost& host, CConfig& config, SkinSet& skin)
    : m_host(host), m_config(config), m_skin(skin), m_painter(skin, m_tree, m_scrollBar) {
  m_tree.SetConfig(&m_config);
  m_tree.SetWindow(&m_treeTarget);
  m_painter.SetInvalidate([this] { m_host.PaintNow(); });
}

CMainDlg::~CMainDlg() {
  if (m_bTrayCreated) m_host.TrayRemove();
}

bool CMainDlg::OnInitDialog() {
  IPrompt& prompt = m_host.Prompt();
  if (!m_config.IsInstallationValid()) {
    prompt.ShowMessage(ids::CannotSetWorkingDirectory);
    m_host.EndDialog(kIdCancel);
    return false;
  }
  if (!m_skin.Load(prompt)) {
    m_host.EndDialog(kIdCancel);
    return false;
  }
  if (m_config.IsBackgroundImageOn()) m_skin.RebuildBackgroundImage(m_config);
  if (m_config.optionFlags & CConfig::kAutoLoadPlayer) AutoLoadPlayer(m_host.Shell(), prompt);
  m_host.ShowSplash();

  m_pEnvironment = std::make_unique<CEnvironment>(prompt, m_config.resourceTypes);
  m_pEnvironment->Load(m_config.GetEnvironmentPath());
  RebuildTree();

  const Rect rect = m_config.GetWindowRect(false);
  m_nClientWidth = rect.right - rect.left;
  m_nClientHeight = rect.bottom - rect.top;
  m_bInitialised = true;
  PlaceWindow(rect);

  m_host.TrayCreate(kTrayIconIdle, "");
  m_bTrayCreated = true;
  UpdateTrayTip(MainWindowPainter::kNoProgress);
  return true;
}

void CMainDlg::OnSize(int width, int height) {
  if (!m_bInitialised) return;
  m_nClientWidth = width;
  m_nClientHeight = height;
  if (m_painter.BackBuffer().IsBitmapCreated() && m_painter.GetWidth() == width && m_painter.GetHeight() == height)
    return;
  m_painter.OnSize(width, height);
}

void CMainDlg::OnActivate(bool active) { m_painter.SetActive(active); }

void CMainDlg::PlaceWindow(Rect rect) {
  // A stored large form smaller than the resize grip allows takes the least.
  if (rect.bottom - rect.top != CConfig::kSmallHeight) {
    rect.right = rect.left + std::max(rect.right - rect.left, kMinWidth);
    rect.bottom = rect.top + std::max(rect.bottom - rect.top, kMinHeight);
  }
  rect = KeepOnScreen(rect, m_host.GetScreenRects());
  m_host.SetWindowRect(rect);
  OnSize(rect.right - rect.left, rect.bottom - rect.top);
}

void CMainDlg::ToggleForm() { PlaceWindow(m_config.GetWindowRect(true)); }

void CMainDlg::ReportPlacement() {
  // Measured from the stored form rather than from the last position, so a
  // window that was brought back onto a screen stores where it really is.
  const Rect stored = m_config.GetWindowRect(false);
  const Rect now = m_host.GetWindowRect();
  m_config.UpdateFromWindow(now.left - stored.left, now.top - stored.top, m_nClientWidth, m_nClientHeight);
}

void CMainDlg::PaintNow() { m_host.PaintNow(); }

void CMainDlg::RefreshView() { m_painter.RefreshView(); }

void CMainDlg::RebuildTree() {
  if (m_pEnvironment) m_tree.Rebuild(*m_pEnvironment, NodeIcons::FromConfig(m_config), &m_host.Prompt());
}

long CMainDlg::OnMessage(unsigned message, std::uintptr_t, std::intptr_t lParam) {
  switch (message) {
    case WM_SCAN_STARTED:
      OnScanStarted();
      break;
    case WM_SCAN_PROGRESS:
      OnScanProgress(static_cast<int>(std::clamp<std::intptr_t>(lParam, INT_MIN, INT_MAX)));
      break;
    case WM_SCAN_DONE:
      OnScanDone();
      break;
    case WM_TRAY_NOTIFY:
      OnTrayNotify(static_cast<unsigned>(lParam) & 0xFFFF);
      return 1;
    case WM_TREE_REFRESH:
      RefreshView();
      break;
    default:
      break;
  }
  return 0;
}

bool CMainDlg::MayEnd() {
  if (m_bScanning) {
    // A scan cannot be interrupted.
    m_host.Prompt().Beep();
    m_painter.DrawTitleBar();
    PaintNow();
    return false;
  }
  if (!m_pEnvironment) return true;
  if (!m_pEnvironment->SaveModified()) return false;
  m_config.SetEnvironmentPath(m_pEnvironment->GetPath());
  return true;
}

bool CMainDlg::CanClose() {
  if (!MayEnd()) return false;
  m_pEnvironment.reset();
  return true;
}

void CMainDlg::OnCancel() {
  if (CanClose()) m_host.EndDialog(kIdCancel);
}

// Another program may still cancel the logout, so the window keeps its
// environment and stays usable; everything is saved all the same.
bool CMainDlg::OnQueryEndSession() { return MayEnd(); }

}  // namespace jb
