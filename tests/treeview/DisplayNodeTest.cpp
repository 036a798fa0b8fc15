// The node model: flags, expansion, focus, selection, rows and walks.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "TreeTestSupport.h"
#include "config/CArchive.h"
#include "platform/File.h"
#include "treeview/TreeView.h"

namespace jb::test {
namespace {

// Two artists; "B" has an album with three tracks and a second album with
// two, "A" one album with two tracks. After the build (sorted):
//   A > Only           (Album: a1, a2)
//   B                  (Artist)
//     First            (Album: f1, f2, f3)
//     Second           (Album: s1, s2)
class NodeModel : public ::testing::Test {
 protected:
  void SetUp() override {
    catalogue.Add(Track("A", "Only", "a1", "/a/1.mp3"));
    catalogue.Add(Track("A", "Only", "a2", "/a/2.mp3"));
    for (const char* t : {"f1", "f2", "f3"}) catalogue.Add(Track("B", "First", t, std::string("/b/f/") + t));
    for (const char* t : {"s1", "s2"}) catalogue.Add(Track("B", "Second", t, std::string("/b/s/") + t));
    tree.Rebuild(catalogue, NodeIcons());
    a = tree.GetFirstChild();
    b = a->GetNext();
    first = b->GetFirstChild();
    second = first->GetNext();
  }
  DisplayNode* Child(DisplayNode* n, int i) {
    DisplayNode* c = n->GetFirstChild();
    while (i-- > 0) c = c->GetNext();
    return c;
  }
  // Names of the visible rows, by stepping from row 0.
  std::string Rows() {
    std::string out;
    for (DisplayNode* n = tree.RowAt(0); n; n = n->NextRow()) out += Shown(n->GetName()) + ",";
    return out;
  }

