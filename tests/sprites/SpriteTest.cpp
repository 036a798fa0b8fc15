#include <gtest/gtest.h>

#include "TestSupport.h"
#include "config/CArchive.h"
#include "sprites/CQvSprite.h"
#include "sprites/CQvSpriteArray.h"

namespace jb {
namespace {

constexpr std::uint32_t Argb(std::uint32_t a, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}

// A sprite whose every pixel is opaque and tells where it came from.
CQvSprite Numbered(int width, int height, std::uint32_t base) {
  CQvSprite s;
  s.CreateBitmap(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) s.SetPixel(x, y, Argb(255, base, std::uint32_t(y), std::uint32_t(x)));
  return s;
}

CQvSprite Filled(int width, int height, std::uint32_t argb) {
  CQvSprite s;
  s.CreateBitmap(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) s.SetPixel(x, y, argb);
  return s;
}

// The positions of the pixels that differ from background.
std::vector<std::pair<int, int>> Changed(const CQvSprite& s, std::uint32_t background) {
  std::vector<std::pair<int, int>> out;
  for (int y = 0; y < s.GetHeight(); ++y)
    for (int x = 0; x < s.GetWidth(); ++x)
      if (s.GetPixel(x, y) != background) out.emplace_back(x, y);
  return out;
}

TEST(SpriteColourTest, PackingPutsRedLowAndTransparencyHigh) {
  EXPECT_EQ(CQvSprite::GetColor(216, 208, 200), 0x00C8D0D8u);
  EXPECT_EQ(CQvSprite::GetColor(1, 2, 3, 4), 0x04030201u);
  std::uint8_t r, g, b, t;
  CQvSprite::GetComponents(0x80402010u, r, g, b, t);
  EXPECT_EQ((std::vector<int>{r, g, b, t}), (std::vector<int>{0x10, 0x20, 0x40, 0x80}));
  EXPECT_EQ(CQvSprite::ToArgb(CQvSprite::GetColor(1, 2, 3, 0)), Argb(255, 1, 2, 3));
  EXPECT_EQ(CQvSprite::ToArgb(CQvSprite::GetColor(1, 2, 3, 255)), Argb(0, 1, 2, 3));
  EXPECT_EQ(CQvSprite::FromArgb(Argb(55, 9, 8, 7)), CQvSprite::GetColor(9, 8, 7, 200));
}

TEST(SpriteColourTest, SystemColoursCarryTheAskedTransparency) {
  EXPECT_EQ(CQvSprite::GetSysColor(15, 128), 0x80C0C0C0u);
  CQvSprite::SetSysColor(15, 10, 20, 30);
  EXPECT_EQ(CQvSprite::GetSysColor(15, 0), CQvSprite::GetColor(10, 20, 30));
  CQvSprite::SetSysColor(15, 192, 192, 192);
  EXPECT_EQ(CQvSprite::GetSysColor(999, 7), 0x07000000u);
}

TEST(SpriteSurfaceTest, NewSpritesAreEmptyAndBitmapsOpaqueBlack) {
  CQvSprite s;
  EXPECT_FALSE(s.IsBitmapCreated());
  s.CreateBitmap(3, 2);
  ASSERT_TRUE(s.IsBitmapCreated());
  std::int32_t w, h;
  s.GetSize(w, h);
  EXPECT_EQ(w, 3);
  EXPECT_EQ(h, 2);
  EXPECT_EQ(s.BytesPerLine(), 12);
  EXPECT_EQ(s.GetPixel(2, 1), 0xFF000000u);
  s.CreateBitmap(0, 5);
  EXPECT_FALSE(s.IsBitmapCreated());
  EXPECT_EQ(s.GetWidth(), 0);
  s.CreateBitmap(2, 2);
  s.DestroyBitmap();
  EXPECT_FALSE(s.IsBitmapCreated());
  EXPECT_EQ(s.GetHeight(), 0);
}

// Target (10, 200, 100) covered by (250, 50, 0).
TEST(SpriteBlendTest, FillBlendsByTransparency) {
  struct Case {
    std::uint8_t transparency;
    std::uint32_t expected;
  } cases[] = {
      {0, Argb(255, 250, 50, 0)},
      {128, Argb(255, 130, 125, 50)},  // (250*127 + 10*128 + 127) / 255 = 130 ...
      {255, Argb(255, 10, 200, 100)},
  };
  for (const Case& c : cases) {
    CQvSprite s = Filled(2, 2, Argb(255, 10, 200, 100));
    s.DrawRect(0, 0, 2, 2, CQvSprite::GetColor(250, 50, 0, c.transparency), true);
    EXPECT_EQ(s.GetPixel(1, 1), c.expected) << int(c.transparency);
  }
}

// Three pixels of one colour at alpha 255, 128 and 0.
CQvSprite FadingRow(std::uint32_t rgb) {
  CQvSprite s;
  s.CreateBitmap(3, 1);
  const std::uint32_t alphas[3] = {255, 128, 0};
  for (int x = 0; x < 3; ++x) s.SetPixel(x, 0, (alphas[x] << 24) | rgb);
  return s;
}

TEST(SpriteBlendTest, SourceAlphaBlendsSpritesAndCoverageShadesGlyphs) {
  CQvSprite source = FadingRow(0xC86400);
  CQvSprite target = Filled(3, 1, Argb(255, 0, 0, 200));
  target.DrawSprite(0, 0, source);
  EXPECT_EQ(target.GetPixel(0, 0), Argb(255, 200, 100, 0));
  EXPECT_EQ(target.GetPixel(1, 0), Argb(255, 100, 50, 100));  // (200*128 + 127) / 255 = 100
  EXPECT_EQ(target.GetPixel(2, 0), Argb(255, 0, 0, 200));

  // A glyph's colour is ignored; only its coverage counts, and the text
  // colour's own transparency weakens it further.
  CQvSprite glyph = FadingRow(0x010203);
  CQvSprite text = Filled(3, 1, Argb(255, 0, 0, 0));
  text.DrawChar(0, 0, glyph, CQvSprite::GetColor(255, 255, 255));
  EXPECT_EQ(text.GetPixel(0, 0), Argb(255, 255, 255, 255));
  EXPECT_EQ(text.GetPixel(1, 0), Argb(255, 128, 128, 128));
  EXPECT_EQ(text.GetPixel(2, 0), Argb(255, 0, 0, 0));
  CQvSprite faint = Filled(1, 1, Argb(255, 0, 0, 0));
  faint.DrawChar(0, 0, glyph, CQvSprite::GetColor(254, 254, 254, 128));
  EXPECT_EQ(faint.GetPixel(0, 0), Argb(255, 127, 127, 127));
}

// Over an opaque target, blending takes a shorter way; it must give what the
// general "over" gives for every source, target and alpha (and the opaque
// row copy what pixel-by-pixel blending gives).
TEST(SpriteBlendTest, OpaqueTargetsGiveTheGeneralResultForEveryValue) {
  auto general = [](std::uint32_t s, std::uint32_t d, std::uint32_t a) {
    const std::uint32_t sw = a * 255, dw = 255 * (255 - a), total = sw + dw;
    return (s * sw + d * dw + total / 2) / total;
  };
  CQvSprite row;
  row.CreateBitmap(256, 1);
  for (std::uint32_t a = 1; a < 255; ++a)
    for (std::uint32_t s = 0; s < 256; ++s) {
      for (std::uint32_t d = 0; d < 256; ++d) row.SetPixel(int(d), 0, Argb(255, d, 255 - d, d));
      CQvSprite source = Filled(256, 1, Argb(a, s, s, 255 - s));
      row.DrawSprite(0, 0, source);
      for (std::uint32_t d = 0; d < 256; ++d)
        ASSERT_EQ(row.GetPixel(int(d), 0),
                  Argb(255, general(s, d, a), general(s, 255 - d, a), general(255 - s, d, a)))
            << "alpha " << a << " source " << s << " target " << d;
    }
  // A row with one translucent pixel is blended, not copied.
  CQvSprite source = Filled(4, 1, Argb(255, 9, 9, 9));
  source.SetPixel(2, 0, Argb(0, 9, 9, 9));
  CQvSprite target = Filled(4, 1, Argb(255, 1, 2, 3));
  target.DrawSprite(0, 0, source);
  EXPECT_EQ(target.GetPixel(1, 0), Argb(255, 9, 9, 9));
  EXPECT_EQ(target.GetPixel(2, 0), Argb(255, 1, 2, 3));
}

TEST(SpriteBlendTest, TranslucentPixelsOverTransparentTargetsKeepTheirColour) {
  CQvSprite target = Filled(1, 1, 0);
  target.DrawRect(0, 0, 1, 1, CQvSprite::GetColor(90, 60, 30, 128), true);
  EXPECT_EQ(target.GetPixel(0, 0), Argb(127, 90, 60, 30));
  target.DrawRect(0, 0, 1, 1, CQvSprite::GetColor(90, 60, 30, 128), true);
  EXPECT_EQ(target.GetPixel(0, 0), Argb(191, 90, 60, 30));  // 127 + 127 * 128 / 255
}

TEST(SpriteClipTest, WholeSpriteIsClippedAtEveryEdgeAndCorner) {
  const std::uint32_t bg = Argb(255, 0, 0, 0);
  struct Case {
    int x, y;
    int firstX, firstY, lastX, lastY;  // covered target pixels
  } cases[] = {
      {-2, 1, 0, 1, 1, 4},   // left
      {4, 1, 4, 1, 5, 4},    // right
      {1, -3, 1, 0, 4, 0},   // top
      {1, 5, 1, 5, 4, 5},    // bottom
      {-3, -3, 0, 0, 0, 0},  // top-left corner
      {5, 5, 5, 5, 5, 5},    // bottom-right corner
      {-2, 4, 0, 4, 1, 5},   // bottom-left
      {4, -2, 4, 0, 5, 1},   // top-right
  };
  const CQvSprite source = Numbered(4, 4, 7);
  for (const Case& c : cases) {
    CQvSprite target = Filled(6, 6, bg);
    target.DrawSprite(c.x, c.y, source);
    for (int y = 0; y < 6; ++y) {
      for (int x = 0; x < 6; ++x) {
        bool inside = x >= c.firstX && x <= c.lastX && y >= c.firstY && y <= c.lastY;
        std::uint32_t expected = inside ? Argb(255, 7, std::uint32_t(y - c.y), std::uint32_t(x - c.x)) : bg;
        ASSERT_EQ(target.GetPixel(x, y), expected) << c.x << "," << c.y << " at " << x << "," << y;
      }
    }
  }
  CQvSprite target = Filled(6, 6, bg);
  target.DrawSprite(6, 0, source);
  target.DrawSprite(0, -4, source);
  target.DrawSprite(-4, 0, source);
  target.DrawSprite(0, 6, source);
  EXPECT_TRUE(Changed(target, bg).empty());
}

TEST(SpriteClipTest, PartialDrawsClipToBothSourceAndTarget) {
  const std::uint32_t bg = Argb(255, 0, 0, 0);
  const CQvSprite source = Numbered(4, 3, 9);
  for (auto [w, h] : {std::pair{0, 2}, {2, 0}, {-1, 2}, {2, -5}, {-3, -3}}) {
    CQvSprite target = Filled(5, 5, bg);
    target.DrawSprite(0, 0, 0, 0, w, h, source);
    EXPECT_TRUE(Changed(target, bg).empty()) << w << "x" << h;
  }
  // The part (1, 1, 2, 1) lands at (3, 4).
  CQvSprite target = Filled(5, 5, bg);
  target.DrawSprite(3, 4, 1, 1, 2, 1, source);
  EXPECT_EQ(Changed(target, bg), (std::vector<std::pair<int, int>>{{3, 4}, {4, 4}}));
  EXPECT_EQ(target.GetPixel(4, 4), Argb(255, 9, 1, 2));
  // A part reaching outside the source takes only what the source has, at
  // the places those pixels would have gone.
  target = Filled(5, 5, bg);
  target.DrawSprite(1, 1, -1, -1, 10, 10, source);
  EXPECT_EQ(target.GetPixel(1, 1), bg);
  EXPECT_EQ(target.GetPixel(2, 2), Argb(255, 9, 0, 0));
  EXPECT_EQ(target.GetPixel(4, 4), Argb(255, 9, 2, 2));
  EXPECT_EQ(Changed(target, bg).size(), 9u);
  // Parts starting beyond the source draw nothing.
  target = Filled(5, 5, bg);
  target.DrawSprite(0, 0, 4, 0, 3, 3, source);
  target.DrawSprite(0, 0, 0, 3, 3, 3, source);
  EXPECT_TRUE(Changed(target, bg).empty());
}

TEST(SpriteClipTest, DrawingASpriteIntoItselfReadsTheOldPixels) {
  CQvSprite s = Numbered(3, 1, 1);
  s.DrawSprite(1, 0, s);
  EXPECT_EQ(s.GetPixel(1, 0), Argb(255, 1, 0, 0));
  EXPECT_EQ(s.GetPixel(2, 0), Argb(255, 1, 0, 1));
}

TEST(SpriteRectTest, OutlinesTouchEachEdgePixelOnceAndClip) {
  const std::uint32_t bg = Argb(255, 0, 0, 0);
  CQvSprite s = Filled(6, 5, bg);
  s.DrawRect(1, 1, 4, 3, CQvSprite::GetColor(254, 254, 254, 128), false);
  std::uint32_t once = Argb(255, 127, 127, 127);
  for (auto [x, y] : {std::pair{1, 1}, {4, 1}, {1, 3}, {4, 3}, {2, 1}, {1, 2}, {4, 2}, {3, 3}})
    EXPECT_EQ(s.GetPixel(x, y), once) << x << "," << y;
  EXPECT_EQ(s.GetPixel(2, 2), bg);
  EXPECT_EQ(Changed(s, bg).size(), 10u);

  s = Filled(4, 4, bg);
  s.DrawRect(-1, -1, 3, 6, CQvSprite::GetColor(9, 9, 9), false);
  EXPECT_EQ(Changed(s, bg), (std::vector<std::pair<int, int>>{{1, 0}, {1, 1}, {1, 2}, {1, 3}}));  // only the right side is inside
  s = Filled(4, 4, bg);
  s.DrawRect(2, 2, 5, 5, CQvSprite::GetColor(9, 9, 9), true);
  s.DrawRect(0, 0, -2, 2, CQvSprite::GetColor(9, 9, 9), true);
  s.DrawRect(0, 0, 2, 0, CQvSprite::GetColor(9, 9, 9), false);
  EXPECT_EQ(Changed(s, bg).size(), 4u);
}

TEST(SpriteRectTest, ThreeDFrameIsLightTopLeftAndDarkBottomRight) {
  const std::uint32_t bg = Argb(255, 0, 0, 0);
  CQvSprite s = Filled(4, 4, bg);
  s.Draw3DRect(0, 0, 4, 4, CQvSprite::GetColor(255, 255, 255), CQvSprite::GetColor(50, 50, 50));
  const std::uint32_t L = Argb(255, 255, 255, 255), D = Argb(255, 50, 50, 50);
  const std::uint32_t expected[4][4] = {{L, L, L, D}, {L, bg, bg, D}, {L, bg, bg, D}, {D, D, D, D}};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(s.GetPixel(x, y), expected[y][x]) << x << "," << y;
}

TEST(SpriteTileTest, TilingFillsLeftoverStripsAndCornerExactly) {
  const std::uint32_t bg = Argb(255, 0, 0, 0);
  const CQvSprite tile = Numbered(3, 2, 5);
  for (auto [w, h] : {std::pair{8, 5}, {6, 4}, {2, 1}, {7, 2}}) {
    CQvSprite s = Filled(12, 9, bg);
    s.DrawTiled(2, 3, w, h, tile);
    for (int y = 0; y < 9; ++y) {
      for (int x = 0; x < 12; ++x) {
        bool inside = x >= 2 && x < 2 + w && y >= 3 && y < 3 + h;
        std::uint32_t expected = inside ? Argb(255, 5, std::uint32_t((y - 3) % 2), std::uint32_t((x - 2) % 3)) : bg;
        ASSERT_EQ(s.GetPixel(x, y), expected) << w << "x" << h << " at " << x << "," << y;
      }
    }
  }
  CQvSprite s = Filled(4, 4, bg);
  s.DrawTiled(0, 0, 4, 4, CQvSprite());
  s.DrawTiled(0, 0, 0, 4, tile);
  EXPECT_TRUE(Changed(s, bg).empty());
}

TEST(SpriteGlyphTest, GlyphsClipAtTheTargetEdges) {
  const std::uint32_t bg = Argb(255, 0, 0, 0);
  CQvSprite glyph = Filled(3, 3, Argb(255, 0, 0, 0));
  CQvSprite s = Filled(4, 4, bg);
  s.DrawChar(2, -1, glyph, CQvSprite::GetColor(0, 0, 255));
  EXPECT_EQ(Changed(s, bg), (std::vector<std::pair<int, int>>{{2, 0}, {3, 0}, {2, 1}, {3, 1}}));
  EXPECT_EQ(s.GetPixel(3, 1), Argb(255, 0, 0, 255));
}

struct RecordingDisplay : ISpriteDisplay {
  void ShowPixels(int x, int y, const std::uint32_t* pixels, int width, int height, int bytesPerLine) override {
    calls.push_back({x, y, width, height, bytesPerLine});
    first = pixels[0];
  }
  std::vector<std::vector<int>> calls;
  std::uint32_t first = 0;
};

TEST(SpriteSurfaceTest, DisplayHandsOverThePixelsOnceAndEmptySpritesNotAtAll) {
  RecordingDisplay display;
  CQvSprite().Display(display, 0, 0);
  EXPECT_TRUE(display.calls.empty());
  Numbered(5, 2, 3).Display(display, 7, 8);
  EXPECT_EQ(display.calls, (std::vector<std::vector<int>>{{7, 8, 5, 2, 20}}));
  EXPECT_EQ(display.first, Argb(255, 3, 0, 0));
}

template <typename T>
void LoadFrom(const std::vector<std::uint8_t>& bytes, T& object) {
  CMemoryFile file(bytes);
  CArchive ar(file, CArchive::load);
  object.Serialize(ar);
}

TEST(SpriteStorageTest, StoredFormIsVersionSizeAndRgbtPixels) {
  CQvSprite s;
  s.CreateBitmap(2, 1);
  s.SetPixel(0, 0, Argb(255, 1, 2, 3));
  s.SetPixel(1, 0, Argb(0x37, 4, 5, 6));
  std::vector<std::uint8_t> bytes = test::StoreBytes([&](CArchive& ar) { s.Serialize(ar); });
  EXPECT_EQ(bytes, (std::vector<std::uint8_t>{1, 2, 0, 0, 0, 1, 0, 0, 0, 1, 2, 3, 0, 4, 5, 6, 0xC8}));
  CQvSprite back;
  LoadFrom(bytes, back);
  EXPECT_EQ(back.GetPixel(1, 0), Argb(0x37, 4, 5, 6));
  EXPECT_EQ(back.GetPixel(0, 0), Argb(255, 1, 2, 3));

  std::vector<std::uint8_t> empty = test::StoreBytes([](CArchive& ar) { CQvSprite().Serialize(ar); });
  EXPECT_EQ(empty, (std::vector<std::uint8_t>{1, 0, 0, 0, 0, 0, 0, 0, 0}));
  LoadFrom(empty, back);
  EXPECT_FALSE(back.IsBitmapCreated());
}

TEST(SpriteStorageTest, BadStoredFormsAreFormatErrorsAndChangeNothing) {
  const std::vector<std::uint8_t> good = {1, 1, 0, 0, 0, 1, 0, 0, 0, 9, 8, 7, 0};
  std::vector<std::vector<std::uint8_t>> bad = {
      {2, 1, 0, 0, 0, 1, 0, 0, 0, 9, 8, 7, 0},              // version
      {1, 1, 0, 0, 0, 1, 0, 0, 0, 9, 8, 7},                 // one pixel byte short
      {1, 1, 0, 0},                                         // size cut
      {1, 0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0},              // negative width
      {1, 0, 0x20, 0, 0, 0, 0x20, 0, 0, 1, 2, 3, 4},        // 8192 x 8192 from 4 bytes
      {1, 0, 0, 0, 0x40, 0, 0, 0, 0x40},                    // beyond the side limit
      {1, 0, 0, 0, 0, 5, 0, 0, 0},                          // 0 x 5
  };
  for (const auto& bytes : bad) {
    CQvSprite s = Numbered(2, 2, 4);
    EXPECT_THROW(LoadFrom(bytes, s), CArchiveException);
    EXPECT_EQ(s.GetWidth(), 2);
    EXPECT_EQ(s.GetPixel(1, 1), Argb(255, 4, 1, 1));
  }
  CQvSprite s;
  LoadFrom(good, s);
  EXPECT_EQ(s.GetPixel(0, 0), Argb(255, 9, 8, 7));
}

TEST(SpriteArrayTest, StoresCountAndSpritesAndRefusesImpossibleCounts) {
  CQvSpriteArray array;
  array.Add(Numbered(1, 1, 1));
  array.Add(Numbered(2, 1, 2));
  array.Add(CQvSprite());
  std::vector<std::uint8_t> bytes = test::StoreBytes([&](CArchive& ar) { array.Serialize(ar); });
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 5), (std::vector<std::uint8_t>{1, 3, 0, 0, 0}));
  CQvSpriteArray back;
  LoadFrom(bytes, back);
  ASSERT_EQ(back.GetSize(), 3);
  EXPECT_EQ(back.GetAt(1).GetPixel(1, 0), Argb(255, 2, 0, 1));
  EXPECT_FALSE(back.GetAt(2).IsBitmapCreated());
  EXPECT_FALSE(back.GetAt(3).IsBitmapCreated());
  EXPECT_FALSE(back.GetAt(-1).IsBitmapCreated());

