#pragma once
// Handing the selected songs to the player: their paths go into the
// temporary play-list, which the desktop's shell then gives to the player
// (played at once, or added to its list).

#include <string>

#include "platform/Shell.h"

namespace jb {

class DisplayNode;
class IPrompt;

// In the installation folder, the current directory.
inline constexpr const char* kTemporaryPlayList = "Jukebar.m3u";

// Play selection (ShellAction::Play) and Add selection to play-list
// (ShellAction::Enqueue): replaces playList with the paths of tree's selected
// files in tree order, each line ending in CR LF, and hands it to the shell.
// A play-list that cannot be written shows message 8 and keeps the shell
// out of it; a shell that cannot reach a player shows message 9. True when
// the player was reached.
bool HandOffSelection(const DisplayNode& tree, ShellAction action, IShell& shell, IPrompt& prompt,
                      const std::string& playList = kTemporaryPlayList);

// The start-up auto-load: an emptied play-list added to the player's list,
// which starts the player. Either failure shows message 9.
bool AutoLoadPlayer(IShell& shell, IPrompt& prompt, const std::string& playList = kTemporaryPlayList);

}  // namespace jb
