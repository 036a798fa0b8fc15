// The background image check takes only an uncompressed 24-bit bitmap whose pixels start at 54.
#include <gtest/gtest.h>

#include "TreeTestSupport.h"
#include "treeview/BackgroundImageCheck.h"

namespace jb::test {
namespace {

using enum BackgroundImageCheck;

TEST(BackgroundImageCheckTest, OnlyAnUncompressed24BitBitmapWithPixelsAt54Passes) {
  // A 2 x 2 bitmap cut to size bytes, with value over width bytes at offset.
  auto bitmap = [](size_t offset, std::uint32_t value, int width, size_t size = 70) {
    std::vector<std::uint8_t> b = Bitmap24(2, 2, [](int, int) { return 0x808080u; });
    for (int i = 0; i < width; ++i) b[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    b.resize(size);
    return b;
  };
  const std::pair<std::vector<std::uint8_t>, BackgroundImageCheck> cases[] = {
      {bitmap(0, 0, 0), Accepted},    {bitmap(0, 0, 0, 54), Accepted}, {bitmap(0, 0, 0, 53), Not24Bit},
      {bitmap(28, 8, 2), Not24Bit},   {bitmap(10, 58, 4), Not24Bit},   {bitmap(1, 'A', 1), Not24Bit},
      {bitmap(14, 124, 4), Not24Bit}, {bitmap(26, 2, 2), Not24Bit},    {bitmap(30, 1, 4), Not24Bit},
  };
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(CheckBackgroundImageHeaders(cases[i].first.data(), cases[i].first.size()), cases[i].second) << i;
}

}  // namespace
}  // namespace jb::test