  // A count the bytes cannot hold, and a sprite cut short, leave the old contents.
  std::vector<std::uint8_t> huge = {1, 0xFF, 0xFF, 0xFF, 0x0F, 1, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_THROW(LoadFrom(huge, back), CArchiveException);
  std::vector<std::uint8_t> cut(bytes.begin(), bytes.end() - 3);
  EXPECT_THROW(LoadFrom(cut, back), CArchiveException);
  EXPECT_EQ(back.GetSize(), 3);
  back.RemoveAt(0);
  EXPECT_EQ(back.GetAt(0).GetWidth(), 2);
  CQvSpriteArray copy = back;
  EXPECT_EQ(copy.GetSize(), 2);
}

// A bitmap file: 24 bits, the given header size, rows padded to 4 bytes.
std::vector<std::uint8_t> Bitmap(int width, int height, std::uint16_t bits = 24, std::uint32_t compression = 0,
                                 std::uint32_t headerSize = 40) {
  int rows = height < 0 ? -height : height;
  int stride = (width * 3 + 3) & ~3;
  std::uint32_t offset = 14 + headerSize;
  std::vector<std::uint8_t> b(offset + std::size_t(stride) * rows, 0);
  auto put = [&](size_t at, std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i) b[at + i] = std::uint8_t(v >> (8 * i));
  };
  b[0] = 'B';
  b[1] = 'M';
  put(2, std::uint32_t(b.size()), 4);
  put(10, offset, 4);
  put(14, headerSize, 4);
  if (headerSize == 12) {
    put(18, std::uint32_t(width), 2);
    put(20, std::uint32_t(height), 2);
    put(22, 1, 2);
    put(24, bits, 2);
  } else {
    put(18, std::uint32_t(width), 4);
    put(22, std::uint32_t(height), 4);
    put(26, 1, 2);
    put(28, bits, 2);
    put(30, compression, 4);
  }
  // File row r holds blue = r, green = column, red = 200.
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < width; ++c) {
      size_t at = offset + std::size_t(r) * stride + std::size_t(c) * 3;
      b[at] = std::uint8_t(r);
      b[at + 1] = std::uint8_t(c);
      b[at + 2] = 200;
    }
  return b;
}

