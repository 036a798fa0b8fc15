#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "TestSupport.h"
#include "TreeTestSupport.h"
#include "catalogue/CCatalogue.h"
#include "config/CConfig.h"
#include "skin/SkinSet.h"
#include "treeview/TreeScrollBar.h"
#include "treeview/TreeView.h"
#include "window/MainWindowPainter.h"

namespace jb {
namespace {

using test::Flat;
using test::Strip;
using Legend = std::vector<std::pair<std::uint32_t, char>>;

constexpr std::uint32_t kBlack = 0xFF000000u, kWhite = 0xFFFFFFFFu, kGreen = 0xFF00FF00u;

// Glyphs 2 x 7 of full coverage, icon 0 a green 7 x 7 square, and the tree
// Ann > Blue (One, Two) and Ann > Red > Three, which merges into one row.
void FillSkinAndCatalogue(SkinSet& skin, CCatalogue& catalogue) {
  for (int b = 0; b < SkinSet::kGlyphCount; ++b) skin.MutableGlyph(std::uint8_t(b)) = Flat(2, 7, kWhite);
  skin.MutableIcons().Add(Flat(7, 7, kGreen));
  for (auto [levels, path] :
       {std::pair{"aAnn|bBlue|tOne", "/m/1.mp3"}, {"aAnn|bBlue|tTwo", "/m/2.mp3"}, {"aAnn|bRed|tThree", "/m/3.mp3"}})
    catalogue.Add(test::E(levels, path));
}

class TreePaintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FillSkinAndCatalogue(m_skin, m_catalogue);
    m_tree.SetConfig(&m_config);
    m_tree.Rebuild(m_catalogue, NodeIcons{});
    m_tree.SetTarget(&m_target, &m_skin);
    m_tree.SetFocusMark(false);
  }
  // The whole target is argb in the tree area and black around it.
  bool AreaShows(std::uint32_t argb) {
    const int ax = m_tree.GetAreaX(), ay = m_tree.GetAreaY();
    for (int y = 0; y < m_target.GetHeight(); ++y)
      for (int x = 0; x < m_target.GetWidth(); ++x) {
        const bool in = x >= ax && x < ax + m_tree.GetAreaWidth() && y >= ay && y < ay + m_tree.GetAreaHeight();
        if (m_target.GetPixel(x, y) != (in ? argb : kBlack)) return false;
      }
    return true;
  }

  test::RecordingPrompt m_prompt;
  CConfig m_config{m_prompt};
  SkinSet m_skin;
  CCatalogue m_catalogue;
  CQvSprite m_target;
  TreeView m_tree;
};

TEST_F(TreePaintTest, DeepRowWiderThanTheAreaShowsItsIconButNoText) {
  test::FindRow(m_tree, "Ann")->SetExpanded(true);
  m_target.CreateBitmap(40, 18);
  m_tree.SetArea(0, 0, 12, 18);
  m_tree.Paint();
  EXPECT_EQ(m_tree.GetPageRows().size(), 2u);
  const Legend legend = {{kGreen, 'G'}, {CQvSprite::ToArgb(TreeView::kTextColour), 'T'}, {kBlack, '.'}};
  // The top row has room for one glyph (12 - 10 = 2 pixels); the second,
  // indented by 9, for its icon but no text (12 - 9 - 10 < 0).
  EXPECT_EQ(Strip(m_target, 0, 3, 40, legend), ".GGGGGGG..TT" + std::string(28, '.'));
  EXPECT_EQ(Strip(m_target, 0, 12, 40, legend), std::string(10, '.') + "GGGGGGG" + std::string(23, '.'));
}

