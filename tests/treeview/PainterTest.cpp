#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "TestSupport.h"
#include "TreeTestSupport.h"
#include "config/CConfig.h"
#include "scan/CCatalogue.h"
#include "treeview/MainWindowPainter.h"
#include "treeview/SkinSet.h"
#include "treeview/TreeScrollBar.h"
#include "treeview/TreeText.h"
#include "treeview/TreeView.h"

namespace jb {
namespace {

using test::RecordingPrompt;
using test::TempDir;

constexpr std::uint32_t kBlack = 0xFF000000u;
const std::uint32_t kTextArgb = CQvSprite::ToArgb(TreeView::kTextColour);

CQvSprite Flat(int width, int height, std::uint32_t argb) {
  CQvSprite s;
  s.CreateBitmap(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) s.SetPixel(x, y, argb);
  return s;
}

// What a colour of the program's packing gives over black: the library's
// own blend, so the tests do not restate its arithmetic.
std::uint32_t OverBlack(Colour colour) {
  CQvSprite one;
  one.CreateBitmap(1, 1);
  one.DrawRect(0, 0, 1, 1, colour, true);
  return one.GetPixel(0, 0);
}

// A skin of flat pictures: glyphs 2 x 7 and white (full coverage), icon 0 a
// green 7 x 7 square.
void FlatGlyphsAndIcon(SkinSet& skin) {
  for (int b = 0; b < SkinSet::kGlyphCount; ++b) skin.MutableGlyph(std::uint8_t(b)) = Flat(2, 7, 0xFFFFFFFFu);
  skin.MutableIcons().Add(Flat(7, 7, 0xFF00FF00u));
}

// Ann > Blue (One, Two) and Ann > Red > Three, which merges into one row.
void AddAnn(CCatalogue& catalogue) {
  catalogue.Add(test::E("aAnn|bBlue|tOne", "/m/1.mp3"));
  catalogue.Add(test::E("aAnn|bBlue|tTwo", "/m/2.mp3"));
  catalogue.Add(test::E("aAnn|bRed|tThree", "/m/3.mp3"));
}

DisplayNode* Row(TreeView& tree, const std::string& path) {
  std::vector<DisplayNode*> found = FindRows(tree, path);
  EXPECT_EQ(found.size(), 1u) << path;
  return found.empty() ? nullptr : found.front();
}

class TreePaintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FlatGlyphsAndIcon(m_skin);
    AddAnn(m_catalogue);
    m_tree.SetConfig(&m_config);
    m_tree.Rebuild(m_catalogue, NodeIcons{});
    m_tree.SetTarget(&m_target, &m_skin);
  }
  void Target(int width, int height) { m_target.CreateBitmap(width, height); }
  void ExpandAll() {
    for (const char* path : {"Ann", "Ann/Blue"}) Row(m_tree, path)->SetExpanded(true);
  }

  RecordingPrompt m_prompt;
  CConfig m_config{m_prompt};
  SkinSet m_skin;
  CCatalogue m_catalogue;
  CQvSprite m_target;
  TreeView m_tree;
};

TEST_F(TreePaintTest, DeepRowWiderThanTheAreaShowsItsIconButNoText) {
  Row(m_tree, "Ann")->SetExpanded(true);
  Target(40, 18);
  m_tree.SetArea(0, 0, 12, 18);
  m_tree.Paint();
  // The top row has room for one glyph: 12 - 10 = 2 pixels.
  EXPECT_EQ(m_target.GetPixel(10, 1), kTextArgb);
  EXPECT_EQ(m_target.GetPixel(11, 7), kTextArgb);
  EXPECT_EQ(m_target.GetPixel(13, 1), kBlack);
  // The second row is indented by 9: its icon still shows, its text
  // (width 12 - 9 - 10 < 0) not at all.
  EXPECT_EQ(m_target.GetPixel(10, 9), 0xFF00FF00u);
  EXPECT_EQ(m_target.GetPixel(16, 15), 0xFF00FF00u);
  for (int y = 9; y < 18; ++y)
    for (int x = 17; x < 40; ++x) ASSERT_EQ(m_target.GetPixel(x, y), kBlack) << x << "," << y;
  EXPECT_EQ(m_tree.GetPageRows().size(), 2u);
}

