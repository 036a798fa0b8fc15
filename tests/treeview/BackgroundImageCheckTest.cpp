// The background image check reads the first 54 bytes of the chosen file
// and takes only an uncompressed 24-bit bitmap whose pixels start at 54.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "TreeTestSupport.h"
#include "treeview/BackgroundImageCheck.h"

namespace jb::test {
namespace {

void PutLe(std::vector<std::uint8_t>& b, size_t offset, std::uint32_t value, int width) {
  for (int i = 0; i < width; ++i) b[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A 2 x 2 bitmap with bits per pixel and the pixel offset written over.
std::vector<std::uint8_t> Bitmap(int bits = 24, std::uint32_t offset = 54) {
  std::vector<std::uint8_t> b = Bitmap24(2, 2, [](int, int) { return 0x808080u; });
  PutLe(b, 10, offset, 4);
  PutLe(b, 28, static_cast<std::uint32_t>(bits), 2);
  return b;
}

TEST(BackgroundImageCheckTest, OnlyTheHeadersOfAnUncompressed24BitBitmapPass) {
  struct Case {
    const char* what;
    std::vector<std::uint8_t> bytes;
    BackgroundImageCheck expected;
  };
  auto with = [](size_t offset, std::uint32_t value, int width) {
    std::vector<std::uint8_t> b = Bitmap();
    PutLe(b, offset, value, width);
    return b;
  };
  std::vector<std::uint8_t> headersOnly = Bitmap();
  headersOnly.resize(54);
  std::vector<std::uint8_t> short53 = Bitmap();
  short53.resize(53);
  const Case cases[] = {
      {"24-bit", Bitmap(), BackgroundImageCheck::Accepted},
      {"headers only", headersOnly, BackgroundImageCheck::Accepted},
      {"256 colours", Bitmap(8, 54 + 1024), BackgroundImageCheck::Not24Bit},
      {"24-bit, pixels at 58", Bitmap(24, 58), BackgroundImageCheck::Not24Bit},
      {"53 bytes", short53, BackgroundImageCheck::Not24Bit},
      {"empty", {}, BackgroundImageCheck::Not24Bit},
      {"not BM", with(1, 'A', 1), BackgroundImageCheck::Not24Bit},
      {"larger info header", with(14, 124, 4), BackgroundImageCheck::Not24Bit},
      {"two planes", with(26, 2, 2), BackgroundImageCheck::Not24Bit},
      {"run-length compressed", with(30, 1, 4), BackgroundImageCheck::Not24Bit},
      {"32-bit", Bitmap(32), BackgroundImageCheck::Not24Bit},
  };
  TempDir dir;
  for (const Case& c : cases) {
    EXPECT_EQ(CheckBackgroundImageHeaders(c.bytes.data(), c.bytes.size()), c.expected) << c.what;
    WriteBytes(dir / "image.bmp", c.bytes);
    EXPECT_EQ(CheckBackgroundImageFile(dir / "image.bmp"), c.expected) << c.what;
  }
}

TEST(BackgroundImageCheckTest, FilesAreFoundByTheirBytesAndOthersCannotBeOpened) {
  TempDir dir;
  for (std::string name : {" spaced 'quoted' .bmp", "-dash.bmp", "line\nend.bmp", "bad\xFF\xFE.bmp", "CASE.bmp"}) {
    WriteBytes(dir / name, Bitmap());
    EXPECT_EQ(CheckBackgroundImageFile(dir / name), BackgroundImageCheck::Accepted) << name;
  }
  EXPECT_EQ(CheckBackgroundImageFile(dir / "case.bmp"), BackgroundImageCheck::CannotOpen);
  EXPECT_EQ(CheckBackgroundImageFile(dir.Path()), BackgroundImageCheck::CannotOpen);
  EXPECT_EQ(CheckBackgroundImageFile(""), BackgroundImageCheck::CannotOpen);
}

}  // namespace
}  // namespace jb::test
