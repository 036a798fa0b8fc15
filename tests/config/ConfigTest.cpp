#include <gtest/gtest.h>
#include <sys/stat.h>

#include "TestSupport.h"
#include "config/CConfig.h"
#include "config/CJukebarCommandLineInfo.h"
#include "platform/FileSystem.h"
#include "platform/UserSettings.h"
#include "storage/CArchive.h"
#include "types/BuiltinTypes.h"

namespace jb {
namespace {

using test::Bytes;

// Every stored field, for comparing two configurations field by field.
std::vector<std::uint8_t> StoredBytes(CConfig& config, test::TempDir& dir) {
  std::string path = dir / "compare.cfg";
  EXPECT_TRUE(config.Save(path));
  return test::ReadBytes(path);
}

std::vector<std::uint8_t> DefaultFileBytes() {
  std::vector<std::uint8_t> b = {0x00, 0x61, 0x66, 0x42, 0x01,                 // header
                                 0x00,                                         // environment path
                                 100,  0,    0,    0,    100,  0,    0,    0,  // small form
                                 0x06,                                         // placement
                                 100,  0,    0,    0,    100,  0,    0,    0,  // large form
                                 0x13, 0x01, 0,    0,    0x3F, 0x01, 0,    0,    0x01, 0x08,
                                 0,    1,    2,    3,    7,    0,  // scrolling and icons
                                 0x01, 0x03, 0,    0,    0,    0x01, 0x01, 0x02, 0x01, 0x0F};
  std::vector<std::uint8_t> name = Bytes("\"Tag-less\" MP3s");
  b.insert(b.end(), name.begin(), name.end());
  std::vector<std::uint8_t> rest = {0x04, 0x00, 0x03, 0x01, 0x04,  // end of the type list
                                    0x03, 0,    0,    0,           // option flags
                                    0x0A,                          // reserved
                                    0,    0,    0,    0,           // background colour
                                    0xD8, 0xD0, 0xC8, 0x00,        // text colour
                                    0x80, 0x40, 0x40, 0x00,        // selection colour
                                    144,  0x00, 128};
  b.insert(b.end(), rest.begin(), rest.end());
  return b;
}

class ConfigTest : public ::testing::Test {
 protected:
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
  EXPECT_EQ(StoredBytes(loaded, dir), DefaultFileBytes());
  EXPECT_EQ(loaded.wheelLines, 8);
  EXPECT_EQ(loaded.resourceTypes.GetSize(), 3u);
  EXPECT_TRUE(prompt.messages.empty());
  EXPECT_EQ(g_pConfig, &loaded);
}

TEST_F(ConfigTest, EveryFieldSurvivesARoundTrip) {
  // Distinct values everywhere, so two fields swapped in the file show.
  CConfig config(prompt);
  config.environmentPath = "/home/me/rock.jbe";
  std::int32_t* ints[] = {&config.smallX, &config.smallY,     &config.largeX,
                          &config.largeY, &config.largeWidth, &config.largeHeight};
  std::uint8_t* bytes[] = {&config.placementFlags,
                           &config.scrollOptions,
                           &config.wheelLines,
                           &config.userTypeIcon,
                           &config.folderIcon,
                           &config.artistIcon,
                           &config.albumIcon,
                           &config.playListIcon,
                           &config.fileGroupIcon,
                           &config.reservedByte,
                           &config.selectionTransparency,
                           &config.imageTransparency};
  std::uint32_t* words[] = {&config.optionFlags, &config.backgroundColour, &config.textColour, &config.selectionColour};
  for (int i = 0; i < 6; ++i) *ints[i] = -1000 * (i + 1);
  for (int i = 0; i < 12; ++i) *bytes[i] = static_cast<std::uint8_t>(200 + i);
  for (int i = 0; i < 4; ++i) *words[i] = 0x01020304u * static_cast<std::uint32_t>(i + 1);
  config.resourceTypes.Add(std::make_unique<CUserType>("Midi", StringList{"mid", "rmi"}, 2));
  config.backgroundImagePath = "/pics/bg.bmp";
  std::vector<std::uint8_t> written = StoredBytes(config, dir);

  CConfig loaded(prompt);
  loaded.Load(dir / "compare.cfg");
  EXPECT_EQ(StoredBytes(loaded, dir), written);
  EXPECT_EQ(loaded.largeHeight, -6000);
  EXPECT_EQ(loaded.imageTransparency, 211);
  EXPECT_EQ(loaded.selectionColour, 0x04080C10u);
  EXPECT_EQ(loaded.backgroundImagePath, "/pics/bg.bmp");
  StringList exts;
  loaded.resourceTypes.GetAt(3)->GetExtensions(exts);
  EXPECT_EQ(exts, (StringList{"mid", "rmi"}));
  EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(ConfigTest, BadFilesShowMessage5AndRestoreEveryDefault) {
  std::vector<std::uint8_t> good = DefaultFileBytes();
  // A good file with a path, then broken in different ways.
  std::vector<std::uint8_t> withPath = good;
  withPath[5] = 3;
  withPath.insert(withPath.begin() + 6, {'/', 'e', 'j'});

  std::vector<std::uint8_t> wrongHeader = good;
  wrongHeader[0] = 0x02;
  std::vector<std::uint8_t> cutAfterPath(withPath.begin(), withPath.begin() + 9);
  std::vector<std::uint8_t> kind5 = withPath;
  kind5[withPath.size() - good.size() + 44] = 0x05;  // the Folder's id byte
  std::vector<std::uint8_t> listVersion2 = withPath;
  listVersion2[withPath.size() - good.size() + 39] = 0x02;
  std::vector<std::uint8_t> hugeString = {0x00, 0x61, 0x66, 0x42, 0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  hugeString.resize(40, 'x');

  // Sanity of the offsets: changing those bytes in the good file matters.
  ASSERT_EQ(withPath[withPath.size() - good.size() + 44], 0x01);
  ASSERT_EQ(withPath[withPath.size() - good.size() + 39], 0x01);

  for (const auto& bytes : {wrongHeader, cutAfterPath, kind5, listVersion2, hugeString}) {
    test::WriteBytes(path, bytes);
    prompt.messages.clear();
    CConfig config(prompt);
    config.wheelLines = 1;
    config.Load(path);
    EXPECT_EQ(prompt.messages, std::vector<int>{ids::BadConfigFormat});
    EXPECT_EQ(config.environmentPath, "");
    EXPECT_EQ(config.resourceTypes.GetSize(), 3u);
    EXPECT_EQ(StoredBytes(config, dir), good);
  }

  // The same path file intact loads its path; a missing file gives the
  // defaults without a word.
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

TEST_F(ConfigTest, PlacementFollowsTheAlignment) {
  CConfig c(prompt);
  EXPECT_EQ(c.GetWindowRect(false), (Rect{100, 100, 375, 419}));
  // Toggling before anything moved shows the small form where it was stored.
  EXPECT_EQ(c.GetWindowRect(true), (Rect{100, 100, 150, 114}));
  EXPECT_EQ(c.GetWindowRect(true), (Rect{100, 100, 375, 419}));

  // Aligned Right and Top: a drag of the large form carries the small one.
  c.UpdateFromWindow(10, 0, 275, 319);
  EXPECT_EQ(c.largeX, 110);
  EXPECT_EQ(c.smallX, c.largeX + c.largeWidth - 50);
  EXPECT_EQ(c.smallY, c.largeY);

  // Bottom chosen while the small form shows: the large form's bottom edge
  // meets the small form's.
  c.UpdateFromWindow(0, 0, 50, 14);
  EXPECT_TRUE(c.GetPlacementFlags() & CConfig::kSmallForm);
  c.SetVertAlignment(CConfig::kAlignBottom);
  EXPECT_EQ(c.largeY + c.largeHeight, c.smallY + 14);

  // Left: left edges meet; None: the axis moves independently.
  c.SetHorzAlignment(CConfig::kAlignLeft);
  EXPECT_EQ(c.largeX, c.smallX);
  c.SetHorzAlignment(0);
  std::int32_t largeX = c.largeX;
  c.MoveSmallForm(30, 0);
  EXPECT_EQ(c.largeX, largeX);
}

class InstallationTest : public ConfigTest {
 protected:
  void WriteSettings(const std::string& installDir) {
    ASSERT_EQ(::mkdir((dir / "config").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir((dir / "config/Quorvel Software").c_str(), 0755), 0);
    test::WriteText(dir / "config/Quorvel Software/Jukebar.conf", "[General]\nInstallDir=" + installDir + "\n");
  }
  test::ScopedEnv xdg{"XDG_CONFIG_HOME", dir / "config"};
  test::ScopedCurrentDir keep{dir.Path()};
  CJukebarCommandLineInfo commandLine;
};

TEST_F(InstallationTest, MissingSettingsOrProgramFileIsAnInvalidInstallation) {
  CConfig none(prompt, UserSettings::ForCurrentUser(), commandLine);
  EXPECT_FALSE(none.IsInstallationValid());
  ASSERT_EQ(::mkdir((dir / "install").c_str(), 0755), 0);
  WriteSettings(dir / "install");
  CConfig noProgram(prompt, UserSettings::ForCurrentUser(), commandLine);
  EXPECT_FALSE(noProgram.IsInstallationValid());
  EXPECT_EQ(prompt.messages, (std::vector<int>{ids::InvalidInstallation, ids::InvalidInstallation}));
  EXPECT_EQ(CurrentDirectory(), dir.Path());
}

// A valid folder becomes the current directory and its file is read; one
// parameter that is no flag names the environment instead.
TEST_F(InstallationTest, ValidFolderIsEnteredAndTheCommandLineMayNameTheEnvironment) {
  std::string install = dir / "install";
  ASSERT_EQ(::mkdir(install.c_str(), 0755), 0);
  test::WriteText(install + "/jukebar", "");
  {
    CConfig writer(prompt);
    writer.environmentPath = "/last.jbe";
    ASSERT_TRUE(writer.Save(install + "/Jukebar.cfg"));
  }
  WriteSettings(install + "/");
  struct Case {
    std::vector<const char*> argv;
    std::string expected;
  } cases[] = {
      {{"jukebar"}, "/last.jbe"},
      {{"jukebar", "/music/rock.jbe"}, "/music/rock.jbe"},
      {{"jukebar", "/a.jbe", "/b.jbe"}, "/last.jbe"},
      {{"jukebar", "-x"}, "/last.jbe"},
  };
  for (const Case& c : cases) {
    CJukebarCommandLineInfo info;
    info.ParseCommandLine(static_cast<int>(c.argv.size()), c.argv.data());
    CConfig config(prompt, UserSettings::ForCurrentUser(), info);
    EXPECT_TRUE(config.IsInstallationValid());
    EXPECT_EQ(CurrentDirectory(), install);
    EXPECT_EQ(config.GetEnvironmentPath(), c.expected) << c.argv.size();
  }
  EXPECT_TRUE(prompt.messages.empty());
}

}  // namespace
}  // namespace jb
