// Building the display tree from a catalogue, and the tree as text.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "TestSupport.h"
#include "TreeTestSupport.h"
#include "config/CConfig.h"
#include "platform/Text.h"
#include "storage/CArchive.h"
#include "treeview/TreeScrollBar.h"
#include "treeview/TreeText.h"
#include "treeview/TreeView.h"

namespace jb::test {
namespace {

class TreeBuild : public ::testing::Test {
 protected:
  // Adds the entries, builds, gives the tree's shape.
  std::string Build(const std::vector<std::pair<std::string, std::string>>& entries) {
    for (const auto& [levels, paths] : entries) catalogue.Add(E(levels, paths));
    tree.Rebuild(catalogue, icons, &prompt);
    return Shape(tree);
  }

  CCatalogue catalogue;
  TreeView tree;
  RecordingPrompt prompt;
  NodeIcons icons{{10, 11, 12, 13, 14, 15}};
};

TEST_F(TreeBuild, EmptyCatalogueLeavesNoRowsAndNoFocus) {
  TreeScrollBar bar;
  tree.SetScrollBar(&bar);
  tree.SetArea(11, 20, 245, 90);
  EXPECT_EQ(Build({}), "");
  EXPECT_EQ(tree.CountRows(), 0);
  EXPECT_EQ(tree.FindFocus(), nullptr);
  EXPECT_EQ(bar.GetRange(), 0);
  EXPECT_EQ(prompt.waitCursors, 1);
  EXPECT_EQ(prompt.waitDepth, 0);
}

TEST_F(TreeBuild, ShapesAndOrders) {
  struct Case {
    const char* what;
    std::vector<std::pair<std::string, std::string>> entries;
    std::string shape;
  };
  const Case cases[] = {
      {"a chain becomes one file row", {{"aArtist|bAlbum|tTitle", "/1"}}, "Artist > Album > Title=/1"},
      {"artists equal but for case share the node of the first added",
       {{"aABBA|bGold|tWaterloo", "/w"}, {"aabba|bgold|tSOS", "/s"}, {"aAbba|bArrival|tDancing", "/d"}},
       "Abba(gold(SOS=/s,Waterloo=/w),Arrival > Dancing=/d)"},
      {"files below a group go by file name, merged rows at the top by text",
       {{"aA|bB|tZebra", "/01 zebra"},
        {"aA|bB|tAardvark", "/02 aardvark"},
        {"aZ|bY|tTitle", "/00"},
        {"aC|bD|tE", "/99"}},
       "A > B(Zebra=/01 zebra,Aardvark=/02 aardvark),C > D > E=/99,Z > Y > Title=/00"},
      {"sort classes, then bytes unsigned",
       {{"tloose", "/l"},
        {"ggroup|ta|tb", "/a|/b"},
        {"plist|tx|ty", "/x|/y"},
        {"a\xC9t\xE9|tc|td", "/c|/d"},
        {"aZed|te|tf", "/e|/f"},
        {"f/music|tg|th", "/g|/h"}},
       "/music(g=/g,h=/h),Zed(e=/e,f=/f),list(x=/x,y=/y),\xC9t\xE9(c=/c,d=/d),group(a=/a,b=/b),loose=/l"},
      {"equal names and equal file names keep the order of adding",
       {{"bSame|t1|t2", "/1|/2"},
        {"aSame|t3|t4", "/3|/4"},
        {"pSame|t5|t6", "/5|/6"},
        {"gG|tfirst", "/x/1"},
        {"gG|tsecond", "/y/1"},
        {"gG|tthird", "/z/1"}},
       "Same(1=/1,2=/2),Same(3=/3,4=/4),Same(5=/5,6=/6),G(first=/x/1,second=/y/1,third=/z/1)"},
      {"files are one row only when they are one file, and each file level takes its own path",
       {{"pList|t01 Intro|t01 Intro|t02 Song", "/A/01 Intro.mp3|/B/01 Intro.mp3|/C/02 Song.mp3"},
        {"pMix|tOne|tUno|tTwo|tONE", "/1|/1|/2|/m/1"},
        {"f/m/|tsong", "/m/song.mp3"},
        {"f/m/|tSONG", "/m/SONG.mp3"}},
       "/m/(SONG=/m/SONG.mp3,song=/m/song.mp3),List(01 Intro=/B/01 Intro.mp3,01 Intro=/A/01 Intro.mp3,02 Song=/C/02 "
       "Song.mp3),Mix(ONE=/m/1,One=/1,Two=/2)"},
      {"folders go by their exact path, other groups by name without case",
       {{"f/m/|tx", "/m/x"}, {"f/M/|ty", "/M/y"}, {"uU|pP|gG|bB|t1", "/1"}, {"uu|pp|gg|bb|t2", "/2"}},
       "u > p > g > b(1=/1,2=/2),/M/ > y=/M/y,/m/ > x=/m/x"},
      {"missing paths are empty and name no file", {{"pShort|tA|tB|tB", "/a"}}, "Short(B,B,A=/a)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    catalogue.RemoveAllEntries();
    EXPECT_EQ(Build(c.entries), c.shape);
  }
}

TEST_F(TreeBuild, AlbumSharedWithAnEmptyArtistIsACompilationNamedAsAddedFirst) {
  EXPECT_EQ(Build({{"aSinger|bHits|tOne", "/1"},
                   {"bhits|tTwo", "/2"},
                   {"aBand|bSolo|tThree", "/3"},
                   {"aBand|bSolo|tFour", "/4"}}),
            "Band > Solo(Three=/3,Four=/4),hits(Singer > One=/1,Two=/2)");
  // The levels are exchanged in the entry itself.
  EXPECT_EQ(catalogue.GetAt(0)->m_aNames, (StringList{"Hits", "Singer", "One"}));
  EXPECT_EQ(catalogue.GetAt(2)->m_aKinds, (KindList{NodeKind::Artist, NodeKind::Album, NodeKind::File}));
}

TEST_F(TreeBuild, AddEntryLinksNewChildrenAtTheFront) {
  DisplayNode root;
  for (auto [levels, path] : {std::pair{"aA|t1", "/1"}, {"aB|t2", "/2"}, {"aa|t3", "/3"}})
    root.AddEntry(*E(levels, path), 0, 0, 0, icons);
  EXPECT_EQ(Shape(root), "B(2=/2),A(3=/3,1=/1)");
  // From a later level and path, with the caller's icon.
  root.AddEntry(*E("aX|t4", "/no|/4"), 1, 1, 9, icons);
  EXPECT_EQ(Shape(root), "4=/4,B(2=/2),A(3=/3,1=/1)");
  EXPECT_EQ(root.GetFirstChild()->GetIcon(), 9);
}

TEST_F(TreeBuild, GroupIconsComeFromTheConfigurationByKindAndRebuildForgetsState) {
  CConfig config(prompt);
  config.userTypeIcon = 20, config.folderIcon = 21, config.artistIcon = 22;
  config.albumIcon = 23, config.playListIcon = 24, config.fileGroupIcon = 25;
  icons = NodeIcons::FromConfig(config);
  for (auto [levels, path] : {std::pair{"uu|f/f|t1", "/f/1"}, {"uu|f/f|t2", "/f/2"}}) catalogue.Add(E(levels, path, 3));
  catalogue.Add(E("uu|f/g|t7", "/g/7", 3));
  catalogue.Add(E("pp|gg|t3|t4", "/3|/4", 3));
  catalogue.Add(E("pp|aa|bb|t5|t6", "/5|/6", 3));
  EXPECT_EQ(Build({}), "u(/f(1=/f/1,2=/f/2),/g > 7=/g/7),p(a > b(5=/5,6=/6),g(3=/3,4=/4))");
  std::string shown;  // groups by kind (a merged row takes its lower level's), files their own
  for (const DisplayNode* n = tree.GetFirstChild(); n; n = DisplayNode::PreOrderNext(n, &tree))
    shown += std::to_string(n->GetIcon()) + " ";
  EXPECT_EQ(shown, "20 21 3 3 3 24 23 3 3 25 3 3 ");
  const std::string built = Dump(tree);

  tree.GetFirstChild()->SetExpanded(true);
  tree.SetSelection(SelectionState::Selected);
  tree.Rebuild(catalogue, icons);
  EXPECT_EQ(tree.GetFlags(), DisplayNode::kRootFlags);
  EXPECT_EQ(Dump(tree), built);
}

// The build done plainly, for entries of one group level and one file:
// entries added last to first, lists searched front to back, new children
// put first, a lone file merged into its group, an insertion sort by class
// and bytes (files in a group by file name). The fast build must agree on
// catalogues full of ties: names equal but for case, equal file names,
// repeated files.
TEST_F(TreeBuild, AgreesWithThePlainBuildOnRandomCataloguesFullOfTies) {
  struct Row {
    char kind;
    std::string name, path, key;
    std::vector<Row> kids;
  };
  auto sortRows = [](std::vector<Row>& rows) {
    auto rank = [](const Row& r) { return std::string("apgt").find(r.kind) / 2 + (r.kind == 't'); };
    for (size_t i = 1; i < rows.size(); ++i)
      for (size_t j = i; j > 0 && std::pair(rank(rows[j - 1]), rows[j - 1].key) > std::pair(rank(rows[j]), rows[j].key);
           --j)
        std::swap(rows[j - 1], rows[j]);
  };
  std::mt19937 rng(7);
  const char* names[] = {"a", "A", "b", "B", "ab", "Ab", "\xE9", "z"};
  for (int round = 0; round < 60; ++round) {
    SCOPED_TRACE(round);
    catalogue.RemoveAllEntries();
    std::vector<Row> top;
    for (unsigned i = 1 + rng() % 40; i-- > 0;) {
      const char kind = "apg"[rng() % 3];
      const std::string group = names[rng() % 8], title = names[rng() % 8], file = names[rng() % 8];
      const std::string path = "/d" + std::to_string(rng() % 3) + "/" + file;
      catalogue.Add(E(kind + group + "|t" + title, path));
    }
    for (size_t i = catalogue.GetSize(); i-- > 0;) {
      const CCatalogueEntry& e = *catalogue.GetAt(i);
      auto g = std::find_if(top.begin(), top.end(), [&](const Row& r) {
        return r.kind == "ufabpgt"[KindByte(e.m_aKinds[0])] && EqualsNoCase(r.name, e.m_aNames[0]);
      });
      if (g == top.end())
        g = top.insert(top.begin(), Row{"ufabpgt"[KindByte(e.m_aKinds[0])], e.m_aNames[0], "", e.m_aNames[0], {}});
      const std::string& path = e.m_aPaths[0];
      if (std::none_of(g->kids.begin(), g->kids.end(), [&](const Row& f) { return f.path == path; }))
        g->kids.insert(g->kids.begin(), Row{'t', e.m_aNames[1], path, path.substr(path.rfind('/') + 1), {}});
    }
    std::string expected;
    for (Row& g : top) {
      if (g.kids.size() == 1) {
        g = Row{'t', g.name + " > " + g.kids[0].name, g.kids[0].path, "", {}};
        g.key = g.name;
        g.key[g.key.find('>')] = DisplayNode::kSeparator;
      }
      sortRows(g.kids);
    }
    sortRows(top);
    for (const Row& g : top) {
      std::string kids;
      for (const Row& f : g.kids) kids += (kids.empty() ? "" : ",") + f.name + "=" + f.path;
      expected += (expected.empty() ? "" : ",") + g.name + (g.path.empty() ? "" : "=" + g.path) +
                  (kids.empty() ? "" : "(" + kids + ")");
    }
    EXPECT_EQ(Build({}), expected);
  }
}

// A loaded catalogue keeps its texts in one store, group names once: the
// tree must come out the same, and stay whole when a load or a scan
// replaces the entries it shows.
TEST_F(TreeBuild, LoadedCatalogueGivesTheSameTreeWhichOutlivesItsEntries) {
  Build({{"aABBA|bGold|tWaterloo", "/w"},
         {"aabba|bgold|tSOS", "/s"},
         {"aX|bGold|tY", "/y"},
         {"pMix|tWaterloo|tTwo", "/w|/2"},
         {"uU|f/d/|tWaterloo", "/d/Waterloo"}});
  const std::string built = Dump(tree);
  CCatalogue loaded;
  test::LoadBytes(StoreArchiveBytes([&](CArchive& ar) { catalogue.SerializeCatalogue(ar); }),
                  [&](CArchive& ar) { loaded.SerializeCatalogue(ar); });
  tree.Rebuild(loaded, icons);
  EXPECT_EQ(Dump(tree), built);

  loaded.RemoveAllEntries();
  loaded.Add(E("aOther|bAlbum|tNew", "/n"));
  EXPECT_EQ(Dump(tree), built);
  tree.Rebuild(loaded, icons);
  EXPECT_EQ(Shape(tree), "Other > Album > New=/n");
}

TEST_F(TreeBuild, TextOutlineAndRowsByPathOrGlob) {
  Build({{"aBand|b[Live]|ta", "/1"}, {"aBand|b[Live]|tb", "/2"}, {"aBand|bL|tc", "/3"}, {"f/music/x/|td|te", "/4|/5"}});
  std::string out;
  WriteOutline(tree, 2, [&](std::string_view line) { out += line; });
  EXPECT_EQ(out, "/music/x/\n  d\n  e\nBand\n  [Live]\n  L > c\n");
  auto found = [&](const std::string& pattern) {
    std::string rows;
    for (DisplayNode* n : FindRows(tree, pattern)) rows += RowText(*n) + ";";
    return rows;
  };
  EXPECT_EQ(found("Band/[Live]"), "[Live];");  // a name that reads as a glob, by its exact path
  EXPECT_EQ(found("Band/[LM]*"), "L > c;");
  EXPECT_EQ(found("Band/*"), "[Live];a;b;L > c;");
  EXPECT_EQ(found("/music/x//d"), "d;");
  EXPECT_EQ(found("band"), "");
}

}  // namespace
}  // namespace jb::test
