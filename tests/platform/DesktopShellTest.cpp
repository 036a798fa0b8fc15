// The desktop shell on a real GIO: a desktop of its own (XDG folders in a
// temporary directory) whose default player for play-lists is a script that
// records how it was started.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "TestSupport.h"
#include "platform/Shell.h"
#include "platform/UserSettings.h"

namespace jb {
namespace {

constexpr int kHandedOff = 0;
constexpr int kRefused = 1;
constexpr int kChildLeft = 3;

class DesktopShellTest : public ::testing::Test {
 protected:
  DesktopShellTest() {
    for (const char* d : {"data", "data/applications", "config", "nodata", "noconfig", "bin", "work"})
      ::mkdir((dir / d).c_str(), 0755);
  }

  // A player that records its argv.
  std::string Player(const std::string& name) {
    std::string path = dir / ("bin/" + name);
    test::WriteRecordingProgram(path, record, true);
    return path;
  }
  // Installs the player's desktop entry and makes it the default.
  void Install(const std::string& executable) {
    test::WriteText(dir / "data/applications/jb-test-player.desktop",
                    "[Desktop Entry]\nType=Application\nName=Test player\nExec=" + executable +
                        " %f\nMimeType=audio/x-mpegurl;\n");
    test::WriteText(dir / "config/mimeapps.list", "[Default Applications]\naudio/x-mpegurl=jb-test-player.desktop\n");
  }
  void Settings(const std::string& lines) { test::WriteText(settings, "[General]\n" + lines); }

  // Runs the hand-off in a child process with this desktop, so that GIO's
  // caches start from it. The child reports whether a player was reached
  // and whether any process was left for it to reap.
  int HandOff(ShellAction action) {
    pid_t pid = ::fork();
    if (pid == 0) {
      ::setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
      ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
      ::setenv("XDG_DATA_DIRS", (dir / "nodata").c_str(), 1);
      ::setenv("XDG_CONFIG_DIRS", (dir / "noconfig").c_str(), 1);
      for (const char* v : {"XDG_CURRENT_DESKTOP", "DBUS_SESSION_BUS_ADDRESS", "DISPLAY", "WAYLAND_DISPLAY"})
        ::unsetenv(v);
      if (::chdir((dir / "work").c_str()) != 0) ::_exit(9);
      bool ok = CreateDesktopShell(UserSettings(settings))->OpenPlayList("Jukebar.m3u", action);
      int status;
      bool leftChild = ::waitpid(-1, &status, WNOHANG) != -1 || errno != ECHILD;
      ::_exit(!ok ? kRefused : leftChild ? kChildLeft : kHandedOff);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::vector<std::string> Recorded() { return test::TakeRecordedLines(record); }

  test::TempDir dir;
  std::string record = dir / "record";
  std::string settings = dir / "Jukebar.conf";
  std::string playList = dir / "work/Jukebar.m3u";
};

TEST_F(DesktopShellTest, PlayStartsTheDefaultPlayerWithTheAbsolutePath) {
  std::string player = Player("someplayer");
  Install(player);
  ASSERT_EQ(HandOff(ShellAction::Play), kHandedOff);
  EXPECT_EQ(Recorded(), (std::vector<std::string>{player, playList}));
}

TEST_F(DesktopShellTest, EnqueueUsesTheKnownPlayersEnqueueForm) {
  std::string player = Player("audacious");
  Install(player);
  ASSERT_EQ(HandOff(ShellAction::Enqueue), kHandedOff);
  EXPECT_EQ(Recorded(), (std::vector<std::string>{player, "-e", playList}));

  std::string vlc = Player("vlc");
  Install(vlc);
  ASSERT_EQ(HandOff(ShellAction::Enqueue), kHandedOff);
  EXPECT_EQ(Recorded(), (std::vector<std::string>{vlc, "--one-instance", "--playlist-enqueue", playList}));
}

TEST_F(DesktopShellTest, NoPlayerForTheActionIsAFailure) {
  // Nothing registered for play-lists.
  EXPECT_EQ(HandOff(ShellAction::Play), kRefused);
  EXPECT_EQ(HandOff(ShellAction::Enqueue), kRefused);
  // A player whose enqueue form is unknown still plays.
  Install(Player("someplayer"));
  EXPECT_EQ(HandOff(ShellAction::Enqueue), kRefused);
  EXPECT_EQ(HandOff(ShellAction::Play), kHandedOff);
  EXPECT_EQ(Recorded().size(), 2u);
}

TEST_F(DesktopShellTest, TheUsersCommandsWin) {
  Install(Player("audacious"));
  std::string mine = Player("my player");
  Settings("PlayCommand = '" + mine + "' --play %f --now\nEnqueueCommand='" + mine + "' \"two words\"\n");
  ASSERT_EQ(HandOff(ShellAction::Play), kHandedOff);
  EXPECT_EQ(Recorded(), (std::vector<std::string>{mine, "--play", playList, "--now"}));
  ASSERT_EQ(HandOff(ShellAction::Enqueue), kHandedOff);
  EXPECT_EQ(Recorded(), (std::vector<std::string>{mine, "two words", playList}));

  // A file URI where asked for; shell characters are just characters.
  Settings("PlayCommand='" + mine + "' %u ';' '$(touch x)'\n");
  ASSERT_EQ(HandOff(ShellAction::Play), kHandedOff);
  EXPECT_EQ(Recorded(), (std::vector<std::string>{mine, "file://" + playList, ";", "$(touch x)"}));

  // An empty setting is no setting.
  Settings("PlayCommand=\n");
  ASSERT_EQ(HandOff(ShellAction::Play), kHandedOff);
  EXPECT_EQ(Recorded().at(0), dir / "bin/audacious");
}

TEST_F(DesktopShellTest, ACommandThatCannotStartIsAFailure) {
  Install(Player("audacious"));
  Settings("PlayCommand=" + dir / "bin/missing-player" + "\nEnqueueCommand='unbalanced\n");
  EXPECT_EQ(HandOff(ShellAction::Play), kRefused);
  EXPECT_EQ(HandOff(ShellAction::Enqueue), kRefused);
}

}  // namespace
}  // namespace jb
