#include "window/ui/QtMainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>

#include "platform/ui/QtText.h"
#include "window/CMainDlg.h"
#include "window/WindowMessages.h"
#include "window/ui/CEnvSettingsPSh.h"
#include "window/ui/CPShOptions.h"

namespace jb {
namespace {

unsigned KeyModifiers(Qt::KeyboardModifiers modifiers) {
  unsigned result = CMainDlg::kNoModifier;
  if (modifiers & Qt::ShiftModifier) result |= CMainDlg::kShift;
  if (modifiers & Qt::ControlModifier) result |= CMainDlg::kCtrl;
  return result;
}

// Builds one pop-up of menu 141 from its items; every command action
// carries its id.
template <size_t N>
void AddItems(QMenu& menu, const MenuItem (&items)[N], const std::vector<int>& greyedIds) {
  auto greyed = [&](int id) { return std::find(greyedIds.begin(), greyedIds.end(), id) != greyedIds.end(); };
  QMenu* into = &menu;
  for (const MenuItem& item : items) {
    switch (item.kind) {
      case MenuItem::kSeparator:
        into->addSeparator();
        break;
      case MenuItem::kSubMenu:
        into = menu.addMenu(ToQString(item.label));
        into->setEnabled(!greyed(item.id));
        break;
      case MenuItem::kEndSubMenu:
        into = &menu;
        break;
      case MenuItem::kCommand: {
        QAction* action = into->addAction(ToQString(item.label));
        action->setData(item.id);
        action->setEnabled(!greyed(item.id));
        break;
      }
    }
  }
}

// Client positions from the pointer's place on the screen and the place the
// window was last moved to, so a drag that moves the window never sees a
// position from before the move.
QPoint ClientPoint(const QWidget& window, const QPointF& global) {
  return global.toPoint() - window.geometry().topLeft();
}

}  // namespace

QtMainWindow::QtMainWindow(IPrompt& prompt, IShell& shell, const QString& pictureFolder)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool),
      m_prompt(prompt),
      m_shell(shell),
      m_pictures(pictureFolder),
      m_target([this](unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
        OnMessage(message, wParam, lParam);
      }),
      m_tray(m_pictures) {
  setWindowTitle(QStringLiteral("Jukebar"));
  setWindowIcon(m_pictures.Icon(kWindowIcon));
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  // Every pixel comes from the back buffer.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
}

QtMainWindow::~QtMainWindow() = default;

void QtMainWindow::OnMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  if (m_pDlg) m_pDlg->OnMessage(message, wParam, lParam);
}

int QtMainWindow::RunModal() {
  if (m_bEnded) return m_nResult;
  show();
  raise();
  activateWindow();
  QEventLoop loop;
  m_pLoop = &loop;
  loop.exec();
  m_pLoop = nullptr;
  return m_nResult;
}

void QtMainWindow::EndDialog(int result) {
  m_nResult = result;
  m_bEnded = true;
  for (auto& [id, timer] : m_timers) timer.stop();
  if (m_bCaptured) releaseMouse();
  m_bCaptured = false;
  hide();
  if (m_pLoop) m_pLoop->exit(result);
}

Rect QtMainWindow::GetWindowRect() const {
  const QRect r = geometry();
  return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
}

