#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>

#include "TestSupport.h"
#include "TreeTestSupport.h"
#include "sprites/CQvSprite.h"
#include "sprites/CQvSpriteArray.h"
#include "storage/CArchive.h"

namespace jb {
namespace {

constexpr std::uint32_t Argb(std::uint32_t a, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}
constexpr std::uint32_t kBg = Argb(255, 0, 0, 0);
using Bytes = std::vector<std::uint8_t>;

// Every pixel also tells where it came from: green y and blue x.
CQvSprite Numbered(int width, int height, std::uint32_t argb) {
  CQvSprite s = test::Flat(width, height, argb);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) s.SetPixel(x, y, argb | std::uint32_t(y << 8 | x));
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
      row.DrawSprite(0, 0, test::Flat(256, 1, Argb(a, s, s, 255 - s)));
      for (std::uint32_t d = 0; d < 256; ++d)
        ASSERT_EQ(row.GetPixel(int(d), 0), Argb(255, general(s, d, a), general(s, 255 - d, a), general(255 - s, d, a)))
            << "alpha " << a << " source " << s << " target " << d;
    }
  CQvSprite source = test::Flat(2, 1, Argb(255, 9, 9, 9)), target = test::Flat(2, 1, Argb(255, 1, 2, 3));
  source.SetPixel(1, 0, Argb(0, 9, 9, 9));
  target.DrawSprite(0, 0, source);
  EXPECT_TRUE(Matches(target, {Argb(255, 9, 9, 9), Argb(255, 1, 2, 3)}));
}

// Parts of a numbered 4 x 3 sprite drawn into a 6 x 6 target: x, y, then
// sx, sy, width, height.
TEST(SpriteClipTest, DrawsClipToBothSourceAndTargetAtEveryEdge) {
  const CQvSprite source = Numbered(4, 3, Argb(255, 9, 0, 0));
  const std::array<int, 6> draws[] = {
      {-2, 1, 0, 0, 4, 3}, {4, 1, 0, 0, 4, 3},   {1, -2, 0, 0, 4, 3}, {1, 5, 0, 0, 4, 3},  {-3, -2, 0, 0, 4, 3},
      {5, 5, 0, 0, 4, 3},  {6, 0, 0, 0, 4, 3},   {0, -3, 0, 0, 4, 3}, {0, 0, 0, 0, -1, 2}, {0, 0, 0, 0, 2, -5},
      {3, 4, 1, 1, 2, 1},  {1, 1, -1, -1, 9, 9}, {0, 0, 4, 0, 3, 3},  {-2, -1, 1, 0, 3, 3}};
  for (const auto& d : draws) {
    CQvSprite target = test::Flat(6, 6, kBg);
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
  CQvSprite text = test::Flat(4, 4, kBg);
  text.DrawChar(2, -1, test::Flat(3, 3, kBg), CQvSprite::GetColor(0, 0, 255));
  EXPECT_TRUE(Matches(text, [](int x, int y) { return x >= 2 && y <= 1 ? Argb(255, 0, 0, 255) : kBg; }));
  // Drawn into itself, a sprite reads its old pixels.
  CQvSprite s = Numbered(3, 1, Argb(255, 1, 0, 0));
  s.DrawSprite(1, 0, s);
  EXPECT_TRUE(Matches(s, {Argb(255, 1, 0, 0), Argb(255, 1, 0, 0), Argb(255, 1, 0, 1)}));
}

// Tiles leave strips on the right and bottom and a corner; empty tiles draw nothing.
TEST(SpriteTileTest, TilesCoverExactlyTheirArea) {
  const CQvSprite tile = Numbered(3, 2, Argb(255, 5, 0, 0));
  for (const auto& [w, h] : {std::pair{8, 5}, {2, 1}}) {
    CQvSprite s = test::Flat(12, 9, kBg);
    s.DrawTiled(2, 3, w, h, tile);
    s.DrawTiled(0, 0, 4, 4, CQvSprite());
    EXPECT_TRUE(Matches(s,
                        [&](int x, int y) {
                          return x >= 2 && x < 2 + w && y >= 3 && y < 3 + h ? Argb(255, 5, (y - 3) % 2, (x - 2) % 3)
                                                                            : kBg;
                        }))
        << w << "x" << h;
  }
}

template <typename T>
void LoadFrom(const Bytes& bytes, T& object) {
  test::LoadBytes(bytes, [&](CArchive& ar) { object.Serialize(ar); });
}

TEST(SpriteStorageTest, StoredFormIsVersionSizeAndRgbtPixelsAndBadFormsChangeNothing) {
  CQvSprite s = test::Flat(2, 1, Argb(255, 1, 2, 3));
  s.SetPixel(1, 0, Argb(0x37, 4, 5, 6));
  Bytes bytes = StoreArchiveBytes([&](CArchive& ar) { s.Serialize(ar); });
  EXPECT_EQ(bytes, (Bytes{1, 2, 0, 0, 0, 1, 0, 0, 0, 1, 2, 3, 0, 4, 5, 6, 0xC8}));
  CQvSprite back;
  LoadFrom(bytes, back);
  EXPECT_TRUE(back.GetWidth() == 2 && Matches(back, [&](int x, int y) { return s.GetPixel(x, y); }));
  // Bad forms are format errors and change nothing: version, a byte short,
  // negative, 8192 x 8192 from 4 bytes, 0 x 5.
  const Bytes bad[] = {{2, 1, 0, 0, 0, 1, 0, 0, 0, 9, 8, 7, 0},
                       {1, 1, 0, 0, 0, 1, 0, 0, 0, 9, 8, 7},
                       {1, 0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0},
                       {1, 0, 0x20, 0, 0, 0, 0x20, 0, 0, 1, 2, 3, 4},
                       {1, 0, 0, 0, 0, 5, 0, 0, 0}};
  for (const auto& b : bad) {
    EXPECT_THROW(LoadFrom(b, s), CArchiveException);
    EXPECT_TRUE(s.GetWidth() == 2 && s.GetPixel(1, 0) == Argb(0x37, 4, 5, 6));
  }
  // An array stores its count first; a count the bytes cannot hold, or a
  // sprite cut short, leaves the old contents.
  CQvSpriteArray array;
  array.Add(std::move(s));
  bytes = StoreArchiveBytes([&](CArchive& ar) { array.Serialize(ar); });
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 5), (Bytes{1, 1, 0, 0, 0}));
  for (const Bytes& b :
       {Bytes{1, 0xFF, 0xFF, 0xFF, 0x0F, 1, 0, 0, 0, 0, 0, 0, 0, 0}, Bytes(bytes.begin(), bytes.end() - 3)}) {
    EXPECT_THROW(LoadFrom(b, array), CArchiveException);
    EXPECT_TRUE(array.GetSize() == 1 && array.GetAt(0).GetWidth() == 2 && !array.GetAt(1).IsBitmapCreated());
  }
}

