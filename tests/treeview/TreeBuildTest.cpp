// Building the display tree from a catalogue.
#include <gtest/gtest.h>

#include <random>

#include "TestSupport.h"
#include "TreeTestSupport.h"
#include "config/CConfig.h"
#include "treeview/TreeScrollBar.h"
#include "treeview/TreeView.h"

namespace jb::test {
namespace {

NodeIcons Icons() {
  NodeIcons icons;
  for (int k = 0; k < 6; ++k) icons.group[k] = static_cast<std::uint8_t>(10 + k);
  return icons;
}

class TreeBuild : public ::testing::Test {
 protected:
  void Build() {
    reference = ReferenceBuild(*Copy(), Icons());
    tree.Rebuild(catalogue, Icons(), &prompt);
  }
  // A copy of the catalogue, so the reference build changes its own.
  std::unique_ptr<CCatalogue> Copy() const {
    auto copy = std::make_unique<CCatalogue>();
    for (size_t i = 0; i < catalogue.GetSize(); ++i) copy->Add(std::make_unique<CCatalogueEntry>(*catalogue.GetAt(i)));
    return copy;
  }
  const DisplayNode* Top(size_t i) const {
    const DisplayNode* n = tree.GetFirstChild();
    while (n && i-- > 0) n = n->GetNext();
    return n;
  }

