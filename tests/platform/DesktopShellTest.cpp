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

using Args = std::vector<std::string>;
constexpr int kRefused = 1;

class DesktopShellTest : public ::testing::Test {
 protected:
  DesktopShellTest() {
    for (const char* d : {"data", "data/applications", "config", "nodata", "noconfig", "bin", "work"})
      ::mkdir((dir / d).c_str(), 0755);
  }
  // A player that records its argv, made the default for play-lists.
  std::string Install(const std::string& name) {
    std::string path = Player(name);
    test::WriteText(
        dir / "data/applications/jb-test-player.desktop",
        "[Desktop Entry]\nType=Application\nName=Test player\nExec=" + path + " %f\nMimeType=audio/x-mpegurl;\n");
    test::WriteText(dir / "config/mimeapps.list", "[Default Applications]\naudio/x-mpegurl=jb-test-player.desktop\n");
    return path;
  }
  std::string Player(const std::string& name) {
    test::WriteRecordingProgram(dir / ("bin/" + name), record, true);
    return dir / ("bin/" + name);
  }
  void Settings(const std::string& lines) { test::WriteText(dir / "Jukebar.conf", "[General]\n" + lines); }

  // The hand-off in a child process with this desktop, so that GIO's caches
  // start from it: 0 when a player was reached and no process was left for
  // the child to reap, kRefused, or 3 for a process left behind.
  int HandOff(ShellAction action) {
    pid_t pid = ::fork();
    if (pid == 0) {
      for (auto [name, sub] : {std::pair{"XDG_DATA_HOME", "data"},
                               {"XDG_CONFIG_HOME", "config"},
                               {"XDG_DATA_DIRS", "nodata"},
                               {"XDG_CONFIG_DIRS", "noconfig"}})
        ::setenv(name, (dir / sub).c_str(), 1);
      for (const char* v : {"XDG_CURRENT_DESKTOP", "DBUS_SESSION_BUS_ADDRESS", "DISPLAY", "WAYLAND_DISPLAY"})
        ::unsetenv(v);
      if (::chdir((dir / "work").c_str()) != 0) ::_exit(9);
      bool ok = CreateDesktopShell(UserSettings(dir / "Jukebar.conf"))->OpenPlayList("Jukebar.m3u", action);
      int status;
      bool leftChild = ::waitpid(-1, &status, WNOHANG) != -1 || errno != ECHILD;
      ::_exit(!ok ? kRefused : leftChild ? 3 : 0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  Args Run(ShellAction action) { return HandOff(action) == 0 ? test::TakeRecordedLines(record) : Args{"failed"}; }

  test::TempDir dir;
  std::string record = dir / "record";
  std::string playList = dir / "work/Jukebar.m3u";
};

TEST_F(DesktopShellTest, PlayAndEnqueueReachTheDefaultPlayerUnlessTheUserNamedCommands) {
  EXPECT_EQ(HandOff(ShellAction::Play), kRefused);  // nothing registered for play-lists
  std::string some = Install("someplayer");
  EXPECT_EQ(Run(ShellAction::Play), (Args{some, playList}));  // by its absolute path
  EXPECT_EQ(HandOff(ShellAction::Enqueue), kRefused);         // no known enqueue form
  std::string vlc = Install("vlc");
  EXPECT_EQ(Run(ShellAction::Enqueue), (Args{vlc, "--one-instance", "--playlist-enqueue", playList}));

  std::string mine = Player("my player");
  Settings("PlayCommand = '" + mine + "' --play %f --now\nEnqueueCommand='" + mine + "' \"two words\"\n");
  EXPECT_EQ(Run(ShellAction::Play), (Args{mine, "--play", playList, "--now"}));
  EXPECT_EQ(Run(ShellAction::Enqueue), (Args{mine, "two words", playList}));
  // A file URI where asked for; shell characters are just characters.
  Settings("PlayCommand='" + mine + "' %u ';' '$(touch x)'\n");
  EXPECT_EQ(Run(ShellAction::Play), (Args{mine, "file://" + playList, ";", "$(touch x)"}));
  Settings("PlayCommand=\n");  // empty is no setting
  EXPECT_EQ(Run(ShellAction::Play), (Args{vlc, playList}));
  // A command that cannot start is a failure.
  Settings("PlayCommand=" + dir / "bin/missing-player" + "\nEnqueueCommand='unbalanced\n");
  EXPECT_EQ(HandOff(ShellAction::Play), kRefused);
  EXPECT_EQ(HandOff(ShellAction::Enqueue), kRefused);
}

}  // namespace
}  // namespace jb
