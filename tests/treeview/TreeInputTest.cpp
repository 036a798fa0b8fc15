// The page of the tree and what mouse and keys do to it.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "TreeTestSupport.h"
#include "treeview/TreeMessages.h"
#include "treeview/TreeScrollBar.h"
#include "treeview/TreeView.h"

namespace jb::test {
namespace {

// Twenty artists g00..g19 with files 0..2, all collapsed; a page of five rows.
class TreeInput : public ::testing::Test, public IMessageTarget {
 protected:
  void SetUp() override {
    for (int g = 0; g < 20; ++g)
      for (std::string t : {"0", "1", "2"}) {
        std::string dir = (g < 10 ? "0" : "") + std::to_string(g);
        catalogue.Add(E("ag" + dir + "|t" + t, dir + "/" + t));
      }
    tree.SetScrollBar(&bar);
    tree.SetWindow(this);
    tree.Rebuild(catalogue, NodeIcons());
    tree.SetArea(11, 20, 245, 5 * 9 + 4);
    refreshes = 0;
  }
  void Post(unsigned, std::uintptr_t, std::intptr_t) override {}
  void Send(unsigned message, std::uintptr_t, std::intptr_t) override { refreshes += message == WM_TREE_REFRESH; }

  static Modifiers Keys(bool ctrl, bool shift) {
    return (ctrl ? Modifiers::Ctrl : Modifiers::None) | (shift ? Modifiers::Shift : Modifiers::None);
  }
  DisplayNode* Group(int g) { return tree.NodeAt(2 + 4L * g); }
  DisplayNode* File(int g, int t) { return tree.NodeAt(3 + 4L * g + t); }
  std::string State() { return FocusSelectionAndTop(tree); }
  std::string Key(TreeKey key, bool ctrl = false, bool shift = false) {
    tree.OnKey(key, Keys(ctrl, shift));
    return State();
  }
  std::string Click(DisplayNode* row, bool ctrl = false, bool shift = false) {
    tree.ClickRowText(row, Keys(ctrl, shift));
    return State();
  }

  CCatalogue catalogue;
  TreeView tree;
  TreeScrollBar bar;
  int refreshes = 0;
};

TEST_F(TreeInput, ScrollingStaysInsideTheTreeAndThePage) {
  tree.Scroll(100, Redraw::Once);
  EXPECT_EQ(bar.GetPosition(), 15);  // the range
  tree.SetArea(11, 20, 245, 300);  // taller than the tree
  EXPECT_EQ(bar.GetRange() + tree.GetTopRow(), 0);
  tree.SetArea(11, 20, 245, -7);  // counts as 0
  EXPECT_EQ(tree.GetPageRowCount(), 0);
}

// The keys themselves are shown through the window; here the tree's edges.
TEST_F(TreeInput, KeysStopAtTheEdgesAndDoNothingWithoutAFocus) {
  EXPECT_EQ(Key(TreeKey::Up), "g00 [g00 ] 0");
  tree.MoveFocus(tree.FindFocus(), Group(18), Modifiers::None, Redraw::Once);
  EXPECT_EQ(Key(TreeKey::PageDown) + Key(TreeKey::PageDown), "g19 [g19 ] 15g19 [g19 ] 15");
  tree.SetFocusMark(false);
  refreshes = 0;
  EXPECT_EQ(Key(TreeKey::Down) + Key(TreeKey::Space), "- [g19 ] 15- [g19 ] 15");
  EXPECT_EQ(refreshes, 0);
}

// Plain, Shift and Ctrl clicks on groups are shown through the window.
TEST_F(TreeInput, CtrlClicksOnFilesAndPartlySelectedGroups) {
  Group(0)->SetExpanded(true);
  EXPECT_EQ(Click(File(0, 0)), "00/0 [00/0 ] 0");
  EXPECT_EQ(Click(File(0, 2), true), "00/2 [00/0 00/2 ] 0");
  EXPECT_EQ(Click(File(0, 0), true), "00/0 [00/2 ] 0");  // selected: deselects it alone
  EXPECT_EQ(Click(Group(0), true), "g00 [g00 ] 0");      // partly selected: all of it
  tree.SetFocusMark(false);  // Shift without a focus node takes the row alone
  EXPECT_EQ(Click(Group(2), false, true), "g02 [g00 g02 ] 0");
}

TEST_F(TreeInput, CollapsingMovesTheFocusOffAHiddenFile) {
  Click(File(2, 1));
  tree.ToggleRow(Group(2));
  EXPECT_EQ(tree.GetTopRow(), 1);  // the group and its children shown
  tree.ToggleRow(Group(2));
  EXPECT_EQ(State(), "g02 [02/1 ] 1");  // the mark leaves the hidden file
}

}  // namespace
}  // namespace jb::test
