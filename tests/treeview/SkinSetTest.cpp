#include <gtest/gtest.h>

#include <random>

#include "TestSupport.h"
#include "TreeTestSupport.h"
#include "config/CArchive.h"
#include "config/CConfig.h"
#include "treeview/SkinSet.h"

namespace jb {
namespace {

using test::RecordingPrompt;
using test::TempDir;

constexpr std::uint32_t Argb(std::uint32_t a, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}

CQvSprite Sized(int width, int height, std::uint32_t argb = 0xFF102030u) {
  CQvSprite s;
  s.CreateBitmap(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) s.SetPixel(x, y, argb);
  return s;
}

// A skin whose every picture has its own size, so the order of the file
// shows in the sizes read back.
void FillDistinct(SkinSet& skin) {
  for (int i = 0; i < SkinSet::kFrameCount; ++i) skin.Frame(i) = Sized(1 + i, 1);
  skin.MutableProgressEmpty() = Sized(30, 1);
  skin.MutableProgressFull() = Sized(31, 1);
  skin.MutableBottomOrnament() = Sized(32, 1);
  skin.MutableScrollTrack() = Sized(33, 1);
  skin.MutableScrollUp() = Sized(34, 1);
  skin.MutableScrollDown() = Sized(35, 1);
  skin.MutableScrollThumb() = Sized(36, 1);
  skin.MutableScrollThumbPressed() = Sized(37, 1);
  skin.MutableIcons().Add(Sized(40, 1));
  skin.MutableIcons().Add(Sized(41, 1));
  for (int b = 0; b < SkinSet::kGlyphCount; ++b) skin.MutableGlyph(std::uint8_t(b)) = Sized(1 + b % 5, 8, 0xFFFFFFFFu);
  skin.MutableLargeSample() = Sized(50, 1);
  skin.MutableSmallSample() = Sized(51, 1);
  skin.SplashPicture() = Sized(52, 1);
  skin.MutableCreditsOverlay() = Sized(53, 1);
}

std::vector<std::uint8_t> SavedDistinctSkin(const TempDir& dir) {
  SkinSet skin;
  FillDistinct(skin);
  EXPECT_TRUE(skin.Save(dir / "Jukebar.skn"));
  return test::ReadBytes(dir / "Jukebar.skn");
}

TEST(SkinFileTest, PicturesFollowTheHeaderInTheFileOrder) {
  TempDir dir;
  std::vector<std::uint8_t> bytes = SavedDistinctSkin(dir);
  ASSERT_GE(bytes.size(), 5u);
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 5), (std::vector<std::uint8_t>{1, 0x61, 0x66, 0x42, 1}));
  // Walk the stored pictures by their widths.
  CMemoryFile file(std::vector<std::uint8_t>(bytes.begin() + 5, bytes.end()));
  CArchive ar(file, CArchive::load);
  std::vector<int> widths;
  auto next = [&] {
    CQvSprite s;
    s.Serialize(ar);
    widths.push_back(s.GetWidth());
  };
  for (int i = 0; i < 20; ++i) next();
  next();  // ornament
  next();  // progress empty
  next();  // progress full
  CQvSpriteArray icons;
  icons.Serialize(ar);
  for (int i = 0; i < 5; ++i) next();  // scroll bar
  for (int i = 0; i < 256; ++i) next();
  for (int i = 0; i < 4; ++i) next();
  EXPECT_EQ(ar.BytesLeft(), 0u);
  std::vector<int> expected;
  for (int i = 1; i <= 20; ++i) expected.push_back(i);
  for (int w : {32, 30, 31}) expected.push_back(w);
  for (int w : {33, 34, 35, 36, 37}) expected.push_back(w);
  for (int b = 0; b < 256; ++b) expected.push_back(1 + b % 5);
  for (int w : {50, 51, 52, 53}) expected.push_back(w);
  EXPECT_EQ(widths, expected);
  EXPECT_EQ(icons.GetSize(), 2);

  SkinSet loaded;
  RecordingPrompt prompt;
  ASSERT_TRUE(loaded.Load(prompt, dir / "Jukebar.skn"));
  EXPECT_TRUE(prompt.messages.empty());
  EXPECT_EQ(loaded.BottomOrnament().GetWidth(), 32);
  EXPECT_EQ(loaded.ScrollThumbPressed().GetWidth(), 37);
  EXPECT_EQ(loaded.Icon(1).GetWidth(), 41);
  EXPECT_EQ(loaded.CreditsOverlay().GetWidth(), 53);
}

