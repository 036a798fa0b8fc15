#pragma once
// A main window on a recording host: no display, every request the window
// makes of the desktop kept for the test to read, menus answered from a
// script. The window runs in a temporary installation folder holding the
// default skin, with an environment of groups g00.. of three files each.

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "TreeTestSupport.h"
#include "config/CConfig.h"
#include "environment/CEnvironment.h"
#include "platform/Shell.h"
#include "skin/SkinSet.h"
#include "window/CMainDlg.h"
#include "window/IMainDlgHost.h"

namespace jb::test {

class RecordingShell : public IShell {
 public:
  bool OpenPlayList(const std::string& path, ShellAction action) override {
    calls.push_back({path, action});
    return true;
  }
  bool OpenAddress(const std::string&) override { return true; }
  std::vector<std::pair<std::string, ShellAction>> calls;
};

class FakeHost : public IMainDlgHost {
 public:
  struct MenuCall {
    MenuPopup popup;
    int x, y;
    bool rightButton;
    std::vector<int> greyed;
    bool operator==(const MenuCall&) const = default;
  };

  Rect GetWindowRect() const override { return rect; }
  void SetWindowRect(const Rect& r) override { rect = r; }
  std::vector<Rect> GetScreenRects() const override { return {{0, 0, 1920, 1080}}; }
  void SetCapture() override { captured = true; }
  void ReleaseCapture() override { captured = false; }
  void SetTimer(unsigned, int) override {}
  void KillTimer(unsigned) override {}
  void PaintNow() override { ++paints; }
  int TrackPopupMenu(MenuPopup popup, int x, int y, bool right, const std::vector<int>& greyed) override {
    menus.push_back({popup, x, y, right, greyed});
    if (menuAnswers.empty()) return 0;
    const int answer = menuAnswers.front();
    menuAnswers.pop_front();
    return answer;
  }
  void GetCursorPos(int& x, int& y) const override { x = cursorX, y = cursorY; }
  void SetCursor(CursorId c) override { cursor = c; }
  void SetForeground() override {}
  IPrompt& Prompt() override { return prompt; }
  IShell& Shell() override { return player ? *player : shell; }
  IMessageTarget& MessageTarget() override { return messages ? *messages : target; }
  void TrayCreate(TrayIconId icon, const std::string& tip) override { trayIcon = icon, trayTip = tip; }
  void TraySetIcon(TrayIconId icon) override { trayIcon = icon; }
  void TraySetToolTip(const std::string& tip) override { trayTip = tip; }
  void TrayRemove() override {}
  bool HasSheet(Sheet sheet) const override { return sheets.count(sheet) != 0; }
  int RunSheet(Sheet sheet) override {
    sheetsRun.push_back(sheet);
    return static_cast<int>(SheetResult::Exit);
  }
  void EndDialog(int result) override { ended.push_back(result); }

  Rect rect;
  bool captured = false;
  int paints = 0;
  std::vector<MenuCall> menus;
  std::deque<int> menuAnswers;  // 0 (dismissed) when empty
  int cursorX = 0, cursorY = 0;
  CursorId cursor = kCursorArrow;
  RecordingPrompt prompt;
  RecordingShell shell;
  IShell* player = nullptr;  // replaces the recording shell when set
  RecordingTarget target;
  IMessageTarget* messages = nullptr;  // replaces the recording target when set
  TrayIconId trayIcon = kTrayIconIdle;
  std::string trayTip;
  std::set<Sheet> sheets;
  std::vector<Sheet> sheetsRun;
  std::vector<int> ended;
};

class MainDlgTest : public ::testing::Test {
 protected:
  static constexpr int kGroups = 60;

  MainDlgTest() {
    std::filesystem::copy_file(JUKEBAR_DEFAULT_SKIN, dir / SkinSet::kFileName);
    config.installationValid = true;
  }
  // Brings the window up on environment envFile (written with the groups).
  void Start(const std::string& envFile = "rock.jbe") {
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
  // Scans from the menu, handing the scan's messages to the window as its
  // thread would.
  void Scan() {
    MessageLoop loop;
    host.messages = &loop;
    dlg->OnCommand(kCmdScan);
    ASSERT_TRUE(dlg->IsScanning());
    const bool done = loop.RunUntil(WM_SCAN_DONE, [&](unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
      dlg->OnMessage(message, wParam, lParam);
    });
    host.messages = nullptr;
    ASSERT_TRUE(done) << "the scan never ended";
  }

  // A client point on the row's text.
  std::pair<int, int> TextPoint(int visibleRow) {
    const TreeView& tree = dlg->Tree();
    return {tree.GetAreaX() + TreeView::kIndent * tree.RowAt(visibleRow)->Depth() + 2,
            tree.GetAreaY() + TreeView::kRowHeight * (visibleRow - tree.GetTopRow()) + 4};
  }
  void Click(std::pair<int, int> p, unsigned modifiers = CMainDlg::kNoModifier) {
    dlg->OnLButtonDown(p.first, p.second, modifiers);
    dlg->OnLButtonUp(p.first, p.second, modifiers);
  }
  // "focus [selected rows] top": groups by name when wholly selected, else
  // files by path.
  std::string State() { return FocusSelectionAndTop(dlg->Tree()); }
  int Width() const { return host.rect.right - host.rect.left; }
  int Height() const { return host.rect.bottom - host.rect.top; }

  TempDir dir;
  ScopedCurrentDir cwd{dir.Path()};
  FakeHost host;
  CConfig config{host.prompt};
  SkinSet skin;
  std::unique_ptr<CMainDlg> dlg;
};

}  // namespace jb::test
