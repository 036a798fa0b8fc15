#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <functional>

#include "TestSupport.h"
#include "sprites/CQvSprite.h"
#include "sprites/CQvSpriteArray.h"
#include "storage/CArchive.h"

namespace jb {
namespace {

constexpr std::uint32_t Argb(std::uint32_t a, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}
constexpr std::uint32_t kBg = Argb(255, 0, 0, 0);

// numbered: every pixel also tells where it came from, green y and blue x.
CQvSprite Filled(int width, int height, std::uint32_t argb, bool numbered = false) {
  CQvSprite s;
  s.CreateBitmap(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) s.SetPixel(x, y, argb | (numbered ? std::uint32_t(y << 8 | x) : 0u));
  return s;
}

::testing::AssertionResult Matches(const CQvSprite& s, const std::function<std::uint32_t(int, int)>& expected) {
  for (int y = 0; y < s.GetHeight(); ++y)
    for (int x = 0; x < s.GetWidth(); ++x)
      if (s.GetPixel(x, y) != expected(x, y))
        return ::testing::AssertionFailure() << std::hex << s.GetPixel(x, y) << " at " << std::dec << x << "," << y;
  return ::testing::AssertionSuccess();
}
// A picture one pixel high.
::testing::AssertionResult Matches(const CQvSprite& s, std::vector<std::uint32_t> row) {
  return Matches(s, [&](int x, int) { return row.at(std::size_t(x)); });
}

TEST(SpriteBlendTest, FillsSpritesAndGlyphsBlendByTransparency) {
  // Fills at transparency 0, 128 and 255 over (10, 200, 100).
  CQvSprite target = Filled(3, 1, Argb(255, 10, 200, 100));
  const std::uint8_t transparency[] = {0, 128, 255};
  for (int x = 0; x < 3; ++x) target.DrawRect(x, 0, 1, 1, CQvSprite::GetColor(250, 50, 0, transparency[x]), true);
  EXPECT_TRUE(Matches(target, {Argb(255, 250, 50, 0), Argb(255, 130, 125, 50), Argb(255, 10, 200, 100)}));
  // Sprites by their alpha: 255, 128 and 0 along the row.
  CQvSprite fading = Filled(3, 1, Argb(255, 200, 100, 0));
  fading.SetPixel(1, 0, Argb(128, 200, 100, 0));
  fading.SetPixel(2, 0, Argb(0, 200, 100, 0));
  target = Filled(3, 1, Argb(255, 0, 0, 200));
  target.DrawSprite(0, 0, fading);
  EXPECT_TRUE(Matches(target, {Argb(255, 200, 100, 0), Argb(255, 100, 50, 100), Argb(255, 0, 0, 200)}));
  // A glyph's colour is ignored; its coverage and the text colour's own
  // transparency count.
  CQvSprite text = Filled(3, 1, kBg);
  text.DrawChar(0, 0, fading, CQvSprite::GetColor(254, 254, 254, 128));
  EXPECT_TRUE(Matches(text, {Argb(255, 127, 127, 127), Argb(255, 64, 64, 64), kBg}));
  // Over a transparent target the colour stays and only the alpha grows.
  target = Filled(1, 1, 0);
  for (std::uint32_t alpha : {127u, 191u}) {  // 127 + 127 * 128 / 255
    target.DrawRect(0, 0, 1, 1, CQvSprite::GetColor(90, 60, 30, 128), true);
    EXPECT_EQ(target.GetPixel(0, 0), Argb(alpha, 90, 60, 30));
  }
}

// Over an opaque target, blending takes a shorter way; it must give what the
// general "over" gives for every source, target and alpha, and a row with a
// translucent pixel must be blended, not copied.
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
      row.DrawSprite(0, 0, Filled(256, 1, Argb(a, s, s, 255 - s)));
      for (std::uint32_t d = 0; d < 256; ++d)
        ASSERT_EQ(row.GetPixel(int(d), 0), Argb(255, general(s, d, a), general(s, 255 - d, a), general(255 - s, d, a)))
            << "alpha " << a << " source " << s << " target " << d;
    }
  CQvSprite source = Filled(2, 1, Argb(255, 9, 9, 9)), target = Filled(2, 1, Argb(255, 1, 2, 3));
  source.SetPixel(1, 0, Argb(0, 9, 9, 9));
  target.DrawSprite(0, 0, source);
  EXPECT_TRUE(Matches(target, {Argb(255, 9, 9, 9), Argb(255, 1, 2, 3)}));
}

