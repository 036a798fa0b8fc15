#include <gtest/gtest.h>

#include "TestSupport.h"
#include "config/CConfig.h"
#include "storage/CArchive.h"
#include "types/BuiltinTypes.h"

namespace jb {
namespace {

std::vector<std::uint8_t> DefaultFileBytes() {
  return test::Hex(
      "00 616642 01  00"                              // header, environment path
      " 64000000 64000000  06  64000000 64000000"     // small form, placement, large form
      " 13010000 3F010000 01 08  00 01 02 03 07 00"   // scrolling and icons
      " 01 03000000 01 01 02 01 0F |\"Tag-less\" MP3s| 04 00 03 01 04"  // the type list
      " 03000000  0A  00000000 D8D0C800 80404000  90 00 80");  // options, reserved, colours
}

class ConfigTest : public ::testing::Test {
 protected:
  // Every stored field, for comparing two configurations field by field.
  std::vector<std::uint8_t> StoredBytes(CConfig& config) {
    EXPECT_TRUE(config.Save(dir / "compare.cfg"));
    return test::ReadBytes(dir / "compare.cfg");
  }
  test::TempDir dir;
  test::RecordingPrompt prompt;
  std::string path = dir / "Jukebar.cfg";
};

TEST_F(ConfigTest, DefaultsAreWrittenAsTheseBytesAndReadBackEqual) {
  CConfig config(prompt);
  ASSERT_TRUE(config.Save(path));
  EXPECT_EQ(test::ReadBytes(path), DefaultFileBytes());
  CConfig loaded(prompt);
  loaded.wheelLines = 99;
  loaded.Load(path);
  EXPECT_EQ(StoredBytes(loaded), DefaultFileBytes());
  EXPECT_TRUE(prompt.messages.empty());
  EXPECT_EQ(g_pConfig, &loaded);
}

TEST_F(ConfigTest, EveryFieldSurvivesARoundTrip) {
  // Distinct values everywhere, so a field left out shows.
  CConfig config(prompt);
  config.environmentPath = "/home/me/rock.jbe";
  int i = 0;
  for (std::int32_t* v : {&config.smallX, &config.smallY, &config.largeX, &config.largeY, &config.largeWidth,
                          &config.largeHeight})
    *v = -1000 * ++i;
  for (std::uint8_t* v : {&config.placementFlags, &config.scrollOptions, &config.wheelLines, &config.userTypeIcon,
                          &config.folderIcon, &config.artistIcon, &config.albumIcon, &config.playListIcon,
                          &config.fileGroupIcon, &config.reservedByte, &config.selectionTransparency,
                          &config.imageTransparency})
    *v = static_cast<std::uint8_t>(200 + ++i);
  for (std::uint32_t* v : {&config.optionFlags, &config.backgroundColour, &config.textColour, &config.selectionColour})
    *v = 0x01020304u * static_cast<std::uint32_t>(++i);
  config.resourceTypes.Add(std::make_unique<CUserType>("Midi", StringList{"mid", "rmi"}, 2));
  config.backgroundImagePath = "/pics/bg.bmp";
  std::vector<std::uint8_t> written = StoredBytes(config);

  CConfig loaded(prompt);
  loaded.Load(dir / "compare.cfg");
  EXPECT_EQ(StoredBytes(loaded), written);
  EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(ConfigTest, BadFilesShowMessage5AndRestoreEveryDefault) {
  const std::vector<std::uint8_t> good = DefaultFileBytes();
  // A good file with a path, then broken in different ways.
  std::vector<std::uint8_t> withPath = good;
  withPath[5] = 3;
  withPath.insert(withPath.begin() + 6, {'/', 'e', 'j'});
  auto changed = [&](size_t at, std::uint8_t from, std::uint8_t to) {
    std::vector<std::uint8_t> b = withPath;
    EXPECT_EQ(b[at], from);  // the offset is right: the good file has this byte there
    b[at] = to;
    return b;
  };
  std::vector<std::uint8_t> hugeString = {0x00, 0x61, 0x66, 0x42, 0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  hugeString.resize(40, 'x');
  const std::vector<std::uint8_t> cases[] = {
      changed(0, 0x00, 0x02),   // header
      {withPath.begin(), withPath.begin() + 9},
      hugeString,
  };
  for (const auto& bytes : cases) {
    test::WriteBytes(path, bytes);
    prompt.messages.clear();
    CConfig config(prompt);
    config.wheelLines = 1;
    config.Load(path);
    EXPECT_EQ(prompt.messages, std::vector<int>{ids::BadConfigFormat});
    EXPECT_EQ(StoredBytes(config), good);
  }
  // The path file intact loads its path; a missing file gives the defaults
  // without a word.
  test::WriteBytes(path, withPath);
  prompt.messages.clear();
  CConfig config(prompt);
  config.Load(path);
  EXPECT_EQ(config.environmentPath, "/ej");
  config.wheelLines = 50;
  config.Load(dir / "missing.cfg");
  EXPECT_EQ(config.wheelLines, 8);
  EXPECT_TRUE(prompt.messages.empty());
}
TEST_F(ConfigTest, FailedSavesShowMessage4WithTheReasonAndKeepTheOldFile) {
  CConfig config(prompt);
  ASSERT_TRUE(config.Save(path));
  std::vector<std::uint8_t> old = test::ReadBytes(path);
  config.backgroundImagePath = std::string(20000, 'p');

  bool ok = true;
  test::WithFileSizeLimit(4096, [&] { ok = config.Save(); });  // fails after creating
  EXPECT_FALSE(ok);
  EXPECT_FALSE(config.Save(dir / "no/such/Jukebar.cfg"));  // cannot create

  EXPECT_EQ(prompt.messages, (std::vector<int>{ids::CannotSaveConfig, ids::CannotSaveConfig}));
  EXPECT_EQ(prompt.details, (std::vector<std::string>{"File too large", "No such file or directory"}));
  EXPECT_EQ(test::ReadBytes(path), old);
  EXPECT_EQ(test::DirectoryNames(dir.Path()), std::vector<std::string>{"Jukebar.cfg"});
}

}  // namespace
}  // namespace jb
