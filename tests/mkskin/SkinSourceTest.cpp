#include <gtest/gtest.h>

#include <stdexcept>

#include "SkinSource.h"
#include "TestSupport.h"

namespace jb::skin {
namespace {

using test::TempDir;
using test::WriteText;

TEST(XpmTest, ReadsColoursTransparencyAndHotSpot) {
  TempDir dir;
  WriteText(dir / "a.xpm",
            "/* XPM */\nstatic char *a[] = {\n/* size */ \"3 2 3 1 1 0\",\n\". c None\",\n\"r c #ff0000\",\n"
            "\"g c #0F0\",\n\"r.g\",\n\"gr.\"};\n");
  Picture p = ReadXpm(dir / "a.xpm");
  const CQvSprite& s = p.sprite;
  EXPECT_EQ((std::vector<int>{s.GetWidth(), s.GetHeight(), p.hotX, p.hotY}), (std::vector<int>{3, 2, 1, 0}));
  EXPECT_EQ((std::vector<std::uint32_t>{s.GetPixel(0, 0), s.GetPixel(1, 0) >> 24, s.GetPixel(0, 1)}),
            (std::vector<std::uint32_t>{0xFFFF0000u, 0, 0xFF00FF00u}));

  for (const char* bad : {"\"2 1 1 1\", \". c None\", \"...\"",     // row too wide
                          "\"2 1 1 1\", \". c None\", \".x\"",      // unknown pixel
                          "\"2 2 1 1\", \". c None\", \"..\"",      // a row missing
                          "\"1 1 1 1\", \". c #12345\", \".\""}) {  // colour
    WriteText(dir / "bad.xpm", std::string("static char *b[] = {") + bad + "};");
    EXPECT_THROW(ReadXpm(dir / "bad.xpm"), std::runtime_error) << bad;
  }
}

}  // namespace
}  // namespace jb::skin
