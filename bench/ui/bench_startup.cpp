// The desktop program's start-up on an environment of 100,000 files (or JUKEBAR_BENCH_FILES): from
// the start routine to the main window's first paint, through the program's
// own start-up (installation check, skin, environment load, tree rebuild,
// placement, menus), on Qt's offscreen platform unless another is asked
// for. Then the idle window's CPU use over half a second, which should be
// none: nothing polls.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QTimer>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "../BenchSupport.h"
#include "app/CJukebarApp.h"
#include "app/ui/QtDesktop.h"
#include "config/CConfig.h"
#include "environment/CEnvironment.h"
#include "platform/UserSettings.h"
#include "window/ui/QtMainWindow.h"

namespace jb {
namespace {

namespace fs = std::filesystem;
// JUKEBAR_BENCH_FILES sets another size (scripts/bench million).
const size_t kFiles = bench::FilesFromEnvironment(100000);

double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// An installation as cmake --install makes it, naming a large environment.
struct Installation {
  fs::path dir = fs::temp_directory_path() / ("bench_startup_" + std::to_string(getpid()));
  fs::path settings = dir / "Jukebar.conf";

  Installation() {
    fs::create_directories(dir);
    std::ofstream(dir / kProgramFileName).put('\n');
    fs::copy_file(JUKEBAR_DEFAULT_SKIN, dir / "Jukebar.skn");
    fs::copy(JUKEBAR_PICTURE_DIR, dir / "res");
    std::ofstream(settings) << "[General]\nInstallDir=" << dir.string() << "\n";
    bench::SilentPrompt prompt;
    CConfig config(prompt);
    {
      CEnvironment env(prompt, config.resourceTypes);
      bench::GenerateCollection(env, kFiles);
      env.SaveAs((dir / "large.jbe").string());
    }
    config.environmentPath = (dir / "large.jbe").string();
    config.optionFlags &= ~CConfig::kAutoLoadPlayer;
    config.Save((dir / CConfig::kFileName).string());
  }
  ~Installation() {
    fs::current_path(dir.parent_path());
    fs::remove_all(dir);
  }
};

// Ends the window's run once it has painted, noting when that was.
class FirstPaint : public QObject {
 public:
  explicit FirstPaint(QtDesktop& desktop) : m_desktop(desktop) {}
  std::chrono::steady_clock::time_point painted;
  double idleCpu = 0;

 protected:
  bool eventFilter(QObject* object, QEvent* event) override {
    if (event->type() == QEvent::Paint && !m_bSeen && object == m_desktop.Window()) {
      m_bSeen = true;
      // After the paint itself has run.
      QTimer::singleShot(0, this, [this] {
        painted = std::chrono::steady_clock::now();
        const double cpu = CpuSeconds();
        QTimer::singleShot(500, this, [this, cpu] {
          idleCpu = CpuSeconds() - cpu;
          m_desktop.Window()->EndDialog(0);
        });
      });
    }
    return false;
  }

 private:
  QtDesktop& m_desktop;
  bool m_bSeen = false;
};

void BM_StartUpToFirstPaint(benchmark::State& state) {
  Installation installation;
  const UserSettings settings(installation.settings.string());
  double idle = 0;
  for (auto _ : state) {
    QtDesktop desktop(settings);
    FirstPaint watch(desktop);
    qApp->installEventFilter(&watch);
    const char* argv[] = {"jukebar"};
    const auto start = std::chrono::steady_clock::now();
    CJukebarApp app;
    app.InitInstance(1, argv, desktop, settings);
    qApp->removeEventFilter(&watch);
    state.SetIterationTime(std::chrono::duration<double>(watch.painted - start).count());
    idle += watch.idleCpu;
  }
  state.counters["files"] = kFiles;
  state.counters["idle_cpu_ms_per_s"] = idle / static_cast<double>(state.iterations()) * 2 * 1000;
}
BENCHMARK(BM_StartUpToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace jb

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The splash's 2.5 seconds are a wait by design, not start-up work: leave
  // them out unless asked for.
  if (qEnvironmentVariableIsEmpty("JUKEBAR_SPLASH_MS")) qputenv("JUKEBAR_SPLASH_MS", "0");
  QApplication application(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
