// The main window on an environment of 100,000 files (or JUKEBAR_BENCH_FILES): one scroll-and-repaint
// step through CMainDlg (a wheel notch: eight rows, the tree and scroll bar
// painted into the back buffer), on the collapsed tree and on the tree with
// every group open. The host's copy to the screen is not counted.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <string>

#include "BenchSupport.h"
#include "QuietHost.h"
#include "config/CConfig.h"
#include "environment/CEnvironment.h"
#include "skin/SkinSet.h"
#include "window/CMainDlg.h"

namespace jb {
namespace {

// JUKEBAR_BENCH_FILES sets another size (scripts/bench million).
const size_t kFiles = bench::FilesFromEnvironment(100000);

// An installation folder with the default skin and the environment file,
// and the window brought up on it.
struct Window {
  std::filesystem::path dir = std::filesystem::temp_directory_path() / ("bench_window_" + std::to_string(getpid()));
  bench::QuietHost host;
  CConfig config{host.Prompt()};
  SkinSet skin;
  std::unique_ptr<CMainDlg> dlg;

  Window() {
    std::filesystem::create_directories(dir);
    std::filesystem::copy_file(JUKEBAR_DEFAULT_SKIN, dir / SkinSet::kFileName,
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::current_path(dir);
    {
      CEnvironment env(host.Prompt(), config.resourceTypes);
      bench::GenerateCollection(env, kFiles);
      env.SaveAs((dir / "large.jbe").string());
    }
    config.installationValid = true;
    config.environmentPath = (dir / "large.jbe").string();
    config.optionFlags &= ~CConfig::kAutoLoadPlayer;
    dlg = std::make_unique<CMainDlg>(host, config, skin);
    if (!dlg->OnInitDialog()) throw std::runtime_error("the window did not come up");
  }
  ~Window() {
    dlg.reset();
    std::filesystem::current_path(dir.parent_path());
    std::filesystem::remove_all(dir);
  }

  // Wheel notches down to the end, then up to the top, and again.
  void Run(benchmark::State& state) {
    int direction = -120;
    host.paints = 0;
    for (auto _ : state) {
      const int top = dlg->Tree().GetTopRow();
      dlg->OnMouseWheel(direction, CMainDlg::kNoModifier);
      if (dlg->Tree().GetTopRow() == top) direction = -direction;
      benchmark::DoNotOptimize(dlg->BackBuffer().Bits());
    }
    state.counters["rows"] = dlg->Tree().CountRows();
    state.counters["paints"] = benchmark::Counter(double(host.paints), benchmark::Counter::kAvgIterations);
  }
};

void BM_ScrollStepCollapsed(benchmark::State& state) {
  Window window;
  window.Run(state);
}
BENCHMARK(BM_ScrollStepCollapsed)->Unit(benchmark::kMicrosecond);

void BM_ScrollStepExpanded(benchmark::State& state) {
  Window window;
  window.dlg->Tree().ExpandLevels(INT_MAX);
  window.dlg->RefreshView();
  window.Run(state);
}
BENCHMARK(BM_ScrollStepExpanded)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace jb
