#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "TestSupport.h"

namespace jb {
namespace {

test::ProgramResult Cli(const std::vector<std::string>& args) { return test::RunProgram("src/cli/jukebar-cli", args); }

class CliTest : public ::testing::Test {
 protected:
  CliTest() {
    for (const char* d : {"music", "music/rock", "music/.hidden", "films"}) ::mkdir((dir / d).c_str(), 0755);
    test::WriteText(dir / "music/rock/one.mp3", test::Id3v1Song("One", "Band", "First"));
    test::WriteText(dir / "music/rock/two.mp3", test::Id3v1Song("Two", "Band", "First"));
    test::WriteText(dir / "music/.hidden/three.mp3", "no tag");
    test::WriteText(dir / "music/mix.m3u", "#EXTM3U\r\nrock/one.mp3\r\n");
    test::WriteText(dir / "films/clip.avi", "video");
    test::WriteText(dir / "music/clip.avi", "video");
  }
  test::TempDir dir;
  test::ScopedEnv noInstallation{"XDG_CONFIG_HOME", dir / "no-config"};
  std::string env = dir / "e.jbe";
};

TEST_F(CliTest, MakesScansAndListsAnEnvironment) {
  ASSERT_EQ(Cli({"new", env}).status, 0);
  ASSERT_EQ(Cli({"add-dir", env, dir / "music", "--no-hidden"}).status, 0);
  ASSERT_EQ(Cli({"add-file", env, dir / "films/clip.avi"}).status, 0);

  EXPECT_EQ(Cli({"resources", env}).out, "directory\t" + dir / "music" + "\tFolder\tsub-directories\n" + "file\t" +
                            dir / "films/clip.avi" + "\tUser's \".avi\" type.\n");

  ASSERT_EQ(Cli({"scan", env, "--threads", "3"}).status, 0);
  // Both .avi files and the songs and play-list, but nothing hidden.
  const std::string catalogue = Cli({"catalogue", env}).out;
  EXPECT_EQ(std::ranges::count(catalogue, '\n'), 5) << catalogue;
  EXPECT_EQ(catalogue.find(".hidden"), std::string::npos);
  ASSERT_EQ(Cli({"remove", env, dir / "films/other.avi"}).status, 1);  // no such resource
  ASSERT_EQ(Cli({"remove", env, dir / "films/clip.avi"}).status, 0);
  EXPECT_EQ(Cli({"resources", env}).out, "directory\t" + dir / "music" + "\tFolder\tsub-directories\n");
}

TEST_F(CliTest, BadInputGivesAClearMessageAndChangesNothing) {
  test::WriteText(env, "garbage that is no environment");
  const std::pair<std::vector<std::string>, int> runs[] = {
      {{"new", env}, 1},  // exists
      {{"add-dir", env}, 2},
      {{"add-dir", env, dir / "music", "--bogus"}, 2},
      {{"scan", env, "--threads", "0"}, 2},
      {{"frobnicate"}, 2},
      {{"scan", "--help"}, 0},
  };
  for (const auto& [args, status] : runs) EXPECT_EQ(Cli(args).status, status) << args[0] << " " << args.back();
  EXPECT_NE(Cli({"add-dir", env, dir / "music"}).err.find("Bad environment file format"), std::string::npos);
  EXPECT_NE(Cli({"scan", dir / "nothing.jbe"}).err.find("cannot read the environment"), std::string::npos);
  EXPECT_EQ(test::ReadText(env), "garbage that is no environment");

  ASSERT_EQ(Cli({"new", env, "--force"}).status, 0);
  ASSERT_EQ(Cli({"add-dir", env, dir / "music"}).status, 0);
  for (const auto& args : {std::vector<std::string>{"add-dir", env, dir / "music/"},  // the same directory again
                           {"add-dir", env, dir / "nowhere"},
                           {"add-dir", env, dir / "films", "--exclude", "zzz"},
                           {"catalogue", env, "--config", dir / "none.cfg"}})
    EXPECT_EQ(Cli(args).status, 1) << args.back();
}

TEST_F(CliTest, UnderAMemoryLimitHugeInputEndsNormallyOrWithAMessage) {
#ifdef __SANITIZE_ADDRESS__
  GTEST_SKIP() << "the sanitizer's shadow memory needs an unlimited address space";
#endif
  // A 4 GB play-list without a line end, and a small one beside it.
  ::mkdir((dir / "lists").c_str(), 0755);
  const std::string huge = dir / "lists/huge.m3u";
  test::WriteText(huge, "");
  ASSERT_EQ(::truncate(huge.c_str(), 4LL << 30), 0);
  test::WriteText(dir / "lists/small.m3u", "/a/one.mp3\n");
  ASSERT_EQ(Cli({"new", env}).status, 0);
  ASSERT_EQ(Cli({"add-dir", env, dir / "lists"}).status, 0);
  constexpr unsigned long kTwoGigabytes = 2000000;
  auto scan = test::RunProgram("src/cli/jukebar-cli", {"scan", env, "--threads", "2"}, kTwoGigabytes);
  EXPECT_EQ(scan.status, 0) << scan.err;
  EXPECT_EQ(Cli({"catalogue", env}).out, huge + "\n" + dir / "lists/small.m3u\tPlayList:small\tFile:one\n");

  // A picture far larger than the memory allowed: a message, not an abort.
  auto render = test::RunProgram("src/cli/jukebar-cli",
                                 {"render", env, dir / "w.png", "--size", "4096x4096", "--scale", "8"}, kTwoGigabytes);
  EXPECT_EQ(std::pair(render.status, render.err), std::pair(1, std::string("jukebar-cli: out of memory\n")));
}

TEST_F(CliTest, CommandsOnOneEnvironmentAtOnceKeepBothChanges) {
  // Enough songs that the scan is still going when the other command comes.
  constexpr int kSongs = 2000;
  ::mkdir((dir / "many").c_str(), 0755);
  for (int i = 0; i < kSongs; ++i)
    test::WriteText(dir / ("many/" + std::to_string(i) + ".mp3"), test::Id3v1Song("Song", "Many", "Songs"));
  ASSERT_EQ(Cli({"new", env}).status, 0);
  ASSERT_EQ(Cli({"add-dir", env, dir / "many"}).status, 0);
  const std::string film = dir / "films/clip.avi";

  for (int round = 0; round < 2; ++round) {
    test::StartedProgram scan("src/cli/jukebar-cli", {"scan", env});
    EXPECT_EQ(Cli({"add-file", env, film}).status, 0);
    EXPECT_EQ(scan.Wait().status, 0);
    EXPECT_GE(std::ranges::count(Cli({"catalogue", env}).out, '\n'), kSongs) << "round " << round;
    EXPECT_NE(Cli({"resources", env}).out.find(film), std::string::npos) << "round " << round;
    ASSERT_EQ(Cli({"remove", env, film}).status, 0);
  }
}

TEST_F(CliTest, AFailedSaveSaysWhyAndLeavesTheFileAsItWas) {
  ASSERT_EQ(Cli({"new", env}).status, 0);
  ASSERT_EQ(Cli({"add-dir", env, dir / "music"}).status, 0);
  std::vector<std::uint8_t> before = test::ReadBytes(env);
  test::ProgramResult scan;
  // The scanned catalogue outgrows the limit; the messages do not.
  test::WithFileSizeLimit(250, [&] { scan = Cli({"scan", env}); });
  EXPECT_EQ(scan.status, 1);
  EXPECT_NE(scan.err.find("jukebar-cli: Fatal error : Cannot save environment !\njukebar-cli: File too large\n"),
            std::string::npos)
      << scan.err;
  EXPECT_EQ(test::ReadBytes(env), before);
}

TEST(CliCollectionTest, ScansAGeneratedCollectionTheSameWayOnAnyNumberOfThreads) {
  test::TempDir dir;
  test::ScopedEnv noInstallation("XDG_CONFIG_HOME", dir / "no-config");
  auto made = test::RunProgram("tools/gencollection/gencollection", {dir / "music", "--files", "400", "--seed", "5"});
  ASSERT_EQ(made.status, 0) << made.err;
  std::string env = dir / "e.jbe";
  ASSERT_EQ(Cli({"new", env}).status, 0);
  ASSERT_EQ(Cli({"add-dir", env, dir / "music"}).status, 0);
  ASSERT_EQ(Cli({"scan", env, "--threads", "1"}).status, 0);
  std::vector<std::uint8_t> oneThread = test::ReadBytes(env);
  EXPECT_GT(std::ranges::count(Cli({"catalogue", env}).out, '\n'), 300);
  for (const char* threads : {"2", "6"}) {
    ASSERT_EQ(Cli({"scan", env, "--threads", threads}).status, 0);
    EXPECT_EQ(test::ReadBytes(env), oneThread) << threads << " threads";
  }
}

}  // namespace
}  // namespace jb
