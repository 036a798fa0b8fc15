#include "MainDlgFixture.h"

#include <filesystem>

#include "TreeTestSupport.h"
#include "environment/CEnvironment.h"

namespace jb::test {

int FakeHost::TrackPopupMenu(MenuPopup popup, int x, int y, bool right, const std::vector<int>& greyed) {
  menus.push_back({popup, x, y, right, greyed});
  if (menuAnswers.empty()) return 0;
  int answer = menuAnswers.front();
  menuAnswers.pop_front();
  return answer;
}

MainDlgTest::MainDlgTest() {
  std::filesystem::copy_file(JUKEBAR_DEFAULT_SKIN, dir / SkinSet::kFileName);
  config.installationValid = true;
}

void MainDlgTest::Start(const std::string& envFile) {
  CEnvironment env(host.prompt, config.resourceTypes);
  for (int g = 0; g < kGroups; ++g)
    for (std::string t : {"0", "1", "2"}) {
      std::string n = (g < 10 ? "0" : "") + std::to_string(g);
      env.Add(E("ag" + n + "|t" + t, n + "/" + t));
    }
  ASSERT_TRUE(env.SaveAs(dir / envFile));
  config.environmentPath = dir / envFile;
  dlg = std::make_unique<CMainDlg>(host, config, skin);
  ASSERT_TRUE(dlg->OnInitDialog());
  // The default configuration starts the player with an empty play-list.
  ASSERT_EQ(host.shell.calls.size(), 1u);
  host.shell.calls.clear();
  host.paints = 0;
}

std::pair<int, int> MainDlgTest::TextPoint(int visibleRow) {
  const TreeView& tree = dlg->Tree();
  int depth = Row(visibleRow)->Depth();
  return {tree.GetAreaX() + TreeView::kIndent * depth + 2,
          tree.GetAreaY() + TreeView::kRowHeight * (visibleRow - tree.GetTopRow()) + 4};
}

std::pair<int, int> MainDlgTest::TogglePoint(int visibleRow) {
  auto [x, y] = TextPoint(visibleRow);
  return {x - 6, y};
}

void MainDlgTest::Click(std::pair<int, int> p, unsigned modifiers) {
  dlg->OnLButtonDown(p.first, p.second, modifiers);
  dlg->OnLButtonUp(p.first, p.second, modifiers);
}

std::string MainDlgTest::State() { return FocusSelectionAndTop(dlg->Tree()); }

}  // namespace jb::test
