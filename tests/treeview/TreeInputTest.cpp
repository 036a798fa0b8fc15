// The page of the tree and what mouse and keys do to it.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "TreeTestSupport.h"
#include "config/CConfig.h"
#include "platform/MessageTarget.h"
#include "treeview/TreeScrollBar.h"
#include "treeview/TreeView.h"

namespace jb::test {
namespace {

// Twenty artists g00..g19 with files t0..t2, all collapsed; a page of five rows.
class TreeInput : public ::testing::Test, public IMessageTarget {
 protected:
  void SetUp() override {
    for (int g = 0; g < 20; ++g)
      for (int t = 0; t < 3; ++t) {
        std::string dir = (g < 10 ? "0" : "") + std::to_string(g);
        catalogue.Add(E("ag" + dir + "|tt" + std::to_string(t), dir + "/" + std::to_string(t)));
      }
    tree.SetScrollBar(&bar);
    tree.SetWindow(this);
    tree.Rebuild(catalogue, NodeIcons());
    tree.SetArea(11, 20, 245, 5 * 9 + 4);
    refreshes = 0;
  }
  void Post(unsigned, std::uintptr_t, std::intptr_t) override {}
  void Send(unsigned message, std::uintptr_t, std::intptr_t) override { refreshes += message == WM_TREE_REFRESH; }

  DisplayNode* Group(int g) { return tree.NodeAt(2 + 4L * g); }
  DisplayNode* File(int g, int t) { return tree.NodeAt(3 + 4L * g + t); }
  // The paths of the selected files.
  std::string Selection() {
    std::string out;
    for (DisplayNode* n = tree.GetFirstChild(); n; n = DisplayNode::PreOrderNext(n, &tree))
      if (!n->HasChildren() && n->IsSelected()) out += n->GetPath() + " ";
    return out;
  }
  void Key(TreeKey key, bool ctrl, bool shift, DisplayNode* focus, const std::string& selection, int top = -1) {
    tree.OnKey(key, ctrl, shift);
    EXPECT_EQ(tree.FindFocus(), focus);
    EXPECT_EQ(Selection(), selection);
    EXPECT_EQ(tree.GetTopRow(), top < 0 ? tree.GetTopRow() : top);
  }

