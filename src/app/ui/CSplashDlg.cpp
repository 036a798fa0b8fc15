#include "app/ui/CSplashDlg.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QTimerEvent>
#include <algorithm>

#include "app/About.h"
#include "skin/SkinSet.h"
#include "sprites/ui/CQvStaticSprite.h"

namespace jb {

CSplashDlg::CSplashDlg(SkinSet& skin, int milliseconds, QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_skin(skin),
      m_nMilliseconds(std::max(milliseconds, 0)) {
  setObjectName(QStringLiteral("id142"));
  m_pPicture = new CQvStaticSprite(this);
  m_pPicture->setObjectName(QStringLiteral("id1004"));
  m_pPicture->SetSprite(skin.SplashPicture());
  m_pPicture->move(0, 0);
  setFixedSize(m_pPicture->size());
  // The window asks for no place of its own: the middle of the screen.
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

int CSplashDlg::Run() {
  setWindowModality(Qt::ApplicationModal);
  show();
  // The timer starts once the window shows, so it cannot end the splash
  // before the loop that it ends has begun.
  QEventLoop loop;
  connect(this, &QDialog::finished, &loop, &QEventLoop::quit);
  m_timer.start(m_nMilliseconds, this);
  loop.exec(QEventLoop::DialogExec);
  return result();
}

CSplashDlg::~CSplashDlg() { DarkenSplashPicture(m_skin.SplashPicture()); }

void CSplashDlg::timerEvent(QTimerEvent* event) {
  if (event->timerId() != m_timer.timerId()) return QDialog::timerEvent(event);
  m_timer.stop();
  reject();
}

}  // namespace jb