void QtMainWindow::SetWindowRect(const Rect& rect) {
  setGeometry(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

std::vector<Rect> QtMainWindow::GetScreenRects() const {
  std::vector<Rect> rects;
  for (const QScreen* screen : QGuiApplication::screens()) {
    const QRect r = screen->geometry();
    rects.push_back({r.x(), r.y(), r.x() + r.width(), r.y() + r.height()});
  }
  return rects;
}

void QtMainWindow::SetCapture() {
  m_bCaptured = true;
  grabMouse();
}

void QtMainWindow::ReleaseCapture() {
  if (!m_bCaptured) return;
  m_bCaptured = false;
  releaseMouse();
}

void QtMainWindow::LoseCapture() {
  if (!m_bCaptured) return;
  ReleaseCapture();
  if (m_pDlg) m_pDlg->OnCaptureChanged();
}

void QtMainWindow::SetTimer(unsigned id, int milliseconds) { m_timers[id].start(milliseconds, Qt::PreciseTimer, this); }

void QtMainWindow::KillTimer(unsigned id) {
  auto it = m_timers.find(id);
  if (it != m_timers.end()) it->second.stop();
}

void QtMainWindow::timerEvent(QTimerEvent* event) {
  for (auto& [id, timer] : m_timers)
    if (timer.timerId() == event->timerId()) {
      if (m_pDlg) m_pDlg->OnTimer(id);
      return;
    }
  QWidget::timerEvent(event);
}

void QtMainWindow::PaintNow() {
  if (isVisible()) repaint();
}

void QtMainWindow::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const CQvSprite* buffer = m_pDlg ? &m_pDlg->BackBuffer() : nullptr;
  if (!buffer || !buffer->IsBitmapCreated()) {
    painter.fillRect(event->rect(), Qt::black);
    return;
  }
  // The sprite's pixels are 0xAARRGGBB words and the back buffer is opaque:
  // a QImage over them shows it without a copy. On a dense screen the
  // painter's whole-number scale repeats pixels (no smoothing), so the
  // skin's pixel art stays crisp.
  const QImage image(reinterpret_cast<const uchar*>(buffer->Bits()), buffer->GetWidth(), buffer->GetHeight(),
                     buffer->BytesPerLine(), QImage::Format_RGB32);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  const QRect area = event->rect() & image.rect();
  if (!area.isEmpty()) painter.drawImage(area, image, area);
  const QRegion outside = QRegion(event->rect()) - QRegion(image.rect());
  for (const QRect& r : outside) painter.fillRect(r, Qt::black);
}

void QtMainWindow::mousePressEvent(QMouseEvent* event) {
  if (!m_pDlg) return;
  const QPoint p = ClientPoint(*this, event->globalPosition());
  const unsigned modifiers = KeyModifiers(event->modifiers());
  if (event->button() == Qt::LeftButton)
    m_pDlg->OnLButtonDown(p.x(), p.y(), modifiers);
  else if (event->button() == Qt::RightButton)
    m_pDlg->OnRButtonDown(p.x(), p.y(), modifiers);
}

void QtMainWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (!m_pDlg || event->button() != Qt::LeftButton) return;
  const QPoint p = ClientPoint(*this, event->globalPosition());
  m_pDlg->OnLButtonUp(p.x(), p.y(), KeyModifiers(event->modifiers()));
}

// The second press of a double click comes here instead of as a press; the
// right button's is ignored, as the window has no double click for it.
void QtMainWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  if (!m_pDlg || event->button() != Qt::LeftButton) return;
  const QPoint p = ClientPoint(*this, event->globalPosition());
  m_pDlg->OnLButtonDblClk(p.x(), p.y(), KeyModifiers(event->modifiers()));
}

void QtMainWindow::mouseMoveEvent(QMouseEvent* event) {
  if (!m_pDlg) return;
  const QPoint p = ClientPoint(*this, event->globalPosition());
  m_pDlg->OnMouseMove(p.x(), p.y(), KeyModifiers(event->modifiers()));
}

void QtMainWindow::wheelEvent(QWheelEvent* event) {
  event->accept();
  if (m_pDlg && event->angleDelta().y() != 0)
    m_pDlg->OnMouseWheel(event->angleDelta().y(), KeyModifiers(event->modifiers()));
}

int QtMainWindow::VirtualKey(int key) {
  switch (key) {
    case Qt::Key_Backspace:
      return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return CMainDlg::kKeyEnter;
    case Qt::Key_Escape:
      return 27;
    case Qt::Key_Space:
      return CMainDlg::kKeySpace;
    case Qt::Key_PageUp:
      return CMainDlg::kKeyPageUp;
    case Qt::Key_PageDown:
      return CMainDlg::kKeyPageDown;
    case Qt::Key_End:
      return CMainDlg::kKeyEnd;
    case Qt::Key_Home:
      return CMainDlg::kKeyHome;
    case Qt::Key_Left:
      return CMainDlg::kKeyLeft;
    case Qt::Key_Up:
      return CMainDlg::kKeyUp;
    case Qt::Key_Right:
      return CMainDlg::kKeyRight;
    case Qt::Key_Down:
      return CMainDlg::kKeyDown;
    case Qt::Key_Insert:
      return 45;
    case Qt::Key_Delete:
      return 46;
    default:
      break;
  }
  if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z)) return key;
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 112 + (key - Qt::Key_F1);
  return 0;
}

