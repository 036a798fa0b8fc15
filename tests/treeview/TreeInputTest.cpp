// The page of the tree and what mouse and keys do to it.
#include <gtest/gtest.h>

#include <cstdio>

#include "TestSupport.h"
#include "TreeTestSupport.h"
#include "config/CConfig.h"
#include "treeview/TreeScrollBar.h"
#include "treeview/TreeView.h"

namespace jb::test {
namespace {

// Twenty artists g00..g19, each with three files t0..t2, all collapsed; a
// page of five rows.
class TreeInput : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int g = 0; g < 20; ++g)
      for (int t = 0; t < 3; ++t) {
        char name[8], path[24];
        std::snprintf(name, sizeof name, "g%02d", g);
        std::snprintf(path, sizeof path, "/m/%02d/%d.mp3", g, t);
        catalogue.Add(MakeEntry({{Artist, name}, {jb::File, "t" + std::to_string(t)}}, {path}));
      }
    tree.SetScrollBar(&bar);
    tree.SetWindow(&window);
    tree.Rebuild(catalogue, NodeIcons());
    tree.SetArea(11, 20, 245, 5 * 9 + 4);
    window.refreshes = 0;
  }
  DisplayNode* Group(int g) { return tree.NodeAt(2 + 4L * g); }
  DisplayNode* File(int g, int t) { return tree.NodeAt(3 + 4L * g + t); }
  std::string Selection() {
    std::string out;
    for (DisplayNode* n = tree.GetFirstChild(); n; n = DisplayNode::PreOrderNext(n, &tree))
      if (!n->HasChildren() && n->IsSelected()) out += n->GetPath().substr(3) + " ";
    return out;
  }

  CCatalogue catalogue;
  TreeView tree;
  TreeScrollBar bar;
  RecordingWindow window;
};

TEST_F(TreeInput, PageGeometryAndClamp) {
  EXPECT_EQ(tree.GetRowsPerPage(), 5);
  EXPECT_EQ(bar.GetRange(), 15);
  tree.Scroll(100, true, false);
  EXPECT_EQ(tree.GetTopRow(), 15);
  EXPECT_EQ(bar.GetPosition(), 15);
  EXPECT_EQ(window.refreshes, 1);
  tree.Scroll(-3, false, false);
  EXPECT_EQ(tree.GetTopRow(), 12);
  EXPECT_EQ(window.refreshes, 1);
  tree.Scroll(0, true, true);  // moves nothing, repaints
  EXPECT_EQ(tree.GetTopRow(), 12);
  EXPECT_EQ(window.refreshes, 2);
  tree.Scroll(-100, false, false);
  EXPECT_EQ(tree.GetTopRow(), 0);
  // A page taller than the tree: range 0, top row 0.
  tree.SetArea(11, 20, 245, 300);
  EXPECT_EQ(bar.GetRange(), 0);
  tree.Scroll(5, false, false);
  EXPECT_EQ(tree.GetTopRow(), 0);
  // Less than one row high: no rows per page; a negative height counts as 0.
  tree.SetArea(11, 20, 245, -7);
  EXPECT_EQ(tree.GetAreaHeight(), 0);
  EXPECT_EQ(tree.GetRowsPerPage(), 0);
  EXPECT_EQ(tree.GetPageRowCount(), 0);
}

TEST_F(TreeInput, SmoothScrollingRepaintsEachRow) {
  RecordingPrompt prompt;
  CConfig config(prompt);
  tree.SetConfig(&config);
  tree.Scroll(8, true, true);  // the option is off
  EXPECT_EQ(tree.GetTopRow(), 8);
  EXPECT_EQ(window.refreshes, 1);
  config.scrollOptions |= 0x80;
  tree.Scroll(-8, true, true);
  EXPECT_EQ(tree.GetTopRow(), 0);
  EXPECT_EQ(window.refreshes, 1 + 8);
  tree.Scroll(8, false, true);  // no repaint asked: one jump
  EXPECT_EQ(tree.GetTopRow(), 8);
  EXPECT_EQ(window.refreshes, 9);
  tree.Scroll(-3, true, false);
  EXPECT_EQ(window.refreshes, 10);
  // Page Down moves the focus by a page, smoothly.
  tree.Scroll(-100, false, false);
  tree.OnKey(TreeKey::PageDown, false, false);  // focus g00 -> g04, on the page
  EXPECT_EQ(window.refreshes, 10 + 2);
  tree.OnKey(TreeKey::PageDown, false, false);  // g08: four rows down, row by row
  EXPECT_EQ(tree.GetTopRow(), 4);
  EXPECT_EQ(window.refreshes, 12 + 1 + 4);
}