TEST_F(TreePaintTest, Utf8NamesDrawThroughWindows1252GlyphsOtherBytesAsTheyAre) {
  m_skin.MutableGlyph(0xC3) = Flat(1, 7, 0xFFFFFFFFu);
  m_skin.MutableGlyph(0xA9) = Flat(1, 7, 0xFFFFFFFFu);
  m_skin.MutableGlyph(0xE9) = Flat(4, 7, 0xFFFFFFFFu);
  auto columns = [&](const std::string& text) {
    Target(8, 7);
    m_tree.DrawText(0, 0, 8, text, TreeView::kTextColour);
    std::string drawn;
    for (int x = 0; x < 8; ++x) drawn += m_target.GetPixel(x, 3) == kTextArgb ? '#' : '.';
    return drawn;
  };
  EXPECT_EQ(columns("\xC3\xA9"), "####....");      // e acute in UTF-8: glyph 0xE9
  EXPECT_EQ(columns("\xC3\xA9\xFF"), "#.#.##..");  // not UTF-8: one glyph a byte
}

TEST_F(TreePaintTest, PartlySelectedIsFainterThanSelectedAndTheFocusIsAnOutline) {
  ExpandAll();
  DisplayNode* two = Row(m_tree, "Ann/Blue/Two");
  DisplayNode::SetSelectionOfEach({Row(m_tree, "Ann/Blue/One")}, Selected);
  m_tree.SetFocusMark(false);
  two->SetFocusMark(true);
  Target(40, 45);
  m_tree.SetArea(0, 0, 40, 45);
  for (std::uint8_t s : {std::uint8_t(144), std::uint8_t(0)}) {
    m_config.selectionTransparency = s;
    m_tree.Paint();
    // Rows: Ann and Blue partly selected, One selected, Two focused, Red > Three.
    const std::uint32_t full = OverBlack(CQvSprite::GetColor(128, 64, 64, std::uint8_t(s / 2)));
    const std::uint32_t partial = OverBlack(CQvSprite::GetColor(128, 64, 64, s));
    for (int y : {0, 8}) EXPECT_EQ(m_target.GetPixel(39, y), partial) << int(s);
    EXPECT_EQ(m_target.GetPixel(39, 9 + 4), partial);
    EXPECT_EQ(m_target.GetPixel(39, 18 + 4), full);
    EXPECT_EQ(m_target.GetPixel(39, 36 + 4), kBlack);
    if (s == 0) {
      EXPECT_EQ(full, partial);
    } else {
      EXPECT_LT(partial & 0xFF0000u, full & 0xFF0000u);
    }
  }
  const std::uint32_t outline = OverBlack(CQvSprite::GetColor(216, 208, 200, 128));
  for (auto [x, y] : {std::pair{0, 27}, {39, 27}, {0, 35}, {39, 35}, {5, 27}, {30, 35}, {0, 31}, {39, 31}})
    EXPECT_EQ(m_target.GetPixel(x, y), outline) << x << "," << y;
  EXPECT_EQ(m_target.GetPixel(38, 31), kBlack);
  ASSERT_EQ(m_tree.GetPageRows().size(), 5u);
  EXPECT_EQ(m_tree.GetPageRows()[3], two);
}