TEST(SkinFileTest, LoadFailuresShowTheirMessageAndKeepTheOldPictures) {
  TempDir dir;
  std::vector<std::uint8_t> good = SavedDistinctSkin(dir);
  struct Case {
    const char* what;
    std::vector<std::uint8_t> bytes;
    int message;
  };
  std::vector<std::uint8_t> truncated(good.begin(), good.begin() + 5 + 9 + 2);  // inside frame 0's pixels
  std::vector<std::uint8_t> cutAtEnd(good.begin(), good.end() - 1);
  std::vector<std::uint8_t> oversized = {1, 0x61, 0x66, 0x42, 1, 1, 0x00, 0x10, 0, 0, 0x00, 0x10, 0, 0, 1, 2, 3, 4};
  std::vector<std::uint8_t> badPicture(good);
  badPicture[5] = 2;  // frame 0's version
  std::vector<Case> cases = {
      {"header only", {1, 0x61, 0x66, 0x42, 1}, 2},
      {"version 2", {1, 0x61, 0x66, 0x42, 2}, 2},
      {"configuration header", {0, 0x61, 0x66, 0x42, 1}, 2},
      {"empty", {}, 2},
      {"truncated picture", truncated, 2},
      {"last byte missing", cutAtEnd, 2},
      {"picture larger than the file", oversized, 2},
      {"bad picture version", badPicture, 2},
  };
  for (const Case& c : cases) {
    test::WriteBytes(dir / "bad.skn", c.bytes);
    SkinSet skin;
    skin.Frame(0) = Sized(7, 7);
    RecordingPrompt prompt;
    EXPECT_FALSE(skin.Load(prompt, dir / "bad.skn")) << c.what;
    EXPECT_EQ(prompt.messages, std::vector<int>{c.message}) << c.what;
    EXPECT_EQ(skin.Frame(0).GetWidth(), 7) << c.what;
    EXPECT_EQ(skin.Frame(1).GetWidth(), 0) << c.what;
  }
  SkinSet skin;
  RecordingPrompt prompt;
  EXPECT_FALSE(skin.Load(prompt, dir / "missing.skn"));
  EXPECT_EQ(prompt.messages, std::vector<int>{1});
  // The default name is relative to the installation folder.
  test::ScopedCurrentDir inDir(dir.Path());
  RecordingPrompt found;
  EXPECT_TRUE(skin.Load(found));
  EXPECT_TRUE(found.messages.empty());
}

// Random damage must end in success or message 2, never in a crash or a
// huge allocation.
TEST(SkinFileTest, DamagedFilesNeverCrashTheReader) {
  TempDir dir;
  std::vector<std::uint8_t> good = SavedDistinctSkin(dir);
  std::mt19937 random(1234);
  for (int round = 0; round < 300; ++round) {
    std::vector<std::uint8_t> bytes = good;
    if (round % 3 == 0) {
      bytes.resize(5 + random() % (bytes.size() - 5));
    } else {
      int flips = 1 + int(random() % 8);
      for (int k = 0; k < flips; ++k) bytes[5 + random() % (bytes.size() - 5)] = std::uint8_t(random());
    }
    if (round % 10 == 9) {  // noise after a valid header
      bytes.resize(5 + random() % 4096);
      for (size_t i = 5; i < bytes.size(); ++i) bytes[i] = std::uint8_t(random());
    }
    test::WriteBytes(dir / "fuzz.skn", bytes);
    SkinSet skin;
    RecordingPrompt prompt;
    bool loaded = skin.Load(prompt, dir / "fuzz.skn");
    EXPECT_EQ(prompt.messages, loaded ? std::vector<int>{} : std::vector<int>{2}) << round;
  }
}

std::vector<std::uint8_t> Bitmap24(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return test::Bitmap24(width, height, [&](int, int) { return std::uint32_t(r) << 16 | std::uint32_t(g) << 8 | b; });
}

