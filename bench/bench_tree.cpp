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

#include "app/HandOff.h"
#include "storage/CArchive.h"
#include "platform/File.h"
#include "platform/Prompt.h"
#include "catalogue/CCatalogue.h"
#include "treeview/TreeView.h"

namespace jb {
namespace {

// A collection like a large real one: about ten tracks an album and eight
// albums an artist, one album in twenty a compilation shared by several
// artists, and one file in a hundred from a play-list of twenty tracks.
std::unique_ptr<CCatalogue> Generate(size_t files) {
  auto catalogue = std::make_unique<CCatalogue>();
  std::mt19937 rng(42);
  char buf[160];
  size_t made = 0;
  for (size_t artist = 0; made < files; ++artist) {
    std::snprintf(buf, sizeof buf, "Artist %06zu", artist);
    std::string artistName = buf;
    for (int album = 0; album < 8 && made < files; ++album) {
      bool compilation = rng() % 20 == 0;
      if (compilation)
        std::snprintf(buf, sizeof buf, "Greatest Hits %03u", static_cast<unsigned>(rng() % 500));
      else
        std::snprintf(buf, sizeof buf, "Album %02d of %06zu", album, artist);
      std::string albumName = buf;
      for (int track = 0; track < 10 && made < files; ++track, ++made) {
        auto e = std::make_unique<CCatalogueEntry>();
        std::snprintf(buf, sizeof buf, "Song %02d of album %02d", track, album);
        e->m_aNames = {artistName, albumName, buf};
        e->m_aKinds = {Artist, Album, File};
        std::snprintf(buf, sizeof buf, "/home/user/Music/%s/%s/%02d - Song %02d.mp3", artistName.c_str(),
                      albumName.c_str(), track + 1, track);
        e->m_aPaths = {buf};
        e->m_nIcon = 4;
        catalogue->Add(std::move(e));
      }
    }
    if (artist % 100 == 99 && made + 20 <= files) {
      auto e = std::make_unique<CCatalogueEntry>();
      std::snprintf(buf, sizeof buf, "Mix %06zu", artist);
      e->m_aNames = {buf};
      e->m_aKinds = {PlayList};
      for (int t = 0; t < 20; ++t) {
        std::snprintf(buf, sizeof buf, "Mixed song %02d", t);
        e->m_aNames.push_back(buf);
        e->m_aKinds.push_back(File);
        std::snprintf(buf, sizeof buf, "/home/user/Music/Mixes/%06zu/%02d.mp3", artist, t);
        e->m_aPaths.push_back(buf);
      }
      catalogue->Add(std::move(e));
      made += 20;
    }
  }
  return catalogue;
}

class SilentPrompt : public IPrompt {
 public:
  void ShowMessage(int) override {}
  void ShowText(const std::string&) override {}
  Answer AskYesNoCancel(const std::string&) override { return Answer::Cancel; }
  std::optional<std::string> ChooseOpenFile(const FileDialogOptions&) override { return std::nullopt; }
  std::optional<std::string> ChooseSaveFile(const FileDialogOptions&) override { return std::nullopt; }
};

CCatalogue& Catalogue(size_t files) {
  static std::map<size_t, std::unique_ptr<CCatalogue>> made;
  auto& c = made[files];
  if (!c) c = Generate(files);
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

void BM_SelectAllByRange(benchmark::State& state) {
  TreeView& tree = Tree(static_cast<size_t>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    tree.SetSelection(Unselected);
    state.ResumeTiming();
    // Shift+End from the first row.
    tree.SelectRange(tree.RowAt(0), tree.RowAt(tree.CountRows() - 1));
  }
  if (tree.GetSelection() != Selected) state.SkipWithError("not everything selected");
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
  tree.SetSelection(Selected);
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
};

void BM_HandOffEverything(benchmark::State& state) {
  TreeView& tree = Tree(static_cast<size_t>(state.range(0)));
  tree.SetSelection(Selected);
  char dir[] = "/tmp/jukebar-bench-XXXXXX";
  if (!::mkdtemp(dir)) return state.SkipWithError("no temporary folder");
  const std::string playList = std::string(dir) + "/Jukebar.m3u";
  NoShell shell;
  SilentPrompt prompt;
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
  for (auto _ : state) tree.EnsureVisible(targets[i++ % targets.size()], false, false);
  state.counters["rows"] = rows;
}

// A key press that moves the focus one row and clears the selection.
void BM_DownKey(benchmark::State& state) {
  TreeView& tree = ExpandedTree(static_cast<size_t>(state.range(0)));
  tree.SetArea(11, 20, 245, 279);
  tree.MoveFocus(tree.FindFocus(), tree.RowAt(tree.CountRows() / 2), false, false, false);
  for (auto _ : state) tree.OnKey(TreeKey::Down, false, false);
}

BENCHMARK(BM_Rebuild)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SelectAllByRange)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteSelectedPaths)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HandOffEverything)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RowAt)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EnsureVisible)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DownKey)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace jb