TEST_F(TreePaintTest, EmptyTreeAndShortAreaPaintOnlyTheBackground) {
  m_config.backgroundColour = CQvSprite::GetColor(10, 20, 200);
  const std::uint32_t background = 0xFF0A14C8u;
  auto onlyBackground = [&](int ax, int ay, int aw, int ah) {
    m_tree.SetArea(ax, ay, aw, ah);
    m_tree.Paint();
    EXPECT_TRUE(m_tree.GetPageRows().empty());
    for (int y = 0; y < m_target.GetHeight(); ++y)
      for (int x = 0; x < m_target.GetWidth(); ++x) {
        const bool inside = x >= ax && x < ax + aw && y >= ay && y < ay + ah;
        ASSERT_EQ(m_target.GetPixel(x, y), inside ? background : kBlack) << x << "," << y;
      }
  };
  Target(30, 12);
  onlyBackground(2, 1, 20, 8);  // 8 pixels: no row fits
  EXPECT_EQ(m_tree.GetRowsPerPage(), 0);
  CCatalogue empty;
  m_tree.Rebuild(empty, NodeIcons{});
  Target(30, 12);
  onlyBackground(2, 1, 20, 10);
}

TEST_F(TreePaintTest, BackgroundImageTilesFromTheAreaCornerOrTheColourStandsIn) {
  CCatalogue empty;
  m_tree.Rebuild(empty, NodeIcons{});
  m_config.optionFlags |= CConfig::kBackgroundImage;
  m_config.backgroundColour = CQvSprite::GetColor(0, 0, 99);
  // The option is on but no image is loaded.
  Target(14, 9);
  m_tree.SetArea(2, 1, 10, 7);
  m_tree.Paint();
  EXPECT_EQ(m_target.GetPixel(2, 1), 0xFF000063u);
  EXPECT_EQ(m_target.GetPixel(11, 7), 0xFF000063u);
  EXPECT_EQ(m_target.GetPixel(12, 7), kBlack);

  // A 4 x 3 tile of all different pixels: whole tiles, the strips left at
  // the right and at the bottom, and the corner all start at the tile's
  // own corner.
  TempDir dir;
  auto rgb = [](int x, int y) { return std::uint32_t(0x102030 + x * 0x20 + y * 0x2000); };
  test::WriteBytes(dir / "tile.bmp", test::Bitmap24(4, 3, rgb));
  m_skin.RebuildBackgroundImage(dir / "tile.bmp", 0, 0);
  ASSERT_NE(m_skin.BackgroundImage(), nullptr);
  m_tree.Paint();
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 14; ++x) {
      const bool inside = x >= 2 && x < 12 && y >= 1 && y < 8;
      ASSERT_EQ(m_target.GetPixel(x, y), inside ? 0xFF000000u | rgb((x - 2) % 4, (y - 1) % 3) : kBlack)
          << x << "," << y;
    }
  // Turned off, the colour is back.
  m_config.optionFlags &= ~CConfig::kBackgroundImage;
  m_tree.Paint();
  EXPECT_EQ(m_target.GetPixel(5, 5), 0xFF000063u);
}

// Scroll bar pictures in colours of their own, named by letters.
class ScrollBarDrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_skin.MutableScrollUp() = Flat(5, 8, 0xFF0000AAu);
    m_skin.MutableScrollDown() = Flat(5, 8, 0xFF0000BBu);
    m_skin.MutableScrollTrack() = Flat(5, 3, 0xFF0000CCu);
    m_skin.MutableScrollThumb() = Flat(5, 4, 0xFF0000DDu);
    m_skin.MutableScrollThumbPressed() = Flat(5, 4, 0xFF0000EEu);
    m_bar.SetTarget(&m_target, &m_skin);
  }
  // The bar's column top to bottom: U up, T track, H thumb, P pressed
  // thumb, D down, . untouched.
  std::string Column(int height, int thumbOffset = TreeScrollBar::kThumbAtPosition) {
    m_target.CreateBitmap(5, height);
    m_bar.Draw(thumbOffset);
    std::string column;
    for (int y = 0; y < height; ++y) {
      switch (m_target.GetPixel(2, y)) {
        case 0xFF0000AAu: column += 'U'; break;
        case 0xFF0000BBu: column += 'D'; break;
        case 0xFF0000CCu: column += 'T'; break;
        case 0xFF0000DDu: column += 'H'; break;
        case 0xFF0000EEu: column += 'P'; break;
        default: column += '.';
      }
    }
    return column;
  }
  SkinSet m_skin;
  CQvSprite m_target;
  TreeScrollBar m_bar;
};