// Draws of a numbered 4 x 3 sprite into a 6 x 6 target: x, y, then the part
// sx, sy, width, height; the whole sprite goes through the short call.
TEST(SpriteClipTest, DrawsClipToBothSourceAndTargetAtEveryEdge) {
  const CQvSprite source = Filled(4, 3, Argb(255, 9, 0, 0), true);
  const std::array<int, 6> draws[] = {
      {-2, 1, 0, 0, 4, 3},  {4, 1, 0, 0, 4, 3},   {1, -2, 0, 0, 4, 3}, {1, 5, 0, 0, 4, 3},   // edges
      {-3, -2, 0, 0, 4, 3}, {5, 5, 0, 0, 4, 3},   {-2, 4, 0, 0, 4, 3}, {4, -1, 0, 0, 4, 3},  // corners
      {6, 0, 0, 0, 4, 3},   {0, -3, 0, 0, 4, 3},  {-4, 0, 0, 0, 4, 3}, {0, 6, 0, 0, 4, 3},   // just outside
      {0, 0, 0, 0, 0, 2},   {0, 0, 0, 0, 2, 0},   {0, 0, 0, 0, -1, 2}, {0, 0, 0, 0, 2, -5}, {0, 0, 0, 0, -3, -3},
      {3, 4, 1, 1, 2, 1},   {1, 1, -1, -1, 9, 9}, {0, 0, 4, 0, 3, 3},  {0, 0, 0, 3, 3, 3},  {-2, -1, 1, 0, 3, 3}};
  for (const auto& d : draws) {
    CQvSprite target = Filled(6, 6, kBg);
    if (d[2] == 0 && d[3] == 0 && d[4] == 4 && d[5] == 3)
      target.DrawSprite(d[0], d[1], source);
    else
      target.DrawSprite(d[0], d[1], d[2], d[3], d[4], d[5], source);
    EXPECT_TRUE(Matches(target,
                        [&](int x, int y) {
                          const int u = x - d[0] + d[2], v = y - d[1] + d[3];
                          const bool drawn = u >= std::max(d[2], 0) && u < std::min(d[2] + d[4], 4) &&
                                             v >= std::max(d[3], 0) && v < std::min(d[3] + d[5], 3);
                          return drawn ? Argb(255, 9, v, u) : kBg;
                        }))
        << d[0] << "," << d[1] << " part " << d[2] << "," << d[3] << "," << d[4] << "," << d[5];
  }
  CQvSprite text = Filled(4, 4, kBg);
  text.DrawChar(2, -1, Filled(3, 3, kBg), CQvSprite::GetColor(0, 0, 255));
  EXPECT_TRUE(Matches(text, [](int x, int y) { return x >= 2 && y <= 1 ? Argb(255, 0, 0, 255) : kBg; }));
  // Drawn into itself, a sprite reads its old pixels.
  CQvSprite s = Filled(3, 1, Argb(255, 1, 0, 0), true);
  s.DrawSprite(1, 0, s);
  EXPECT_TRUE(Matches(s, {Argb(255, 1, 0, 0), Argb(255, 1, 0, 0), Argb(255, 1, 0, 1)}));
}

TEST(SpriteRectTest, OutlinesAndFramesTouchEachEdgePixelOnceAndClip) {
  CQvSprite s = Filled(6, 5, kBg);
  s.DrawRect(1, 1, 4, 3, CQvSprite::GetColor(254, 254, 254, 128), false);
  EXPECT_TRUE(Matches(s, [](int x, int y) {
    const bool edge = x >= 1 && x <= 4 && y >= 1 && y <= 3 && (x == 1 || x == 4 || y == 1 || y == 3);
    return edge ? Argb(255, 127, 127, 127) : kBg;
  }));
  s = Filled(4, 4, kBg);
  const Colour c = CQvSprite::GetColor(9, 9, 9);
  s.DrawRect(-1, -1, 3, 6, c, false);  // only its right side is inside
  s.DrawRect(2, 2, 5, 5, c, true);
  s.DrawRect(0, 0, -2, 2, c, true);
  s.DrawRect(0, 0, 2, 0, c, false);
  EXPECT_TRUE(Matches(s, [](int x, int y) { return x == 1 || (x >= 2 && y >= 2) ? Argb(255, 9, 9, 9) : kBg; }));
  s = Filled(4, 4, kBg);
  s.Draw3DRect(0, 0, 4, 4, CQvSprite::GetColor(255, 255, 255), CQvSprite::GetColor(50, 50, 50));
  EXPECT_TRUE(Matches(s, [](int x, int y) {
    return x == 3 || y == 3 ? Argb(255, 50, 50, 50) : x == 0 || y == 0 ? Argb(255, 255, 255, 255) : kBg;
  }));
}