// The names a merged row joins may come in different encodings: each is
// drawn through the glyphs of its own.
TEST_F(TreePaintTest, MergedRowMapsEachNameByItsOwnEncoding) {
  for (int b = 0; b < SkinSet::kGlyphCount; ++b) m_skin.MutableGlyph(std::uint8_t(b)) = Flat(1 + b % 3, 7, kWhite);
  m_target.CreateBitmap(80, 9);
  const Legend legend = {{CQvSprite::ToArgb(TreeView::kTextColour), '#'}, {kBlack, '.'}};
  // UTF-8 "Björk", Latin-1 "Jóga", and the glyph bytes of the joined row.
  for (auto [levels, glyphs] : {std::pair{"aBj\xC3\xB6rk|tJ\xF3ga", "Bj\xF6rk \x10 J\xF3ga"},
                                {"aJ\xF3ga|tBj\xC3\xB6rk", "J\xF3ga \x10 Bj\xF6rk"},
                                {"aBj\xC3\xB6rk|bJ\xF3ga|t\xE2\x82\xAC", "Bj\xF6rk \x10 J\xF3ga \x10 \x80"}}) {
    m_catalogue.RemoveAllEntries();
    m_catalogue.Add(test::E(levels, "/m/1.mp3"));
    m_tree.Rebuild(m_catalogue, NodeIcons{});
    m_tree.SetArea(0, 0, 80, 9);
    m_tree.SetFocusMark(false);
    m_tree.Paint();
    CQvSprite expected = Flat(80, 9, kBlack);
    m_skin.DrawText(expected, 10, 1, 70, glyphs, TreeView::kTextColour);
    EXPECT_EQ(Strip(m_target, 10, 1, 70, legend), Strip(expected, 10, 1, 70, legend)) << levels;
  }
}

// A loaded image shows only while the option is on; how it tiles and tints
// the golden pictures show.
TEST_F(TreePaintTest, BackgroundIsTheColourUnlessAnImageIsLoadedAndTheOptionOn) {
  m_config.backgroundColour = CQvSprite::GetColor(10, 20, 200);
  m_target.CreateBitmap(14, 12);
  m_tree.SetArea(2, 1, 10, 8);  // no row fits
  m_tree.Paint();
  EXPECT_TRUE(m_tree.GetPageRows().empty());
  EXPECT_TRUE(AreaShows(0xFF0A14C8u));
  CCatalogue empty;
  m_tree.Rebuild(empty, NodeIcons{});
  m_tree.SetArea(2, 1, 10, 10);
  test::TempDir dir;
  test::WriteBytes(dir / "tile.bmp", test::Bitmap24(4, 3, [](int, int) { return 0x102030u; }));
  for (auto [option, image, argb] :
       {std::tuple{true, false, 0xFF0A14C8u}, {true, true, 0xFF102030u}, {false, true, 0xFF0A14C8u}}) {
    m_config.optionFlags =
        option ? m_config.optionFlags | CConfig::kBackgroundImage : m_config.optionFlags & ~CConfig::kBackgroundImage;
    if (image) m_skin.RebuildBackgroundImage(dir / "tile.bmp", 0, 0);
    m_tree.Paint();
    EXPECT_TRUE(AreaShows(argb)) << option << image;
  }
}