TEST_F(TreeInput, EnsureVisibleScrollsTheLeast) {
  tree.EnsureVisible(Group(12), true, false);
  EXPECT_EQ(tree.GetTopRow(), 8);  // row 12 at the bottom of the page
  tree.EnsureVisible(Group(10), true, false);
  EXPECT_EQ(tree.GetTopRow(), 8);
  tree.EnsureVisible(Group(3), false, false);
  EXPECT_EQ(tree.GetTopRow(), 3);  // at the top
  EXPECT_EQ(window.refreshes, 2);
  tree.EnsureVisible(nullptr, false, false);
  EXPECT_EQ(tree.GetTopRow(), 0);
}

TEST_F(TreeInput, PageRowsCarryTheirDepth) {
  Group(1)->SetExpanded(true);
  tree.Scroll(1, false, false);
  std::string rows;
  tree.ForEachPageRow([&](const DisplayNode& n, int depth) { rows += n.GetName() + ":" + std::to_string(depth) + " "; });
  EXPECT_EQ(rows, "g01:1 t0:2 t1:2 t2:2 g02:1 ");
}

TEST_F(TreeInput, PageDownStopsAtTheLastRow) {
  tree.MoveFocus(tree.FindFocus(), Group(18), false, false, false);
  tree.OnKey(TreeKey::PageDown, false, false);
  EXPECT_EQ(tree.FindFocus(), Group(19));
  EXPECT_EQ(tree.GetTopRow(), 15);
  tree.OnKey(TreeKey::PageDown, false, false);
  EXPECT_EQ(tree.FindFocus(), Group(19));
  EXPECT_EQ(tree.GetTopRow(), 15);
  tree.OnKey(TreeKey::PageUp, false, false);
  EXPECT_EQ(tree.FindFocus(), Group(15));  // four rows up
  EXPECT_EQ(Group(15)->GetSelection(), Selected);
  EXPECT_EQ(Group(19)->GetSelection(), Unselected);
  tree.OnKey(TreeKey::Home, false, false);
  EXPECT_EQ(tree.FindFocus(), Group(0));
  EXPECT_EQ(tree.GetTopRow(), 0);
  tree.OnKey(TreeKey::End, false, true);  // Shift: a range
  EXPECT_EQ(tree.FindFocus(), Group(19));
  EXPECT_EQ(tree.GetSelection(), Selected);
}

TEST_F(TreeInput, ShiftClickSelectsFilesOfCollapsedGroupsBetween) {
  tree.ClickRowText(File(0, 0), false, false);  // not on a page row; any node will do
  tree.ClickRowText(Group(1), true, false);     // Ctrl: add the group
  EXPECT_EQ(Selection(), "00/0.mp3 01/0.mp3 01/1.mp3 01/2.mp3 ");
  tree.ClickRowText(Group(5), true, false);
  tree.ClickRowText(Group(3), false, true);  // Shift from g05 up to g03
  EXPECT_EQ(tree.FindFocus(), Group(3));
  // The range runs from g03 down to g05's whole subtree; g04 in between is
  // collapsed.
  EXPECT_EQ(Selection(),
            "00/0.mp3 01/0.mp3 01/1.mp3 01/2.mp3 03/0.mp3 03/1.mp3 03/2.mp3 04/0.mp3 04/1.mp3 04/2.mp3 "
            "05/0.mp3 05/1.mp3 05/2.mp3 ");
  EXPECT_EQ(Group(2)->GetSelection(), Unselected);
  EXPECT_EQ(window.refreshes, 4);
}