TEST(SpriteTileTest, TilingFillsLeftoverStripsAndCornerExactly) {
  const CQvSprite tile = Filled(3, 2, Argb(255, 5, 0, 0), true);
  for (const auto& size : {std::pair{8, 5}, {6, 4}, {2, 1}, {7, 2}}) {
    CQvSprite s = Filled(12, 9, kBg);
    s.DrawTiled(2, 3, size.first, size.second, tile);
    s.DrawTiled(0, 0, 4, 4, CQvSprite());
    s.DrawTiled(0, 0, 0, 4, tile);
    EXPECT_TRUE(Matches(s,
                        [&](int x, int y) {
                          const bool inside = x >= 2 && x < 2 + size.first && y >= 3 && y < 3 + size.second;
                          return inside ? Argb(255, 5, (y - 3) % 2, (x - 2) % 3) : kBg;
                        }))
        << size.first << "x" << size.second;
  }
}

template <typename T>
void LoadFrom(const std::vector<std::uint8_t>& bytes, T& object) {
  CMemoryFile file(bytes);
  CArchive ar(file, CArchive::load);
  object.Serialize(ar);
}

TEST(SpriteStorageTest, StoredFormIsVersionSizeAndRgbtPixels) {
  CQvSprite s = Filled(2, 1, Argb(255, 1, 2, 3));
  s.SetPixel(1, 0, Argb(0x37, 4, 5, 6));
  std::vector<std::uint8_t> bytes = StoreArchiveBytes([&](CArchive& ar) { s.Serialize(ar); });
  EXPECT_EQ(bytes, (std::vector<std::uint8_t>{1, 2, 0, 0, 0, 1, 0, 0, 0, 1, 2, 3, 0, 4, 5, 6, 0xC8}));
  CQvSprite back;
  LoadFrom(bytes, back);
  EXPECT_EQ(back.GetWidth(), 2);
  EXPECT_TRUE(Matches(back, [&](int x, int y) { return s.GetPixel(x, y); }));
  LoadFrom(StoreArchiveBytes([](CArchive& ar) { CQvSprite().Serialize(ar); }), back);
  EXPECT_FALSE(back.IsBitmapCreated());
  // Bad forms are format errors and change nothing.
  const std::vector<std::uint8_t> bad[] = {
      {2, 1, 0, 0, 0, 1, 0, 0, 0, 9, 8, 7, 0},
      {1, 1, 0, 0, 0, 1, 0, 0, 0, 9, 8, 7},  // version; a byte short
      {1, 1, 0, 0},
      {1, 0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0},        // size cut; negative
      {1, 0, 0x20, 0, 0, 0, 0x20, 0, 0, 1, 2, 3, 4},  // 8192 x 8192 from 4 bytes
      {1, 0, 0, 0, 0x40, 0, 0, 0, 0x40},
      {1, 0, 0, 0, 0, 5, 0, 0, 0},  // beyond the side limit; 0 x 5
  };
  for (const auto& b : bad) {
    EXPECT_THROW(LoadFrom(b, s), CArchiveException);
    EXPECT_EQ(s.GetWidth(), 2);
    EXPECT_EQ(s.GetPixel(1, 0), Argb(0x37, 4, 5, 6));
  }
}

TEST(SpriteArrayTest, StoresCountAndSpritesAndRefusesImpossibleCounts) {
  CQvSpriteArray array;
  array.Add(Filled(1, 1, kBg));
  array.Add(Filled(2, 1, Argb(255, 2, 0, 0), true));
  array.Add(CQvSprite());
  std::vector<std::uint8_t> bytes = StoreArchiveBytes([&](CArchive& ar) { array.Serialize(ar); });
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 5), (std::vector<std::uint8_t>{1, 3, 0, 0, 0}));
  CQvSpriteArray back;
  LoadFrom(bytes, back);
  ASSERT_EQ(back.GetSize(), 3);
  EXPECT_EQ(back.GetAt(1).GetPixel(1, 0), Argb(255, 2, 0, 1));
  EXPECT_FALSE(back.GetAt(2).IsBitmapCreated() || back.GetAt(3).IsBitmapCreated() || back.GetAt(-1).IsBitmapCreated());
  // A count the bytes cannot hold, and a sprite cut short, leave the old contents.
  EXPECT_THROW(LoadFrom({1, 0xFF, 0xFF, 0xFF, 0x0F, 1, 0, 0, 0, 0, 0, 0, 0, 0}, back), CArchiveException);
  EXPECT_THROW(LoadFrom(std::vector<std::uint8_t>(bytes.begin(), bytes.end() - 3), back), CArchiveException);
  EXPECT_EQ(back.GetSize(), 3);
}

