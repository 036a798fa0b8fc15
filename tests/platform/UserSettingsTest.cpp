#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/UserSettings.h"

namespace jb {
namespace {

TEST(UserSettings, ReadsGeneralValuesTrimmedAndStoresWithoutLosingTheOthers) {
  test::TempDir dir;
  const std::string path = dir / "Jukebar.conf";
  // A zero byte ends its line (found by fuzzing: storing a setting used to
  // change what was read of another).
  using namespace std::string_literals;
  test::WriteText(path, "# comment\n[Other]\nInstallDir=/no\n[General]\nInstallDir =  /opt/jb\t\nPlayCommand=play\0tail\n"s);
  UserSettings before(path);
  EXPECT_EQ(before.Get("InstallDir"), "/opt/jb");
  EXPECT_EQ(before.Get("PlayCommand"), "play");
  EXPECT_EQ(before.Get("EnqueueCommand"), std::nullopt);

  std::string error;
  ASSERT_TRUE(UserSettings::Store(path, "EnqueueCommand", "enqueue %f", error)) << error;
  UserSettings after(path);
  EXPECT_EQ(after.Get("EnqueueCommand"), "enqueue %f");
  EXPECT_EQ(after.Get("InstallDir"), "/opt/jb");
  EXPECT_EQ(after.Get("PlayCommand"), "play");
  EXPECT_FALSE(UserSettings::Store(path, "PlayCommand", " padded", error));
  EXPECT_EQ(UserSettings(path).Get("PlayCommand"), "play");
}

}  // namespace
}  // namespace jb