bool QtMainWindow::event(QEvent* event) {
  // Keys go to the window's own handler before Qt could use Tab for focus
  // moves or a shortcut.
  if (event->type() == QEvent::KeyPress) {
    keyPressEvent(static_cast<QKeyEvent*>(event));
    return true;
  }
  return QWidget::event(event);
}

void QtMainWindow::keyPressEvent(QKeyEvent* event) {
  event->accept();
  const int key = VirtualKey(event->key());
  if (m_pDlg && key != 0) m_pDlg->OnKeyDown(key, KeyModifiers(event->modifiers()));
}

void QtMainWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && m_pDlg) {
    if (!isActiveWindow()) LoseCapture();
    m_pDlg->OnActivate(isActiveWindow());
  }
  QWidget::changeEvent(event);
}

void QtMainWindow::closeEvent(QCloseEvent* event) {
  // A close from the desktop passes the same check as the close button.
  event->ignore();
  if (m_pDlg && !m_bEnded) m_pDlg->OnCancel();
}

int QtMainWindow::TrackPopupMenu(MenuPopup popup, int screenX, int screenY, bool /*trackRightButton*/,
                                 const std::vector<int>& greyedIds) {
  QMenu menu(this);
  if (popup == MenuPopup::Tray)
    AddItems(menu, kTrayMenuItems, greyedIds);
  else
    AddItems(menu, kTreeMenuItems, greyedIds);
  QAction* chosen = menu.exec(QPoint(screenX, screenY));
  return chosen ? chosen->data().toInt() : 0;
}

void QtMainWindow::GetCursorPos(int& screenX, int& screenY) const {
  const QPoint p = QCursor::pos();
  screenX = p.x();
  screenY = p.y();
}

void QtMainWindow::SetCursor(CursorId cursor) { setCursor(m_pictures.Cursor(cursor)); }

void QtMainWindow::SetForeground() {
  raise();
  activateWindow();
}

void QtMainWindow::TrayCreate(TrayIconId icon, const std::string& toolTip) {
  m_tray.Create(m_target, WM_TRAY_NOTIFY, toolTip, icon, kMenuResource);
}

void QtMainWindow::TraySetIcon(TrayIconId icon) { m_tray.SetIcon(icon); }

void QtMainWindow::TraySetToolTip(const std::string& toolTip) { m_tray.SetToolTipText(toolTip); }

void QtMainWindow::TrayRemove() { m_tray.Remove(); }

void QtMainWindow::ShowSplash() {
  if (m_splash) m_splash();
}

bool QtMainWindow::HasSheet(Sheet sheet) const {
  return sheet == Sheet::Options || sheet == Sheet::EnvironmentSettings || m_sheets.count(sheet) != 0;
}

int QtMainWindow::RunSheet(Sheet sheet) {
  if (sheet == Sheet::Options) {
    if (!m_pDlg) return 0;
    // The sheet stays above the always-on-top window it belongs to.
    CPShOptions options(m_pDlg->Config(), m_pDlg->Skin(), m_target, m_prompt, this);
    return options.exec();
  }
  if (sheet == Sheet::EnvironmentSettings) {
    // A sheet that cannot run ends as its Exit would.
    if (!m_pDlg || !m_pDlg->GetEnvironment()) return static_cast<int>(SheetResult::Exit);
    CEnvSettingsPSh settings(*m_pDlg->GetEnvironment(), m_pDlg->Config(), m_pictures.Folder(), this);
    return settings.Run();
  }
  auto it = m_sheets.find(sheet);
  return it != m_sheets.end() ? it->second() : 0;
}

void PreferXcb() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  const char* display = std::getenv("DISPLAY");
  if ((!platform || !*platform) && display && *display) qputenv("QT_QPA_PLATFORM", "xcb");
}

}  // namespace jb