TEST_F(ScrollBarDrawTest, ThumbFollowsThePositionOrTheDragOffset) {
  m_bar.SetGeometry(0, 0, 41);
  EXPECT_EQ(m_bar.GetTrackLength(), 41 - 16 - 4);
  const std::string up(8, 'U'), down(8, 'D');
  // Range 0: the thumb rests at the top of the track.
  EXPECT_EQ(Column(41), up + "HHHH" + std::string(21, 'T') + down);
  m_bar.SetRange(4);
  m_bar.SetPosition(1);  // 21 / 4 = 5.25: 5 pixels down
  EXPECT_EQ(Column(41), up + "TTTTT" + "HHHH" + std::string(16, 'T') + down);
  m_bar.SetPosition(4);
  EXPECT_EQ(Column(41), up + std::string(21, 'T') + "HHHH" + down);
  // A drag draws the pressed thumb where the mouse holds it.
  EXPECT_EQ(Column(41, 7), up + std::string(7, 'T') + "PPPP" + std::string(14, 'T') + down);
  EXPECT_EQ(Column(41, 0), up + "PPPP" + std::string(21, 'T') + down);
}

TEST_F(ScrollBarDrawTest, TrackTilesWithAPartLastAndNoHeightDrawsNothing) {
  // Between the arrows (rows 8 to 32) the 3-pixel track fits eight times
  // with one row left, drawn from the track's top.
  m_skin.MutableScrollTrack() = Flat(5, 3, 0xFF0000CCu);
  m_skin.MutableScrollTrack().SetPixel(2, 0, 0xFF000001u);
  m_bar.SetGeometry(0, 0, 41);
  std::string track;
  for (int i = 0; i < 8; ++i) track += ".TT";
  track += ".";
  EXPECT_EQ(Column(41), std::string(8, 'U') + "HHHH" + track.substr(4) + std::string(8, 'D'));
  m_bar.SetGeometry(0, 0, -3);
  EXPECT_EQ(m_bar.GetHeight(), 0);
  EXPECT_EQ(Column(10), "..........");
}

// Frame pictures in colours of their own.
std::uint32_t FrameColour(int index) { return 0xFF000000u | std::uint32_t(index + 1) << 16; }

class WindowPaintTest : public ::testing::Test {
 protected:
  WindowPaintTest() : m_painter(m_skin, m_tree, m_bar) {}
  void SetUp() override {
    for (int i = 0; i < SkinSet::kFrameCount; ++i) m_skin.Frame(i) = Flat(6, 6, FrameColour(i));
    m_skin.Frame(SkinSet::kSmallTitle) = Flat(40, 14, FrameColour(SkinSet::kSmallTitle));
    m_skin.Frame(SkinSet::kSmallTitleInactive) = Flat(40, 14, FrameColour(SkinSet::kSmallTitleInactive));
    for (CQvSprite* s : {&m_skin.MutableScrollUp(), &m_skin.MutableScrollDown(), &m_skin.MutableScrollTrack(),
                         &m_skin.MutableScrollThumb(), &m_skin.MutableProgressEmpty(), &m_skin.MutableProgressFull(),
                         &m_skin.MutableBottomOrnament()})
      *s = Flat(5, 5, 0xFFFFFFFFu);
    FlatGlyphsAndIcon(m_skin);
    AddAnn(m_catalogue);
    m_tree.Rebuild(m_catalogue, NodeIcons{});
    m_painter.SetInvalidate([this] { ++m_invalidated; });
  }
  // Every pixel of the back buffer is one of these.
  ::testing::AssertionResult OnlyColours(std::initializer_list<std::uint32_t> allowed) {
    const CQvSprite& b = m_painter.BackBuffer();
    for (int y = 0; y < b.GetHeight(); ++y)
      for (int x = 0; x < b.GetWidth(); ++x)
        if (std::find(allowed.begin(), allowed.end(), b.GetPixel(x, y)) == allowed.end())
          return ::testing::AssertionFailure() << std::hex << b.GetPixel(x, y) << " at " << std::dec << x << "," << y;
    return ::testing::AssertionSuccess();
  }