TEST(SkinBackgroundTest, RebuildTintsTheImageAndDropsItWhenTheFileIsGone) {
  TempDir dir;
  test::WriteBytes(dir / "tile.bmp", Bitmap24(3, 2, 200, 100, 0));
  const std::uint32_t blue = CQvSprite::GetColor(0, 0, 255);
  struct Case {
    std::uint8_t imageTransparency;
    std::uint32_t expected;
  } cases[] = {
      {0, Argb(255, 200, 100, 0)},
      {128, Argb(255, 100, 50, 128)},  // the colour at transparency 127: (255 * 128 + 127) / 255
      {255, Argb(255, 0, 0, 255)},
  };
  SkinSet skin;
  EXPECT_EQ(skin.BackgroundImage(), nullptr);
  for (const Case& c : cases) {
    skin.RebuildBackgroundImage(dir / "tile.bmp", blue, c.imageTransparency);
    ASSERT_NE(skin.BackgroundImage(), nullptr);
    EXPECT_EQ(skin.BackgroundImage()->GetWidth(), 3);
    EXPECT_EQ(skin.BackgroundImage()->GetPixel(2, 1), c.expected) << int(c.imageTransparency);
  }
  skin.RebuildBackgroundImage(dir / "gone.bmp", blue, 128);
  EXPECT_EQ(skin.BackgroundImage(), nullptr);
  // The configuration's own fields: path, colour and image transparency.
  RecordingPrompt prompt;
  CConfig config(prompt);
  config.backgroundImagePath = dir / "tile.bmp";
  config.backgroundColour = CQvSprite::GetColor(0, 255, 0);
  config.imageTransparency = 255;
  skin.RebuildBackgroundImage(config);
  ASSERT_NE(skin.BackgroundImage(), nullptr);
  EXPECT_EQ(skin.BackgroundImage()->GetPixel(0, 0), Argb(255, 0, 255, 0));
  test::WriteText(dir / "not-a-bitmap.bmp", "hello");
  skin.RebuildBackgroundImage(dir / "tile.bmp", blue, 0);
  skin.RebuildBackgroundImage(dir / "not-a-bitmap.bmp", blue, 0);
  EXPECT_EQ(skin.BackgroundImage(), nullptr);
}

TEST(SkinTextTest, GlyphsThatWouldCrossTheLimitAreNotDrawnAtAll) {
  SkinSet skin;
  skin.MutableGlyph('a') = Sized(3, 2, 0xFFFFFFFFu);
  skin.MutableGlyph('b') = Sized(2, 2, 0xFFFFFFFFu);
  const std::uint32_t black = 0xFF000000u;
  auto columnsDrawn = [&](std::int32_t maxWidth, const std::string& text, std::int32_t* end = nullptr) {
    CQvSprite target = Sized(20, 2, black);
    std::int32_t x = skin.DrawText(target, 1, 0, maxWidth, text, CQvSprite::GetColor(9, 9, 9));
    if (end) *end = x;
    std::string columns;
    for (int col = 0; col < 20; ++col) columns += target.GetPixel(col, 1) == black ? '.' : '#';
    return columns;
  };
  std::int32_t end = 0;
  EXPECT_EQ(columnsDrawn(7, "aaa", &end), ".###.###............");  // the third would need 11
  EXPECT_EQ(end, 9);
  EXPECT_EQ(columnsDrawn(11, "aaa"), ".###.###.###........");
  EXPECT_EQ(columnsDrawn(10, "aab"), ".###.###.##.........");
  EXPECT_EQ(columnsDrawn(2, "ab"), "....................");
  EXPECT_EQ(columnsDrawn(-5, "a"), "....................");
  EXPECT_EQ(skin.TextWidth("aab"), 10);
  EXPECT_EQ(skin.TextWidth(""), 0);
  // Bytes above 127 index the glyphs as unsigned values.
  skin.MutableGlyph(0xE9) = Sized(4, 2, 0xFFFFFFFFu);
  EXPECT_EQ(columnsDrawn(20, "\xE9"), ".####...............");
}

// The skin that the build places beside the programs.
class DefaultSkinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RecordingPrompt prompt;
    ASSERT_TRUE(m_skin.Load(prompt, JUKEBAR_DEFAULT_SKIN));
  }
  static void ExpectSize(const CQvSprite& s, int width, int height, const char* what) {
    EXPECT_EQ(s.GetWidth(), width) << what;
    EXPECT_EQ(s.GetHeight(), height) << what;
  }
  SkinSet m_skin;
};

TEST_F(DefaultSkinTest, FrameFitsTheWindowLayout) {
  for (int active : {0, 4}) {
    ExpectSize(m_skin.Frame(SkinSet::kTitleLeft + active), 22, 20, "title left");
    EXPECT_EQ(m_skin.Frame(SkinSet::kTitleFill + active).GetHeight(), 20);
    EXPECT_GT(m_skin.Frame(SkinSet::kTitleFill + active).GetWidth(), 0);
    ExpectSize(m_skin.Frame(SkinSet::kTitleMiddle + active), 89, 20, "title middle");  // centred in w - 47
    ExpectSize(m_skin.Frame(SkinSet::kTitleRight + active), 25, 20, "title right");
  }
  ExpectSize(m_skin.Frame(SkinSet::kSmallTitle), 50, 14, "small title");
  ExpectSize(m_skin.Frame(SkinSet::kSmallTitleInactive), 50, 14, "small title inactive");
  for (int button = SkinSet::kMenuPressed; button <= SkinSet::kClosePressed; ++button) {
    EXPECT_LE(m_skin.Frame(button).GetWidth(), 9);
    EXPECT_LE(m_skin.Frame(button).GetHeight(), 10);
    EXPECT_TRUE(m_skin.Frame(button).IsBitmapCreated());
  }
  EXPECT_EQ(m_skin.Frame(SkinSet::kLeftEdge).GetWidth(), 11);  // the tree starts at x 11
  EXPECT_EQ(m_skin.Frame(SkinSet::kRightEdge).GetWidth(), 19);
  EXPECT_EQ(m_skin.Frame(SkinSet::kRightEdgeEnd).GetWidth(), 19);
  for (int piece : {SkinSet::kBottomLeft, SkinSet::kBottomFill, SkinSet::kBottomRight})
    EXPECT_EQ(m_skin.Frame(piece).GetHeight(), 20);
  for (int i = 0; i < SkinSet::kFrameCount; ++i) EXPECT_TRUE(m_skin.Frame(i).IsBitmapCreated()) << i;
  EXPECT_LE(m_skin.BottomOrnament().GetWidth(), 64);
  EXPECT_LE(m_skin.BottomOrnament().GetHeight(), 18);
}