  CCatalogue catalogue;
  TreeView tree;
  TreeScrollBar bar;
  int refreshes = 0;
};

TEST_F(TreeInput, PageGeometryScrollingAndEnsureVisible) {
  EXPECT_EQ(bar.GetRange(), 15);
  tree.Scroll(100, true, false);
  EXPECT_EQ(tree.GetTopRow(), 15);
  EXPECT_EQ(bar.GetPosition(), 15);
  tree.Scroll(-3, false, false);
  tree.Scroll(0, true, true);  // moves nothing, repaints
  EXPECT_EQ(tree.GetTopRow(), 12);
  EXPECT_EQ(refreshes, 2);
  tree.EnsureVisible(Group(3), false, false);
  EXPECT_EQ(tree.GetTopRow(), 3);  // at the top
  tree.EnsureVisible(Group(12), false, false);
  EXPECT_EQ(tree.GetTopRow(), 8);  // at the bottom
  tree.EnsureVisible(Group(10), false, false);
  EXPECT_EQ(tree.GetTopRow(), 8);
  Group(9)->SetExpanded(true);
  std::string rows;
  tree.ForEachPageRow([&](const DisplayNode& n, int depth) { rows += n.GetName() + std::to_string(depth) + " "; });
  EXPECT_EQ(rows, "g081 g091 t02 t12 t22 ");
  // A page taller than the tree; then less than one row (negative counts as 0).
  tree.SetArea(11, 20, 245, 300);
  EXPECT_EQ(bar.GetRange(), 0);
  EXPECT_EQ(tree.GetTopRow(), 0);
  tree.SetArea(11, 20, 245, -7);
  EXPECT_EQ(tree.GetAreaHeight(), 0);
  EXPECT_EQ(tree.GetPageRowCount(), 0);
}

TEST_F(TreeInput, SmoothScrollingRepaintsEachRow) {
  RecordingPrompt prompt;
  CConfig config(prompt);
  tree.SetConfig(&config);
  tree.Scroll(8, true, true);  // the option is off: one repaint
  config.scrollOptions |= 0x80;
  tree.Scroll(-8, true, true);
  EXPECT_EQ(refreshes, 1 + 8);
  tree.Scroll(8, false, true);  // no repaint asked: one jump
  EXPECT_EQ(refreshes, 9);
  tree.Scroll(-100, false, false);
  tree.OnKey(TreeKey::PageDown, false, false);  // g00 -> g04, on the page
  tree.OnKey(TreeKey::PageDown, false, false);  // g08: four rows down, row by row
  EXPECT_EQ(tree.GetTopRow(), 4);
  EXPECT_EQ(refreshes, 9 + 2 + 1 + 4);
}

TEST_F(TreeInput, Keys) {
  Key(TreeKey::Down, false, false, Group(1), "01/0 01/1 01/2 ");
  Key(TreeKey::Down, false, true, Group(2), "01/0 01/1 01/2 02/0 02/1 02/2 ");  // Shift extends
  Key(TreeKey::Down, true, false, Group(3), "01/0 01/1 01/2 02/0 02/1 02/2 ");  // Ctrl moves the mark
  Key(TreeKey::Space, true, false, Group(3), "01/0 01/1 01/2 02/0 02/1 02/2 03/0 03/1 03/2 ");
  Key(TreeKey::Space, true, false, Group(3), "01/0 01/1 01/2 02/0 02/1 02/2 ");
  Key(TreeKey::Up, false, false, Group(2), "02/0 02/1 02/2 ");
  Key(TreeKey::Home, false, false, Group(0), "00/0 00/1 00/2 ", 0);
  Key(TreeKey::Up, false, false, Group(0), "00/0 00/1 00/2 ", 0);  // at the top it stays
  tree.Scroll(10, false, false);
  Key(TreeKey::Down, false, false, Group(1), "01/0 01/1 01/2 ", 1);  // back onto the page
  tree.MoveFocus(tree.FindFocus(), Group(18), false, false, false);
  Key(TreeKey::PageDown, false, false, Group(19), "19/0 19/1 19/2 ", 15);
  Key(TreeKey::PageDown, false, false, Group(19), "19/0 19/1 19/2 ", 15);  // stops at the last row
  Key(TreeKey::PageUp, false, false, Group(15), "15/0 15/1 15/2 ", 15);
  Key(TreeKey::End, false, true, Group(19), "15/0 15/1 15/2 16/0 16/1 16/2 17/0 17/1 17/2 18/0 18/1 18/2 19/0 19/1 19/2 ");
  tree.MoveFocus(tree.FindFocus(), Group(19), false, false, false);
  Key(TreeKey::Right, false, false, Group(19), "19/0 19/1 19/2 ", 18);  // expands; the last child comes on the page
  EXPECT_TRUE(Group(19)->IsExpanded());
  Key(TreeKey::Right, false, false, File(19, 0), "19/0 ");
  Key(TreeKey::Right, false, false, File(19, 0), "19/0 ");  // a file: nothing
  Key(TreeKey::Down, false, false, File(19, 1), "19/1 ");
  Key(TreeKey::Left, false, false, Group(19), "19/0 19/1 19/2 ");  // to the parent row
  Key(TreeKey::Left, false, false, Group(19), "19/0 19/1 19/2 ", 15);  // collapses; the page follows
  EXPECT_FALSE(Group(19)->IsExpanded());
  EXPECT_EQ(bar.GetRange(), 15);
  Key(TreeKey::Left, false, false, Group(19), "19/0 19/1 19/2 ");  // top level: no parent row
  // Without a focus node keys do nothing.
  tree.SetFocusMark(false);
  refreshes = 0;
  Key(TreeKey::Down, false, false, nullptr, "19/0 19/1 19/2 ");
  Key(TreeKey::Space, false, false, nullptr, "19/0 19/1 19/2 ");
  EXPECT_EQ(refreshes, 0);
}

TEST_F(TreeInput, ShiftClickSelectsFilesOfCollapsedGroupsBetween) {
  tree.ClickRowText(File(0, 0), false, false);
  tree.ClickRowText(Group(1), true, false);  // Ctrl: add the group
  tree.ClickRowText(Group(5), true, false);
  tree.ClickRowText(Group(3), false, true);  // Shift from g05 up to g03, g04 collapsed between
  EXPECT_EQ(tree.FindFocus(), Group(3));
  EXPECT_EQ(Selection(), "00/0 01/0 01/1 01/2 03/0 03/1 03/2 04/0 04/1 04/2 05/0 05/1 05/2 ");
  EXPECT_EQ(refreshes, 4);
  // Without a focus node, Shift takes the clicked row alone.
  tree.SetFocusMark(false);
  tree.SetSelection(Unselected);
  tree.ClickRowText(Group(2), false, true);
  EXPECT_EQ(Selection(), "02/0 02/1 02/2 ");
}

TEST_F(TreeInput, CtrlClickTogglesPlainClickReplacesRightButtonKeepsASelectedRow) {
  Group(0)->SetExpanded(true);
  tree.ClickRowText(File(0, 0), false, false);
  tree.ClickRowText(File(0, 2), true, false);
  tree.ClickRowText(File(0, 0), true, false);  // selected: deselects it alone
  EXPECT_EQ(Selection(), "00/2 ");
  EXPECT_EQ(tree.FindFocus(), File(0, 0));
  tree.ClickRowText(Group(0), true, false);  // partly selected: all of it
  EXPECT_EQ(Group(0)->GetSelection(), Selected);
  tree.ClickRowText(Group(0), true, false);
  EXPECT_EQ(Group(0)->GetSelection(), Unselected);
  tree.ClickRowText(File(0, 1), true, false);
  tree.SelectForMenu(File(0, 1));  // selected: the selection stays
  tree.ClickRowText(Group(7), true, false);
  EXPECT_EQ(Selection(), "00/1 07/0 07/1 07/2 ");
  tree.SelectForMenu(Group(4));
  EXPECT_EQ(Selection(), "04/0 04/1 04/2 ");
  EXPECT_EQ(tree.FindFocus(), Group(4));
  tree.ClickRowText(Group(7), false, false);
  EXPECT_EQ(Selection(), "07/0 07/1 07/2 ");
  tree.ClickEmptyArea(true, false);
  EXPECT_EQ(Selection(), "07/0 07/1 07/2 ");
  tree.ClickEmptyArea(false, false);
  EXPECT_EQ(Selection(), "");
}

TEST_F(TreeInput, RowToggleAndHitZones) {
  tree.ClickRowText(File(2, 1), false, false);
  tree.ToggleRow(Group(2));
  EXPECT_EQ(tree.GetTopRow(), 1);  // the group and its children shown
  tree.ToggleRow(Group(2));
  EXPECT_EQ(tree.FindFocus(), Group(2));  // the mark leaves the hidden file
  tree.Scroll(-1, false, false);
  Group(0)->SetExpanded(true);
  EXPECT_EQ(tree.HitTest(10, 25), TreeView::kZoneNone);  // left of the area
  EXPECT_EQ(tree.HitTest(11 + 5, 20 + 2), TreeView::kZoneRowToggle);
  EXPECT_EQ(tree.HitNode(), Group(0));
  EXPECT_EQ(tree.HitTest(11 + 10, 20 + 2), TreeView::kZoneRowText);
  EXPECT_EQ(tree.HitTest(11 + 14, 20 + 9 + 2), TreeView::kZoneEmpty);  // icon cell of a file
  EXPECT_EQ(tree.HitTest(11 + 19, 20 + 9 + 2), TreeView::kZoneRowText);
  EXPECT_EQ(tree.HitNode(), File(0, 0));
  tree.SetArea(11, 20, 245, 30 * 9);  // taller than the 23 rows
  EXPECT_EQ(tree.HitTest(11 + 30, 20 + 9 * 22), TreeView::kZoneRowText);
  EXPECT_EQ(tree.HitTest(11 + 30, 20 + 9 * 23), TreeView::kZoneEmpty);
  // Expanding a group on the last page shows as many children as fit.
  tree.SetArea(11, 20, 245, 3 * 9);
  tree.ToggleRow(Group(19));
  EXPECT_EQ(tree.GetTopRow(), 22);  // g19 t0 t1; t2 does not fit
}

}  // namespace
}  // namespace jb::test
