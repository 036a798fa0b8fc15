// Building the display tree from a catalogue, and finding its rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>

#include "TestSupport.h"
#include "TreeTestSupport.h"
#include "platform/Text.h"
#include "storage/CArchive.h"
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

TEST_F(TreeBuild, ShapesAndOrders) {
  struct Case {
    const char* what;
    std::vector<std::pair<std::string, std::string>> entries;
    std::string shape;
  };
  const Case cases[] = {
      {"sort classes, then bytes unsigned",
       {{"tloose", "/l"},
        {"ggroup|ta|tb", "/a|/b"},
        {"plist|tx|ty", "/x|/y"},
        {"a\xC9t\xE9|tc|td", "/c|/d"},
        {"aZed|te|tf", "/e|/f"},
        {"f/music|tg|th", "/g|/h"}},
       "/music(g=/g,h=/h),Zed(e=/e,f=/f),list(x=/x,y=/y),\xC9t\xE9(c=/c,d=/d),group(a=/a,b=/b),loose=/l"},
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

// Enough ties in one group that an unstable sort would reorder them.
TEST_F(TreeBuild, ManyEqualFileNamesKeepTheOrderOfAdding) {
  std::vector<std::pair<std::string, std::string>> entries;
  std::string a, b;
  for (int i = 0; i < 40; ++i) {
    const std::string path = "/" + std::to_string(i) + (i % 3 ? "/b" : "/a");
    entries.push_back({"gG|t" + std::to_string(i), path});
    (i % 3 ? b : a) += "," + std::to_string(i) + "=" + path;
  }
  EXPECT_EQ(Build(entries), "G(" + a.substr(1) + b + ")");
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

// Thousands of albums, the same names again under other artists or the
// same artist in other case: each entry's levels against the rule applied
// plainly.
TEST_F(TreeBuild, CompilationsAmongManyAlbumsAgreeWithThePlainRule) {
  std::mt19937 rng(11);
  std::vector<std::pair<std::string, std::string>> entries;
  for (int i = 0; i < 6000; ++i) {
    const int album = static_cast<int>(rng() % 2500), artist = static_cast<int>(rng() % 3);
    const std::string name = "Album " + std::to_string(album);
    entries.push_back({"a" + std::string(artist ? "x" : "X") + std::to_string(album % 7 ? 0 : artist) + "|b" +
                           (rng() % 2 ? name : ToLowerAscii(name)) + "|t" + std::to_string(i),
                       "/" + std::to_string(i)});
  }
  std::map<std::string, std::set<std::string>> artists;  // folded album -> folded artists
  for (const auto& [levels, paths] : entries) {
    const size_t bar = levels.find('|'), album = levels.find("|b");
    artists[ToLowerAscii(levels.substr(album + 2, levels.find("|t") - album - 2))].insert(
        ToLowerAscii(levels.substr(1, bar - 1)));
  }
  Build(entries);
  size_t compilations = 0;
  for (size_t i = 0; i < catalogue.GetSize(); ++i) {
    const CCatalogueEntry& e = *catalogue.GetAt(i);
    const bool albumFirst = e.m_aKinds[0] == NodeKind::Album;
    const std::string album = ToLowerAscii(e.m_aNames[albumFirst ? 0 : 1]);
    ASSERT_EQ(albumFirst, artists[album].size() > 1) << album;
    compilations += albumFirst;
  }
  EXPECT_GT(compilations, 500u);
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
    // Every other round lists long enough for the build's table.
    const bool longLists = round % 2;
    for (unsigned i = 1 + rng() % (longLists ? 300 : 40); i-- > 0;) {
      const char kind = "apg"[rng() % 3];
      const std::string group = names[rng() % 8], title = names[rng() % 8], file = names[rng() % 8];
      const std::string path = "/d" + std::to_string(rng() % (longLists ? 9 : 3)) + "/" + file;
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
// tree must come out the same, without the old expansion and selection, and
// stay whole when a load or a scan replaces the entries it shows.
TEST_F(TreeBuild, LoadedCatalogueGivesTheSameFreshTreeWhichOutlivesItsEntries) {
  Build({{"aABBA|bGold|tWaterloo", "/w"},
         {"aabba|bgold|tSOS", "/s"},
         {"aX|bGold|tY", "/y"},
         {"pMix|tWaterloo|tTwo", "/w|/2"},
         {"uU|f/d/|tWaterloo", "/d/Waterloo"}});
  const std::string built = Dump(tree);
  CCatalogue loaded;
  test::LoadBytes(StoreArchiveBytes([&](CArchive& ar) { catalogue.SerializeCatalogue(ar); }),
                  [&](CArchive& ar) { loaded.SerializeCatalogue(ar); });
  tree.GetFirstChild()->SetExpanded(true);
  tree.SetSelection(SelectionState::Selected);
  tree.Rebuild(loaded, icons);
  EXPECT_EQ(tree.GetFlags(), DisplayNode::kRootFlags);
  EXPECT_EQ(Dump(tree), built);

  loaded.RemoveAllEntries();
  loaded.Add(E("aOther|bAlbum|tNew", "/n"));
  EXPECT_EQ(Dump(tree), built);
  tree.Rebuild(loaded, icons);
  EXPECT_EQ(Shape(tree), "Other > Album > New=/n");
}

// A name that reads as a glob is found by its exact path.
TEST_F(TreeBuild, RowsByExactPathBeforeGlob) {
  Build({{"aBand|b[Live]|ta", "/1"}, {"aBand|b[Live]|tb", "/2"}, {"aBand|bL|tc", "/3"}});
  auto found = [&](const std::string& pattern) {
    std::string rows;
    for (DisplayNode* n : FindRows(tree, pattern)) rows += RowText(*n) + ";";
    return rows;
  };
  EXPECT_EQ(found("Band/[Live]"), "[Live];");
  EXPECT_EQ(found("Band/[LM]*"), "L > c;");
}

}  // namespace
}  // namespace jb::test
