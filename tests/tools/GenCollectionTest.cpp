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

TEST_F(GeneratedCollection, MixesTagKindsNamesAndFilesAsTheSummarySays) {
  std::uint64_t v1 = 0, both = 0, v2Only = 0, untagged = 0, tooShort = 0, falseMarker = 0, hidden = 0;
  std::uint64_t hiddenName = 0, inHiddenFolder = 0, utf8 = 0, latin1 = 0;  // music files hidden both ways
  std::uint64_t files = 0, bytes = 0, dirs = 0, links = 0;
  std::set<std::string> kinds;
  for (const auto& [rel, e] : s_tree) {
    std::string name = fs::path(rel).filename().string();
    // The names' UTF-8 letters take two bytes; in Latin-1 one, between ASCII letters.
    bool twoByte = std::adjacent_find(name.begin(), name.end(), [](char a, char b) {
                     return (a & 0xE0) == 0xC0 && (b & 0xC0) == 0x80;
                   }) != name.end();
    if (std::any_of(name.begin(), name.end(), [](char c) { return c & 0x80; })) ++(twoByte ? utf8 : latin1);
    for (const char* ext : {".jpg", ".txt", ".avi", ".mid", ".rmi"})
      if (e.first == 'f' && Is(rel, ext)) kinds.insert(ext);
    e.first == 'f' ? (++files, bytes += e.second.size()) : e.first == 'd' ? ++dirs : ++links;
    hidden += e.first == 'f' && IsHidden(rel);
    if (e.first != 'f' || !Is(rel, ".mp3")) continue;
    const std::string& data = e.second;
    if (IsHidden(rel)) ++(name[0] == '.' ? hiddenName : inHiddenFolder);
    bool v2 = data.starts_with("ID3");
    if (v2) {  // a sync-safe size that fits the file, then the title frame
      std::uint32_t size = 0, high = 0;
      for (int i = 6; i < 10; ++i) size = size << 7 | (data.at(i) & 0x7F), high |= data.at(i) & 0x80;
      EXPECT_TRUE(high == 0 && size + 10 <= data.size() && data.compare(10, 4, "TIT2") == 0) << rel;
    }
    HasTag(data) ? (++v1, both += v2) : v2 ? ++v2Only : ++untagged;
    tooShort += data.size() < 128;
    falseMarker += data.size() >= 128 && data.compare(data.size() - 128, 3, "tag") == 0;
  }
  const CollectionSummary& s = s_summary;
  EXPECT_EQ(
      std::vector<std::uint64_t>({files, bytes, dirs, links, v1, v2Only, untagged, hidden}),
      std::vector<std::uint64_t>({2000, s.bytes, s.directories, s.links, s.id3v1, s.id3v2Only, s.untagged, s.hidden}));
  EXPECT_GT(v1, 2 * (v2Only + untagged));
  EXPECT_EQ(kinds.size(), 5u);
  for (std::uint64_t n : {both, v2Only, tooShort, falseMarker, hiddenName, inHiddenFolder, utf8, latin1})
    EXPECT_GT(n, 0u);
}

