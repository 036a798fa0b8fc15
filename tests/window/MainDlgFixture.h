#pragma once
// A main window on a recording host: no display, every request the window
// makes of the desktop kept for the test to read, menus answered from a
// script. The window runs in a temporary installation folder holding the
// default skin, with an environment of groups g00.. of three files each.

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "config/CConfig.h"
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
  bool OpenAddress(const std::string& address) override {
    addresses.push_back(address);
    return true;
  }
  std::vector<std::pair<std::string, ShellAction>> calls;
  std::vector<std::string> addresses;
};

class FakeHost : public IMainDlgHost {
 public:
  struct MenuCall {
    MenuPopup popup;
    int x, y;
    bool rightButton;
    std::vector<int> greyed;
  };

  Rect GetWindowRect() const override { return rect; }
  void SetWindowRect(const Rect& r) override { rect = r; }
  std::vector<Rect> GetScreenRects() const override { return screens; }
  void SetCapture() override { captured = true; }
  void ReleaseCapture() override { captured = false; }
  void SetTimer(unsigned id, int ms) override { timers[id] = ms; }
  void KillTimer(unsigned id) override { timers.erase(id); }
  void PaintNow() override { ++paints; }
  int TrackPopupMenu(MenuPopup popup, int x, int y, bool right, const std::vector<int>& greyed) override;
  void GetCursorPos(int& x, int& y) const override { x = cursorX, y = cursorY; }
  void SetCursor(CursorId c) override { cursor = c; }
  void SetForeground() override { ++foregrounds; }
  IPrompt& Prompt() override { return prompt; }
  IShell& Shell() override { return player ? *player : shell; }
  IMessageTarget& MessageTarget() override { return messages ? *messages : target; }
  void TrayCreate(TrayIconId icon, const std::string& tip) override { trayIcon = icon, trayTip = tip, tray = true; }
  void TraySetIcon(TrayIconId icon) override { trayIcon = icon; }
  void TraySetToolTip(const std::string& tip) override { trayTip = tip; }
  void TrayRemove() override { tray = false; }
  bool HasSheet(Sheet sheet) const override { return sheets.count(sheet) != 0; }
  int RunSheet(Sheet sheet) override {
    sheetsRun.push_back(sheet);
    return sheetResult;
  }
  void EndDialog(int result) override { ended.push_back(result); }

  Rect rect;
  std::vector<Rect> screens{{0, 0, 1920, 1080}};
  bool captured = false;
  std::map<unsigned, int> timers;
  int paints = 0;
  std::vector<MenuCall> menus;
  std::deque<int> menuAnswers;  // 0 (dismissed) when empty
  int cursorX = 0, cursorY = 0;
  CursorId cursor = kCursorArrow;
  int foregrounds = 0;
  RecordingPrompt prompt;
  RecordingShell shell;
  IShell* player = nullptr;  // replaces the recording shell when set
  RecordingTarget target;
  IMessageTarget* messages = nullptr;  // replaces the recording target when set
  bool tray = false;
  TrayIconId trayIcon = kTrayIconIdle;
  std::string trayTip;
  std::set<Sheet> sheets;
  int sheetResult = static_cast<int>(SheetResult::Exit);
  std::vector<Sheet> sheetsRun;
  std::vector<int> ended;
};

class MainDlgTest : public ::testing::Test {
 protected:
  static constexpr int kGroups = 60;

  MainDlgTest();
  // Brings the window up on environment envFile (written with the groups).
  void Start(const std::string& envFile = "rock.jbe");

  // The row's node (page row = visible row - top row) and a client point
  // on its text or on its toggle cell.
  DisplayNode* Row(int visibleRow) { return dlg->Tree().RowAt(visibleRow); }
  std::pair<int, int> TextPoint(int visibleRow);
  std::pair<int, int> TogglePoint(int visibleRow);
  void Click(std::pair<int, int> p, unsigned modifiers = CMainDlg::kNoModifier);
  // "focus [selected rows] top": groups by name when wholly selected, else
  // files by path; "-" without a focus node.
  std::string State();
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
