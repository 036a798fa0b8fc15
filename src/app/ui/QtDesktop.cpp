#include "app/ui/QtDesktop.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QPalette>
#include <QSessionManager>
#include <QSocketNotifier>
#include <algorithm>
#include <csignal>

#include "app/About.h"
#include "app/ui/CAboutPSh.h"
#include "app/ui/CSplashDlg.h"
#include "config/CConfig.h"
#include "resources/ui/QtResourceEditor.h"
#include "skin/SkinSet.h"
#include "strings/StringTable.h"
#include "types/ui/QtTypePropertiesEditor.h"
#include "window/CMainDlg.h"
#include "window/ui/QtMainWindow.h"

namespace jb {
namespace {

// A signal handler may only write to a descriptor; the UI thread reads it.
int g_signalPipe[2] = {-1, -1};

void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] ssize_t written = ::write(g_signalPipe[1], &byte, 1);
}

}  // namespace

int SplashMilliseconds() {
  bool ok = false;
  const int milliseconds = qEnvironmentVariableIntValue("JUKEBAR_SPLASH_MS", &ok);
  return ok && milliseconds >= 0 ? std::min(milliseconds, 60000) : kSplashMilliseconds;
}

QtDesktop::QtDesktop(const UserSettings& settings) : m_prompt(LoadString), m_pShell(CreateDesktopShell(settings)) {
  QObject::connect(qApp, &QGuiApplication::commitDataRequest, &m_context,
                   [this](QSessionManager& manager) { OnCommitData(manager); });
}

QtDesktop::~QtDesktop() {
  if (m_pResourceEditor) SetResourceEditor(nullptr);
  if (m_pTypeEditor) SetTypePropertiesEditor(nullptr);
  if (m_pSignalNotifier) {
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) std::signal(sig, SIG_DFL);
    m_pSignalNotifier.reset();
    ::close(g_signalPipe[0]);
    ::close(g_signalPipe[1]);
    g_signalPipe[0] = g_signalPipe[1] = -1;
  }
}

IMainDlgHost& QtDesktop::Host() {
  if (!m_pWindow) {
    m_pWindow = std::make_unique<QtMainWindow>(m_prompt, *m_pShell, QDir::currentPath() + QStringLiteral("/res"));
    m_prompt.SetParent(m_pWindow.get());
    m_pWindow->SetSplash([this] {
      if (!m_pDlg) return;
      CSplashDlg splash(m_pDlg->Skin(), SplashMilliseconds());
      splash.Run();
    });
    m_pWindow->SetSheet(Sheet::About, [this] {
      if (!m_pDlg) return 0;
      // Above the always-on-top window it was opened from.
      CAboutPSh about(m_pDlg->Skin(), *m_pShell, m_pWindow.get());
      return about.exec();
    });
  }
  return *m_pWindow;
}

void QtDesktop::Attach(CMainDlg* dlg) {
  m_pDlg = dlg;
  if (m_pWindow) m_pWindow->Attach(dlg);
  // The configuration (and its type list) lives exactly as long as the
  // window is attached.
  SetTypePropertiesEditor(nullptr);
  m_pTypeEditor.reset();
  if (dlg && g_pConfig && m_pSkin) {
    m_pTypeEditor = std::make_unique<QtTypePropertiesEditor>(g_pConfig->resourceTypes, m_pSkin->Icons(), m_prompt);
    SetTypePropertiesEditor(m_pTypeEditor.get());
  }
  SetResourceEditor(nullptr);
  m_pResourceEditor.reset();
  if (dlg && g_pConfig && m_pWindow) {
    m_pResourceEditor = std::make_unique<QtResourceEditor>(m_prompt, g_pConfig->resourceTypes, m_pWindow->PictureFolder());
    SetResourceEditor(m_pResourceEditor.get());
  }
}

int QtDesktop::RunModal() { return m_pWindow ? m_pWindow->RunModal() : 0; }

void QtDesktop::OnCommitData(QSessionManager& manager) {
  if (!m_pDlg || !m_pWindow || m_pWindow->HasEnded()) return;
  // Agreed, the program runs on until the session manager ends it (Qt then
  // leaves every event loop), since another program may still cancel.
  if (!m_pDlg->OnQueryEndSession()) manager.cancel();
}

void QtDesktop::CatchTerminationSignals() {
  if (m_pSignalNotifier || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPipe) != 0) return;
  ::fcntl(g_signalPipe[1], F_SETFL, O_NONBLOCK);
  m_pSignalNotifier = std::make_unique<QSocketNotifier>(g_signalPipe[0], QSocketNotifier::Read);
  QObject::connect(m_pSignalNotifier.get(), &QSocketNotifier::activated, &m_context, [this] { OnTerminationSignal(); });
  struct sigaction action = {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(sig, &action, nullptr);
}

void QtDesktop::OnTerminationSignal() {
  char bytes[16];
  [[maybe_unused]] ssize_t got = ::read(g_signalPipe[0], bytes, sizeof bytes);
  if (m_pDlg && m_pWindow && !m_pWindow->HasEnded()) m_pDlg->OnCancel();
}

void UseDesktopPalette() {
  const QPalette palette = QApplication::palette();
  auto set = [](int index, const QColor& c) {
    CQvSprite::SetSysColor(index, static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                           static_cast<std::uint8_t>(c.blue()));
  };
  set(15, palette.color(QPalette::Button));
  set(16, palette.color(QPalette::Mid));
  set(20, palette.color(QPalette::Light));
  set(21, palette.color(QPalette::Shadow));
}

}  // namespace jb
