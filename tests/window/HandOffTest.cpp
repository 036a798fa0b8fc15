// Writing the temporary play-list and handing it to the shell.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "catalogue/CCatalogue.h"
#include "treeview/TreeView.h"
#include "window/HandOff.h"

namespace jb {
namespace {

// "Band" with "Live" (titles out of file order) and "Studio"; "Solo > Alone >
// Only" merged into one row. The shell records each request with the
// play-list's text at that moment, as the player would read it.
class HandOff : public ::testing::Test, public IShell {
 protected:
  void SetUp() override {
    const char* tracks[][4] = {{"Band", "Live", "Zeta", "/l/01 z.mp3"},
                               {"Band", "Live", "Alpha", "/l/02 a.mp3"},
                               {"Band", "Live", "Mu", "/l/03 \xE9t\xE9.mp3"},
                               {"Band", "Studio", "One", "/s/one.mp3"},
                               {"Solo", "Alone", "Only", "/solo.mp3"}};
    for (auto& t : tracks) {
      auto e = std::make_unique<CCatalogueEntry>();
      e->m_aNames = {t[0], t[1], t[2]}, e->m_aKinds = {NodeKind::Artist, NodeKind::Album, NodeKind::File},
      e->m_aPaths = {t[3]};
      catalogue.Add(std::move(e));
    }
    tree.Rebuild(catalogue, NodeIcons());
  }
  bool OpenPlayList(const std::string& path, ShellAction action) override {
    calls.push_back(path + (action == ShellAction::Play ? " play: " : " enqueue: ") + Text());
    return answer;
  }
  bool OpenAddress(const std::string&) override { return false; }
  void Select(std::initializer_list<const char*> rows) {
    tree.SetSelection(SelectionState::Unselected);
    for (DisplayNode* n = tree.GetFirstChild(); n; n = DisplayNode::PreOrderNext(n, &tree))
      for (const char* row : rows)
        if (n->GetName() == row) n->SetSelection(SelectionState::Selected);
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
  Select({"Live"});
  EXPECT_TRUE(HandOffSelection(tree, ShellAction::Enqueue, *this, prompt));
  Select({"Solo \x10 Alone \x10 Only", "Studio \x10 One"});  // a merged row: the path at the end of its chain
  EXPECT_TRUE(HandOffSelection(tree, ShellAction::Play, *this, prompt));
  EXPECT_EQ(calls,
            (std::vector<std::string>{
                "Jukebar.m3u play: ", "Jukebar.m3u enqueue: /l/01 z.mp3\r\n/l/02 a.mp3\r\n/l/03 \xE9t\xE9.mp3\r\n",
                "Jukebar.m3u play: /s/one.mp3\r\n/solo.mp3\r\n"}));
  EXPECT_TRUE(prompt.messages.empty());
  EXPECT_EQ(test::DirectoryNames(dir.Path()), std::vector<std::string>{"Jukebar.m3u"});  // no temporary left
}

TEST_F(HandOff, APathWithALineEndGoesAsAnAddressAndEveryOtherAsItIs) {
  const std::pair<const char*, const char*> cases[] = {
      {"/m/two\nlines.mp3", "file:///m/two%0Alines.mp3"},
      {"/m/cr\r.mp3", "file:///m/cr%0D.mp3"},
      {"/m/It's 100%\r\n\xE9~_-.mp3", "file:///m/It%27s%20100%25%0D%0A%E9~_-.mp3"},
      {"rel\nx.mp3", "rel%0Ax.mp3"},  // no scheme: still relative to the play-list
      {"/m/with space.mp3", "/m/with space.mp3"},
      {"/m/\"double\" 'single'.mp3", "/m/\"double\" 'single'.mp3"},
      {"/m/-leading dash.mp3", "/m/-leading dash.mp3"},
      {"/m/\xFF\xFE invalid.mp3", "/m/\xFF\xFE invalid.mp3"},
      {"/m/tab\there%0A.mp3", "/m/tab\there%0A.mp3"},
  };
  catalogue.RemoveAllEntries();
  std::string expected;
  for (const auto& [path, line] : cases) {
    auto e = std::make_unique<CCatalogueEntry>();
    // Artists in the order of the table, so the tree keeps it.
    e->m_aNames = {std::to_string(catalogue.GetSize() + 10), "t"};
    e->m_aKinds = {NodeKind::Artist, NodeKind::File};
    e->m_aPaths = {path};
    catalogue.Add(std::move(e));
    expected += std::string(line) + "\r\n";
  }
  tree.Rebuild(catalogue, NodeIcons());
  tree.SetSelection(SelectionState::Selected);
  ASSERT_TRUE(HandOffSelection(tree, ShellAction::Play, *this, prompt));
  EXPECT_EQ(Text(), expected);
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
  // No player: message 9, the list stays written.
  answer = false;
  Select({"Studio \x10 One"});
  EXPECT_FALSE(HandOffSelection(tree, ShellAction::Enqueue, *this, prompt));
  EXPECT_EQ(Text(), "/s/one.mp3\r\n");
  EXPECT_EQ(prompt.messages,
            (std::vector<int>{ids::CannotCreatePlayList, ids::CannotCreatePlayList, ids::PlayerNotFound}));
}

TEST_F(HandOff, AutoLoadEnqueuesAnEmptiedPlayList) {
  test::WriteText(kTemporaryPlayList, "/old.mp3\r\n");
  EXPECT_TRUE(AutoLoadPlayer(*this, prompt));
  EXPECT_EQ(calls, std::vector<std::string>{"Jukebar.m3u enqueue: "});
  answer = false;  // both failures give message 9
  EXPECT_FALSE(AutoLoadPlayer(*this, prompt));
  EXPECT_FALSE(AutoLoadPlayer(*this, prompt, dir / "missing/Jukebar.m3u"));
  EXPECT_EQ(prompt.messages, (std::vector<int>{ids::PlayerNotFound, ids::PlayerNotFound}));
  EXPECT_EQ(calls.size(), 2u);
}

}  // namespace
}  // namespace jb