TEST(ScrollBarDrawTest, ThumbFollowsThePositionOrTheDragOffsetOverATiledTrack) {
  SkinSet skin;
  CQvSprite* parts[] = {&skin.MutableScrollUp(), &skin.MutableScrollDown(), &skin.MutableScrollTrack(),
                        &skin.MutableScrollThumb(), &skin.MutableScrollThumbPressed()};
  for (int i = 0; i < 5; ++i) *parts[i] = Flat(5, i < 2 ? 8 : i == 2 ? 3 : 4, 0xFF0000AAu + 0x11 * i);
  skin.MutableScrollTrack().SetPixel(2, 0, 0xFF000001u);  // where a track tile starts
  CQvSprite target;
  TreeScrollBar bar;
  bar.SetTarget(&target, &skin);
  auto column = [&](int height, int thumbOffset = TreeScrollBar::kThumbAtPosition) {
    target.CreateBitmap(5, height);
    bar.Draw(thumbOffset);
    return Strip(target, 2, 0, height,
                 {{0xFF0000AAu, 'U'},
                  {0xFF0000BBu, 'D'},
                  {0xFF000001u, 't'},
                  {0xFF0000CCu, 'T'},
                  {0xFF0000DDu, 'H'},
                  {0xFF0000EEu, 'P'},
                  {kBlack, '.'}},
                 true);
  };
  // Between the arrows the track fits eight times with one row left; the
  // thumb (H resting, P dragged) lies over it.
  auto expected = [](int offset, char thumb) {
    std::string track = "tTTtTTtTTtTTtTTtTTtTTtTTt";
    return std::string(8, 'U') + track.replace(std::size_t(offset), 4, 4, thumb) + std::string(8, 'D');
  };
  bar.SetGeometry(0, 0, 41);
  EXPECT_EQ(bar.GetTrackLength(), 41 - 16 - 4);
  EXPECT_EQ(column(41), expected(0, 'H'));  // range 0: at the top
  bar.SetRange(4);
  for (auto [position, offset] : {std::pair{1, 5}, {3, 15}, {4, 21}}) {  // 21 * position / 4, cut
    bar.SetPosition(position);
    EXPECT_EQ(column(41), expected(offset, 'H')) << position;
  }
  EXPECT_EQ(column(41, 7), expected(7, 'P'));
  EXPECT_EQ(column(41, 0), expected(0, 'P'));
  bar.SetGeometry(0, 0, -3);
  EXPECT_EQ(column(10), "..........");
}

// Frame pictures in colours of their own.
std::uint32_t FrameColour(int index) { return 0xFF000000u | std::uint32_t(index + 1) << 16; }

class WindowPaintTest : public ::testing::Test {
 protected:
  WindowPaintTest() : m_painter(m_skin, m_tree, m_bar) {}
  void SetUp() override {
    for (int i = 0; i < SkinSet::kFrameCount; ++i) m_skin.Frame(i) = Flat(6, 6, FrameColour(i));
    for (int i : {SkinSet::kSmallTitle, SkinSet::kSmallTitleInactive}) m_skin.Frame(i) = Flat(40, 14, FrameColour(i));
    for (CQvSprite* s : {&m_skin.MutableScrollUp(), &m_skin.MutableScrollDown(), &m_skin.MutableScrollTrack(),
                         &m_skin.MutableScrollThumb(), &m_skin.MutableProgressEmpty(), &m_skin.MutableProgressFull(),
                         &m_skin.MutableBottomOrnament()})
      *s = Flat(5, 5, kWhite);
    FillSkinAndCatalogue(m_skin, m_catalogue);
    m_tree.Rebuild(m_catalogue, NodeIcons{});
    m_painter.SetInvalidate([this] { ++m_invalidated; });
  }
  std::uint32_t At(int x, int y) const { return m_painter.BackBuffer().GetPixel(x, y); }

  SkinSet m_skin;
  CCatalogue m_catalogue;
  TreeView m_tree;
  TreeScrollBar m_bar;
  MainWindowPainter m_painter;
  int m_invalidated = 0;
};

// Each form's pressed buttons are pictures of their own; the small form has
// no tree or scroll bar, and its inactive title is a picture too.
TEST_F(WindowPaintTest, PressedButtonsAndTheSmallForm) {
  for (auto [width, height, button, x, frame] :
       {std::array<int, 5>{100, 60, MainWindowPainter::kMenuButton, 4, SkinSet::kMenuPressed},
        {100, 60, MainWindowPainter::kFormButton, 79, SkinSet::kFormPressed},
        {50, 14, MainWindowPainter::kFormButton, 29, SkinSet::kSmallFormPressed}}) {
    m_painter.OnSize(width, height);
    m_painter.SetPressedButton(button);
    EXPECT_EQ(At(x, 3), FrameColour(frame)) << button;
    EXPECT_EQ(At(x + 5, 8), FrameColour(frame)) << button;
  }
  EXPECT_EQ(m_tree.GetRowsPerPage() + m_bar.GetHeight(), 0);
  m_painter.SetPressedButton(MainWindowPainter::kNoButton);
  m_painter.SetActive(false);
  for (int y = 0; y < 14; ++y)
    EXPECT_EQ(Strip(m_painter.BackBuffer(), 0, y, 50, {{FrameColour(SkinSet::kSmallTitleInactive), 'I'}, {kBlack, '.'}})
                  .find('?'),
              std::string::npos)
        << y;
}

