#include <gtest/gtest.h>
#include <sys/stat.h>

#include <system_error>

#include "TestSupport.h"
#include "environment/CEnvironment.h"
#include "resources/CreateResource.h"
#include "storage/CArchive.h"
#include "types/BuiltinTypes.h"
#include "types/CResourceTypeArray.h"

namespace jb {
namespace {

// Header, catalogue version and count, resource list version and count.
const std::vector<std::uint8_t> kEmptyFile = test::Hex("02 616642 01  01 00000000  01 00000000");

class EnvironmentTest : public ::testing::Test {
 protected:
  EnvironmentTest() { types.SetDefaults(); }

  CResource* AddDir(const std::string& where) {
    auto r = CreateResource(types.FindById(kFolderTypeId));
    r->m_strPath = where;
    return env.Resources().GetAt(env.Resources().Add(std::move(r)));
  }

  void ScanAndWait() {
    ASSERT_TRUE(env.StartScan(window, 2));
    env.EndScan();
  }

  test::TempDir dir;
  test::RecordingPrompt prompt;
  test::RecordingTarget window;
  CResourceTypeArray types;
  CEnvironment env{prompt, types};
  std::string path = dir / "rock.jbe";
};

TEST_F(EnvironmentTest, EmptyEnvironmentIsFifteenBytes) {
  prompt.files.push_back(path);
  ASSERT_TRUE(env.Save());  // no path yet: asks for one
  EXPECT_EQ(test::ReadBytes(path), kEmptyFile);
  CEnvironment loaded(prompt, types);
  EXPECT_TRUE(loaded.Load(path));
  EXPECT_EQ(loaded.GetPath(), path);
  EXPECT_FALSE(loaded.IsModified());
  EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(EnvironmentTest, AScannedEnvironmentSurvivesARoundTrip) {
  ::mkdir((dir / "music").c_str(), 0755);
  test::WriteText(dir / "music/a.mp3", "not a tag");
  test::WriteText(dir / "music/list.m3u", "a.mp3\r\n");
  CResource* d = AddDir(dir / "music");
  static_cast<CDirResource*>(d)->m_aExcludedExts = {"mp3"};
  d->m_nFlags = CResource::kSubDirectories;
  auto clip = std::make_unique<CFileResource>();
  clip->m_strPath = "/films/clip.avi";
  env.Resources().Add(std::move(clip));
  env.Resources().RelinkTypes(types);
  ScanAndWait();
  ASSERT_EQ(env.GetSize(), 2u);  // the play-list and the clip
  prompt.files = {path, dir / "again.jbe"};
  ASSERT_TRUE(env.SaveAs());

  CResourceTypeArray otherTypes;
  otherTypes.SetDefaults();
  CEnvironment loaded(prompt, otherTypes);
  ASSERT_TRUE(loaded.Load(path));
  EXPECT_EQ(loaded.GetAt(0)->m_aNames, (StringList{"list", "a"}));
  EXPECT_EQ(otherTypes.GetSize(), 4u);  // relinking made the user type
  ASSERT_TRUE(loaded.SaveAs());
  EXPECT_EQ(test::ReadBytes(dir / "again.jbe"), test::ReadBytes(path));
  EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(EnvironmentTest, BadFilesShowMessage19AndLeaveANewEnvironment) {
  std::vector<std::uint8_t> noRecord = kEmptyFile, kind4, wrongHeader = kEmptyFile;
  noRecord[11] = 1;  // one resource, whose record is missing
  kind4 = noRecord;
  kind4.insert(kind4.end(), {0x04, 0x01, 0x01, 0x00, 0x00});
  wrongHeader[0] = 0x00;
  for (const auto& bytes : {noRecord, kind4, wrongHeader}) {
    test::WriteBytes(path, bytes);
    prompt.messages.clear();
    AddDir("/somewhere");
    env.SetModified(false);
    EXPECT_TRUE(env.Load(path));
    EXPECT_EQ(prompt.messages, std::vector<int>{ids::BadEnvironmentFormat});
    EXPECT_EQ(env.GetPath(), "");
    EXPECT_EQ(env.Resources().GetSize(), 0u);
    EXPECT_FALSE(env.IsModified());
  }
  // A file that cannot be opened: a new environment, no word.
  prompt.messages.clear();
  EXPECT_TRUE(env.Load(dir / "missing.jbe"));
  EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(EnvironmentTest, FailedSavesShowMessage16WithTheReasonAndKeepTheOldFileAndTheModifiedMark) {
  prompt.files.push_back(path);
  ASSERT_TRUE(env.SaveAs());
  AddDir(std::string(10000, 'd'));
  env.SetModified();

  bool saved = true;
  test::WithFileSizeLimit(1000, [&] { saved = env.Save(); });  // fails after creating
  EXPECT_FALSE(saved);
  // Save As to a place that fails keeps the old name.
  prompt.files.push_back(path + "/inside.jbe");
  EXPECT_FALSE(env.SaveAs());
  EXPECT_EQ(env.GetPath(), path);

  EXPECT_EQ(prompt.messages, (std::vector<int>{ids::CannotSaveEnvironment, ids::CannotSaveEnvironment}));
  EXPECT_EQ(prompt.details, (std::vector<std::string>{"File too large", "Not a directory"}));
  EXPECT_EQ(test::ReadBytes(path), kEmptyFile);
  EXPECT_TRUE(env.IsModified());
  EXPECT_EQ(test::DirectoryNames(dir.Path()), std::vector<std::string>{"rock.jbe"});
}

TEST_F(EnvironmentTest, SaveModifiedAsksAndNeverDropsChangesUnasked) {
  EXPECT_TRUE(env.SaveModified());  // not modified: no question
  EXPECT_TRUE(prompt.questions.empty());
  env.SetModified();
  // Cancel, then Yes for a never-saved environment and the save dialog cancelled.
  for (Answer answer : {Answer::Cancel, Answer::Yes}) {
    prompt.answers = {answer};
    EXPECT_FALSE(env.SaveModified());
    EXPECT_TRUE(env.IsModified());
  }

  prompt.files.push_back(path);
  ASSERT_TRUE(env.SaveAs());
  env.SetModified();
  prompt.answers = {Answer::Yes};
  EXPECT_TRUE(env.SaveModified());
  EXPECT_EQ(prompt.questions.back(), "Environment 'rock.jbe' not saved, save ?");
  EXPECT_FALSE(env.IsModified());
}

TEST_F(EnvironmentTest, ScanThatCannotStartShowsMessage3AndEndsTheScanningState) {
  auto failing = [](std::function<void()>) -> std::thread {
    throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
  };
  EXPECT_FALSE(env.StartScan(window, 1, failing));
  EXPECT_EQ(prompt.messages, std::vector<int>{ids::CannotLaunchScan});
  EXPECT_EQ(window.Count(WM_SCAN_DONE), 1);
  EXPECT_TRUE(env.IsModified());
}

}  // namespace
}  // namespace jb
