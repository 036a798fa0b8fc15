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

// Every byte but 'A', 'B' and the marks comes from one dot line.
std::string FontWith(const std::string& rest) {
  std::string dots = "dot";
  for (int b = 0; b < 256; ++b)
    if (b != 'A' && b != 'B' && b != 0xC0)
      dots += " 0x" + std::string(1, "0123456789ABCDEF"[b >> 4]) + "0123456789ABCDEF"[b & 15];
  return dots + "\n" + rest;
}

TEST(FontTest, StripsComposeAndDropBuildGlyphs) {
  TempDir dir;
  // Rows of the strip: A, B and a grave mark.
  WriteText(dir / "font.txt", FontWith("strip A B :grave\n.. ... #.\n## ### .#\n#. #+# ..\n## ### ..\n"
                                       ".. ... ..\n.. ... ..\n.. ... ..\n.. ... ..\ncompose 0xC0 A :grave drop=2\n"));
  Font font = ReadFont(dir / "font.txt");
  const CQvSprite& b = font['B'];
  EXPECT_EQ((std::vector<int>{font['A'].GetWidth(), b.GetWidth(), b.GetHeight()}), (std::vector<int>{2, 3, 8}));
  // '#' is full coverage, '+' half, as is the faint dot of the other glyphs.
  EXPECT_EQ((std::vector<std::uint32_t>{b.GetPixel(1, 1) >> 24, b.GetPixel(1, 2) >> 24, font[1].GetPixel(0, 5) >> 24}),
            (std::vector<std::uint32_t>{255, 128, 128}));
  // Row 2 of A is gone, rows 0-1 moved down, the mark sits on top.
  const CQvSprite& a = font[0xC0];
  std::string rows;
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < a.GetWidth(); ++x) rows += (a.GetPixel(x, y) >> 24) ? '#' : '.';
    rows += '/';
  }
  EXPECT_EQ(rows, "#./.#/##/##/");
}

TEST(FontTest, MissingRaggedAndDoubleGlyphsAreErrors) {
  TempDir dir;
  const std::string dots3 = ". . .\n. . .\n. . .\n. . .\n. . .\n. . .\n. . .\n. . .\n";
  struct Case {
    std::string text;
    const char* error;
  } cases[] = {
      {FontWith("strip A\n.\n.\n.\n.\n.\n.\n.\n.\n"), "no glyph for byte 66"},
      {FontWith("strip A B 0xC0\n.. . .\n" + dots3.substr(6)), "ragged glyph"},
      {FontWith("strip A B\n" + std::string(". .\n") + ". .\n. .\n. .\n. .\n. .\n. .\n. .\ncompose 0xC0 A :none\n"),
       "unknown mark :none"},
      {FontWith("strip A B 0xC0\n" + dots3 + "strip A\n.\n.\n.\n.\n.\n.\n.\n.\n"), "glyph A drawn twice"},
      {FontWith("strip A B 0xC0\n. . x\n" + dots3.substr(6)), "bad glyph pixel 'x'"},
      {FontWith("strip A B 0xC0\n. .\n" + dots3.substr(6)), "wrong number of glyphs"},
  };
  for (const Case& c : cases) {
    WriteText(dir / "font.txt", c.text);
    try {
      ReadFont(dir / "font.txt");
      ADD_FAILURE() << "no error for " << c.error;
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find(c.error), std::string::npos) << e.what();
    }
  }
  WriteText(dir / "font.txt", FontWith("strip A B 0xC0\n" + dots3));
  EXPECT_NO_THROW(ReadFont(dir / "font.txt"));
}

TEST(LetteringTest, CentresTextAndFillsWithAlpha) {
  TempDir dir;
  WriteText(dir / "font.txt", FontWith("strip A B 0xC0\n"
                                       "## . .\n## . .\n## . .\n## . .\n## . .\n## . .\n## . .\n## . .\n"));
  Font font = ReadFont(dir / "font.txt");
  CQvSprite picture;
  picture.CreateBitmap(11, 8);
  WriteText(dir / "script.txt", "# comment\nfill 0 0 11 8 #ffffff alpha=128\ntext center 0 #ff0000 \"AA\"\n");
  Letter(picture, font, dir / "script.txt");
  // "AA" is 2 + 1 + 2 wide: centred at columns 3-7, red over the half white.
  std::string row;
  for (int x = 0; x < 11; ++x)
    row += picture.GetPixel(x, 0) == 0xFFFF0000u ? 'r' : picture.GetPixel(x, 0) == 0xFF808080u ? '-' : '?';
  EXPECT_EQ(row, "---rr-rr---");
  WriteText(dir / "script.txt", "blur 1 2\n");
  EXPECT_THROW(Letter(picture, font, dir / "script.txt"), std::runtime_error);
}

}  // namespace
}  // namespace jb::skin