TEST_F(WindowPaintTest, EdgesTileDownToTheBottomEdgeWithAPartLast) {
  // Each edge picture marks its first row ('^'), so the column shows where
  // the tiles start: L left edge, R right edge, E its lower end, B bottom.
  for (auto [index, height] :
       {std::pair{SkinSet::kLeftEdge, 7}, {SkinSet::kRightEdge, 7}, {SkinSet::kRightEdgeEnd, 4}}) {
    m_skin.Frame(index) = Flat(6, height, FrameColour(index));
    m_skin.Frame(index).SetPixel(0, 0, 0xFF0000FFu);
  }
  m_painter.OnSize(100, 80);
  const Legend legend = {{0xFF0000FFu, '^'},
                         {FrameColour(SkinSet::kLeftEdge), 'L'},
                         {FrameColour(SkinSet::kRightEdge), 'R'},
                         {FrameColour(SkinSet::kRightEdgeEnd), 'E'},
                         {FrameColour(SkinSet::kBottomLeft), 'B'}};
  // Left: whole tiles from 20 while they end by 60, then 5 rows of one.
  EXPECT_EQ(Strip(m_painter.BackBuffer(), 0, 20, 44, legend, true), "^LLLLLL^LLLLLL^LLLLLL^LLLLLL^LLLLLL^LLLLBBBB");
  // Right: whole tiles while they start above 56 (the last one partly
  // covered), then the lower end at 56, then the bottom edge's fill.
  EXPECT_EQ(Strip(m_painter.BackBuffer(), 81, 20, 44, legend, true), "^RRRRRR^RRRRRR^RRRRRR^RRRRRR^RRRRRR^^EEE????");
}

TEST_F(WindowPaintTest, EmptyPicturesNeverStallTheLayout) {
  SkinSet empty;
  MainWindowPainter painter(empty, m_tree, m_bar);
  m_tree.SetFocusMark(false);
  painter.SetProgress(30);
  painter.OnSize(275, 319);
  painter.SetActive(false);
  // Nothing but the tree area's black background.
  for (int y = 0; y < 319; y += 7)
    for (int x = 0; x < 275; x += 5) ASSERT_EQ(painter.BackBuffer().GetPixel(x, y), kBlack);
}

// How the bar shows a value the window tests check; here, how it goes.
TEST_F(WindowPaintTest, TheBottomEdgeCoversTheProgressBarWhenTheScanEnds) {
  m_skin.MutableProgressEmpty() = Flat(50, 3, 0xFF000011u);
  m_painter.SetProgress(6);
  m_painter.OnSize(120, 90);
  const int before = m_invalidated;
  m_painter.ShowProgress(MainWindowPainter::kNoProgress);
  EXPECT_EQ(m_invalidated, before + 1);
  EXPECT_EQ(At(16, 74), FrameColour(SkinSet::kBottomFill));
  m_painter.OnSize(120, 90);  // also after a resize
  EXPECT_EQ(At(16, 74), FrameColour(SkinSet::kBottomFill));
  m_painter.ShowProgress(0);  // a scan starts again: the empty bar alone
  EXPECT_EQ(At(16, 74), 0xFF000011u);
}

}  // namespace
}  // namespace jb