TEST(SpriteBitmapTest, LoadsBottomUpTopDownAndOldHeaders) {
  CQvSprite s;
  ASSERT_EQ(s.CreateFromBitmapBytes(Bitmap(3, 2)), CQvSprite::kCreated);
  EXPECT_EQ(s.GetWidth(), 3);
  EXPECT_EQ(s.GetPixel(2, 0), Argb(255, 200, 2, 1));  // the last file row is the top
  EXPECT_EQ(s.GetPixel(1, 1), Argb(255, 200, 1, 0));
  ASSERT_EQ(s.CreateFromBitmapBytes(Bitmap(3, -2)), CQvSprite::kCreated);
  EXPECT_EQ(s.GetPixel(2, 0), Argb(255, 200, 2, 0));
  ASSERT_EQ(s.CreateFromBitmapBytes(Bitmap(2, 2, 24, 0, 12)), CQvSprite::kCreated);
  EXPECT_EQ(s.GetPixel(1, 0), Argb(255, 200, 1, 1));
  ASSERT_EQ(s.CreateFromBitmapBytes(Bitmap(5, 1, 24, 0, 124)), CQvSprite::kCreated);
  EXPECT_EQ(s.GetWidth(), 5);
  // The last row's padding may be missing.
  std::vector<std::uint8_t> unpadded = Bitmap(3, 2);
  unpadded.resize(unpadded.size() - 3);
  EXPECT_EQ(s.CreateFromBitmapBytes(unpadded), CQvSprite::kCreated);
}