// A bitmap file whose file row r holds blue r, green the column and red 200,
// rows padded to 4 bytes.
std::vector<std::uint8_t> Bitmap(int width, int height, std::uint32_t bits = 24, std::uint32_t compression = 0,
                                 std::uint32_t headerSize = 40) {
  const int rows = std::abs(height), stride = (width * 3 + 3) & ~3;
  const std::uint32_t n = headerSize == 12 ? 2 : 4;  // the old core header has 16-bit sizes
  std::vector<std::uint8_t> b(14 + headerSize + std::size_t(stride) * rows, 0);
  auto put = [&](std::size_t at, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b[at + i] = std::uint8_t(v >> (8 * i));
  };
  for (auto [at, v, bytes] : {std::array<std::uint32_t, 3>{0, 'B' | 'M' << 8, 2},
                              {10, 14 + headerSize, 4},
                              {14, headerSize, 4},
                              {18, std::uint32_t(width), n},
                              {18 + n, std::uint32_t(height), n},
                              {18 + 2 * n, 1, 2},
                              {20 + 2 * n, bits, 2},
                              {30, compression, 4}})
    put(at, v, int(bytes));
  // Pixels last: the old header ends before the compression's place.
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < width; ++c)
      put(14 + headerSize + std::size_t(r * stride + c * 3), 200u << 16 | std::uint32_t(c << 8 | r), 3);
  return b;
}

TEST(SpriteBitmapTest, LoadsBottomUpTopDownAndOldHeadersOnly) {
  CQvSprite s;
  ASSERT_EQ(s.CreateFromBitmapBytes(Bitmap(3, 2)), CQvSprite::kCreated);
  EXPECT_EQ(std::pair(s.GetWidth(), s.GetHeight()), std::pair(3, 2));
  EXPECT_TRUE(Matches(s, [](int x, int y) { return Argb(255, 200, x, 1 - y); }));  // the last file row is the top
  ASSERT_EQ(s.CreateFromBitmapBytes(Bitmap(3, -2)), CQvSprite::kCreated);
  EXPECT_TRUE(Matches(s, [](int x, int y) { return Argb(255, 200, x, y); }));
  ASSERT_EQ(s.CreateFromBitmapBytes(Bitmap(2, 2, 24, 0, 12)), CQvSprite::kCreated);
  EXPECT_EQ(s.GetPixel(1, 0), Argb(255, 200, 1, 1));
  ASSERT_EQ(s.CreateFromBitmapBytes(Bitmap(5, 1, 24, 0, 124)), CQvSprite::kCreated);
  EXPECT_EQ(s.GetWidth(), 5);
  std::vector<std::uint8_t> unpadded = Bitmap(3, 2);  // the last row's padding may be missing
  unpadded.resize(unpadded.size() - 3);
  EXPECT_EQ(s.CreateFromBitmapBytes(unpadded), CQvSprite::kCreated);
  // Anything but uncompressed 24 bits fails and keeps the picture.
  std::vector<std::uint8_t> truncated = Bitmap(3, 2), notBm = Bitmap(3, 2);
  truncated.resize(truncated.size() - 4);
  notBm[0] = 'P';
  const std::vector<std::uint8_t> bad[] = {
      Bitmap(3, 2, 32),
      Bitmap(3, 2, 8),
      Bitmap(3, 2, 24, 1),
      Bitmap(0, 2),
      Bitmap(3, 0),
      Bitmap(8193, 1),
      Bitmap(3, 2, 24, 0, 20),
      truncated,
      notBm,
      {'B', 'M', 0},
      {},
  };
  for (const auto& bytes : bad) {
    EXPECT_EQ(s.CreateFromBitmapBytes(bytes), CQvSprite::kNotA24BitBitmap);
    EXPECT_EQ(s.GetPixel(2, 1), Argb(255, 200, 2, 0));
  }
  test::TempDir dir;
  test::WriteBytes(dir / "tile.bmp", Bitmap(4, 4));
  EXPECT_EQ(s.Create(dir / "tile.bmp"), CQvSprite::kCreated);
  EXPECT_EQ(s.Create(dir / "missing.bmp"), CQvSprite::kCannotOpen);
  EXPECT_EQ(s.Create(dir.Path()), CQvSprite::kCannotOpen);
  EXPECT_EQ(s.GetHeight(), 4);
}

}  // namespace
}  // namespace jb
