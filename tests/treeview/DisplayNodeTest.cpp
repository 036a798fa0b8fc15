// The node model: flags, expansion, focus, selection, rows and walks.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "TreeTestSupport.h"
#include "treeview/TreeView.h"

namespace jb::test {
namespace {

// Rebuilt from a random catalogue of n tracks; all nodes in pre-order.
std::vector<DisplayNode*> RandomTree(TreeView& tree, std::mt19937& rng, int tracks, unsigned artists, unsigned albums) {
  CCatalogue catalogue;
  for (int i = 0; i < tracks; ++i)
    catalogue.Add(
        E("aar" + std::to_string(rng() % artists) + "|bal" + std::to_string(rng() % albums) + "|tt" + std::to_string(i),
          "/t" + std::to_string(i)));
  tree.Rebuild(catalogue, NodeIcons());
  std::vector<DisplayNode*> all;
  for (DisplayNode* n = &tree; n; n = DisplayNode::PreOrderNext(n, &tree)) all.push_back(n);
  return all;
}

// A kind beyond four bits must not spill into the focus, selection or
// expansion bits.
TEST(NodeFlags, AKindBeyondFourBitsSetsNoFocusSelectionOrExpansion) {
  TreeView tree;
  EXPECT_EQ(DisplayNode("y", NodeKind::File, &tree).GetFlags(), KindByte(NodeKind::File) | 0x20);
}

TEST(FocusMark, FirstInPreOrderFollowsMergesAndGoesWithDeletedNodes) {
  DisplayNode root;
  auto x1 = E("aX|bY|t1", "/1"), x2 = E("aX|bY|t2", "/2"), z = E("aZ|bW|t3", "/3");
  for (auto* e : {x1.get(), x2.get(), z.get()}) root.AddEntry(*e, 0, 0, 0, NodeIcons());
  DisplayNode *zNode = root.GetFirstChild(), *xNode = zNode->GetNext(), *y = xNode->GetFirstChild();
  DisplayNode* t1 = y->GetFirstChild()->GetNext();
  zNode->GetFirstChild()->GetFirstChild()->SetFocusMark(true);  // t3, at the end of a chain
  y->SetFocusMark(true);
  t1->SetFocusMark(true);
  root.MergeSingleChildChains();
  EXPECT_EQ(Shape(root), "Z > W > 3=/3,X > Y(2=/2,1=/1)");
  EXPECT_EQ(root.FindFocus(), zNode);
  zNode->SetFocusMark(false);
  EXPECT_EQ(std::tuple(root.FindFocus(), t1->FindFocus()), std::tuple(xNode, t1));
  t1->SetFocusMark(true);
  root.DeleteChildren();
  EXPECT_EQ(root.FindFocus(), nullptr);
}

// Long child lists (the row index takes over from the list walk at 32
// children) and a random mix of expanded and collapsed groups.
TEST(LargeTree, RowLookUpsAgreeWithTheWalks) {
  std::mt19937 rng(3);
  TreeView tree;
  std::vector<DisplayNode*> all = RandomTree(tree, rng, 3000, 60, 50);
  for (int round = 0; round < 25; ++round) {
    for (int k = 0; k < 200; ++k) all[1 + rng() % (all.size() - 1)]->SetExpanded(rng() % 3 != 0);
    std::vector<DisplayNode*> rows;
    for (DisplayNode* n = tree.GetFirstChild(); n; n = n->NextRow()) rows.push_back(n);
    ASSERT_EQ(tree.CountRows(), static_cast<int>(rows.size()));
    for (size_t i = 0; i < rows.size(); ++i) {
      ASSERT_EQ(tree.RowAt(static_cast<int>(i)), rows[i]) << "row " << i;
      ASSERT_EQ(rows[i]->PreviousRow(), i == 0 ? nullptr : rows[i - 1]);
    }
    EXPECT_EQ(tree.RowAt(static_cast<int>(rows.size())), nullptr);
    // Any node, hidden ones too: the index is the length of its previous-row walk.
    for (int k = 0; k < 50; ++k) {
      DisplayNode* n = all[1 + rng() % (all.size() - 1)];
      int steps = -1;
      for (DisplayNode* p = n; p; p = p->PreviousRow()) ++steps;
      ASSERT_EQ(n->RowIndex(), steps);
    }
  }
}

// Selection kept beside the tree by the rules as written: a write goes to the
// whole subtree, then each ancestor is the union of its children; a range
// selects the leaves from the upper node, then the lower node.
TEST(Selection, AgreesWithTheRulesAsWritten) {
  std::mt19937 rng(9);
  for (int round = 0; round < 30; ++round) {
    TreeView tree;
    std::vector<DisplayNode*> all = RandomTree(tree, rng, 120, 6, 5);
    std::map<const DisplayNode*, int> state;
    for (DisplayNode* n : all) state[n] = SelectionByte(n->GetSelection());
    auto set = [&](DisplayNode* node, int s) {
      for (DisplayNode* n = node; n; n = DisplayNode::PreOrderNext(n, node)) state[n] = s;
      for (DisplayNode* up = node->GetParent(); up; up = up->GetParent()) {
        state[up] = 0;
        for (DisplayNode* c = up->GetFirstChild(); c; c = c->GetNext()) state[up] |= state[c];
      }
    };
    for (int op = 0; op < 40; ++op) {
      size_t i = rng() % all.size(), j = 1 + rng() % (all.size() - 1);
      int s = SelectionByte(rng() % 3 == 0 ? SelectionState::Unselected : SelectionState::Selected);
      if (i == 0 || rng() % 2) {
        all[i]->SetSelection(static_cast<SelectionState>(s));
        set(all[i], s);
      } else {
        tree.SelectRange(all[i], all[j]);
        for (size_t p = std::min(i, j); p < std::max(i, j); ++p)
          if (!all[p]->HasChildren()) set(all[p], SelectionByte(SelectionState::Selected));
        set(all[std::max(i, j)], SelectionByte(SelectionState::Selected));
        ASSERT_EQ(tree.FindFocus(), all[j]);
      }
      for (DisplayNode* n : all)
        ASSERT_EQ(SelectionByte(n->GetSelection()), state[n]) << round << "/" << op << " " << Shown(n->GetName());
    }
  }
}

TEST(TreeShape, WideAndDeepTreesNeedNoDeepStack) {
  // 200,000 siblings, and one chain 100,000 levels deep.
  CCatalogue catalogue;
  for (int i = 0; i < 200000; ++i) catalogue.Add(E("tf" + std::to_string(i), "/f" + std::to_string(i)));
  auto deep = std::make_unique<CCatalogueEntry>();
  for (int i = 0; i < 100000; ++i)
    deep->m_aNames.push_back("n"), deep->m_aKinds.push_back(i % 2 ? NodeKind::Album : NodeKind::Artist);
  catalogue.Add(std::move(deep));
  auto tree = std::make_unique<TreeView>();
  tree->Rebuild(catalogue, NodeIcons());
  // The chain became one row: 100,000 names, 99,999 separators.
  EXPECT_EQ(std::tuple(tree->CountRows(), tree->GetFirstChild()->GetName().size()),
            std::tuple(200001, 100000u + 3 * 99999u));
  tree->SetSelection(SelectionState::Selected);
  tree.reset();  // and torn down
}

}  // namespace
}  // namespace jb::test
