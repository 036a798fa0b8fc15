// The window's frame and tree under the mouse, the wheel and the keys.
#include "MainDlgFixture.h"

namespace jb::test {
namespace {

using Dlg = CMainDlg;

TEST_F(MainDlgTest, HitZonesAndCursorsAtTheirEdges) {
  Start();
  ASSERT_EQ(std::pair(Width(), Height()), std::pair(275, 319));
  const int bar = skin.ScrollTrack().GetWidth();
  struct Case {
    int x, y, zone;
    CursorId cursor;
  };
  auto check = [&](const std::vector<Case>& cases) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
      EXPECT_EQ(dlg->HitTest(c.x, c.y), c.zone);
      dlg->OnMouseMove(c.x, c.y, 0);
      EXPECT_EQ(host.cursor, c.cursor);
    }
  };
  check({{4, 3, Dlg::kZoneMenuButton, kCursorArrow},
         {16, 11, Dlg::kZoneMenuButton, kCursorArrow},
         {17, 3, Dlg::kZoneTitle, kCursorTitle},
         {262, 11, Dlg::kZoneFormButton, kCursorArrow},
         {263, 3, Dlg::kZoneTitle, kCursorTitle},
         {264, 3, Dlg::kZoneCloseButton, kCursorClose},
         {100, 14, Dlg::kZoneNone, kCursorArrow},
         {270, 314, Dlg::kZoneResizeGrip, kCursorResize},
         {271, 314, Dlg::kZoneNone, kCursorArrow},
         {260, 25, Dlg::kZoneScrollUp, kCursorScrollUp},
         {260, 26, Dlg::kZoneScrollTrack, kCursorTrack},
         {260, 292, Dlg::kZoneScrollDown, kCursorScrollDown},
         {260 + bar, 100, Dlg::kZoneNone, kCursorArrow},
         // Row 0, depth 1: indentation, toggle cell, text.
         {11, 24, Dlg::kZoneEmptyTree, kCursorArrow},
         {12, 24, Dlg::kZoneRowToggle, kCursorResize},
         {21, 20, Dlg::kZoneRowText, kCursorArrow}});
  dlg->OnMessage(WM_TRAY_NOTIFY, 0, Dlg::kTrayLButtonDblClk);
  ASSERT_EQ(Height(), 14);
  check({{4, 3, Dlg::kZoneMenuButton, kCursorArrow},
         {29, 3, Dlg::kZoneFormButton, kCursorArrow},
         {39, 11, Dlg::kZoneCloseButton, kCursorClose}});
}

TEST_F(MainDlgTest, ResizeGripStepsAndMinimum) {
  Start();
  dlg->OnLButtonDown(260, 305, 0);
  EXPECT_TRUE(host.captured);
  for (auto [x, y, w, h] : {std::array{300, 200, 325, 203}, {10, 10, 275, 116}}) {
    dlg->OnMouseMove(x, y, 0);
    EXPECT_EQ(host.rect, (Rect{100, 100, 100 + w, 100 + h}));  // resizing never moves
    EXPECT_EQ(std::pair(config.largeWidth, config.largeHeight), std::pair(w, h));
  }
  dlg->OnLButtonUp(10, 10, 0);
  EXPECT_FALSE(host.captured);
  EXPECT_EQ(dlg->GetMouseMode(), Dlg::kModeNone);
}

TEST_F(MainDlgTest, StoredPlacementOffScreenOrTooSmallIsBounded) {
  config.largeX = 5000, config.largeY = -3000, config.largeWidth = 100, config.largeHeight = 14 + 1;
  Start();
  EXPECT_EQ(host.rect, (Rect{1645, 0, 1920, 116}));
  EXPECT_EQ(config.largeX, 5000);  // kept until the user moves the window
  dlg->OnLButtonDown(50, 5, 0);
  dlg->OnMouseMove(40, 7, 0);
  dlg->OnLButtonUp(40, 7, 0);
  EXPECT_EQ(host.rect, (Rect{1635, 2, 1910, 118}));
  EXPECT_EQ((Rect{config.largeX, config.largeY, config.largeWidth, config.largeHeight}), (Rect{1635, 2, 275, 116}));
}