TEST_F(DefaultSkinTest, BarsIconsAndGlyphsHaveUsableSizes) {
  // Progress values run to 120, so the full bar shows up to 121 columns.
  EXPECT_GE(m_skin.ProgressFull().GetWidth(), 121);
  EXPECT_EQ(m_skin.ProgressEmpty().GetWidth(), m_skin.ProgressFull().GetWidth());
  EXPECT_LE(m_skin.ProgressFull().GetHeight(), 12);
  // Arrow zones are 8 pixels; every scroll-bar piece has the track's width.
  int width = m_skin.ScrollTrack().GetWidth();
  EXPECT_EQ(width, 11);
  for (const CQvSprite* s : {&m_skin.ScrollUp(), &m_skin.ScrollDown(), &m_skin.ScrollThumb(), &m_skin.ScrollThumbPressed()})
    EXPECT_EQ(s->GetWidth(), width);
  EXPECT_EQ(m_skin.ScrollUp().GetHeight(), 8);
  EXPECT_EQ(m_skin.ScrollDown().GetHeight(), 8);
  EXPECT_EQ(m_skin.ScrollThumb().GetHeight(), m_skin.ScrollThumbPressed().GetHeight());

  ASSERT_GE(m_skin.Icons().GetSize(), 12);
  for (int i = 0; i < m_skin.Icons().GetSize(); ++i) {
    EXPECT_LE(m_skin.Icon(i).GetWidth(), 8) << i;  // text starts 10 pixels right of the indentation
    EXPECT_EQ(m_skin.Icon(i).GetHeight(), 9) << i;
  }
  for (int b = 0; b < 256; ++b) {
    const CQvSprite& glyph = m_skin.Glyph(std::uint8_t(b));
    EXPECT_LE(glyph.GetHeight(), 8) << b;  // drawn one pixel into a 9-pixel row
    EXPECT_TRUE(glyph.IsBitmapCreated()) << b;
  }
  // Printable characters show something; the separator is a mark of its own.
  auto covered = [](const CQvSprite& g) {
    int n = 0;
    for (int y = 0; y < g.GetHeight(); ++y)
      for (int x = 0; x < g.GetWidth(); ++x) n += (g.GetPixel(x, y) >> 24) == 255;
    return n;
  };
  for (int b = 0x21; b < 0x7F; ++b) EXPECT_GT(covered(m_skin.Glyph(std::uint8_t(b))), 0) << b;
  EXPECT_GE(covered(m_skin.Glyph(SkinSet::kSeparatorGlyph)), 5);
  EXPECT_EQ(covered(m_skin.Glyph(' ')), 0);
  EXPECT_EQ(covered(m_skin.Glyph(1)), 0);
  EXPECT_LT(m_skin.Glyph('i').GetWidth(), m_skin.Glyph('m').GetWidth());  // proportional
}

TEST_F(DefaultSkinTest, ExtraPicturesMatchEachOther) {
  const CQvSprite& splash = m_skin.SplashPicture();
  EXPECT_GE(splash.GetWidth(), 100);
  EXPECT_GE(splash.GetHeight(), 60);
  EXPECT_EQ(m_skin.CreditsOverlay().GetWidth(), splash.GetWidth());
  EXPECT_EQ(m_skin.CreditsOverlay().GetHeight(), splash.GetHeight());
  // The small sample fits inside the large one wherever it is aligned.
  EXPECT_LT(m_skin.SmallSample().GetWidth(), m_skin.LargeSample().GetWidth());
  EXPECT_LT(m_skin.SmallSample().GetHeight(), m_skin.LargeSample().GetHeight());
  EXPECT_TRUE(m_skin.SmallSample().IsBitmapCreated());
}

}  // namespace
}  // namespace jb

namespace jb {
namespace {

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