TEST_F(TreeInput, CtrlClickTogglesAndPlainClickReplaces) {
  Group(0)->SetExpanded(true);
  tree.ClickRowText(File(0, 0), false, false);
  tree.ClickRowText(File(0, 2), true, false);
  EXPECT_EQ(Group(0)->GetSelection(), PartlySelected);
  EXPECT_EQ(tree.FindFocus(), File(0, 2));
  tree.ClickRowText(File(0, 0), true, false);  // selected: deselects it alone
  EXPECT_EQ(Selection(), "00/2.mp3 ");
  tree.ClickRowText(Group(0), true, false);  // partly selected: all of it
  EXPECT_EQ(Group(0)->GetSelection(), Selected);
  tree.ClickRowText(Group(0), true, false);
  EXPECT_EQ(Group(0)->GetSelection(), Unselected);
  tree.ClickRowText(File(0, 1), true, false);
  tree.ClickRowText(Group(7), false, false);
  EXPECT_EQ(Selection(), "07/0.mp3 07/1.mp3 07/2.mp3 ");
  EXPECT_EQ(tree.FindFocus(), Group(7));
  tree.ClickEmptyArea(true, false);
  EXPECT_EQ(tree.GetSelection(), PartlySelected);
  tree.ClickEmptyArea(false, false);
  EXPECT_EQ(tree.GetSelection(), Unselected);
}

TEST_F(TreeInput, RightButtonSelectsAnUnselectedRowOnly) {
  tree.ClickRowText(Group(1), false, false);
  tree.ClickRowText(Group(2), true, false);
  tree.SelectForMenu(Group(2));  // selected: the selection stays
  EXPECT_TRUE(Group(1)->IsSelected());
  EXPECT_EQ(tree.FindFocus(), Group(2));
  tree.SelectForMenu(Group(4));
  EXPECT_EQ(Selection(), "04/0.mp3 04/1.mp3 04/2.mp3 ");
  EXPECT_EQ(tree.FindFocus(), Group(4));
}

TEST_F(TreeInput, ArrowKeys) {
  tree.OnKey(TreeKey::Down, false, false);
  EXPECT_EQ(tree.FindFocus(), Group(1));
  EXPECT_EQ(Group(1)->GetSelection(), Selected);
  EXPECT_EQ(Group(0)->GetSelection(), Unselected);
  tree.OnKey(TreeKey::Down, false, true);  // Shift keeps and extends
  EXPECT_TRUE(Group(1)->IsSelected());
  EXPECT_TRUE(Group(2)->IsSelected());
  tree.OnKey(TreeKey::Down, true, false);  // Ctrl moves the mark alone
  EXPECT_EQ(tree.FindFocus(), Group(3));
  EXPECT_FALSE(Group(3)->IsSelected());
  EXPECT_TRUE(Group(2)->IsSelected());
  tree.OnKey(TreeKey::Space, true, false);
  EXPECT_TRUE(Group(3)->IsSelected());
  tree.OnKey(TreeKey::Space, true, false);
  EXPECT_FALSE(Group(3)->IsSelected());
  tree.OnKey(TreeKey::Space, false, false);
  EXPECT_TRUE(Group(3)->IsSelected());
  tree.OnKey(TreeKey::Up, false, false);
  EXPECT_EQ(tree.FindFocus(), Group(2));
  EXPECT_EQ(tree.GetSelection(), PartlySelected);
  EXPECT_FALSE(Group(1)->IsSelected());
  tree.OnKey(TreeKey::Home, false, false);
  tree.OnKey(TreeKey::Up, false, false);  // at the top it stays
  EXPECT_EQ(tree.FindFocus(), Group(0));
  EXPECT_TRUE(Group(0)->IsSelected());
  // Scrolled away, the moved focus comes back onto the page.
  tree.Scroll(10, false, false);
  tree.OnKey(TreeKey::Down, false, false);
  EXPECT_EQ(tree.GetTopRow(), 1);
}

