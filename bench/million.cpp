// A million catalogue entries, step by step as the window meets them: the
// environment file loaded, the tree rebuilt, the window's first paint,
// everything selected (Shift+End from the first row), handed off (the
// play-list written and put in place), the environment saved, and a
// scroll-and-repaint step (a wheel notch of eight rows) on the collapsed and
// the fully expanded tree. Each figure is printed with the process's peak
// memory so far.
//
// usage: bench_million [FILES]              (default 1000000)
//        bench_million FILES --write PATH   only writes the environment
//
// The environment file is made by a child process, so its generation
// counts neither in the times nor in the peak memory.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

#include "BenchSupport.h"
#include "config/CConfig.h"
#include "environment/CEnvironment.h"
#include "platform/Shell.h"
#include "skin/SkinSet.h"
#include "treeview/TreeScrollBar.h"
#include "treeview/TreeView.h"
#include "window/HandOff.h"
#include "window/MainWindowPainter.h"

namespace jb {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double PeakMegabytes() {
  struct rusage usage;
  ::getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

double CpuMilliseconds() {
  timespec t{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) * 1e-6;
}

// A step's wall-clock and processor time: on a shared machine the second
// says what the step costs, the first what the user waits.
struct Figure {
  double wall = 0, cpu = 0;
};

void Report(const char* step, Figure f) {
  std::printf("%-28s %10.3f ms  (cpu %10.3f ms)   peak %7.1f MB\n", step, f.wall, f.cpu, PeakMegabytes());
}

template <class Step>
Figure Time(Step&& step, int repeat = 1) {
  const auto start = Clock::now();
  const double cpu = CpuMilliseconds();
  for (int i = 0; i < repeat; ++i) step();
  return {std::chrono::duration<double, std::milli>(Clock::now() - start).count() / repeat,
          (CpuMilliseconds() - cpu) / repeat};
}

// Writes the environment in a child process and waits for it.
void MakeEnvironment(const std::string& path, size_t files) {
  const pid_t child = ::fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    bench::SilentPrompt prompt;
    CConfig config(prompt);
    CEnvironment env(prompt, config.resourceTypes);
    bench::GenerateCollection(env, files);
    ::_exit(env.SaveAs(path) ? 0 : 1);
  }
  int status = 0;
  if (::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    throw std::runtime_error("the environment was not made");
}

class NoShell : public IShell {
 public:
  bool OpenPlayList(const std::string&, ShellAction) override { return true; }
  bool OpenAddress(const std::string&) override { return true; }
};

// Wheel notches (eight rows each) down to the end and back; the average of
// one step with its repaint.
Figure ScrollStep(TreeView& tree, MainWindowPainter& painter, int steps) {
  int direction = 8;
  return Time(
      [&] {
        const int top = tree.GetTopRow();
        tree.Scroll(direction, Redraw::None);
        painter.RefreshView();
        if (tree.GetTopRow() == top) direction = -direction;
      },
      steps);
}

int Run(size_t files) {
  const fs::path dir = fs::temp_directory_path() / ("bench_million_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  fs::copy_file(JUKEBAR_DEFAULT_SKIN, dir / SkinSet::kFileName);
  fs::current_path(dir);
  const std::string envPath = (dir / "million.jbe").string();
  MakeEnvironment(envPath, files);
  // Written back before the clock starts: the system's writing of the new
  // file would otherwise share the processors with the steps measured.
  ::sync();
  std::printf("%zu files, environment file %.1f MB, load average at start: ", files,
              static_cast<double>(fs::file_size(envPath)) / 1e6);
  double load[3] = {};
  if (::getloadavg(load, 3) == 3) std::printf("%.2f %.2f %.2f\n", load[0], load[1], load[2]);
  Report("start", {});

  bench::SilentPrompt prompt;
  CConfig config(prompt);
  SkinSet skin;
  if (!skin.Load(prompt)) throw std::runtime_error("the skin did not load");
  TreeView tree;
  TreeScrollBar scrollBar;
  tree.SetScrollBar(&scrollBar);
  tree.SetConfig(&config);
  MainWindowPainter painter(skin, tree, scrollBar);
  CEnvironment env(prompt, config.resourceTypes);
  Report("skin and window made", {});

  Report("load", Time([&] { env.Load(envPath); }));
  if (env.GetSize() == 0) throw std::runtime_error("nothing loaded");
  Report("rebuild", Time([&] { tree.Rebuild(env, NodeIcons::FromConfig(config), &prompt); }));
  const Rect rect = config.GetWindowRect(false);
  Report("first paint", Time([&] { painter.OnSize(rect.right - rect.left, rect.bottom - rect.top); }));
  Report("scroll and repaint (closed)", ScrollStep(tree, painter, 2000));
  Report("select everything", Time([&] { tree.SelectRange(tree.FindFocus(), tree.RowAt(tree.CountRows() - 1)); }));
  if (tree.GetSelection() != SelectionState::Selected) throw std::runtime_error("not everything selected");
  NoShell shell;
  const std::string playList = (dir / "Jukebar.m3u").string();
  Report("hand off", Time([&] { HandOffSelection(tree, ShellAction::Play, shell, prompt, playList); }));
  std::printf("%-28s %10.1f MB\n", "  play-list", static_cast<double>(fs::file_size(playList)) / 1e6);
  Report("save", Time([&] { env.SaveAs((dir / "saved.jbe").string()); }));
  Report("expand everything", Time([&] {
           tree.ExpandLevels(INT_MAX);
           tree.Clamp();
         }));
  std::printf("%-28s %10d\n", "  rows", tree.CountRows());
  Report("scroll and repaint (open)", ScrollStep(tree, painter, 2000));

  fs::current_path(dir.parent_path());
  fs::remove_all(dir);
  return 0;
}

}  // namespace
}  // namespace jb

int main(int argc, char** argv) {
  size_t files = 1000000;
  if (argc > 1) files = std::strtoul(argv[1], nullptr, 10);
  try {
    if (argc == 4 && std::string(argv[2]) == "--write") {
      jb::MakeEnvironment(argv[3], files);
      return 0;
    }
    if (argc > 2 || files == 0) {
      std::fprintf(stderr, "usage: bench_million [FILES] [--write PATH]\n");
      return 2;
    }
    return jb::Run(files);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_million: %s\n", e.what());
    return 1;
  }
}
