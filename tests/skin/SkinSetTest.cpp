#include <gtest/gtest.h>

#include "TestSupport.h"
#include "TreeTestSupport.h"
#include "skin/SkinSet.h"
#include "storage/CArchive.h"

namespace jb {
namespace {

using test::Flat;
using test::RecordingPrompt;
using test::TempDir;

constexpr std::uint32_t kBlack = 0xFF000000u, kWhite = 0xFFFFFFFFu;
const std::vector<std::uint8_t> kHeader = {1, 0x61, 0x66, 0x42, 1};

TEST(SkinFileTest, PicturesFollowTheHeaderInTheFileOrderAndBadFilesChangeNothing) {
  // Pictures with widths of their own, so the order of the file shows in
  // the widths read back.
  TempDir dir;
  SkinSet skin;
  for (int i = 0; i < SkinSet::kFrameCount; ++i) skin.Frame(i) = Flat(1 + i, 1, kWhite);
  int width = 30;
  for (CQvSprite* s : {&skin.MutableProgressEmpty(), &skin.MutableProgressFull(), &skin.MutableBottomOrnament(),
                       &skin.MutableScrollTrack(), &skin.MutableScrollUp(), &skin.MutableScrollDown(),
                       &skin.MutableScrollThumb(), &skin.MutableScrollThumbPressed(), &skin.MutableLargeSample(),
                       &skin.MutableSmallSample(), &skin.SplashPicture(), &skin.MutableCreditsOverlay()})
    *s = Flat(width++, 1, kWhite);
  skin.MutableIcons().Add(Flat(50, 1, kWhite));
  for (int b = 0; b < SkinSet::kGlyphCount; ++b) skin.MutableGlyph(std::uint8_t(b)) = Flat(1 + b % 5, 8, kWhite);
  EXPECT_TRUE(skin.Save(dir / "Jukebar.skn"));
  const std::vector<std::uint8_t> bytes = test::ReadBytes(dir / "Jukebar.skn");
  ASSERT_GE(bytes.size(), 5u);
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 5), kHeader);
  // Frames, ornament, progress bar, icons (an array), scroll bar, glyphs, extras.
  std::vector<int> widths, expected;
  test::LoadBytes({bytes.begin() + 5, bytes.end()}, [&](CArchive& ar) {
    for (int i = 0; i < 20 + 3 + 1 + 5 + 256 + 4; ++i) {
      CQvSpriteArray icons;
      CQvSprite s;
      i == 23 ? icons.Serialize(ar) : s.Serialize(ar);
      widths.push_back(i == 23 ? icons.GetAt(0).GetWidth() * icons.GetSize() : s.GetWidth());
    }
    EXPECT_EQ(ar.BytesLeft(), 0u);
  });
  for (int i = 1; i <= 20; ++i) expected.push_back(i);
  for (int w : {32, 30, 31, 50, 33, 34, 35, 36, 37}) expected.push_back(w);
  for (int b = 0; b < 256; ++b) expected.push_back(1 + b % 5);
  for (int w : {38, 39, 40, 41}) expected.push_back(w);
  EXPECT_EQ(widths, expected);

  // Bad files show their message and keep the old pictures.
  std::vector<std::uint8_t> oversized = kHeader, badPicture = bytes;
  oversized.insert(oversized.end(), {1, 0x00, 0x10, 0, 0, 0x00, 0x10, 0, 0, 1, 2, 3, 4});  // 4096 x 4096
  badPicture[5] = 2;                                                                       // frame 0's version
  const std::vector<std::uint8_t> cases[] = {kHeader,   {1, 0x61, 0x66, 0x42, 2},         {0, 0x61, 0x66, 0x42, 1},
                                             {},        {bytes.begin(), bytes.end() - 1}, oversized,
                                             badPicture};
  for (const auto& bad : cases) {
    test::WriteBytes(dir / "bad.skn", bad);
    SkinSet old;
    old.Frame(0) = Flat(7, 7, kWhite);
    RecordingPrompt prompt;
    EXPECT_TRUE(!old.Load(prompt, dir / "bad.skn") && prompt.messages == std::vector<int>{ids::BadSkinFormat})
        << bad.size();
    EXPECT_TRUE(old.Frame(0).GetWidth() == 7 && !old.Frame(1).IsBitmapCreated()) << bad.size();
  }
}

// A background file that is gone, or no bitmap, drops the image it replaces.
TEST(SkinBackgroundTest, AFileGoneOrNoBitmapLeavesNoImage) {
  TempDir dir;
  test::WriteBytes(dir / "tile.bmp", test::Bitmap24(3, 2, [](int, int) { return 0xC86400u; }));
  test::WriteText(dir / "not-a-bitmap.bmp", "hello");
  SkinSet skin;
  for (const char* file : {"gone.bmp", "not-a-bitmap.bmp"}) {
    skin.RebuildBackgroundImage(dir / "tile.bmp", 0, 0);
    ASSERT_NE(skin.BackgroundImage(), nullptr);
    skin.RebuildBackgroundImage(dir / file, 0, 0);
    EXPECT_EQ(skin.BackgroundImage(), nullptr) << file;
  }
}

TEST(SkinTextTest, GlyphsThatWouldCrossTheLimitAreNotDrawnAtAll) {
  SkinSet skin;
  skin.MutableGlyph('a') = Flat(3, 2, kWhite);
  skin.MutableGlyph('b') = Flat(2, 2, kWhite);
  skin.MutableGlyph(0xE9) = Flat(4, 2, kWhite);  // bytes above 127 index as unsigned values
  // Room, text, the columns drawn from x 1 and the x after the last glyph.
  for (auto [room, text, drawn, end] : {std::tuple{7, "aaa", ".###.###............", 9},  // the third would need 11
                                        {-5, "a", "....................", 1},
                                        {20, "\xE9", ".####...............", 6}}) {
    CQvSprite target = Flat(20, 2, kBlack);
    EXPECT_EQ(skin.DrawText(target, 1, 0, room, text, CQvSprite::GetColor(9, 9, 9)), end) << room << text;
    EXPECT_EQ(test::Strip(target, 0, 1, 20, {{kBlack, '.'}, {0xFF090909u, '#'}}), drawn) << room << text;
  }
  EXPECT_EQ(std::pair(skin.TextWidth("aab"), skin.TextWidth("")), std::pair(10, 0));
}

TEST(SkinTextTest, Utf8NamesBecomeWindows1252GlyphBytes) {
  EXPECT_EQ(SkinSet::ToGlyphBytes("Bj\xC3\xB6rk"), "Bj\xF6rk");
  EXPECT_EQ(SkinSet::ToGlyphBytes("\xE2\x82\xAC 5 \xE2\x80\x93 \xC5\xB8"), "\x80 5 \x96 \x9F");
  EXPECT_EQ(SkinSet::ToGlyphBytes("\xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x8E\xB5"), "?? ?");  // no glyphs
  EXPECT_EQ(SkinSet::ToGlyphBytes("\xC2\x81"), "?");  // a C1 control is no Windows-1252 character
  // Not UTF-8: shown byte by byte, as a Windows-1252 name would be.
  for (std::string raw : {"Bj\xF6rk", "\xC0\xAF", "\xED\xA0\x80", "abc\xE2\x82", "\xF4\x90\x80\x80", "plain"})
    EXPECT_EQ(SkinSet::ToGlyphBytes(raw), raw);
}

}  // namespace
}  // namespace jb