// A 3 x 2 bitmap file whose pixel (x, y) is red 200, green x, blue y, with
// the little-endian values {offset, value, bytes} written over it.
Bytes Bitmap(std::initializer_list<std::array<std::uint32_t, 3>> patches = {}) {
  Bytes b = test::Bitmap24(3, 2, [](int x, int y) { return 200u << 16 | std::uint32_t(x << 8 | y); });
  for (auto [at, v, bytes] : patches)
    for (std::uint32_t i = 0; i < bytes; ++i) b[at + i] = std::uint8_t(v >> (8 * i));
  return b;
}

TEST(SpriteBitmapTest, LoadsBottomUpAndTopDownUncompressed24BitsOnly) {
  CQvSprite s;
  ASSERT_EQ(s.CreateFromBitmapBytes(Bitmap({{22, std::uint32_t(-2), 4}})), CQvSprite::kCreated);  // top-down
  EXPECT_TRUE(s.GetWidth() == 3 && Matches(s, [](int x, int y) { return Argb(255, 200, x, 1 - y); }));
  Bytes unpadded = Bitmap();
  unpadded.resize(unpadded.size() - 3);  // the last row's padding may be missing
  for (const Bytes& good : {unpadded, Bitmap()}) {
    ASSERT_EQ(s.CreateFromBitmapBytes(good), CQvSprite::kCreated);
    EXPECT_TRUE(Matches(s, [](int x, int y) { return Argb(255, 200, x, y); }));
  }
  // Anything but uncompressed 24 bits fails and keeps the picture.
  Bytes truncated = Bitmap();
  truncated.resize(truncated.size() - 4);
  const Bytes bad[] = {Bitmap({{28, 32, 2}}),
                       Bitmap({{30, 1, 4}}),
                       Bitmap({{18, 0, 4}}),
                       Bitmap({{14, 20, 4}}),
                       Bitmap({{0, 'P', 1}}),
                       truncated,
                       test::Bitmap24(8193, 1, [](int, int) { return 0u; }),
                       Bytes{'B', 'M', 0}};
  for (const auto& bytes : bad) {
    EXPECT_EQ(s.CreateFromBitmapBytes(bytes), CQvSprite::kNotA24BitBitmap);
    EXPECT_EQ(s.GetPixel(2, 1), Argb(255, 200, 2, 1));
  }
  test::TempDir dir;
  test::WriteBytes(dir / "tile.bmp", test::Bitmap24(4, 4, [](int, int) { return 0u; }));
  EXPECT_EQ(s.Create(dir / "tile.bmp"), CQvSprite::kCreated);
  EXPECT_EQ(s.Create(dir / "missing.bmp"), CQvSprite::kCannotOpen);
  EXPECT_EQ(s.GetHeight(), 4);
}

}  // namespace
}  // namespace jb
