// The display tree at collection sizes of 100,000 and 1,000,000 files:
// rebuild from the catalogue, selecting everything by a range, writing the
// selected paths (and the whole hand-off to a file), and row look-ups on a
// fully expanded tree.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <memory>
#include <random>

#include "BenchSupport.h"
#include "catalogue/CCatalogue.h"
#include "platform/File.h"
#include "platform/Prompt.h"
#include "storage/CArchive.h"
#include "treeview/TreeView.h"
#include "window/HandOff.h"

namespace jb {
namespace {

CCatalogue& Catalogue(size_t files) {
  static std::map<size_t, std::unique_ptr<CCatalogue>> made;
  auto& c = made[files];
  if (!c) {
    c = std::make_unique<CCatalogue>();
    bench::GenerateCollection(*c, files);
  }
  return *c;
}

TreeView& Tree(size_t files) {
  static std::map<size_t, std::unique_ptr<TreeView>> made;
  auto& t = made[files];
  if (!t) {
    t = std::make_unique<TreeView>();
    t->Rebuild(Catalogue(files), NodeIcons());
  }
  return *t;
}

double PeakMegabytes() {
  struct rusage usage;
  ::getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_Rebuild(benchmark::State& state) {
  CCatalogue& catalogue = Catalogue(static_cast<size_t>(state.range(0)));
  TreeView tree;
  for (auto _ : state) {
    tree.Rebuild(catalogue, NodeIcons());
    benchmark::DoNotOptimize(tree.CountRows());
  }
  state.counters["top_rows"] = tree.CountRows();
  state.counters["peak_MB"] = PeakMegabytes();  // catalogue and tree, whole process
}

// Every file in one group, as a folder of singles: one list of them all,
// looked up through the build's table from its seventeenth file on.
void BM_RebuildOneLongList(benchmark::State& state) {
  CCatalogue catalogue;
  char path[64];
  for (long i = 0; i < state.range(0); ++i) {
    std::snprintf(path, sizeof path, "/music/singles/%07ld.mp3", i);
    auto e = std::make_unique<CCatalogueEntry>(path);
    e->m_aNames = {"Singles", path + 15};
    e->m_aKinds = {NodeKind::UserType, NodeKind::File};
    e->m_aPaths = {path};
    catalogue.Add(std::move(e));
  }
  TreeView tree;
  for (auto _ : state) {
    tree.Rebuild(catalogue, NodeIcons());
    benchmark::DoNotOptimize(tree.CountRows());
  }
}

void BM_SelectAllByRange(benchmark::State& state) {
  TreeView& tree = Tree(static_cast<size_t>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    tree.SetSelection(SelectionState::Unselected);
    state.ResumeTiming();
    // Shift+End from the first row.
    tree.SelectRange(tree.RowAt(0), tree.RowAt(tree.CountRows() - 1));
  }
  if (tree.GetSelection() != SelectionState::Selected) state.SkipWithError("not everything selected");
}

// A sink that only counts, so the figure is the walk and the stream.
class CountingFile : public CFile {
 public:
  size_t Read(void*, size_t) override { return 0; }
  void Write(const void*, size_t n) override { bytes += n; }
  std::uint64_t BytesLeft() const override { return 0; }
  size_t bytes = 0;
};

void BM_WriteSelectedPaths(benchmark::State& state) {
  TreeView& tree = Tree(static_cast<size_t>(state.range(0)));
  tree.SetSelection(SelectionState::Selected);
  size_t bytes = 0;
  for (auto _ : state) {
    CountingFile file;
    {
      CArchive ar(file, CArchive::store);
      tree.WriteSelectedPaths(ar);
    }
    bytes = file.bytes;
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes) * state.iterations());
}

// The whole hand-off of everything: the play-list written to a real file,
// flushed to the disk and put in place (the shell is not asked).
class NoShell : public IShell {
 public:
  bool OpenPlayList(const std::string&, ShellAction) override { return true; }
  bool OpenAddress(const std::string&) override { return true; }
};

void BM_HandOffEverything(benchmark::State& state) {
  TreeView& tree = Tree(static_cast<size_t>(state.range(0)));
  tree.SetSelection(SelectionState::Selected);
  char dir[] = "/tmp/jukebar-bench-XXXXXX";
  if (!::mkdtemp(dir)) return state.SkipWithError("no temporary folder");
  const std::string playList = std::string(dir) + "/Jukebar.m3u";
  NoShell shell;
  bench::SilentPrompt prompt;
  for (auto _ : state)
    if (!HandOffSelection(tree, ShellAction::Play, shell, prompt, playList)) state.SkipWithError("not written");
  std::remove(playList.c_str());
  ::rmdir(dir);
}

// Every group expanded, deepest first so that each expansion stays local.
TreeView& ExpandedTree(size_t files) {
  TreeView& tree = Tree(files);
  if (tree.CountRows() < static_cast<int>(files)) {
    std::vector<DisplayNode*> groups;
    for (DisplayNode* n = tree.GetFirstChild(); n; n = DisplayNode::PreOrderNext(n, &tree))
      if (n->HasChildren()) groups.push_back(n);
    for (auto it = groups.rbegin(); it != groups.rend(); ++it) (*it)->SetExpanded(true);
  }
  return tree;
}

void BM_RowAt(benchmark::State& state) {
  TreeView& tree = ExpandedTree(static_cast<size_t>(state.range(0)));
  std::mt19937 rng(1);
  const int rows = tree.CountRows();
  for (auto _ : state) benchmark::DoNotOptimize(tree.RowAt(static_cast<int>(rng() % static_cast<unsigned>(rows))));
  state.counters["rows"] = rows;
}

void BM_EnsureVisible(benchmark::State& state) {
  TreeView& tree = ExpandedTree(static_cast<size_t>(state.range(0)));
  tree.SetArea(11, 20, 245, 279);
  std::mt19937 rng(2);
  const int rows = tree.CountRows();
  std::vector<DisplayNode*> targets;
  for (int i = 0; i < 1024; ++i) targets.push_back(tree.RowAt(static_cast<int>(rng() % static_cast<unsigned>(rows))));
  size_t i = 0;
  for (auto _ : state) tree.EnsureVisible(targets[i++ % targets.size()], Redraw::None);
  state.counters["rows"] = rows;
}

// A key press that moves the focus one row and clears the selection.
void BM_DownKey(benchmark::State& state) {
  TreeView& tree = ExpandedTree(static_cast<size_t>(state.range(0)));
  tree.SetArea(11, 20, 245, 279);
  tree.MoveFocus(tree.FindFocus(), tree.RowAt(tree.CountRows() / 2), Modifiers::None, Redraw::Once);
  for (auto _ : state) tree.OnKey(TreeKey::Down, Modifiers::None);
}

BENCHMARK(BM_Rebuild)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RebuildOneLongList)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SelectAllByRange)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteSelectedPaths)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HandOffEverything)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RowAt)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EnsureVisible)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DownKey)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace jb
