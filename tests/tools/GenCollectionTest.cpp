#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <set>
#include <stdexcept>

#include "CollectionGenerator.h"
#include "TestSupport.h"

namespace jb::gen {
namespace {

namespace fs = std::filesystem;

// By path below the root: 'f' and the bytes, 'd', or 'l' and the link target.
using Tree = std::map<std::string, std::pair<char, std::string>>;

Tree Snapshot(const std::string& root) {
  Tree tree;
  for (const fs::directory_entry& e : fs::recursive_directory_iterator(root)) {
    std::string rel = e.path().string().substr(root.size() + 1);
    if (e.is_symlink())
      tree[rel] = {'l', fs::read_symlink(e.path()).string()};
    else if (e.is_directory())
      tree[rel] = {'d', ""};
    else if (auto bytes = test::ReadBytes(e.path().string()); true)
      tree[rel] = {'f', {bytes.begin(), bytes.end()}};
  }
  return tree;
}

bool Is(std::string rel, const std::string& ext) {
  for (char& c : rel) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return rel.ends_with(ext);
}

// One collection of 2000 files shared by the tests that only read it.
class GeneratedCollection : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_dir = new test::TempDir;
    s_summary = GenerateCollection({s_root = *s_dir / "music", 2000, 7});
    s_tree = Snapshot(s_root);
  }
  static void TearDownTestSuite() { delete s_dir; }

  static inline test::TempDir* s_dir = nullptr;
  static inline std::string s_root;
  static inline CollectionSummary s_summary;
  static inline Tree s_tree;
};

// Again in another process: nothing that differs between runs (addresses,
// hash seeds, the clock) may reach the tree.
TEST_F(GeneratedCollection, TheSameArgumentsGiveTheSameTreeAndOtherSeedsAnother) {
  EXPECT_THROW(GenerateCollection({s_root, 10, 7}), std::runtime_error);  // not over old files
  fs::remove_all(s_root);
  test::ProgramResult run =
      test::RunProgram("tools/gencollection/gencollection", {s_root, "--files", "2000", "--seed", "7"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(s_tree == Snapshot(s_root));
  EXPECT_EQ(run.out, s_root + ": " + FormatSummary(s_summary) + "\n");
  GenerateCollection({*s_dir / "other", 2000, 8});
  EXPECT_FALSE(s_tree == Snapshot(*s_dir / "other"));
}

// The summary counts what is there, and every kind of file and link a scan
// must cope with occurs: tags of both versions or none, a false "tag" marker,
// hidden files, other types, loops and a dangling link, play-lists.
TEST_F(GeneratedCollection, HoldsWhatTheSummarySays) {
  std::uint64_t files = 0, bytes = 0, dirs = 0, links = 0, v1 = 0, both = 0, v2Only = 0, untagged = 0;
  std::uint64_t hidden = 0, falseMarker = 0, lists = 0, loops = 0, dangling = 0;
  std::set<std::string> kinds;
  for (const auto& [rel, e] : s_tree) {
    const std::string path = s_root + "/" + rel, &data = e.second;
    if (e.first == 'l') {
      ++links;
      EXPECT_NE(data[0], '/') << "an absolute target ties the tree to its place: " << rel;
      struct stat target, up;
      if (::stat(path.c_str(), &target) != 0 && ++dangling) continue;
      for (fs::path p = fs::path(path).parent_path(); p.string().size() >= s_root.size(); p = p.parent_path())
        loops += ::stat(p.c_str(), &up) == 0 && up.st_dev == target.st_dev && up.st_ino == target.st_ino;
    }
    if (e.first != 'f') {
      dirs += e.first == 'd';
      continue;
    }
    ++files, bytes += data.size(), lists += Is(rel, ".m3u");
    hidden += rel[0] == '.' || rel.find("/.") != std::string::npos;
    for (const char* ext : {".jpg", ".txt", ".avi", ".mid", ".rmi"})
      if (Is(rel, ext)) kinds.insert(ext);
    if (!Is(rel, ".mp3")) continue;
    const bool v2 = data.starts_with("ID3"), tail = data.size() >= 128;
    tail && data.compare(data.size() - 128, 3, "TAG") == 0 ? (++v1, both += v2) : v2 ? ++v2Only : ++untagged;
    falseMarker += tail && data.compare(data.size() - 128, 3, "tag") == 0;
  }
  const CollectionSummary& s = s_summary;
  EXPECT_EQ(std::vector<std::uint64_t>({files, bytes, dirs, links, v1, v2Only, untagged, hidden, lists, dangling}),
            std::vector<std::uint64_t>(
                {2000, s.bytes, s.directories, s.links, s.id3v1, s.id3v2Only, s.untagged, s.hidden, s.playLists, 1}));
  EXPECT_GT(v1, 2 * (v2Only + untagged));
  EXPECT_EQ(kinds.size(), 5u);
  EXPECT_GE(loops, 2u);
  EXPECT_GT(both * falseMarker, 0u);
}

}  // namespace
}  // namespace jb::gen
