// jukebar: the desktop program.
#include <QApplication>

#include "app/CJukebarApp.h"
#include "app/ui/QtDesktop.h"
#include "platform/Memory.h"
#include "platform/UserSettings.h"
#include "window/ui/QtMainWindow.h"

int main(int argc, char** argv) {
  jb::ShareAllocatorPools();
  jb::PreferXcb();
  // Whole device pixel ratios keep the pixel-art skin crisp: each logical
  // pixel becomes a square of screen pixels.
  QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::RoundPreferFloor);
  QApplication application(argc, argv);
  // The main window's own run decides when the program ends, not the last
  // window to close (a message box before the window, for instance).
  QApplication::setQuitOnLastWindowClosed(false);
  jb::UseDesktopPalette();

  const jb::UserSettings settings = jb::UserSettings::ForCurrentUser();
  jb::QtDesktop desktop(settings);
  desktop.CatchTerminationSignals();
  jb::CJukebarApp app;
  desktop.UseSkin(app.m_skin);
  app.InitInstance(argc, argv, desktop, settings);
  return 0;
}