  SkinSet m_skin;
  CCatalogue m_catalogue;
  TreeView m_tree;
  TreeScrollBar m_bar;
  MainWindowPainter m_painter;
  int m_invalidated = 0;
};

TEST_F(WindowPaintTest, SmallFormDrawsOnlyItsTitleAndPressedButton) {
  m_painter.SetProgress(50);
  m_painter.OnSize(50, 14);
  EXPECT_EQ(m_tree.GetRowsPerPage(), 0);
  EXPECT_EQ(m_bar.GetHeight(), 0);
  EXPECT_GE(m_invalidated, 1);
  const CQvSprite& b = m_painter.BackBuffer();
  EXPECT_EQ(b.GetWidth(), 50);
  EXPECT_EQ(b.GetPixel(39, 13), FrameColour(SkinSet::kSmallTitle));
  EXPECT_TRUE(OnlyColours({FrameColour(SkinSet::kSmallTitle), kBlack}));

  m_painter.SetPressedButton(MainWindowPainter::kFormButton);
  EXPECT_EQ(b.GetPixel(29, 3), FrameColour(SkinSet::kSmallFormPressed));
  EXPECT_TRUE(OnlyColours({FrameColour(SkinSet::kSmallTitle), FrameColour(SkinSet::kSmallFormPressed), kBlack}));
  m_painter.SetPressedButton(MainWindowPainter::kNoButton);
  m_painter.SetActive(false);
  EXPECT_TRUE(OnlyColours({FrameColour(SkinSet::kSmallTitleInactive), kBlack}));
}

TEST_F(WindowPaintTest, LargeFormPressedButtonsAndInactiveTitle) {
  m_painter.OnSize(100, 60);
  const CQvSprite& b = m_painter.BackBuffer();
  EXPECT_EQ(b.GetPixel(0, 0), FrameColour(SkinSet::kTitleLeft));
  EXPECT_EQ(b.GetPixel(22, 0), FrameColour(SkinSet::kTitleFill));
  EXPECT_EQ(b.GetPixel(74, 5), FrameColour(SkinSet::kTitleFill));  // fill tiled up to the right piece
  EXPECT_EQ(b.GetPixel(75, 0), FrameColour(SkinSet::kTitleRight));
  EXPECT_EQ(b.GetPixel((100 - 136) / 2 + 22, 0), FrameColour(SkinSet::kTitleMiddle));
  const struct {
    int button, x, frame;
  } pressed[] = {{MainWindowPainter::kMenuButton, 4, SkinSet::kMenuPressed},
                 {MainWindowPainter::kFormButton, 79, SkinSet::kFormPressed},
                 {MainWindowPainter::kCloseButton, 89, SkinSet::kClosePressed}};
  for (const auto& p : pressed) {
    m_painter.SetPressedButton(p.button);
    EXPECT_EQ(b.GetPixel(p.x, 3), FrameColour(p.frame)) << p.button;
    EXPECT_EQ(b.GetPixel(p.x + 5, 8), FrameColour(p.frame)) << p.button;
  }
  m_painter.SetPressedButton(MainWindowPainter::kNoButton);
  m_painter.SetActive(false);
  EXPECT_EQ(b.GetPixel(0, 3), FrameColour(SkinSet::kTitleLeftInactive));
  EXPECT_EQ(b.GetPixel(4, 3), FrameColour(SkinSet::kTitleMiddleInactive));
  EXPECT_EQ(b.GetPixel(76, 3), FrameColour(SkinSet::kTitleRightInactive));
}

