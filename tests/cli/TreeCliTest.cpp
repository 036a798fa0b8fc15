// jukebar-cli tree, play and enqueue, end to end: a scanned environment, a
// player command that records how it was started.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <array>
#include <cstdlib>

#include "TestSupport.h"

namespace jb {
namespace {

test::ProgramResult Cli(const std::vector<std::string>& args) { return test::RunProgram("src/cli/jukebar-cli", args); }

class TreeCli : public ::testing::Test {
 protected:
  TreeCli() {
    for (const char* d :
         {"music", "music/band", "music/solo", "bin", "cfg", "cfg/Quorvel Software", "empty"})
      ::mkdir((dir / d).c_str(), 0755);
    for (auto [file, title, artist, album] : {std::array<std::string, 4>{"band/one", "One", "Band", "First"},
                                              {"band/two", "Two", "Band", "First"},
                                              {"band/three", "Three", "Band", "Second"},
                                              {"solo/only", "Only", "Solo", "Alone"}})
      test::WriteText(dir / ("music/" + file + ".mp3"), test::Id3v1Song(title, artist, album));
    test::WriteText(dir / "music/mix.m3u", "solo/only.mp3\r\n");
    test::WriteRecordingProgram(player, record, false);
    Settings("PlayCommand=" + player + " play\nEnqueueCommand=" + player + " enqueue\n");
    for (const auto& args : {std::vector<std::string>{"new", env}, {"add-dir", env, dir / "music"}, {"scan", env}})
      EXPECT_EQ(Cli(args).status, 0);
  }
  void Settings(const std::string& lines) {
    test::WriteText(dir / "cfg/Quorvel Software/Jukebar.conf", "[General]\n" + lines);
  }

  test::TempDir dir;
  test::ScopedEnv config{"XDG_CONFIG_HOME", dir / "cfg"};
  // No desktop applications at all.
  test::ScopedEnv data{"XDG_DATA_HOME", dir / "empty"}, dataDirs{"XDG_DATA_DIRS", dir / "empty"},
      configDirs{"XDG_CONFIG_DIRS", dir / "empty"};
  test::ScopedCurrentDir work{dir.Path()};
  std::string env = dir / "e.jbe", player = dir / "bin/player", record = dir / "record", m3u = dir / "out.m3u";
  std::string one = dir / "music/band/one.mp3\r\n", only = dir / "music/solo/only.mp3\r\n";
};

TEST_F(TreeCli, TreePrintsEveryRowInDisplayOrder) {
  EXPECT_EQ(Cli({"tree", env}).out,
            "Band\n  First\n    One\n    Two\n  Second > Three\nSolo > Alone > Only\nmix > only\n");
  EXPECT_EQ(Cli({"tree", env, "--depth", "1"}).out, "Band\nSolo > Alone > Only\nmix > only\n");
  EXPECT_EQ(Cli({"tree", env, "--depth", "0"}).status, 2);
  EXPECT_EQ(Cli({"tree", dir / "none.jbe"}).status, 1);
  // Output that cannot be written is a failure, whether the command ends
  // at once (tree) or returns (help).
  for (const std::string& args : {"tree '" + env + "'", std::string("--help")}) {
    const std::string command =
        "'" + test::BuildDir() + "/src/cli/jukebar-cli' " + args + " >/dev/full 2>'" + (dir / "err") + "'";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << args;
    EXPECT_EQ(test::ReadText(dir / "err"), "jukebar-cli: cannot write the output: No space left on device\n") << args;
  }
}

TEST_F(TreeCli, NamesWithControlBytesStayOnTheirLinesAndReachThePlayerWhole) {
  const std::string odd = dir / "odd\tset", shown = dir / "odd\\tset";
  ::mkdir(odd.c_str(), 0755);
  for (const char* name : {"line\nfeed.mp3", "back\\slash\x1B.mp3", "-dash \"q\" \xFF.mp3"})
    test::WriteText(odd + "/" + name, "no tag");
  ASSERT_EQ(Cli({"add-dir", env, odd}).status, 0);
  ASSERT_EQ(Cli({"scan", env}).status, 0);

  const std::string group = "\"Tag-less\" MP3s > " + shown + "/";
  EXPECT_NE(Cli({"tree", env}).out.find(group + "\n  -dash \"q\" \xFF\n  back\\\\slash\\x1B\n  line\\nfeed\n"),
            std::string::npos);
  EXPECT_NE(Cli({"catalogue", env})
                .out.find("\n" + shown + "/line\\nfeed.mp3\tUserType:\"Tag-less\" MP3s\tFolder:" + shown +
                          "/\tFile:line\\nfeed\n"),
            std::string::npos);
  EXPECT_NE(Cli({"resources", env}).out.find("\ndirectory\t" + shown + "\tFolder\t"), std::string::npos);

  // The row as tree prints it; the player gets one entry.
  ASSERT_EQ(Cli({"play", env, group + "/line\\nfeed", "--m3u", m3u}).status, 0);
  EXPECT_EQ(test::ReadText(m3u), "file://" + dir / "odd%09set/line%0Afeed.mp3\r\n");
  EXPECT_EQ(test::TakeRecordedLines(record), (std::vector<std::string>{"play", m3u}));
}

TEST_F(TreeCli, PlayAndEnqueueHandTheRowsToThePlayer) {
  ASSERT_EQ(Cli({"play", env, "Band/First", "--m3u", m3u}).status, 0);
  EXPECT_EQ(test::ReadText(m3u), one + dir / "music/band/two.mp3\r\n");
  EXPECT_EQ(test::TakeRecordedLines(record), (std::vector<std::string>{"play", m3u}));
  // Globs, in tree order whatever the order given; a play-list's track is the song's own path.
  ASSERT_EQ(Cli({"enqueue", env, "mix*", "*Three", "--m3u", m3u}).status, 0);
  EXPECT_EQ(test::ReadText(m3u), dir / "music/band/three.mp3\r\n" + only);
  EXPECT_EQ(test::TakeRecordedLines(record), (std::vector<std::string>{"enqueue", m3u}));
}

TEST_F(TreeCli, FailuresSayWhyAndLeaveThePlayListAlone) {
  test::WriteText(m3u, "old\r\n");
  const std::pair<std::vector<std::string>, std::string> failures[] = {
      {{"play", env, "Band/Third", "--m3u", m3u}, "no row matches 'Band/Third'"},
      {{"play", env, "Band", "--m3u", dir / "nowhere/x.m3u"}, "Fatal error : Cannot create temporary playlist !"},
      {{"render", env, dir / "w.png", "--select", "Nobody"}, "Nobody"},
      {{"render", env, dir / "w.png", "--skin", dir / "none.skn"}, "none.skn"},
  };
  for (const auto& [args, message] : failures) {
    auto run = Cli(args);
    EXPECT_EQ(run.status, 1) << message;
    EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
  }
  EXPECT_EQ(test::ReadText(m3u), "old\r\n");
  for (const auto& args : {std::vector<std::string>{"play", env}, {"render", env, m3u, "--size", "12x9"}})
    EXPECT_EQ(Cli(args).status, 2) << args[0];
  Settings("");  // no player registered for play-lists: the list is written all the same
  auto noPlayer = Cli({"enqueue", env, "Band/First/One", "--m3u", m3u});
  EXPECT_EQ(noPlayer.status, 1);
  EXPECT_NE(noPlayer.err.find("Fatal error : Winamp not found !"), std::string::npos);
  EXPECT_EQ(test::ReadText(m3u), one);
}

}  // namespace
}  // namespace jb