  CCatalogue catalogue;
  TreeView tree;
  DisplayNode *a, *b, *first, *second;
};

TEST_F(NodeModel, FlagsOfNewNodes) {
  DisplayNode root;
  EXPECT_EQ(root.GetFlags(), 0xA7);
  EXPECT_EQ(root.GetKind(), Root);
  DisplayNode child("x", Album, &root);
  EXPECT_EQ(child.GetFlags(), Album | 0x20);
  EXPECT_EQ(child.GetParent(), &root);
  EXPECT_FALSE(root.HasChildren());  // not linked
  // A kind beyond four bits cannot set focus, selection or expansion.
  DisplayNode odd("y", 0xF6, &root);
  EXPECT_EQ(odd.GetFlags(), File | 0x20);
}

TEST_F(NodeModel, StructureQueries) {
  ASSERT_EQ(Shown(a->GetName()), "A > Only");
  EXPECT_EQ(tree.Depth(), 0);
  EXPECT_EQ(a->Depth(), 1);
  EXPECT_EQ(Child(first, 2)->Depth(), 3);
  EXPECT_TRUE(Child(first, 2)->IsDescendantOf(&tree));
  EXPECT_TRUE(Child(first, 2)->IsDescendantOf(b));
  EXPECT_FALSE(b->IsDescendantOf(b));
  EXPECT_FALSE(a->IsDescendantOf(b));
  EXPECT_EQ(b->FindChild("SECOND", Album), second);
  EXPECT_EQ(b->FindChild("second", Artist), nullptr);
  EXPECT_EQ(tree.IndexOf(&tree), 1);
  EXPECT_EQ(tree.IndexOf(a), 2);
  EXPECT_EQ(tree.IndexOf(b), 5);
  EXPECT_EQ(tree.IndexOf(second), 10);
  EXPECT_EQ(b->IndexOf(second), 6);
  EXPECT_LT(b->IndexOf(a), 0);
  for (long i = 1; i <= 12; ++i) EXPECT_EQ(tree.IndexOf(tree.NodeAt(i)), i);
  EXPECT_EQ(tree.NodeAt(13), nullptr);
  EXPECT_EQ(tree.NodeAt(0), nullptr);
}

TEST_F(NodeModel, CollapsingCollapsesEverythingBelowAndLeavesTheFocus) {
  EXPECT_EQ(Rows(), "A > Only,B,");
  b->SetExpanded(true);
  first->SetExpanded(true);
  EXPECT_EQ(tree.CountRows(), 7);
  EXPECT_EQ(Rows(), "A > Only,B,First,f1,f2,f3,Second,");
  tree.SetFocusMark(false);
  Child(first, 1)->SetFocusMark(true);
  b->SetExpanded(false);
  EXPECT_FALSE(first->IsExpanded());
  EXPECT_EQ(tree.CountRows(), 2);
  EXPECT_EQ(tree.FindFocus(), Child(first, 1));
  b->SetExpanded(true);
  EXPECT_EQ(Rows(), "A > Only,B,First,Second,");
  EXPECT_EQ(b->CountRows(), 3);
  EXPECT_EQ(first->CountRows(), 1);
}

TEST_F(NodeModel, FocusMark) {
  EXPECT_EQ(tree.FindFocus(), a);  // row 0 after the build
  Child(second, 1)->SetFocusMark(true);
  EXPECT_EQ(tree.FindFocus(), a);  // the first in pre-order
  EXPECT_EQ(b->FindFocus(), Child(second, 1));
  b->SetFocusMark(false);
  EXPECT_EQ(b->FindFocus(), nullptr);
  EXPECT_EQ(tree.FindFocus(), a);
  tree.SetFocusMark(false);
  EXPECT_EQ(tree.FindFocus(), nullptr);
}

TEST(FocusMark, FollowsMergesAndGoesWithDeletedNodes) {
  DisplayNode root;
  auto x1 = Track("X", "Y", "t1", "/1"), x2 = Track("X", "Y", "t2", "/2"), z = Track("Z", "W", "t3", "/3");
  for (auto* e : {x1.get(), x2.get(), z.get()}) root.AddEntry(*e, 0, 0, 0, NodeIcons());
  DisplayNode* zNode = root.GetFirstChild();
  DisplayNode* xNode = zNode->GetNext();
  DisplayNode* y = xNode->GetFirstChild();
  DisplayNode* t1 = y->GetFirstChild()->GetNext();
  zNode->GetFirstChild()->GetFirstChild()->SetFocusMark(true);  // t3, at the end of a chain
  y->SetFocusMark(true);
  t1->SetFocusMark(true);
  xNode->SetFocusMark(true);  // X's own mark is replaced by Y's
  root.MergeSingleChildChains();
  EXPECT_EQ(ChildNames(root), "Z > W > t3|X > Y");
  EXPECT_TRUE(zNode->HasFocusMark());
  EXPECT_TRUE(xNode->HasFocusMark());
  EXPECT_TRUE(t1->HasFocusMark());
  EXPECT_EQ(root.FindFocus(), zNode);
  zNode->SetFocusMark(false);
  EXPECT_EQ(root.FindFocus(), xNode);
  xNode->GetFirstChild()->SetFocusMark(false);  // t2: t1 keeps its mark
  EXPECT_EQ(xNode->GetFirstChild()->FindFocus(), nullptr);
  EXPECT_EQ(t1->FindFocus(), t1);
  root.SetFocusMark(false);
  for (DisplayNode* n = &root; n; n = DisplayNode::PreOrderNext(n, &root)) EXPECT_FALSE(n->HasFocusMark());
  EXPECT_EQ(root.FindFocus(), nullptr);

  t1->SetFocusMark(true);
  root.DeleteChildren();
  EXPECT_EQ(root.FindFocus(), nullptr);
  root.AddEntry(*z, 0, 0, 0, NodeIcons());
  root.GetFirstChild()->SetFocusMark(true);
  EXPECT_EQ(root.FindFocus(), root.GetFirstChild());
}

TEST_F(NodeModel, GroupStateIsTheUnionOfItsChildren) {
  for (int i = 0; i < 3; ++i) Child(first, i)->SetSelection(Selected);
  EXPECT_EQ(first->GetSelection(), Selected);
  EXPECT_EQ(b->GetSelection(), PartlySelected);
  EXPECT_EQ(tree.GetSelection(), PartlySelected);
  EXPECT_TRUE(b->IsSelected());
  Child(first, 1)->SetSelection(Unselected);
  EXPECT_EQ(first->GetSelection(), PartlySelected);
  EXPECT_EQ(b->GetSelection(), PartlySelected);
  second->SetSelection(Selected);
  a->SetSelection(Selected);
  EXPECT_EQ(Child(second, 1)->GetSelection(), Selected);
  EXPECT_EQ(tree.GetSelection(), PartlySelected);
  Child(first, 1)->SetSelection(Selected);
  EXPECT_EQ(b->GetSelection(), Selected);
  EXPECT_EQ(tree.GetSelection(), Selected);
  tree.SetSelection(Unselected);
  for (DisplayNode* n = &tree; n; n = DisplayNode::PreOrderNext(n, &tree)) EXPECT_EQ(n->GetSelection(), Unselected);
}

TEST_F(NodeModel, RangeTakesFilesInsideCollapsedGroupsButNotTheUpperGroup) {
  b->SetExpanded(true);  // rows: A > Only, B, First, Second
  Child(a, 0)->SetSelection(Selected);
  tree.SetFocusMark(false);
  first->SetFocusMark(true);
  tree.SelectRange(first, second);
  EXPECT_EQ(tree.FindFocus(), second);
  EXPECT_EQ(Child(a, 0)->GetSelection(), Selected);  // nothing cleared
  EXPECT_EQ(first->GetSelection(), Selected);        // by its files
  EXPECT_EQ(second->GetSelection(), Selected);
  EXPECT_EQ(b->GetSelection(), Selected);
  EXPECT_EQ(tree.GetSelection(), PartlySelected);

  // Upwards from a file to its artist: the artist row is at the upper end,
  // so only the files between count; "Second" stays unselected.
  tree.SetSelection(Unselected);
  tree.SelectRange(Child(first, 1), b);
  EXPECT_EQ(tree.FindFocus(), b);
  EXPECT_EQ(Child(first, 0)->GetSelection(), Selected);
  EXPECT_EQ(Child(first, 1)->GetSelection(), Selected);
  EXPECT_EQ(Child(first, 2)->GetSelection(), Unselected);
  EXPECT_EQ(second->GetSelection(), Unselected);
  EXPECT_EQ(b->GetSelection(), PartlySelected);
}

TEST_F(NodeModel, RowWalksOnTheExampleTree) {
  b->SetExpanded(true);
  second->SetExpanded(true);
  EXPECT_EQ(Rows(), "A > Only,B,First,Second,s1,s2,");
  EXPECT_EQ(tree.RowAt(4), Child(second, 0));
  EXPECT_EQ(tree.RowAt(6), nullptr);
  EXPECT_EQ(tree.RowAt(-1), nullptr);
  EXPECT_EQ(a->PreviousRow(), nullptr);
  EXPECT_EQ(b->PreviousRow(), a);
  EXPECT_EQ(first->PreviousRow(), b);
  EXPECT_EQ(Child(second, 1)->NextRow(), nullptr);
  EXPECT_EQ(Child(second, 1)->RowIndex(), 5);
  // A node hidden in a collapsed group: its walk passes its parent's row.
  EXPECT_EQ(Child(first, 2)->RowIndex(), 5);
  EXPECT_EQ(Child(first, 2)->NextRow(), second);
}

TEST_F(NodeModel, WriteSelectedPathsWritesSelectedLeavesInPreOrder) {
  second->SetSelection(Selected);
  Child(first, 0)->SetSelection(Selected);
  CMemoryFile file;
  {
    CArchive ar(file, CArchive::store);
    tree.WriteSelectedPaths(ar);
  }
  std::string text(file.Bytes().begin(), file.Bytes().end());
  EXPECT_EQ(text, "/b/f/f1\r\n/b/s/s1\r\n/b/s/s2\r\n");
}

// A tree with long child lists (the row index takes over from the list walk
// at 32 children) and a random mixture of expanded and collapsed groups,
// hidden expanded ones included.
class LargeTree : public ::testing::Test {
 protected:
  void SetUp() override {
    std::mt19937 rng(11);
    for (int i = 0; i < 3000; ++i) {
      int artist = static_cast<int>(rng() % 60);
      int album = static_cast<int>(rng() % 50);
      std::string title = "t" + std::to_string(i);
      catalogue.Add(Track("ar" + std::to_string(artist), "al" + std::to_string(album), title, "/m/" + title));
    }
    tree.Rebuild(catalogue, NodeIcons());
    for (DisplayNode* n = &tree; n; n = DisplayNode::PreOrderNext(n, &tree)) all.push_back(n);
  }
  void Shuffle(std::mt19937& rng) {
    for (int k = 0; k < 200; ++k) {
      DisplayNode* n = all[1 + rng() % (all.size() - 1)];
      if (n->HasChildren()) n->SetExpanded(rng() % 3 != 0);
    }
  }
  // Visible rows by the plain walk.
  std::vector<DisplayNode*> Walk() {
    std::vector<DisplayNode*> rows;
    if (!tree.HasChildren()) return rows;
    for (DisplayNode* n = tree.GetFirstChild(); n; n = n->NextRow()) rows.push_back(n);
    return rows;
  }

