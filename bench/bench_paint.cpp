// Painting a large window, 1,000 x 1,400: a view refresh (background image
// tiled over the tree area, a full page of rows with selection, focus,
// icons and text, the scroll bar) and a whole size change (new back buffer,
// frame, then the same refresh).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "catalogue/CCatalogue.h"
#include "config/CConfig.h"
#include "skin/SkinSet.h"
#include "treeview/TreeScrollBar.h"
#include "treeview/TreeView.h"
#include "window/MainWindowPainter.h"

namespace jb {
namespace {

// A picture with an opaque body, a soft (half-covered) border and a
// transparent corner, as skin pictures are.
CQvSprite Picture(int width, int height, std::uint32_t rgb) {
  CQvSprite s;
  s.CreateBitmap(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      std::uint32_t alpha = (x == 0 || y == 0) ? 0x80u : 0xFFu;
      if (x == 0 && y == 0) alpha = 0;
      s.SetPixel(x, y, alpha << 24 | rgb);
    }
  return s;
}

// Pictures of the default skin's sizes.
void FillSkin(SkinSet& skin) {
  for (int i = 0; i < SkinSet::kFrameCount; ++i) skin.Frame(i) = Picture(25, 20, 0x303840);
  for (int i : {SkinSet::kLeftEdge, SkinSet::kRightEdge}) skin.Frame(i) = Picture(11, 16, 0x303840);
  skin.MutableProgressEmpty() = Picture(120, 5, 0x202020);
  skin.MutableProgressFull() = Picture(120, 5, 0xC08030);
  skin.MutableBottomOrnament() = Picture(40, 14, 0x505050);
  skin.MutableScrollTrack() = Picture(10, 16, 0x202428);
  skin.MutableScrollUp() = Picture(10, 8, 0x606870);
  skin.MutableScrollDown() = Picture(10, 8, 0x606870);
  skin.MutableScrollThumb() = Picture(10, 12, 0x808890);
  skin.MutableScrollThumbPressed() = Picture(10, 12, 0xC08030);
  for (int i = 0; i < 12; ++i) skin.MutableIcons().Add(Picture(8, 8, 0x40C0B0));
  for (int b = 0; b < SkinSet::kGlyphCount; ++b) skin.MutableGlyph(std::uint8_t(b)) = Picture(4 + b % 3, 7, 0xFFFFFF);
}

// A 24-bit bitmap file of a 64 x 64 pattern.
std::string WriteBackground() {
  const int side = 64, stride = side * 3;
  std::vector<std::uint8_t> bytes(54 + size_t(stride) * side, 0);
  auto put = [&](size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = std::uint8_t(v >> (8 * i));
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put(2, std::uint32_t(bytes.size()));
  put(10, 54);
  put(14, 40);
  put(18, side);
  put(22, side);
  bytes[26] = 1;
  bytes[28] = 24;
  for (size_t i = 54; i < bytes.size(); ++i) bytes[i] = std::uint8_t(i * 7);
  std::string path = (std::filesystem::temp_directory_path() / ("bench_paint_" + std::to_string(getpid()) + ".bmp"));
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return path;
}

// Artists with albums of songs, every group open: many more rows than a
// page; some selected, the focus on the page.
std::unique_ptr<CCatalogue> Collection() {
  auto catalogue = std::make_unique<CCatalogue>();
  char buf[160];
  for (int artist = 0; artist < 40; ++artist)
    for (int album = 0; album < 3; ++album)
      for (int track = 0; track < 10; ++track) {
        auto e = std::make_unique<CCatalogueEntry>();
        std::snprintf(buf, sizeof buf, "Song number %02d with a longer title than most", track);
        std::string title = buf;
        std::snprintf(buf, sizeof buf, "Album %d of artist %02d", album, artist);
        std::string albumName = buf;
        std::snprintf(buf, sizeof buf, "The Artist %02d", artist);
        e->m_aNames = {buf, albumName, title};
        e->m_aKinds = {NodeKind::Artist, NodeKind::Album, NodeKind::File};
        std::snprintf(buf, sizeof buf, "/music/%02d/%d/%02d.mp3", artist, album, track);
        e->m_aPaths = {buf};
        e->m_nIcon = 4;
        catalogue->Add(std::move(e));
      }
  return catalogue;
}

struct Window {
  bench::SilentPrompt prompt;
  CConfig config{prompt};
  SkinSet skin;
  std::unique_ptr<CCatalogue> catalogue = Collection();
  TreeView tree;
  TreeScrollBar bar;
  MainWindowPainter painter{skin, tree, bar};

  Window() {
    FillSkin(skin);
    const std::string image = WriteBackground();
    config.optionFlags |= CConfig::kBackgroundImage;
    config.backgroundImagePath = image;
    skin.RebuildBackgroundImage(config);
    std::filesystem::remove(image);
    tree.SetConfig(&config);
    tree.Rebuild(*catalogue, NodeIcons::FromConfig(config));
    tree.ExpandLevels(INT32_MAX);
    painter.OnSize(1000, 1400);
    tree.Scroll(30, Redraw::None);
    DisplayNode* row = tree.RowAt(40);
    DisplayNode::SetSelectionOfEach({row, tree.RowAt(60), tree.RowAt(61)}, SelectionState::Selected);
    tree.SetFocusMark(false);
    tree.RowAt(62)->SetFocusMark(true);
  }
};

void BM_RefreshView(benchmark::State& state) {
  Window window;
  for (auto _ : state) {
    window.painter.RefreshView();
    benchmark::DoNotOptimize(window.painter.BackBuffer().Bits());
  }
  state.counters["rows"] = double(window.tree.GetPageRows().size());
}
BENCHMARK(BM_RefreshView)->Unit(benchmark::kMicrosecond);

void BM_SizeChange(benchmark::State& state) {
  Window window;
  for (auto _ : state) {
    window.painter.OnSize(1000, 1400);
    benchmark::DoNotOptimize(window.painter.BackBuffer().Bits());
  }
}
BENCHMARK(BM_SizeChange)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace jb
