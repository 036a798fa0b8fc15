// Writing the temporary play-list and handing it to the shell.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "TreeTestSupport.h"
#include "catalogue/CCatalogue.h"
#include "treeview/TreeView.h"
#include "window/HandOff.h"

namespace jb {
namespace {

// The shell records each request with the play-list's text at that moment,
// as the player would read it.
class HandOff : public ::testing::Test, public IShell {
 protected:
  // Entries in the order given; the tree keeps the catalogue's order.
  void Build(std::initializer_list<std::pair<std::string, std::string>> entries) {
    catalogue.RemoveAllEntries();
    for (const auto& [levels, path] : entries) catalogue.Add(test::E(levels, path));
    tree.Rebuild(catalogue, NodeIcons());
  }
  // "Band" with "Live" (titles out of file order) and "Studio"; "Solo > Alone >
  // Only" merged into one row.
  void SetUp() override {
    Build({{"aBand|bLive|tZeta", "/l/01 z.mp3"},
           {"aBand|bLive|tAlpha", "/l/02 a.mp3"},
           {"aBand|bLive|tMu", "/l/03 \xE9t\xE9.mp3"},
           {"aBand|bStudio|tOne", "/s/one.mp3"},
           {"aSolo|bAlone|tOnly", "/solo.mp3"}});
  }
  bool OpenPlayList(const std::string& path, ShellAction action) override {
    calls.push_back(path + (action == ShellAction::Play ? " play: " : " enqueue: ") + Text());
    return answer;
  }
  bool OpenAddress(const std::string&) override { return false; }
  void Select(std::initializer_list<const char*> rows) {
    tree.SetSelection(SelectionState::Unselected);
    for (const char* row : rows) test::FindRow(tree, row)->SetSelection(SelectionState::Selected);
  }
  std::string Text() {
    auto bytes = test::ReadBytes(kTemporaryPlayList);
    return {bytes.begin(), bytes.end()};
  }

  test::TempDir dir;
  test::ScopedCurrentDir inDir{dir.Path()};
  CCatalogue catalogue;
  TreeView tree;
  test::RecordingPrompt prompt;
  std::vector<std::string> calls;
  bool answer = true;
};

TEST_F(HandOff, WritesTheSelectedFilesInTreeOrderAndReplacesTheLastList) {
  EXPECT_TRUE(HandOffSelection(tree, ShellAction::Play, *this, prompt));  // nothing selected
  Select({"Band/Live"});
  EXPECT_TRUE(HandOffSelection(tree, ShellAction::Enqueue, *this, prompt));
  Select({"Solo > Alone > Only", "Band/Studio > One"});  // a merged row: the path at the end of its chain
  EXPECT_TRUE(HandOffSelection(tree, ShellAction::Play, *this, prompt));
  EXPECT_EQ(calls,
            (std::vector<std::string>{
                "Jukebar.m3u play: ", "Jukebar.m3u enqueue: /l/01 z.mp3\r\n/l/02 a.mp3\r\n/l/03 \xE9t\xE9.mp3\r\n",
                "Jukebar.m3u play: /s/one.mp3\r\n/solo.mp3\r\n"}));
  EXPECT_TRUE(prompt.messages.empty());
  EXPECT_EQ(test::DirectoryNames(dir.Path()), std::vector<std::string>{"Jukebar.m3u"});  // no temporary left
}

TEST_F(HandOff, APathWithALineEndGoesAsAnAddressAndEveryOtherAsItIs) {
  Build({{"a10|t", "/m/two\nlines.mp3"},
         {"a11|t", "/m/cr\r.mp3"},
         {"a12|t", "/m/It's 100%\r\n\xE9~_-.mp3"},
         {"a13|t", "rel\nx.mp3"},
         {"a14|t", "/m/with space.mp3"},
         {"a15|t", "/m/\"double\" 'single'.mp3"},
         {"a16|t", "/m/-leading dash.mp3"},
         {"a17|t", "/m/\xFF\xFE invalid.mp3"},
         {"a18|t", "/m/tab\there%0A.mp3"}});
  tree.SetSelection(SelectionState::Selected);
  ASSERT_TRUE(HandOffSelection(tree, ShellAction::Play, *this, prompt));
  EXPECT_EQ(Text(),
            "file:///m/two%0Alines.mp3\r\nfile:///m/cr%0D.mp3\r\nfile:///m/It%27s%20100%25%0D%0A%E9~_-.mp3\r\n"
            "rel%0Ax.mp3\r\n"  // no scheme: still relative to the play-list
            "/m/with space.mp3\r\n/m/\"double\" 'single'.mp3\r\n/m/-leading dash.mp3\r\n/m/\xFF\xFE invalid.mp3\r\n"
            "/m/tab\there%0A.mp3\r\n");
}

TEST_F(HandOff, FailuresAreReported) {
  // A play-list that cannot be written keeps the shell out: a missing folder,
  // a full disk half-way (the previous list stays whole).
  EXPECT_FALSE(HandOffSelection(tree, ShellAction::Play, *this, prompt, dir / "missing/Jukebar.m3u"));
  test::WriteText(kTemporaryPlayList, "/old.mp3\r\n");
  tree.SetSelection(SelectionState::Selected);
  test::WithFileSizeLimit(40, [&] { EXPECT_FALSE(HandOffSelection(tree, ShellAction::Play, *this, prompt)); });
  EXPECT_EQ(Text(), "/old.mp3\r\n");
  EXPECT_TRUE(calls.empty());
  // No player: the list stays written. Auto-load enqueues an emptied list.
  answer = false;
  Select({"Band/Studio > One"});
  EXPECT_FALSE(HandOffSelection(tree, ShellAction::Enqueue, *this, prompt));
  EXPECT_EQ(Text(), "/s/one.mp3\r\n");
  EXPECT_FALSE(AutoLoadPlayer(*this, prompt));
  EXPECT_FALSE(AutoLoadPlayer(*this, prompt, dir / "missing/Jukebar.m3u"));
  answer = true;
  EXPECT_TRUE(AutoLoadPlayer(*this, prompt));
  EXPECT_EQ(calls, (std::vector<std::string>{"Jukebar.m3u enqueue: /s/one.mp3\r\n",
                                             "Jukebar.m3u enqueue: ", "Jukebar.m3u enqueue: "}));
  EXPECT_EQ(prompt.messages, (std::vector<int>{ids::CannotCreatePlayList, ids::CannotCreatePlayList,
                                               ids::PlayerNotFound, ids::PlayerNotFound, ids::PlayerNotFound}));
}

}  // namespace
}  // namespace jb
