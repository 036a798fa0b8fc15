#include "window/HandOff.h"

#include "platform/Prompt.h"
#include "storage/CArchive.h"
#include "strings/StringTable.h"
#include "treeview/DisplayNode.h"

namespace jb {
// The play-list is replaced atomically: when writing fails the old one stays
// whole and the player never reads half a list.
bool HandOffSelection(const DisplayNode& tree, ShellAction action, IShell& shell, IPrompt& prompt,
                      const std::string& playList) {
  if (!SaveArchiveFile(playList, [&tree](CArchive& ar) { tree.WriteSelectedPaths(ar); })) {
    prompt.ShowMessage(ids::CannotCreatePlayList);
    return false;
  }
  if (!shell.OpenPlayList(playList, action)) {
    prompt.ShowMessage(ids::PlayerNotFound);
    return false;
  }
  return true;
}

bool AutoLoadPlayer(IShell& shell, IPrompt& prompt, const std::string& playList) {
  if (!SaveArchiveFile(playList, [](CArchive&) {}) || !shell.OpenPlayList(playList, ShellAction::Enqueue)) {
    prompt.ShowMessage(ids::PlayerNotFound);
    return false;
  }
  return true;
}

}  // namespace jb