TEST(SpriteBitmapTest, AnythingButUncompressed24BitFailsAndKeepsThePicture) {
  std::vector<std::uint8_t> truncated = Bitmap(3, 2);
  truncated.resize(truncated.size() - 4);
  std::vector<std::uint8_t> notBm = Bitmap(3, 2);
  notBm[0] = 'P';
  std::vector<std::vector<std::uint8_t>> bad = {
      Bitmap(3, 2, 32), Bitmap(3, 2, 8), Bitmap(3, 2, 24, 1), Bitmap(0, 2), Bitmap(3, 0),
      Bitmap(3, 2, 24, 0, 20), truncated, notBm, {'B', 'M', 0}, {},
  };
  for (const auto& bytes : bad) {
    CQvSprite s = Numbered(1, 1, 3);
    EXPECT_EQ(s.CreateFromBitmapBytes(bytes), CQvSprite::kNotA24BitBitmap);
    EXPECT_EQ(s.GetPixel(0, 0), Argb(255, 3, 0, 0));
  }
  std::vector<std::uint8_t> giant = Bitmap(1, 1);
  giant[18] = 0;
  giant[19] = 0;
  giant[20] = 1;  // 65536 wide
  CQvSprite s;
  EXPECT_EQ(s.CreateFromBitmapBytes(giant), CQvSprite::kNotA24BitBitmap);
}

TEST(SpriteBitmapTest, CreateReadsFilesAndReportsMissingOnes) {
  test::TempDir dir;
  test::WriteBytes(dir / "tile.bmp", Bitmap(4, 4));
  CQvSprite s;
  EXPECT_EQ(s.Create(dir / "tile.bmp"), CQvSprite::kCreated);
  EXPECT_EQ(s.GetHeight(), 4);
  EXPECT_EQ(s.Create(dir / "missing.bmp"), CQvSprite::kCannotOpen);
  EXPECT_EQ(s.Create(dir.Path()), CQvSprite::kCannotOpen);
  EXPECT_EQ(s.GetHeight(), 4);
}

}  // namespace
}  // namespace jb
