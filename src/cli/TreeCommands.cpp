// Commands that show an environment's display tree and hand rows of it to
// the player.
#include <cstdio>

#include "CliCommand.h"
#include "CliSupport.h"
#include "platform/Shell.h"
#include "platform/UserSettings.h"
#include "treeview/TreeText.h"
#include "treeview/TreeView.h"
#include "window/HandOff.h"

namespace jb::cli {
namespace {

// The tree the window would show for the environment's catalogue.
void BuildTree(Session& session, TreeView& tree) {
  tree.Rebuild(*session.environment, NodeIcons::FromConfig(*session.config));
}

int RunTree(std::vector<std::string>& argv) {
  ArgParser args(argv, {}, {"--depth"});
  const long depth = args.Number("--depth", INT32_MAX, 1, INT32_MAX);
  Session session(args);
  session.Load(args.Positionals(1, 1)[0]);
  TreeView tree;
  BuildTree(session, tree);
  WriteOutline(tree, static_cast<int>(depth),
               [](std::string_view line) { std::fwrite(line.data(), 1, line.size(), stdout); });
  EndAfterReading(0);
}

// Where the play-list goes: --m3u, else the installation folder named in
// the user's settings, else the current directory.
std::string PlayListPath(const ArgParser& args, const UserSettings& settings) {
  if (std::optional<std::string> file = args.Value("--m3u")) return *file;
  if (std::optional<std::string> dir = settings.Get("InstallDir"); dir && !dir->empty())
    return CleanPath(*dir) + "/" + kTemporaryPlayList;
  return kTemporaryPlayList;
}

int HandOffRows(std::vector<std::string>& argv, ShellAction action) {
  ArgParser args(argv, {}, {"--m3u"});
  const auto& pos = args.Positionals(2, SIZE_MAX);
  Session session(args);
  session.Load(pos[0]);
  TreeView tree;
  BuildTree(session, tree);
  std::vector<DisplayNode*> rows;
  for (size_t i = 1; i < pos.size(); ++i) {
    std::vector<DisplayNode*> found = FindRows(tree, pos[i]);
    if (found.empty()) throw CommandError{"no row matches '" + pos[i] + "'"};
    rows.insert(rows.end(), found.begin(), found.end());
  }
  DisplayNode::SetSelectionOfEach(rows, SelectionState::Selected);
  UserSettings settings = UserSettings::ForCurrentUser();
  std::unique_ptr<IShell> shell = CreateDesktopShell(settings);
  return HandOffSelection(tree, action, *shell, session.prompt, PlayListPath(args, settings)) ? 0 : 1;
}

int RunPlay(std::vector<std::string>& argv) { return HandOffRows(argv, ShellAction::Play); }
int RunEnqueue(std::vector<std::string>& argv) { return HandOffRows(argv, ShellAction::Enqueue); }

constexpr const char* kRowHelp =
    "A ROW is a row's path of names from the top, joined by \"/\", as 'tree'\n"
    "prints them (\"Artist > Album\" for a merged row), or a glob over such\n"
    "paths (\"*\" also matches \"/\"). A group selects everything below it.\n"
    "The play-list is written to Jukebar.m3u in the installation folder (the\n"
    "current directory when none is set), one path per line in tree order.\n"
    "  --m3u FILE      write the play-list to FILE instead\n";

}  // namespace

JB_CLI_COMMAND("tree", "tree ENV [--depth N]", "print every row of the environment's display tree",
               "Rows come in display order with everything expanded, two spaces of\n"
               "indentation per level; merged rows join their names with \" > \".\n" JB_CLI_ESCAPE_HELP
               "  --depth N       print the first N levels only\n",
               RunTree);
JB_CLI_COMMAND("play", "play ENV ROW... [--m3u FILE]", "play the files of the given rows at once", kRowHelp, RunPlay);
JB_CLI_COMMAND("enqueue", "enqueue ENV ROW... [--m3u FILE]", "add the files of the given rows to the player's list",
               kRowHelp, RunEnqueue);

}  // namespace jb::cli