  CCatalogue catalogue;
  TreeView tree;
  std::vector<DisplayNode*> all;
};

TEST_F(LargeTree, RowLookUpsAgreeWithTheWalks) {
  std::mt19937 rng(3);
  for (int round = 0; round < 25; ++round) {
    Shuffle(rng);
    std::vector<DisplayNode*> rows = Walk();
    ASSERT_EQ(tree.CountRows(), static_cast<int>(rows.size()));
    for (size_t i = 0; i < rows.size(); ++i) {
      ASSERT_EQ(tree.RowAt(static_cast<int>(i)), rows[i]) << "row " << i;
      ASSERT_EQ(rows[i]->RowIndex(), static_cast<int>(i));
      ASSERT_EQ(rows[i]->PreviousRow(), i == 0 ? nullptr : rows[i - 1]);
    }
    EXPECT_EQ(tree.RowAt(static_cast<int>(rows.size())), nullptr);
    // Hidden nodes: the index is the length of their previous-row walk.
    for (int k = 0; k < 50; ++k) {
      DisplayNode* n = all[1 + rng() % (all.size() - 1)];
      int steps = 0;
      for (DisplayNode* p = n->PreviousRow(); p; p = p->PreviousRow()) ++steps;
      ASSERT_EQ(n->RowIndex(), steps);
    }
  }
}

// The range selection as described: an index look-up for every position.
void DescribedSelectRange(DisplayNode& root, DisplayNode* from, DisplayNode* to) {
  root.SetFocusMark(false);
  to->SetFocusMark(true);
  long i = root.IndexOf(from), j = root.IndexOf(to);
  long lo = std::min(i, j), hi = std::max(i, j);
  for (long p = lo; p < hi; ++p) {
    DisplayNode* n = root.NodeAt(p);
    if (!n->HasChildren()) n->SetSelection(Selected);
  }
  root.NodeAt(hi)->SetSelection(Selected);
}

// Selection states kept beside a tree by the rules as written: every write
// goes to the whole subtree and every ancestor is recomputed from its
// children, one leaf at a time.
class LiteralSelection {
 public:
  explicit LiteralSelection(DisplayNode& root) {
    for (DisplayNode* n = &root; n; n = DisplayNode::PreOrderNext(n, &root)) {
      m_order.push_back(n);
      m_state[n] = n->GetSelection();
    }
  }
  void Set(DisplayNode* node, int state) {
    for (DisplayNode* n = node; n; n = DisplayNode::PreOrderNext(n, node)) m_state[n] = state;
    for (DisplayNode* a = node->GetParent(); a; a = a->GetParent()) {
      int bits = 0;
      for (DisplayNode* c = a->GetFirstChild(); c; c = c->GetNext()) bits |= m_state[c];
      m_state[a] = bits;
    }
  }
  void Range(DisplayNode* from, DisplayNode* to) {
    size_t i = Position(from), j = Position(to);
    for (size_t p = std::min(i, j); p < std::max(i, j); ++p)
      if (!m_order[p]->HasChildren()) Set(m_order[p], Selected);
    Set(m_order[std::max(i, j)], Selected);
  }
  // Empty when the tree agrees, else the first node that does not.
  std::string Mismatch() const {
    for (DisplayNode* n : m_order)
      if (n->GetSelection() != m_state.at(n)) return Shown(n->GetName());
    return "";
  }

