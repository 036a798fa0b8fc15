#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
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
bool IsHidden(const std::string& rel) { return rel[0] == '.' || rel.find("/.") != std::string::npos; }
bool HasTag(const std::string& bytes) {
  return bytes.size() >= 128 && bytes.compare(bytes.size() - 128, 3, "TAG") == 0;
}
// A tag field as a scan reads it: up to the first zero byte, less trailing spaces.
std::string Field(const std::string& bytes, std::size_t at) {
  std::string s = bytes.substr(bytes.size() - 128 + at, 30);
  s = s.substr(0, s.find('\0'));
  return s.substr(0, s.find_last_not_of(' ') + 1);
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

// The summary counts what is there, every kind of file and name a scan must
// cope with occurs, and tagged songs say in their tags what their paths say:
// Artist/Album[/CDn]/NN - Title.mp3, or Various Artists/Album/NN - Artist -
// Title.mp3 for compilations.
TEST_F(GeneratedCollection, HoldsWhatTheSummarySaysAndTagsMatchTheNames) {
  std::uint64_t v1 = 0, both = 0, v2Only = 0, untagged = 0, falseMarker = 0, hidden = 0, utf8 = 0, latin1 = 0;
  std::uint64_t files = 0, bytes = 0, dirs = 0, links = 0, emptyTitles = 0;
  std::set<std::string> kinds;
  std::map<std::string, std::set<std::string>> artistsByAlbum;
  for (const auto& [rel, e] : s_tree) {
    const std::string& data = e.second;
    const fs::path p(rel);
    const std::string name = p.stem().string();
    // A UTF-8 letter takes two bytes; a Latin-1 one stands among ASCII letters.
    if (std::any_of(name.begin(), name.end(), [](char c) { return c & 0x80; }))
      ++(std::adjacent_find(name.begin(), name.end(),
                            [](char a, char b) { return (a & 0xE0) == 0xC0 && (b & 0xC0) == 0x80; }) != name.end()
             ? utf8
             : latin1);
    e.first == 'f' ? (++files, bytes += data.size()) : e.first == 'd' ? ++dirs : ++links;
    if (e.first != 'f') continue;
    hidden += IsHidden(rel);
    for (const char* ext : {".jpg", ".txt", ".avi", ".mid", ".rmi"})
      if (Is(rel, ext)) kinds.insert(ext);
    if (!Is(rel, ".mp3")) continue;
    const bool v2 = data.starts_with("ID3");
    HasTag(data) ? (++v1, both += v2) : v2 ? ++v2Only : ++untagged;
    falseMarker += data.size() >= 128 && data.compare(data.size() - 128, 3, "tag") == 0;
    if (!HasTag(data) || IsHidden(rel)) continue;
    std::string album = p.parent_path().filename().string();
    if (album.starts_with("CD")) album = p.parent_path().parent_path().filename().string();
    std::string artist = rel.substr(0, rel.find('/')), title = name.substr(5);
    if (artist == "Various Artists")
      artist = title.substr(0, title.find(" - ")), title = title.substr(title.find(" - ") + 3);
    const std::string t = Field(data, 3), ar = Field(data, 33), al = Field(data, 63);
    EXPECT_TRUE(t.empty() || title.starts_with(t)) << rel << ": " << t;
    EXPECT_TRUE(ar.empty() || artist.starts_with(ar)) << rel << ": " << ar;
    EXPECT_TRUE(!al.empty() && album.starts_with(al)) << rel;
    EXPECT_EQ(static_cast<unsigned char>(data[data.size() - 2]), std::stoi(name.substr(0, 2))) << rel;  // track
    emptyTitles += t.empty();
    artistsByAlbum[al].insert(ar);
  }
  const CollectionSummary& s = s_summary;
  EXPECT_EQ(
      std::vector<std::uint64_t>({files, bytes, dirs, links, v1, v2Only, untagged, hidden}),
      std::vector<std::uint64_t>({2000, s.bytes, s.directories, s.links, s.id3v1, s.id3v2Only, s.untagged, s.hidden}));
  EXPECT_GT(v1, 2 * (v2Only + untagged));
  EXPECT_EQ(kinds.size(), 5u);
  const auto compilations =
      std::count_if(artistsByAlbum.begin(), artistsByAlbum.end(), [](auto& a) { return a.second.size() > 1; });
  for (std::uint64_t n : {both, v2Only, falseMarker, utf8, latin1, emptyTitles, std::uint64_t(compilations)})
    EXPECT_GT(n, 0u);
}

TEST_F(GeneratedCollection, LinksLoopOrDangleAndPlayListsNameFilesOfTheCollection) {
  int loops = 0, dangling = 0;
  std::uint64_t lists = 0, missing = 0;
  for (const auto& [rel, e] : s_tree) {
    const std::string path = s_root + "/" + rel;
    if (e.first == 'l') {
      EXPECT_NE(e.second[0], '/') << "an absolute target ties the tree to its place: " << rel;
      struct stat target, up;
      if (::stat(path.c_str(), &target) != 0)
        ++dangling;
      else
        for (fs::path p = fs::path(path).parent_path(); p.string().size() >= s_root.size(); p = p.parent_path())
          loops += ::stat(p.c_str(), &up) == 0 && up.st_dev == target.st_dev && up.st_ino == target.st_ino;
    }
    if (e.first != 'f' || !Is(rel, ".m3u")) continue;
    const std::string& text = e.second;
    ++lists;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), std::count(text.begin(), text.end(), '\r')) << rel;
    for (std::size_t from = 0, to; from < text.size(); from = to + 2) {
      to = std::min(text.find("\r\n", from), text.size());
      const std::string line = text.substr(from, to - from);
      if (line.empty() || line[0] == '#' ||
          fs::exists(line[0] == '/' ? fs::path(line) : fs::path(path).parent_path() / line))
        continue;
      ++missing;
      EXPECT_TRUE(line.ends_with("/Missing/gone.mp3")) << rel << ": " << line;
    }
  }
  EXPECT_GE(loops, 2);
  EXPECT_EQ(dangling, 1);
  EXPECT_EQ(lists, s_summary.playLists);
  EXPECT_GT(missing, 0u);
}

}  // namespace
}  // namespace jb::gen