  CCatalogue catalogue;
  TreeView tree;
  RecordingPrompt prompt;
  std::string reference;
};

TEST_F(TreeBuild, EmptyCatalogueLeavesNoRowsAndNoFocus) {
  TreeScrollBar bar;
  tree.SetScrollBar(&bar);
  tree.SetArea(11, 20, 245, 90);
  Build();
  EXPECT_FALSE(tree.HasChildren());
  EXPECT_EQ(tree.CountRows(), 0);
  EXPECT_EQ(tree.RowAt(0), nullptr);
  EXPECT_EQ(tree.FindFocus(), nullptr);
  EXPECT_EQ(tree.GetTopRow(), 0);
  EXPECT_EQ(bar.GetRange(), 0);
  EXPECT_EQ(prompt.waitCursors, 1);
  EXPECT_EQ(prompt.waitDepth, 0);
}

TEST_F(TreeBuild, ArtistAlbumTrackChainBecomesOneFileRow) {
  catalogue.Add(Track("Artist", "Album", "Title", "/music/a/01 Title.mp3", 5));
  Build();
  ASSERT_EQ(tree.GetChildCount(), 1u);
  const DisplayNode* row = tree.GetFirstChild();
  EXPECT_EQ(row->GetName(), "Artist \x10 Album \x10 Title");
  EXPECT_EQ(row->GetKind(), File);
  EXPECT_EQ(row->GetPath(), "/music/a/01 Title.mp3");
  EXPECT_EQ(row->GetIcon(), 5);
  EXPECT_FALSE(row->HasChildren());
  EXPECT_EQ(row->GetFlags(), 0x06 | 0x20 | DisplayNode::kFocusMark);
  EXPECT_EQ(tree.CountRows(), 1);
  EXPECT_EQ(Dump(tree), reference);
}

TEST_F(TreeBuild, AlbumSharedWithAnEmptyArtistIsACompilation) {
  catalogue.Add(Track("Singer", "Hits", "One", "/m/1.mp3"));
  catalogue.Add(Track("", "hits", "Two", "/m/2.mp3"));
  catalogue.Add(Track("Band", "Solo", "Three", "/m/3.mp3"));
  catalogue.Add(Track("Band", "Solo", "Four", "/m/4.mp3"));
  Build();
  // The compilation's levels were exchanged in the entry itself.
  EXPECT_EQ(catalogue.GetAt(0)->m_aNames, (StringList{"Hits", "Singer", "One"}));
  EXPECT_EQ(catalogue.GetAt(0)->m_aKinds, (ByteList{Album, Artist, File}));
  EXPECT_EQ(catalogue.GetAt(2)->m_aKinds, (ByteList{Artist, Album, File}));
  // Band's one album merges into it; the compilation is named as the entry
  // added first (the last one).
  EXPECT_EQ(ChildNames(tree), "Band > Solo|hits");
  const DisplayNode* hits = Top(1);
  EXPECT_EQ(hits->GetKind(), Album);
  EXPECT_EQ(hits->GetIcon(), 13);
  EXPECT_EQ(ChildNames(*hits), "Singer > One|Two");
  EXPECT_EQ(Dump(tree), reference);
}

TEST_F(TreeBuild, ArtistsDifferingInCaseShareTheNodeOfTheFirstAdded) {
  catalogue.Add(Track("ABBA", "Gold", "Waterloo", "/m/w.mp3"));
  catalogue.Add(Track("Abba", "Arrival", "Dancing Queen", "/m/d.mp3"));
  Build();
  ASSERT_EQ(tree.GetChildCount(), 1u);
  EXPECT_EQ(tree.GetFirstChild()->GetName(), "Abba");
  EXPECT_EQ(tree.GetFirstChild()->GetIcon(), 12);
  EXPECT_EQ(ChildNames(*tree.GetFirstChild()), "Arrival > Dancing Queen|Gold > Waterloo");
  EXPECT_EQ(Dump(tree), reference);
}

TEST_F(TreeBuild, FilesBelowAGroupGoByFileNameNotTitle) {
  catalogue.Add(Track("A", "B", "Zebra", "/m/01 zebra.mp3"));
  catalogue.Add(Track("A", "B", "Aardvark", "/m/02 aardvark.mp3"));
  // At the top, merged file rows go by their text instead.
  catalogue.Add(Track("Z", "Y", "Title", "/m/00.mp3"));
  Build();
  EXPECT_EQ(ChildNames(tree), "A > B|Z > Y > Title");
  EXPECT_EQ(ChildNames(*Top(0)), "Zebra|Aardvark");
  EXPECT_EQ(Dump(tree), reference);
}

TEST_F(TreeBuild, SortClassesThenBytesUnsigned) {
  catalogue.Add(MakeEntry({{File, "loose"}}, {"/m/loose.mp3"}));
  catalogue.Add(MakeEntry({{FileGroup, "group"}, {File, "a"}, {File, "b"}}, {"/g/a", "/g/b"}));
  catalogue.Add(MakeEntry({{PlayList, "list"}, {File, "x"}, {File, "y"}}, {"/p/x", "/p/y"}));
  catalogue.Add(MakeEntry({{Artist, "\xC9t\xE9"}, {File, "c"}, {File, "d"}}, {"/e/c", "/e/d"}));
  catalogue.Add(MakeEntry({{Artist, "Zed"}, {File, "e"}, {File, "f"}}, {"/z/e", "/z/f"}));
  catalogue.Add(MakeEntry({{Folder, "/music"}, {File, "g"}, {File, "h"}}, {"/music/g", "/music/h"}));
  Build();
  EXPECT_EQ(ChildNames(tree), "/music|Zed|list|\xC9t\xE9|group|loose");
  EXPECT_EQ(Dump(tree), reference);
}

TEST_F(TreeBuild, EqualKeysKeepTheOrderOfAdding) {
  // Added last to first and each new node linked at the front, equal names
  // end up in catalogue order.
  catalogue.Add(MakeEntry({{Album, "Same"}, {File, "t1"}, {File, "t2"}}, {"/a/1", "/a/2"}));
  catalogue.Add(MakeEntry({{Artist, "Same"}, {File, "t3"}, {File, "t4"}}, {"/b/3", "/b/4"}));
  catalogue.Add(MakeEntry({{PlayList, "Same"}, {File, "t5"}, {File, "t6"}}, {"/c/5", "/c/6"}));
  // Equal file names below one group.
  catalogue.Add(MakeEntry({{FileGroup, "G"}, {File, "first"}}, {"/x/01.mp3"}));
  catalogue.Add(MakeEntry({{FileGroup, "G"}, {File, "second"}}, {"/y/01.mp3"}));
  catalogue.Add(MakeEntry({{FileGroup, "G"}, {File, "third"}}, {"/z/01.mp3"}));
  Build();
  ASSERT_EQ(tree.GetChildCount(), 4u);
  EXPECT_EQ(Top(0)->GetKind(), Album);
  EXPECT_EQ(Top(1)->GetKind(), Artist);
  EXPECT_EQ(Top(2)->GetKind(), PlayList);
  EXPECT_EQ(ChildNames(*Top(3)), "first|second|third");
  EXPECT_EQ(Dump(tree), reference);
}

TEST_F(TreeBuild, AddEntryLinksNewChildrenAtTheFront) {
  DisplayNode root;
  auto a = MakeEntry({{Artist, "A"}, {File, "1"}}, {"/1"});
  auto b = MakeEntry({{Artist, "B"}, {File, "2"}}, {"/2"});
  auto c = MakeEntry({{Artist, "a"}, {File, "3"}}, {"/3"});
  root.AddEntry(*a, 0, 0, 0, Icons());
  root.AddEntry(*b, 0, 0, 0, Icons());
  root.AddEntry(*c, 0, 0, 0, Icons());
  EXPECT_EQ(ChildNames(root), "B|A");
  EXPECT_EQ(ChildNames(*root.GetFirstChild()->GetNext()), "3|1");
  // Starting below the top level and at a later path.
  auto d = MakeEntry({{Artist, "ignored"}, {File, "4"}}, {"/skipped", "/4"});
  root.AddEntry(*d, 1, 1, 9, Icons());
  EXPECT_EQ(ChildNames(root), "4|B|A");
  EXPECT_EQ(root.GetFirstChild()->GetPath(), "/4");
  EXPECT_EQ(root.GetFirstChild()->GetIcon(), 9);
  EXPECT_EQ(root.CountRows(), 3);
}

TEST_F(TreeBuild, PlayListTracksAreSiblingsAndARepeatedFileTakesNoPath) {
  // A play-list entry: the tracks follow the play-list; the second "One"
  // matches the first (no node, its path not consumed), so "Two" takes the
  // second path.
  catalogue.Add(MakeEntry({{PlayList, "Mix"}, {File, "One"}, {File, "one"}, {File, "Two"}},
                          {"/m/1.mp3", "/m/2.mp3", "/m/3.mp3"}, 4));
  catalogue.Add(MakeEntry({{PlayList, "Short"}, {File, "A"}, {File, "B"}}, {"/s/a.mp3"}));
  Build();
  const DisplayNode* mix = Top(0);
  ASSERT_EQ(mix->GetName(), "Mix");
  ASSERT_EQ(mix->GetChildCount(), 2u);
  EXPECT_EQ(mix->GetFirstChild()->GetName(), "One");
  EXPECT_EQ(mix->GetFirstChild()->GetPath(), "/m/1.mp3");
  EXPECT_EQ(mix->GetFirstChild()->GetNext()->GetName(), "Two");
  EXPECT_EQ(mix->GetFirstChild()->GetNext()->GetPath(), "/m/2.mp3");
  EXPECT_EQ(mix->GetFirstChild()->GetIcon(), 4);
  // A path list shorter than the file levels leaves the last path empty.
  const DisplayNode* shortList = Top(1);
  EXPECT_EQ(shortList->GetFirstChild()->GetNext()->GetPath(), "/s/a.mp3");
  EXPECT_EQ(shortList->GetFirstChild()->GetPath(), "");
  EXPECT_EQ(Dump(tree), reference);
}

TEST_F(TreeBuild, GroupIconsComeFromTheConfiguration) {
  CConfig config(prompt);
  config.userTypeIcon = 20;
  config.folderIcon = 21;
  config.artistIcon = 22;
  config.albumIcon = 23;
  config.playListIcon = 24;
  config.fileGroupIcon = 25;
  catalogue.Add(MakeEntry({{UserType, "u"}, {Folder, "/f"}, {File, "1"}}, {"/f/1"}, 3));
  catalogue.Add(MakeEntry({{UserType, "u"}, {Folder, "/f"}, {File, "2"}}, {"/f/2"}, 3));
  catalogue.Add(MakeEntry({{UserType, "u"}, {Folder, "/g"}, {File, "7"}}, {"/g/7"}, 3));
  catalogue.Add(MakeEntry({{PlayList, "p"}, {FileGroup, "g"}, {File, "3"}, {File, "4"}}, {"/3", "/4"}, 3));
  catalogue.Add(MakeEntry({{PlayList, "p"}, {Artist, "a"}, {Album, "b"}, {File, "5"}, {File, "6"}}, {"/5", "/6"}, 3));
  tree.Rebuild(catalogue, NodeIcons::FromConfig(config));
  std::string icons;
  for (const DisplayNode* n = tree.GetFirstChild(); n; n = DisplayNode::PreOrderNext(n, &tree))
    icons += Shown(n->GetName()) + "=" + std::to_string(n->GetIcon()) + " ";
  EXPECT_EQ(icons, "u=20 /f=21 1=3 2=3 /g > 7=3 p=24 a > b=23 5=3 6=3 g=25 3=3 4=3 ");
}

TEST_F(TreeBuild, RebuildReplacesTheOldTreeAndItsState) {
  catalogue.Add(Track("A", "X", "1", "/1"));
  catalogue.Add(Track("A", "Y", "2", "/2"));
  Build();
  tree.GetFirstChild()->SetExpanded(true);
  tree.GetFirstChild()->SetSelection(Selected);
  EXPECT_EQ(tree.GetSelection(), Selected);
  tree.Rebuild(catalogue, Icons());
  EXPECT_EQ(tree.GetFlags(), DisplayNode::kRootFlags);
  EXPECT_FALSE(tree.GetFirstChild()->IsExpanded());
  EXPECT_EQ(tree.GetFirstChild()->GetSelection(), Unselected);
  EXPECT_EQ(tree.CountRows(), 1);
}

// Random catalogues full of ties (names equal but for case, equal file
// names, repeated files, compilations) build exactly as the described
// algorithm does.
TEST_F(TreeBuild, AgreesWithTheDescribedAlgorithmOnRandomCatalogues) {
  std::mt19937 rng(7);
  const char* names[] = {"a", "A", "b", "B", "ab", "Ab", "", "\xE9", "z"};
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  for (int round = 0; round < 60; ++round) {
    catalogue.RemoveAllEntries();
    int entries = 1 + pick(120);
    for (int i = 0; i < entries; ++i) {
      auto e = std::make_unique<CCatalogueEntry>();
      int levels = 1 + pick(5);
      for (int l = 0; l < levels; ++l) {
        int kind = l + 1 == levels ? File : pick(7);
        e->m_aNames.push_back(names[pick(9)]);
        e->m_aKinds.push_back(static_cast<std::uint8_t>(kind));
        if (kind == File) e->m_aPaths.push_back(std::string("/d") + char('0' + pick(3)) + "/" + names[pick(9)]);
      }
      e->m_nIcon = static_cast<std::uint8_t>(pick(4));
      catalogue.Add(std::move(e));
    }
    Build();
    ASSERT_EQ(Dump(tree), reference) << "round " << round;
  }
}

}  // namespace
}  // namespace jb::test
