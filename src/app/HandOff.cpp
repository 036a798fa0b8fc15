#include "app/HandOff.h"

#include "storage/CArchive.h"
#include "platform/Prompt.h"
#include "treeview/DisplayNode.h"

namespace jb {
namespace {

constexpr int kCannotCreatePlayList = 8;
constexpr int kPlayerNotFound = 9;

}  // namespace

// The play-list is replaced atomically: when writing fails the old one stays
// whole and the player never reads half a list.
bool HandOffSelection(const DisplayNode& tree, ShellAction action, IShell& shell, IPrompt& prompt,
                      const std::string& playList) {
  if (!SaveArchiveFile(playList, [&tree](CArchive& ar) { tree.WriteSelectedPaths(ar); })) {
    prompt.ShowMessage(kCannotCreatePlayList);
    return false;
  }
  if (!shell.OpenPlayList(playList, action)) {
    prompt.ShowMessage(kPlayerNotFound);
    return false;
  }
  return true;
}

bool AutoLoadPlayer(IShell& shell, IPrompt& prompt, const std::string& playList) {
  if (!SaveArchiveFile(playList, [](CArchive&) {}) || !shell.OpenPlayList(playList, ShellAction::Enqueue)) {
    prompt.ShowMessage(kPlayerNotFound);
    return false;
  }
  return true;
}

}  // namespace jb
