#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"
#include "TreeTestSupport.h"
#include "catalogue/CCatalogue.h"
#include "skin/SkinSet.h"
#include "treeview/TreeScrollBar.h"
#include "treeview/TreeView.h"
#include "window/MainWindowPainter.h"

namespace jb {
namespace {

using test::Flat;
using test::Strip;

constexpr std::uint32_t kBlack = 0xFF000000u, kWhite = 0xFFFFFFFFu;

// The names a merged row joins may come in different encodings: each is
// drawn through the glyphs of its own.
TEST(TreePaintTest, MergedRowMapsEachNameByItsOwnEncoding) {
  SkinSet skin;
  for (int b = 0; b < SkinSet::kGlyphCount; ++b) skin.MutableGlyph(std::uint8_t(b)) = Flat(1 + b % 3, 7, kWhite);
  CCatalogue catalogue;
  CQvSprite target;
  TreeView tree;
  tree.SetTarget(&target, &skin);
  target.CreateBitmap(80, 9);
  const std::vector<std::pair<std::uint32_t, char>> legend = {{CQvSprite::ToArgb(TreeView::kTextColour), '#'},
                                                              {kBlack, '.'}};
  // UTF-8 "Björk", Latin-1 "Jóga", and the glyph bytes of the joined row.
  for (auto [levels, glyphs] : {std::pair{"aJ\xF3ga|tBj\xC3\xB6rk", "J\xF3ga \x10 Bj\xF6rk"},
                                {"aBj\xC3\xB6rk|bJ\xF3ga|t\xE2\x82\xAC", "Bj\xF6rk \x10 J\xF3ga \x10 \x80"}}) {
    catalogue.RemoveAllEntries();
    catalogue.Add(test::E(levels, "/m/1.mp3"));
    tree.Rebuild(catalogue, NodeIcons{});
    tree.SetArea(0, 0, 80, 9);
    tree.SetFocusMark(false);
    tree.Paint();
    CQvSprite expected = Flat(80, 9, kBlack);
    skin.DrawText(expected, 10, 1, 70, glyphs, TreeView::kTextColour);
    EXPECT_EQ(Strip(target, 10, 1, 70, legend), Strip(expected, 10, 1, 70, legend)) << levels;
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
  EXPECT_EQ(column(41), expected(0, 'H'));  // range 0: at the top
  bar.SetRange(4);
  for (auto [position, offset] : {std::pair{1, 5}, {3, 15}, {4, 21}}) {  // 21 * position / 4, cut
    bar.SetPosition(position);
    EXPECT_EQ(column(41), expected(offset, 'H')) << position;
  }
  EXPECT_EQ(column(41, 7), expected(7, 'P'));
  bar.SetGeometry(0, 0, -3);
  EXPECT_EQ(column(10), "..........");
}

TEST(WindowPaintTest, EmptyPicturesNeverStallTheLayout) {
  SkinSet empty;
  CCatalogue catalogue;
  catalogue.Add(test::E("aAnn|bBlue|tOne", "/m/1.mp3"));
  TreeView tree;
  tree.Rebuild(catalogue, NodeIcons{});
  tree.SetFocusMark(false);
  TreeScrollBar bar;
  MainWindowPainter painter(empty, tree, bar);
  painter.SetProgress(30);
  painter.OnSize(275, 319);
  painter.SetActive(false);
  // Nothing but the tree area's black background.
  for (int y = 0; y < 319; y += 7)
    for (int x = 0; x < 275; x += 5) ASSERT_EQ(painter.BackBuffer().GetPixel(x, y), kBlack);
}

}  // namespace
}  // namespace jb
