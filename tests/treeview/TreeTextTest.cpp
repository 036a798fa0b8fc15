// The tree as text: outline and finding rows by path.
#include <gtest/gtest.h>

#include "TreeTestSupport.h"
#include "treeview/TreeText.h"
#include "treeview/TreeView.h"

namespace jb::test {
namespace {

class TreeText : public ::testing::Test {
 protected:
  void SetUp() override {
    catalogue.Add(Track("Band", "[Live]", "a", "/1"));
    catalogue.Add(Track("Band", "[Live]", "b", "/2"));
    catalogue.Add(Track("Band", "L", "c", "/3"));
    catalogue.Add(MakeEntry({{Folder, "/music/x/"}, {File, "d"}, {File, "e"}}, {"/4", "/5"}));
    tree.Rebuild(catalogue, NodeIcons());
  }
  std::string Outline(int depth) {
    std::string out;
    WriteOutline(tree, depth, [&](std::string_view line) { out += line; });
    return out;
  }
  std::string Found(const std::string& pattern) {
    std::string out;
    for (DisplayNode* n : FindRows(tree, pattern)) out += RowText(*n) + ";";
    return out;
  }

  CCatalogue catalogue;
  TreeView tree;
};

TEST_F(TreeText, OutlineShowsEveryRowWhateverIsExpanded) {
  EXPECT_EQ(Outline(INT32_MAX), "/music/x/\n  d\n  e\nBand\n  [Live]\n    a\n    b\n  L > c\n");
  EXPECT_EQ(Outline(2), "/music/x/\n  d\n  e\nBand\n  [Live]\n  L > c\n");
  EXPECT_EQ(Outline(1), "/music/x/\nBand\n");
}

TEST_F(TreeText, RowsByPathOrGlob) {
  // A name that reads as a glob is found by its exact path.
  EXPECT_EQ(Found("Band/[Live]"), "[Live];");
  EXPECT_EQ(Found("Band/L > c"), "L > c;");
  EXPECT_EQ(Found("Band/[LM]*"), "L > c;");
  EXPECT_EQ(Found("Band/*"), "[Live];a;b;L > c;");
  EXPECT_EQ(Found("/music/x//d"), "d;");
  EXPECT_EQ(Found("band"), "");
}

}  // namespace
}  // namespace jb::test
