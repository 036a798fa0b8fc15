// Writing the temporary play-list and handing it to the shell.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "app/HandOff.h"
#include "platform/FileSystem.h"
#include "scan/CCatalogue.h"
#include "treeview/TreeView.h"

namespace jb {
namespace {

// Records each request with the play-list's bytes at that moment, so a test
// sees what the player would read.
class RecordingShell : public IShell {
 public:
  bool OpenPlayList(const std::string& path, ShellAction action) override {
    calls.push_back({path, action, test::ReadBytes(path)});
    return answer;
  }
  struct Call {
    std::string path;
    ShellAction action;
    std::vector<std::uint8_t> bytes;
  };
  std::vector<Call> calls;
  bool answer = true;
};

std::unique_ptr<CCatalogueEntry> Track(const std::string& artist, const std::string& album, const std::string& title,
                                       const std::string& path) {
  auto e = std::make_unique<CCatalogueEntry>();
  e->m_aNames = {artist, album, title};
  e->m_aKinds = {Artist, Album, File};
  e->m_aPaths = {path};
  return e;
}

// "Band" with the album "Live" (three tracks, titles out of file order)
// and "Solo > Alone > Only" merged into one row.
class HandOff : public ::testing::Test {
 protected:
  void SetUp() override {
    catalogue.Add(Track("Band", "Live", "Zeta", "/music/band/live/01 zeta.mp3"));
    catalogue.Add(Track("Band", "Live", "Alpha", "/music/band/live/02 alpha.mp3"));
    catalogue.Add(Track("Band", "Live", "Mu", "/music/band/live/03 \xE9t\xE9.mp3"));
    catalogue.Add(Track("Band", "Studio", "One", "/music/band/studio/one.mp3"));
    catalogue.Add(Track("Solo", "Alone", "Only", "/music/solo/only.mp3"));
    tree.Rebuild(catalogue, NodeIcons());
  }
  DisplayNode* Row(const std::string& shownStart) {
    for (DisplayNode* n = tree.GetFirstChild(); n; n = DisplayNode::PreOrderNext(n, &tree))
      if (n->GetName().rfind(shownStart, 0) == 0) return n;
    return nullptr;
  }
  std::string PlayListText() {
    auto bytes = test::ReadBytes(playList);
    return {bytes.begin(), bytes.end()};
  }

  test::TempDir dir;
  test::ScopedCurrentDir inDir{dir.Path()};
  std::string playList = kTemporaryPlayList;
  CCatalogue catalogue;
  TreeView tree;
  RecordingShell shell;
  test::RecordingPrompt prompt;
};

TEST_F(HandOff, NothingSelectedWritesAnEmptyFileAndStillAsksTheShell) {
  EXPECT_TRUE(HandOffSelection(tree, ShellAction::Play, shell, prompt));
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].path, "Jukebar.m3u");
  EXPECT_EQ(shell.calls[0].action, ShellAction::Play);
  EXPECT_TRUE(shell.calls[0].bytes.empty());
  EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(HandOff, AnAlbumGivesItsTracksInTreeOrder) {
  Row("Live")->SetSelection(Selected);
  EXPECT_TRUE(HandOffSelection(tree, ShellAction::Enqueue, shell, prompt));
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].action, ShellAction::Enqueue);
  EXPECT_EQ(shell.calls[0].bytes, test::Bytes("/music/band/live/01 zeta.mp3\r\n/music/band/live/02 alpha.mp3\r\n"
                                              "/music/band/live/03 \xE9t\xE9.mp3\r\n"));
}

TEST_F(HandOff, AMergedRowGivesThePathAtTheEndOfItsChain) {
  DisplayNode* solo = Row("Solo");
  ASSERT_EQ(solo->GetName(), "Solo \x10 Alone \x10 Only");
  solo->SetSelection(Selected);
  Row("Studio")->SetSelection(Selected);
  EXPECT_TRUE(HandOffSelection(tree, ShellAction::Play, shell, prompt));
  EXPECT_EQ(PlayListText(), "/music/band/studio/one.mp3\r\n/music/solo/only.mp3\r\n");
}

TEST_F(HandOff, ASecondHandOffReplacesTheFirst) {
  tree.SetSelection(Selected);
  EXPECT_TRUE(HandOffSelection(tree, ShellAction::Play, shell, prompt));
  EXPECT_EQ(shell.calls[0].bytes, test::Bytes("/music/band/live/01 zeta.mp3\r\n/music/band/live/02 alpha.mp3\r\n"
                                              "/music/band/live/03 \xE9t\xE9.mp3\r\n/music/band/studio/one.mp3\r\n"
                                              "/music/solo/only.mp3\r\n"));
  tree.SetSelection(Unselected);
  Row("Studio")->SetSelection(Selected);
  EXPECT_TRUE(HandOffSelection(tree, ShellAction::Play, shell, prompt));
  EXPECT_EQ(PlayListText(), "/music/band/studio/one.mp3\r\n");
  EXPECT_FALSE(FileExists(dir / "Jukebar.m3u.tmp"));
}

TEST_F(HandOff, APlayListThatCannotBeWrittenKeepsTheShellOut) {
  // A folder that does not exist.
  EXPECT_FALSE(HandOffSelection(tree, ShellAction::Play, shell, prompt, dir / "missing/Jukebar.m3u"));
  EXPECT_EQ(prompt.messages, std::vector<int>{8});
  EXPECT_TRUE(shell.calls.empty());

  // A full disk half-way: the previous list stays whole, nothing is played.
  test::WriteText(playList, "/old.mp3\r\n");
  tree.SetSelection(Selected);
  test::WithFileSizeLimit(40, [&] { EXPECT_FALSE(HandOffSelection(tree, ShellAction::Play, shell, prompt)); });
  EXPECT_EQ(prompt.messages, (std::vector<int>{8, 8}));
  EXPECT_TRUE(shell.calls.empty());
  EXPECT_EQ(PlayListText(), "/old.mp3\r\n");
}

TEST_F(HandOff, APlayerNotFoundLeavesThePlayListWritten) {
  shell.answer = false;
  Row("Studio")->SetSelection(Selected);
  EXPECT_FALSE(HandOffSelection(tree, ShellAction::Enqueue, shell, prompt));
  EXPECT_EQ(prompt.messages, std::vector<int>{9});
  EXPECT_EQ(PlayListText(), "/music/band/studio/one.mp3\r\n");
}

TEST_F(HandOff, AutoLoadEnqueuesAnEmptiedPlayList) {
  test::WriteText(playList, "/old.mp3\r\n");
  EXPECT_TRUE(AutoLoadPlayer(shell, prompt));
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].action, ShellAction::Enqueue);
  EXPECT_TRUE(shell.calls[0].bytes.empty());
  EXPECT_TRUE(prompt.messages.empty());

  // Both failures give message 9.
  shell.answer = false;
  EXPECT_FALSE(AutoLoadPlayer(shell, prompt));
  EXPECT_FALSE(AutoLoadPlayer(shell, prompt, dir / "missing/Jukebar.m3u"));
  EXPECT_EQ(prompt.messages, (std::vector<int>{9, 9}));
  EXPECT_EQ(shell.calls.size(), 2u);
}

}  // namespace
}  // namespace jb