 private:
  size_t Position(DisplayNode* n) const { return std::find(m_order.begin(), m_order.end(), n) - m_order.begin(); }
  std::vector<DisplayNode*> m_order;
  std::map<const DisplayNode*, int> m_state;
};

TEST(Selection, AgreesWithTheRulesAsWritten) {
  std::mt19937 rng(9);
  for (int round = 0; round < 30; ++round) {
    CCatalogue catalogue;
    for (int i = 0; i < 120; ++i) {
      std::string title = "t" + std::to_string(i);
      catalogue.Add(Track("ar" + std::to_string(rng() % 6), "al" + std::to_string(rng() % 5), title, "/" + title));
    }
    TreeView tree;
    tree.Rebuild(catalogue, NodeIcons());
    LiteralSelection literal(tree);
    std::vector<DisplayNode*> nodes;
    for (DisplayNode* n = &tree; n; n = DisplayNode::PreOrderNext(n, &tree)) nodes.push_back(n);
    for (int op = 0; op < 40; ++op) {
      DisplayNode* a = nodes[rng() % nodes.size()];
      DisplayNode* b = nodes[1 + rng() % (nodes.size() - 1)];
      switch (rng() % 3) {
        case 0:
          a->SetSelection(Selected);
          literal.Set(a, Selected);
          break;
        case 1:
          a->SetSelection(Unselected);
          literal.Set(a, Unselected);
          break;
        default:
          if (a == &tree) break;
          tree.SelectRange(a, b);
          literal.Range(a, b);
      }
      ASSERT_EQ(literal.Mismatch(), "") << "round " << round << ", operation " << op;
    }
  }
}

TEST(Selection, ANewNodeBelowASelectedGroupLeavesItPartlySelected) {
  DisplayNode root;
  auto one = Track("A", "B", "1", "/1"), two = Track("A", "B", "2", "/2");
  root.AddEntry(*one, 0, 0, 0, NodeIcons());
  root.SetSelection(Selected);
  root.AddEntry(*two, 0, 0, 0, NodeIcons());
  EXPECT_EQ(root.GetSelection(), PartlySelected);
  EXPECT_EQ(root.GetFirstChild()->GetSelection(), PartlySelected);
  root.SetSelection(Selected);
  EXPECT_EQ(root.GetFirstChild()->GetFirstChild()->GetFirstChild()->GetSelection(), Selected);
}

TEST(SelectRange, AgreesWithTheDescribedLoop) {
  std::mt19937 rng(5);
  for (int round = 0; round < 40; ++round) {
    CCatalogue catalogue;
    for (int i = 0; i < 150; ++i) {
      std::string title = "t" + std::to_string(i);
      catalogue.Add(Track("ar" + std::to_string(rng() % 8), "al" + std::to_string(rng() % 6), title, "/" + title));
    }
    TreeView fast, described;
    fast.Rebuild(catalogue, NodeIcons());
    described.Rebuild(catalogue, NodeIcons());
    std::vector<DisplayNode*> f, d;
    for (DisplayNode* n = fast.GetFirstChild(); n; n = DisplayNode::PreOrderNext(n, &fast)) f.push_back(n);
    for (DisplayNode* n = described.GetFirstChild(); n; n = DisplayNode::PreOrderNext(n, &described)) d.push_back(n);
    ASSERT_EQ(f.size(), d.size());
    // Some selection beforehand, then two ranges in either direction.
    for (int k = 0; k < 3; ++k) {
      size_t s = rng() % f.size();
      f[s]->SetSelection(Selected);
      d[s]->SetSelection(Selected);
    }
    for (int k = 0; k < 2; ++k) {
      size_t from = rng() % f.size(), to = rng() % f.size();
      fast.SelectRange(f[from], f[to]);
      DescribedSelectRange(described, d[from], d[to]);
    }
    ASSERT_EQ(Dump(fast), Dump(described)) << "round " << round;
    ASSERT_EQ(fast.GetFlags(), described.GetFlags());
  }
}

TEST(TreeShape, WideAndDeepTreesNeedNoDeepStack) {
  // 200,000 siblings, and one chain 100,000 levels deep.
  CCatalogue catalogue;
  for (int i = 0; i < 200000; ++i) catalogue.Add(MakeEntry({{File, "f" + std::to_string(i)}}, {"/f"}));
  auto deep = std::make_unique<CCatalogueEntry>();
  for (int i = 0; i < 100000; ++i) {
    deep->m_aNames.push_back("n");
    deep->m_aKinds.push_back(i % 2 ? Album : Artist);
  }
  auto* deepEntry = deep.get();
  catalogue.Add(std::move(deep));
  auto tree = std::make_unique<TreeView>();
  tree->Rebuild(catalogue, NodeIcons());
  EXPECT_EQ(tree->GetChildCount(), 200001u);
  EXPECT_EQ(tree->CountRows(), 200001);
  // The chain became one row: 100,000 names, 99,999 separators.
  const DisplayNode* chain = tree->GetFirstChild();
  EXPECT_EQ(chain->GetName().size(), 100000u + 3 * 99999u);
  EXPECT_FALSE(chain->HasChildren());
  tree->SetSelection(Selected);
  tree.reset();

  // Unmerged, the chain is walked and destroyed without recursion too.
  DisplayNode root;
  root.AddEntry(*deepEntry, 0, 0, 0, NodeIcons());
  std::vector<DisplayNode*> chainNodes;
  for (DisplayNode* n = root.GetFirstChild(); n; n = n->GetFirstChild()) chainNodes.push_back(n);
  // Bottom-up, each expansion only tells its collapsed parent.
  for (auto it = chainNodes.rbegin(); it != chainNodes.rend(); ++it) (*it)->SetExpanded(true);
  DisplayNode* bottom = chainNodes.back();
  EXPECT_EQ(root.CountRows(), 100000);
  EXPECT_EQ(bottom->RowIndex(), 99999);
  EXPECT_EQ(root.RowAt(99999), bottom);
  bottom->SetSelection(Selected);
  EXPECT_EQ(root.GetSelection(), Selected);
  root.GetFirstChild()->SetExpanded(false);
  EXPECT_EQ(root.CountRows(), 1);
}

}  // namespace
}  // namespace jb::test
