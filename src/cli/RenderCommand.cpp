// jukebar-cli render: the main window for an environment, drawn by the
// window's own painter into a PNG file.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "CliCommand.h"
#include "CliSupport.h"
#include "platform/File.h"
#include "platform/UserSettings.h"
#include "skin/SkinSet.h"
#include "sprites/PngFile.h"
#include "treeview/TreeScrollBar.h"
#include "treeview/TreeText.h"
#include "treeview/TreeView.h"
#include "window/MainWindowPainter.h"

namespace jb::cli {
namespace {

namespace fs = std::filesystem;

bool Readable(const std::string& path) { return CReadFile::Open(path) != nullptr; }

// --skin FILE, else the installation folder's skin, else the one the build
// put beside this program: its own folder or a folder above it up to the
// build's root.
std::string FindSkin(const ArgParser& args) {
  if (std::optional<std::string> file = args.Value("--skin")) {
    if (!Readable(*file)) throw CommandError{"cannot read the skin '" + *file + "'"};
    return *file;
  }
  std::string tried;
  if (std::optional<std::string> dir = UserSettings::ForCurrentUser().Get("InstallDir"); dir && !dir->empty()) {
    std::string installed = CleanPath(*dir) + "/" + SkinSet::kFileName;
    if (Readable(installed)) return installed;
    tried = CleanPath(*dir);
  }
  std::error_code error;
  fs::path exe = fs::read_symlink("/proc/self/exe", error);
  if (!error) {
    for (fs::path dir = exe.parent_path(); !dir.empty(); dir = dir.parent_path()) {
      fs::path skin = dir / SkinSet::kFileName;
      if (Readable(skin.string())) return skin.string();
      if (fs::exists(dir / "CMakeCache.txt") || dir == dir.parent_path()) break;
    }
    tried += (tried.empty() ? "" : " nor in ") + exe.parent_path().string();
  }
  throw CommandError{std::string("no skin: ") + SkinSet::kFileName + " is not in " +
                     (tried.empty() ? "the installation folder" : tried) + "; give one with --skin FILE"};
}

// "275x319" within the window's limits.
void ParseSize(const std::string& text, int& width, int& height) {
  unsigned w = 0, h = 0;
  char end = 0;
  if (std::sscanf(text.c_str(), "%ux%u%c", &w, &h, &end) != 2 || w < 50 || h < 14 || w > 8192 || h > 8192)
    throw UsageError{"--size takes WIDTHxHEIGHT, from 50x14 to 8192x8192"};
  width = static_cast<int>(w);
  height = static_cast<int>(h);
}

void OpenAbove(TreeView& tree, DisplayNode* node) {
  for (DisplayNode* n = node->GetParent(); n && n != &tree; n = n->GetParent()) n->SetExpanded(true);
}

bool Shows(const TreeView& tree, const DisplayNode* node) {
  for (const DisplayNode* n = node->GetParent(); n && n != &tree; n = n->GetParent())
    if (!n->IsExpanded()) return false;
  return true;
}

std::vector<DisplayNode*> Rows(TreeView& tree, const std::string& pattern) {
  std::vector<DisplayNode*> found = FindRows(tree, pattern);
  if (found.empty()) throw CommandError{"no row matches '" + pattern + "'"};
  return found;
}

int RunRender(std::vector<std::string>& argv) {
  ArgParser args(argv, {"--inactive"},
                 {"--size", "--expand", "--open", "--select", "--focus", "--skin", "--progress", "--scale"});
  const auto& pos = args.Positionals(2, 2);
  int width = 275, height = 319;
  if (std::optional<std::string> size = args.Value("--size")) ParseSize(*size, width, height);
  int levels = 0;
  if (std::optional<std::string> expand = args.Value("--expand"))
    levels = *expand == "all" ? INT32_MAX : static_cast<int>(args.Number("--expand", 0, 0, INT32_MAX));
  const long progress = args.Number("--progress", MainWindowPainter::kNoProgress, -1, 120);
  const long scale = args.Number("--scale", 1, 1, 8);

  Session session(args);
  session.Load(pos[0]);
  SkinSet skin;
  const std::string skinPath = FindSkin(args);
  if (!skin.Load(session.prompt, skinPath)) throw CommandError{"bad skin file '" + skinPath + "'"};
  if (session.config->IsBackgroundImageOn()) skin.RebuildBackgroundImage(*session.config);

  TreeView tree;
  tree.SetConfig(session.config.get());
  tree.Rebuild(*session.environment, NodeIcons::FromConfig(*session.config));
  tree.ExpandLevels(levels);
  for (const std::string& pattern : args.Values("--open"))
    for (DisplayNode* node : Rows(tree, pattern)) {
      node->SetExpanded(true);
      OpenAbove(tree, node);
    }
  std::vector<DisplayNode*> selected;
  for (const std::string& pattern : args.Values("--select")) {
    std::vector<DisplayNode*> found = Rows(tree, pattern);
    selected.insert(selected.end(), found.begin(), found.end());
  }
  DisplayNode::SetSelectionOfEach(selected, SelectionState::Selected);
  // The focus is on a row that shows: --focus opens the groups above its
  // row, the default is the first selected row that shows.
  DisplayNode* focus = nullptr;
  if (std::optional<std::string> pattern = args.Value("--focus")) {
    focus = Rows(tree, *pattern).front();
    OpenAbove(tree, focus);
  } else {
    auto shows = std::find_if(selected.begin(), selected.end(), [&](DisplayNode* n) { return Shows(tree, n); });
    if (shows != selected.end()) focus = *shows;
  }
  if (focus) {
    tree.SetFocusMark(false);
    focus->SetFocusMark(true);
  }

  TreeScrollBar scrollBar;
  MainWindowPainter painter(skin, tree, scrollBar);
  painter.SetActive(!args.Has("--inactive"));
  painter.SetProgress(static_cast<int>(progress));
  painter.OnSize(width, height);
  if (focus) {
    tree.EnsureVisible(focus, Redraw::None);
    painter.RefreshView();
  }
  try {
    WritePng(pos[1], scale > 1 ? Scaled(painter.BackBuffer(), static_cast<int>(scale)) : painter.BackBuffer());
  } catch (const std::runtime_error& error) {
    throw CommandError{error.what()};
  }
  return 0;
}

}  // namespace

JB_CLI_COMMAND("render", "render ENV OUT.png [--size WxH] [--expand all|N] [--select ROW]...",
               "draw the main window for the environment into a PNG file",
               "The window is drawn as the program shows it, with the skin Jukebar.skn\n"
               "from the installation folder (else the one beside this program) and the\n"
               "configuration's colours and background image.\n"
               "  --size WxH       client size (default 275x319; height 14 is the small form)\n"
               "  --expand all|N   open every group, or the first N levels (default none)\n"
               "  --open ROW       open the group on the row (and the groups above it)\n"
               "  --select ROW     select the row (a path or glob as 'play' takes)\n"
               "  --focus ROW      put the focus on the row (default: the first selected\n"
               "                   row that shows)\n"
               "  --progress N     show the scan progress bar at N (0 to 120)\n"
               "  --inactive       draw the title of a window without the focus\n"
               "  --skin FILE      use this skin file\n"
               "  --scale N        enlarge the picture N times, each pixel a square\n",
               RunRender);

}  // namespace jb::cli
