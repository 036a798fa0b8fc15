#pragma once
// The desktop's side of the hand-off: the program writes a play-list and asks
// the desktop to give it to the user's player, to play at once or to add to
// the player's list. The program never looks for the player itself.
//
// On Linux the player is the desktop's default application for
// "audio/x-mpegurl" (the XDG MIME-applications rules, through GIO). Play
// starts it with the play-list's absolute path; Enqueue starts it with the
// enqueue option of the known player it is. The settings keys PlayCommand
// and EnqueueCommand, when set, replace either: a command line split into
// words as a shell would (quotes, backslashes) but never run by a shell, in
// which a word "%f" stands for the play-list's path and "%u" for its file
// URI; without either, the path is added as the last word. Players start
// detached: they outlive the program and leave no child behind.
//
// Addresses (mailto:, https:) go to the desktop's handler of their scheme.

#include <memory>
#include <string>

namespace jb {

class UserSettings;

enum class ShellAction { Play, Enqueue };

class IShell {
 public:
  virtual ~IShell() = default;
  // Hands the play-list at path (made absolute against the current
  // directory) to the player. False when there is no player for the
  // action or it could not be started.
  virtual bool OpenPlayList(const std::string& path, ShellAction action) = 0;
  // Opens a mail or web address with the desktop's handler of its scheme.
  // False when there is none or it could not be started.
  virtual bool OpenAddress(const std::string& address) = 0;
};

// The desktop's shell with the overrides of settings.
std::unique_ptr<IShell> CreateDesktopShell(const UserSettings& settings);

}  // namespace jb