// Five rows per page, so a notch moves at most four.
TEST_F(MainDlgTest, WheelModesAndSmoothScrolling) {
  Start();
  dlg->OnSize(275, 40 + 5 * 9 + 3);
  ASSERT_EQ(dlg->Tree().GetRowsPerPage(), 5);
  struct Case {
    std::uint8_t mode, lines;
    int delta, top;
  };
  for (const Case& c : std::vector<Case>{{1, 8, -120, 24},
                                         {1, 2, -120, 22},
                                         {1, 0, -120, 20},
                                         {2, 8, -120, 22},
                                         {4, 8, 240, 12},
                                         {0, 8, -120, 20},
                                         {1, 8, -60, 20},  // half a notch waits for the other half
                                         {1, 8, -60, 24},
                                         {1, 8, -180, 24},  // one notch, and half of one kept
                                         {1, 8, -60, 24}}) {
    config.scrollOptions = c.mode, config.wheelLines = c.lines;
    dlg->Tree().Scroll(20 - dlg->Tree().GetTopRow(), Redraw::None);
    dlg->OnMouseWheel(c.delta, 0);
    EXPECT_EQ(dlg->Tree().GetTopRow(), c.top) << int(c.mode) << " " << int(c.lines) << " " << c.delta;
  }
}

TEST_F(MainDlgTest, KeysInTheLargeForm) {
  Start();
  struct Case {
    int key;
    unsigned modifiers;
    const char* state;
    int rows;
  };
  for (const Case& c : std::vector<Case>{{Dlg::kKeyDown, 0, "g01 [g01 ] 0", 60},
                                         {Dlg::kKeyDown, Dlg::kShift, "g02 [g01 g02 ] 0", 60},
                                         {Dlg::kKeyUp, 0, "g01 [g01 ] 0", 60},
                                         {Dlg::kKeySpace, Dlg::kCtrl, "g01 [] 0", 60},
                                         {Dlg::kKeySpace, 0, "g01 [g01 ] 0", 60},
                                         {Dlg::kKeyRight, 0, "g01 [g01 ] 0", 63},
                                         {Dlg::kKeyLeft, 0, "g01 [g01 ] 0", 60},
                                         {Dlg::kKeyEnd, 0, "g59 [g59 ] 29", 60},
                                         {Dlg::kKeyPageUp, 0, "g29 [g29 ] 29", 60},
                                         {Dlg::kKeyPageDown, 0, "g59 [g59 ] 29", 60},
                                         {Dlg::kKeyHome, 0, "g00 [g00 ] 0", 60}}) {
    EXPECT_TRUE(dlg->OnKeyDown(c.key, c.modifiers));
    EXPECT_EQ(State() + " " + std::to_string(dlg->Tree().CountRows()), c.state + (" " + std::to_string(c.rows)))
        << c.key;
  }
  EXPECT_FALSE(dlg->OnKeyDown('A', 0));
  EXPECT_TRUE(dlg->OnKeyDown(Dlg::kKeyEnter, 0));
  EXPECT_EQ(host.shell.calls, (std::vector<std::pair<std::string, ShellAction>>{{"Jukebar.m3u", ShellAction::Play}}));
  EXPECT_EQ(ReadBytes(dir / "Jukebar.m3u"), Bytes("00/0\r\n00/1\r\n00/2\r\n"));
}

TEST_F(MainDlgTest, RightClickMenus) {
  Start();
  host.cursorX = 700, host.cursorY = 400;
  Click(TextPoint(1));
  host.menuAnswers = {kCmdAddSelection};
  dlg->OnRButtonDown(TextPoint(3).first, TextPoint(3).second, 0);
  // An unselected row becomes the selection, and the menu hands it off.
  EXPECT_EQ(host.shell.calls,
            (std::vector<std::pair<std::string, ShellAction>>{{"Jukebar.m3u", ShellAction::Enqueue}}));
  EXPECT_EQ(ReadBytes(dir / "Jukebar.m3u"), Bytes("03/0\r\n03/1\r\n03/2\r\n"));
  dlg->OnRButtonDown(11, 24, 0);   // the indentation: empty space
  dlg->OnRButtonDown(100, 5, 0);  // outside the tree: a beep only
  EXPECT_EQ(host.menus, (std::vector<FakeHost::MenuCall>{
                            {MenuPopup::Tree, 700, 400, true, {}},
                            {MenuPopup::Tree, 700, 400, true, {kCmdPlaySelection, kCmdAddSelection}}}));
  EXPECT_EQ(host.prompt.beeps, 1);
}

}  // namespace
}  // namespace jb::test
