// The background image check reads the first 54 bytes of the chosen file
// and takes only an uncompressed 24-bit bitmap whose pixels start at 54.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "TreeTestSupport.h"
#include "treeview/BackgroundImageCheck.h"

namespace jb::test {
namespace {

using enum BackgroundImageCheck;

// A 2 x 2 bitmap of size bytes (all of it when 0), with value written over
// the width bytes at offset.
std::vector<std::uint8_t> Bitmap(size_t offset = 0, std::uint32_t value = 0, int width = 0, size_t size = 0) {
  std::vector<std::uint8_t> b = Bitmap24(2, 2, [](int, int) { return 0x808080u; });
  for (int i = 0; i < width; ++i) b[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
  if (size) b.resize(size);
  return b;
}

TEST(BackgroundImageCheckTest, OnlyTheHeadersOfAnUncompressed24BitBitmapPass) {
  const std::pair<std::vector<std::uint8_t>, BackgroundImageCheck> cases[] = {
      {Bitmap(), Accepted},           {Bitmap(0, 0, 0, 54), Accepted}, {Bitmap(0, 0, 0, 53), Not24Bit},
      {Bitmap(28, 8, 2), Not24Bit},   {Bitmap(10, 58, 4), Not24Bit},   {Bitmap(1, 'A', 1), Not24Bit},
      {Bitmap(14, 124, 4), Not24Bit}, {Bitmap(26, 2, 2), Not24Bit},    {Bitmap(30, 1, 4), Not24Bit},
  };
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(CheckBackgroundImageHeaders(cases[i].first.data(), cases[i].first.size()), cases[i].second) << i;
}

TEST(BackgroundImageCheckTest, FilesAreReadByTheirExactNames) {
  TempDir dir;
  for (std::string name : {"-dash 'q'\n.bmp", "bad\xFF.bmp", "CASE.bmp"}) {
    WriteBytes(dir / name, Bitmap());
    EXPECT_EQ(CheckBackgroundImageFile(dir / name), Accepted) << name;
  }
  WriteBytes(dir / "short.bmp", Bitmap(0, 0, 0, 30));
  EXPECT_EQ(CheckBackgroundImageFile(dir / "short.bmp"), Not24Bit);
  EXPECT_EQ(CheckBackgroundImageFile(dir / "case.bmp"), CannotOpen);
  EXPECT_EQ(CheckBackgroundImageFile(dir.Path()), CannotOpen);
}

}  // namespace
}  // namespace jb::test