TEST_F(TreeInput, RightAndLeftKeys) {
  tree.MoveFocus(tree.FindFocus(), Group(19), false, false, false);
  EXPECT_EQ(tree.GetTopRow(), 15);
  tree.OnKey(TreeKey::Right, false, false);
  EXPECT_TRUE(Group(19)->IsExpanded());
  // The last child comes onto the page and the node stays on it.
  EXPECT_EQ(tree.GetTopRow(), 18);
  tree.OnKey(TreeKey::Right, false, false);
  EXPECT_EQ(tree.FindFocus(), File(19, 0));
  EXPECT_EQ(Selection(), "19/0.mp3 ");
  tree.OnKey(TreeKey::Right, false, false);  // a file: nothing
  EXPECT_EQ(tree.FindFocus(), File(19, 0));
  tree.OnKey(TreeKey::Down, false, false);
  tree.OnKey(TreeKey::Left, false, false);  // to the parent row
  EXPECT_EQ(tree.FindFocus(), Group(19));
  EXPECT_EQ(Group(19)->GetSelection(), Selected);
  tree.OnKey(TreeKey::Left, false, false);  // collapses; the page follows
  EXPECT_FALSE(Group(19)->IsExpanded());
  EXPECT_EQ(tree.GetTopRow(), 15);
  EXPECT_EQ(bar.GetRange(), 15);
  tree.OnKey(TreeKey::Left, false, false);  // top level: no parent row
  EXPECT_EQ(tree.FindFocus(), Group(19));
}

TEST_F(TreeInput, RowToggle) {
  tree.ToggleRow(Group(2));
  EXPECT_TRUE(Group(2)->IsExpanded());
  EXPECT_EQ(tree.GetTopRow(), 1);  // rows 2..5 shown: the group and its children
  tree.ClickRowText(File(2, 1), false, false);
  tree.ToggleRow(Group(2));
  EXPECT_FALSE(Group(2)->IsExpanded());
  EXPECT_EQ(tree.FindFocus(), Group(2));  // the mark leaves the hidden file
  EXPECT_TRUE(Group(2)->IsSelected());
  // Expanding a group on the last page shows as many children as fit.
  tree.SetArea(11, 20, 245, 3 * 9);
  tree.ToggleRow(Group(19));
  EXPECT_EQ(tree.GetTopRow(), 19);  // g19 t0 t1: t2 does not fit with it
}

TEST_F(TreeInput, HitZones) {
  Group(0)->SetExpanded(true);
  tree.HitTest(0, 0);
  EXPECT_EQ(tree.HitTest(10, 25), TreeView::kZoneNone);  // left of the area
  EXPECT_EQ(tree.HitTest(11 + 5, 20 + 2), TreeView::kZoneRowToggle);
  EXPECT_EQ(tree.HitNode(), Group(0));
  EXPECT_EQ(tree.HitTest(11 + 10, 20 + 2), TreeView::kZoneRowText);
  EXPECT_EQ(tree.HitTest(11 + 5, 20 + 9 + 2), TreeView::kZoneEmpty);  // indentation of t0
  EXPECT_EQ(tree.HitTest(11 + 14, 20 + 9 + 2), TreeView::kZoneEmpty);  // icon cell of a file
  EXPECT_EQ(tree.HitTest(11 + 19, 20 + 9 + 2), TreeView::kZoneRowText);
  EXPECT_EQ(tree.HitNode(), File(0, 0));
  tree.SetArea(11, 20, 245, 30 * 9);  // taller than the 23 rows
  EXPECT_EQ(tree.HitTest(11 + 30, 20 + 9 * 22), TreeView::kZoneRowText);
  EXPECT_EQ(tree.HitTest(11 + 30, 20 + 9 * 23), TreeView::kZoneEmpty);  // below the last row
  EXPECT_EQ(tree.HitNode(), nullptr);
}

TEST_F(TreeInput, KeysNeedAFocusNode) {
  tree.SetFocusMark(false);
  tree.OnKey(TreeKey::Down, false, false);
  tree.OnKey(TreeKey::Space, false, false);
  EXPECT_EQ(tree.FindFocus(), nullptr);
  EXPECT_EQ(tree.GetSelection(), Unselected);
  EXPECT_EQ(window.refreshes, 0);
  // A Shift click without a focus node takes the clicked row alone.
  tree.ClickRowText(Group(2), false, true);
  EXPECT_EQ(Selection(), "02/0.mp3 02/1.mp3 02/2.mp3 ");
}

}  // namespace
}  // namespace jb::test