// Tracks live in Artist/Album[/CDn]/NN - Title.mp3, compilation tracks in
// Various Artists/Album/NN - Artist - Title.mp3; their ID3 version 1.1 tags
// say the same in 30-byte fields, some full, some space-padded, some empty.
TEST_F(GeneratedCollection, Id3v1TagsMatchTheNames) {
  int checked = 0, full = 0, spacePadded = 0, emptyTitle = 0;
  std::map<std::string, std::set<std::string>> artistsByAlbum;
  for (const auto& [rel, e] : s_tree) {
    const std::string& bytes = e.second;
    if (e.first != 'f' || !Is(rel, ".mp3") || !HasTag(bytes) || IsHidden(rel)) continue;
    fs::path p(rel);
    std::string name = p.stem().string(), album = p.parent_path().filename().string();
    if (album.starts_with("CD")) album = p.parent_path().parent_path().filename().string();
    std::string artist = rel.substr(0, rel.find('/')), title = name.substr(5);
    if (artist == "Various Artists")
      artist = title.substr(0, title.find(" - ")), title = title.substr(title.find(" - ") + 3);
    std::string t = Field(bytes, 3), ar = Field(bytes, 33), al = Field(bytes, 63);
    std::string title30 = title.substr(0, 30);
    EXPECT_TRUE(t.empty() || t == title30.substr(0, title30.find_last_not_of(' ') + 1)) << rel << ": " << t;
    EXPECT_TRUE(ar.empty() || artist.starts_with(ar)) << rel << ": " << ar;
    EXPECT_TRUE(!al.empty() && album.starts_with(al)) << rel;
    const char* tag = bytes.data() + bytes.size() - 128;
    EXPECT_EQ(tag[125], '\0') << rel;  // then the track number of the file name
    EXPECT_EQ(static_cast<unsigned char>(tag[126]), std::stoi(name.substr(0, 2))) << rel;
    EXPECT_TRUE(std::all_of(tag + 93, tag + 97, ::isdigit)) << rel;
    ++checked;
    full += std::string(tag + 3, 30).find('\0') == std::string::npos && tag[32] != ' ';
    spacePadded += tag[62] == ' ';
    emptyTitle += t.empty();
    artistsByAlbum[al].insert(ar);
  }
  EXPECT_GT(checked, 1000);
  int compilations =
      std::count_if(artistsByAlbum.begin(), artistsByAlbum.end(), [](auto& a) { return a.second.size() > 1; });
  for (int n : {full, spacePadded, emptyTitle, compilations - 1}) EXPECT_GT(n, 0);
}

TEST_F(GeneratedCollection, ALinkLoopsBackToAnAncestorAndOneDangles) {
  int loops = 0, dangling = 0;
  for (const auto& [rel, e] : s_tree) {
    if (e.first != 'l') continue;
    EXPECT_NE(e.second[0], '/') << "an absolute target ties the tree to its place: " << rel;
    struct stat target, up;
    if (::stat((s_root + "/" + rel).c_str(), &target) != 0)
      ++dangling;
    else
      for (fs::path p = fs::path(s_root + "/" + rel).parent_path(); p.string().size() >= s_root.size();
           p = p.parent_path())
        if (::stat(p.c_str(), &up) == 0 && up.st_dev == target.st_dev && up.st_ino == target.st_ino) ++loops;
  }
  EXPECT_GE(loops, 2);
  EXPECT_EQ(dangling, 1);
}

TEST_F(GeneratedCollection, PlayListsUseCrLfAndNameFilesOfTheCollection) {
  const std::string absRoot = fs::absolute(s_root).lexically_normal().string();
  std::uint64_t lists = 0, extended = 0, absolute = 0, relative = 0, missing = 0, empty = 0;
  for (const auto& [rel, e] : s_tree) {
    if (e.first != 'f' || !Is(rel, ".m3u")) continue;
    const std::string& text = e.second;
    ++lists, empty += text.empty(), extended += text.starts_with("#EXTM3U\r\n#EXTINF:");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), std::count(text.begin(), text.end(), '\r')) << rel;
    for (std::size_t from = 0, to; from < text.size(); from = to + 2) {
      to = std::min(text.find("\r\n", from), text.size());
      std::string line = text.substr(from, to - from);
      if (line.empty() || line[0] == '#') continue;
      bool isAbsolute = line[0] == '/';
      EXPECT_TRUE(!isAbsolute || line.starts_with(absRoot + "/")) << line;
      ++(isAbsolute ? absolute : relative);
      if (fs::exists(isAbsolute ? fs::path(line) : fs::path(s_root + "/" + rel).parent_path() / line)) continue;
      ++missing;
      EXPECT_TRUE(line.ends_with("/Missing/gone.mp3")) << rel << ": " << line;
    }
  }
  EXPECT_EQ(lists, s_summary.playLists);
  EXPECT_EQ(empty, 1u);
  for (std::uint64_t n : {extended, absolute, relative, missing}) EXPECT_GT(n, 0u);
}

}  // namespace
}  // namespace jb::gen