TEST_F(WindowPaintTest, EdgesTileDownToTheBottomEdgeWithAPartLast) {
  // Each edge picture marks its first row, so the column shows where the
  // tiles start: L left edge, R right edge, E its lower end, B bottom edge.
  auto marked = [&](int index, int height) {
    m_skin.Frame(index) = Flat(6, height, FrameColour(index));
    m_skin.Frame(index).SetPixel(0, 0, 0xFF0000FFu);
  };
  marked(SkinSet::kLeftEdge, 7);
  marked(SkinSet::kRightEdge, 7);
  marked(SkinSet::kRightEdgeEnd, 4);
  m_painter.OnSize(100, 80);
  auto column = [&](int x) {
    std::string c;
    for (int y = 20; y < 64; ++y) {
      const std::uint32_t p = m_painter.BackBuffer().GetPixel(x, y);
      c += p == 0xFF0000FFu ? '^' : p == FrameColour(SkinSet::kLeftEdge) ? 'L' : p == FrameColour(SkinSet::kRightEdge) ? 'R'
           : p == FrameColour(SkinSet::kRightEdgeEnd) ? 'E' : p == FrameColour(SkinSet::kBottomLeft) ? 'B' : '?';
    }
    return c;
  };
  // Left: whole tiles from 20 while they end by 60, then 5 rows of one.
  EXPECT_EQ(column(0), "^LLLLLL^LLLLLL^LLLLLL^LLLLLL^LLLLLL^LLLL" "BBBB");
  // Right: whole tiles while they start above 56 (the last one partly
  // covered), then the lower end at 56, then the bottom edge's fill.
  EXPECT_EQ(column(81), "^RRRRRR^RRRRRR^RRRRRR^RRRRRR^RRRRRR^" "^EEE" "????");
}

TEST_F(WindowPaintTest, EmptyPicturesNeverStallTheLayout) {
  SkinSet empty;
  TreeView tree;
  TreeScrollBar bar;
  MainWindowPainter painter(empty, tree, bar);
  tree.Rebuild(m_catalogue, NodeIcons{});
  tree.SetFocusMark(false);
  painter.SetProgress(30);
  painter.OnSize(275, 319);
  painter.SetActive(false);
  // Nothing but the tree area's black background.
  for (int y = 0; y < 319; y += 7)
    for (int x = 0; x < 275; x += 5) ASSERT_EQ(painter.BackBuffer().GetPixel(x, y), kBlack);
}

TEST_F(WindowPaintTest, ProgressBarShowsTheValueAndTheLayoutFollowsTheSize) {
  m_skin.MutableProgressEmpty() = Flat(50, 3, 0xFF000011u);
  m_skin.MutableProgressFull() = Flat(50, 3, 0xFF000022u);
  m_painter.SetProgress(0);
  m_painter.OnSize(120, 90);
  const CQvSprite& b = m_painter.BackBuffer();
  EXPECT_EQ(b.GetPixel(10, 74), 0xFF000011u);
  m_painter.ShowProgress(6);
  EXPECT_EQ(b.GetPixel(16, 74), 0xFF000022u);  // value + 1 pixels
  EXPECT_EQ(b.GetPixel(17, 74), 0xFF000011u);
  EXPECT_EQ(m_tree.GetAreaX(), 11);
  EXPECT_EQ(m_tree.GetAreaWidth(), 90);
  EXPECT_EQ(m_tree.GetAreaHeight(), 50);
  EXPECT_EQ(m_bar.GetX(), 105);
  EXPECT_EQ(m_bar.GetHeight(), 53);
  // The scan ends: the bottom edge covers the bar, also after a resize.
  const int before = m_invalidated;
  m_painter.ShowProgress(MainWindowPainter::kNoProgress);
  EXPECT_EQ(m_invalidated, before + 1);
  EXPECT_EQ(b.GetPixel(16, 74), FrameColour(SkinSet::kBottomFill));
  m_painter.OnSize(120, 90);
  EXPECT_EQ(b.GetPixel(16, 74), FrameColour(SkinSet::kBottomFill));
  // A scan starts again: the empty bar alone.
  m_painter.ShowProgress(0);
  EXPECT_EQ(b.GetPixel(10, 74), 0xFF000011u);
  EXPECT_EQ(b.GetPixel(16, 74), 0xFF000011u);
}

}  // namespace
}  // namespace jb
