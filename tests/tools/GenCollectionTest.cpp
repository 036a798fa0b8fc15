#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <stdexcept>
#include <string>

#include "CollectionGenerator.h"
#include "TestSupport.h"

namespace jb::gen {
namespace {

namespace fs = std::filesystem;

// What a tree holds, keyed by path relative to its root: file bytes, link
// targets, or nothing for directories.
struct Entry {
  char kind;  // 'f', 'd' or 'l'
  std::string data;
  bool operator==(const Entry&) const = default;
};
using Tree = std::map<std::string, Entry>;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Tree Snapshot(const std::string& root) {
  Tree tree;
  for (const fs::directory_entry& e : fs::recursive_directory_iterator(root)) {
    std::string rel = e.path().string().substr(root.size() + 1);
    if (e.is_symlink()) tree[rel] = {'l', fs::read_symlink(e.path()).string()};
    else if (e.is_directory()) tree[rel] = {'d', {}};
    else tree[rel] = {'f', ReadFile(e.path())};
  }
  return tree;
}

bool HasExtension(const std::string& path, std::string_view lowerExt) {
  if (path.size() < lowerExt.size()) return false;
  std::string tail = path.substr(path.size() - lowerExt.size());
  for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return tail == lowerExt;
}

bool IsHidden(const std::string& rel) { return rel[0] == '.' || rel.find("/.") != std::string::npos; }

std::string FileName(const std::string& rel) { return rel.substr(rel.rfind('/') + 1); }

// A tag field as a scan reads it: up to the first zero byte, less trailing spaces.
std::string Field(const std::string& tag, std::size_t at, std::size_t width) {
  std::string s = tag.substr(at, width);
  s = s.substr(0, s.find('\0'));
  return s.substr(0, s.find_last_not_of(' ') + 1);
}

std::string Trimmed30(const std::string& name) {
  std::string s = name.substr(0, 30);
  return s.substr(0, s.find_last_not_of(' ') + 1);
}

bool HasTag(const std::string& bytes) {
  return bytes.size() >= 128 && bytes.compare(bytes.size() - 128, 3, "TAG") == 0;
}

bool IsValidUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    auto c = static_cast<unsigned char>(s[i]);
    std::size_t n = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : 9;
    if (n > 3 || i + n >= s.size()) return false;
    for (std::size_t k = 1; k <= n; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += n + 1;
  }
  return true;
}

// One collection of 2000 files shared by the tests that only read it.
class GeneratedCollection : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_dir = new test::TempDir;
    s_root = *s_dir / "music";
    s_summary = GenerateCollection({s_root, 2000, 7});
    s_tree = new Tree(Snapshot(s_root));
  }
  static void TearDownTestSuite() {
    delete s_tree;
    delete s_dir;
  }

  template <class F>
  static void ForEachMp3(F f) {
    for (const auto& [rel, e] : *s_tree)
      if (e.kind == 'f' && HasExtension(rel, ".mp3")) f(rel, e.data);
  }

  static inline test::TempDir* s_dir = nullptr;
  static inline std::string s_root;
  static inline CollectionSummary s_summary;
  static inline Tree* s_tree = nullptr;
};

TEST(GenCollectionTest, SameArgumentsGiveTheSameTreeAndOtherSeedsAnother) {
  test::TempDir dir;
  const std::string root = dir / "c";
  CollectionSummary first = GenerateCollection({root, 700, 3});
  Tree tree = Snapshot(root);
  fs::remove_all(root);
  CollectionSummary second = GenerateCollection({root, 700, 3});
  EXPECT_EQ(tree, Snapshot(root));
  EXPECT_EQ(FormatSummary(first), FormatSummary(second));

  GenerateCollection({dir / "other", 700, 4});
  EXPECT_NE(tree, Snapshot(dir / "other"));
}

TEST(GenCollectionTest, WritesExactlyTheFilesAsked) {
  test::TempDir dir;
  for (std::uint64_t n : {0, 1, 7, 49, 50, 333}) {
    const std::string root = dir / std::to_string(n);
    CollectionSummary s = GenerateCollection({root, n, 1});
    std::uint64_t files = 0, dirs = 0, links = 0, bytes = 0;
    for (const auto& [rel, e] : Snapshot(root)) {
      if (e.kind == 'f') ++files, bytes += e.data.size();
      else if (e.kind == 'd') ++dirs;
      else ++links;
    }
    EXPECT_EQ(files, n);
    EXPECT_EQ(s.files, n);
    EXPECT_EQ(s.bytes, bytes);
    EXPECT_EQ(s.directories, dirs);
    EXPECT_EQ(s.links, links);
  }
}

constexpr const char* kProgram = "tools/gencollection/gencollection";

// Separate processes: nothing that differs between runs (addresses, hash
// seeds, the clock) may reach the tree.
TEST(GenCollectionProgramTest, TwoRunsWriteTheSameTreeAndPrintOneLine) {
  test::TempDir dir;
  const std::string root = dir / "c";
  test::ProgramResult first = test::RunProgram(kProgram, {root, "--files", "400", "--seed", "9"});
  ASSERT_EQ(first.status, 0) << first.err;
  Tree tree = Snapshot(root);
  fs::remove_all(root);
  test::ProgramResult second = test::RunProgram(kProgram, {"--seed", "9", "--files", "400", root});
  ASSERT_EQ(second.status, 0) << second.err;
  EXPECT_EQ(tree, Snapshot(root));
  EXPECT_EQ(first.out, second.out);
  EXPECT_TRUE(first.out.starts_with(root + ": 400 files, ")) << first.out;
  EXPECT_EQ(std::count(first.out.begin(), first.out.end(), '\n'), 1);

  test::ProgramResult again = test::RunProgram(kProgram, {root, "--files", "400"});
  EXPECT_EQ(again.status, 1);
  EXPECT_NE(again.err.find("not an empty directory"), std::string::npos) << again.err;
  const std::vector<std::vector<std::string>> bad = {
      {}, {"--files", "3"}, {"x", "--files"}, {"x", "--files", "-1"}, {"x", "--files", "3", "--seed"},
      {"x", "y", "--files", "3"}, {"x", "--files", "3k"}};
  for (const auto& args : bad) EXPECT_EQ(test::RunProgram(kProgram, args).status, 2) << testing::PrintToString(args);
}

TEST(GenCollectionTest, RefusesADirectoryThatHoldsAnything) {
  test::TempDir dir;
  test::WriteText(dir / "keep.txt", "mine");
  EXPECT_THROW(GenerateCollection({dir.Path(), 10, 1}), std::runtime_error);
  EXPECT_EQ(Snapshot(dir.Path()).size(), 1u);
}

TEST_F(GeneratedCollection, MixesTagKindsAsTheSummarySays) {
  std::uint64_t v1 = 0, both = 0, v2Only = 0, untagged = 0, short_ = 0, falseMarker = 0;
  ForEachMp3([&](const std::string& rel, const std::string& bytes) {
    bool v2 = bytes.compare(0, 3, "ID3") == 0;
    if (v2) {
      // Sync-safe size: no byte with its top bit set, and the frames fit the file.
      ASSERT_GE(bytes.size(), 10u) << rel;
      std::uint32_t size = 0;
      for (int i = 6; i < 10; ++i) {
        ASSERT_LT(static_cast<unsigned char>(bytes[i]), 0x80) << rel;
        size = size << 7 | static_cast<unsigned char>(bytes[i]);
      }
      EXPECT_LE(size + 10u, bytes.size()) << rel;
      EXPECT_EQ(bytes.compare(10, 4, "TIT2"), 0) << rel;
    }
    if (HasTag(bytes)) ++v1, both += v2;
    else if (v2) ++v2Only;
    else ++untagged;
    short_ += bytes.size() < 128;
    falseMarker += bytes.size() >= 128 && bytes.compare(bytes.size() - 128, 3, "tag") == 0;
  });
  EXPECT_EQ(v1, s_summary.id3v1);
  EXPECT_EQ(v2Only, s_summary.id3v2Only);
  EXPECT_EQ(untagged, s_summary.untagged);
  EXPECT_GT(v1, 2 * (v2Only + untagged));
  EXPECT_GT(both, 0u);
  EXPECT_GT(v2Only, 0u);
  EXPECT_GT(short_, 0u);
  EXPECT_GT(falseMarker, 0u);
}

// Tracks live in Artist/Album[/CDn]/NN - Title.mp3, compilation tracks in
// Various Artists/Album/NN - Artist - Title.mp3; their tags say the same.
TEST_F(GeneratedCollection, Id3v1TagsHoldThirtyByteFieldsMatchingTheNames) {
  int checked = 0, full = 0, spacePadded = 0, emptyTitle = 0;
  ForEachMp3([&](const std::string& rel, const std::string& bytes) {
    if (!HasTag(bytes) || IsHidden(rel)) return;
    const std::string tag = bytes.substr(bytes.size() - 128);
    std::vector<std::string> parts;
    for (std::size_t from = 0, to; from <= rel.size(); from = to + 1) {
      to = rel.find('/', from);
      if (to == std::string::npos) to = rel.size();
      parts.push_back(rel.substr(from, to - from));
    }
    ASSERT_GE(parts.size(), 3u) << rel;
    std::string name = parts.back().substr(0, parts.back().rfind('.'));
    std::string album = parts[parts.size() - (parts[parts.size() - 2].starts_with("CD") ? 3 : 2)];
    std::string artist = parts[0];
    ASSERT_EQ(name.substr(2, 3), " - ") << rel;
    std::string title = name.substr(5);
    if (artist == "Various Artists") {
      artist = title.substr(0, title.find(" - "));
      title = title.substr(title.find(" - ") + 3);
    }
    std::string t = Field(tag, 3, 30), ar = Field(tag, 33, 30), al = Field(tag, 63, 30);
    EXPECT_TRUE(t.empty() || t == Trimmed30(title)) << rel << ": " << t;
    EXPECT_TRUE(ar.empty() || artist.starts_with(ar)) << rel << ": " << ar;
    EXPECT_TRUE(album.starts_with(al)) << rel;
    EXPECT_FALSE(al.empty()) << rel;
    // Version 1.1: a zero byte, then the track number of the file name.
    EXPECT_EQ(tag[125], '\0') << rel;
    EXPECT_EQ(static_cast<unsigned char>(tag[126]), std::stoi(name.substr(0, 2))) << rel;
    for (int i = 93; i < 97; ++i) EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(tag[i]))) << rel;
    ++checked;
    full += tag.substr(3, 30).find('\0') == std::string::npos && tag[32] != ' ';
    spacePadded += tag[62] == ' ';
    emptyTitle += t.empty();
  });
  EXPECT_GT(checked, 1000);
  EXPECT_GT(full, 0);
  EXPECT_GT(spacePadded, 0);
  EXPECT_GT(emptyTitle, 0);
}

TEST_F(GeneratedCollection, CompilationAlbumsNameSeveralArtists) {
  std::map<std::string, std::set<std::string>> artistsByAlbum;  // by album field
  std::map<std::string, std::set<std::string>> foldersByAlbum;
  ForEachMp3([&](const std::string& rel, const std::string& bytes) {
    if (!HasTag(bytes) || IsHidden(rel)) return;
    std::string album = Field(bytes, bytes.size() - 128 + 63, 30);
    artistsByAlbum[album].insert(Field(bytes, bytes.size() - 128 + 33, 30));
    foldersByAlbum[album].insert(rel.substr(0, rel.find('/')));
  });
  int compilations = 0, sharedNames = 0;
  for (const auto& [album, artists] : artistsByAlbum) {
    if (artists.size() < 2) continue;
    ++compilations;
    sharedNames += foldersByAlbum[album].size() >= 2;  // one name, several artist folders
  }
  EXPECT_GT(compilations, 1);
  EXPECT_GT(sharedNames, 0);
  EXPECT_EQ(s_tree->at("Various Artists").kind, 'd');
}

TEST_F(GeneratedCollection, HidesFilesAndFoldersThatHoldMusic) {
  std::uint64_t hiddenFiles = 0, inHiddenFolder = 0, hiddenNamedMp3 = 0;
  for (const auto& [rel, e] : *s_tree) {
    if (e.kind != 'f' || !IsHidden(rel)) continue;
    ++hiddenFiles;
    bool mp3 = HasExtension(rel, ".mp3");
    if (FileName(rel)[0] == '.') hiddenNamedMp3 += mp3;
    else inHiddenFolder += mp3;
  }
  EXPECT_EQ(hiddenFiles, s_summary.hidden);
  EXPECT_GT(inHiddenFolder, 0u);
  EXPECT_GT(hiddenNamedMp3, 0u);
}

TEST_F(GeneratedCollection, ALinkLoopsBackToAnAncestorAndOneDangles) {
  int loops = 0, dangling = 0;
  for (const auto& [rel, e] : *s_tree) {
    if (e.kind != 'l') continue;
    EXPECT_NE(e.data[0], '/') << "a link with an absolute target ties the tree to its place: " << rel;
    struct stat target;
    if (::stat((s_root + "/" + rel).c_str(), &target) != 0) {
      ++dangling;
      continue;
    }
    for (fs::path up = fs::path(s_root + "/" + rel).parent_path(); up.string().size() >= s_root.size();
         up = up.parent_path()) {
      struct stat ancestor;
      ASSERT_EQ(::stat(up.c_str(), &ancestor), 0);
      if (ancestor.st_dev == target.st_dev && ancestor.st_ino == target.st_ino) {
        ++loops;
        break;
      }
    }
  }
  EXPECT_GE(loops, 2);
  EXPECT_EQ(dangling, 1);
}

TEST_F(GeneratedCollection, PlayListsUseCrLfAndNameFilesOfTheCollection) {
  const std::string absRoot = fs::absolute(s_root).lexically_normal().string();
  int lists = 0, extended = 0, absolute = 0, relative = 0, missing = 0, empty = 0;
  for (const auto& [rel, e] : *s_tree) {
    if (e.kind != 'f' || !HasExtension(rel, ".m3u")) continue;
    ++lists;
    const std::string& text = e.data;
    for (std::size_t i = 0; i < text.size(); ++i) {
      bool lineFeed = text[i] == '\n', carriageReturn = text[i] == '\r';
      ASSERT_TRUE(!lineFeed || (i > 0 && text[i - 1] == '\r')) << rel;
      ASSERT_TRUE(!carriageReturn || (i + 1 < text.size() && text[i + 1] == '\n')) << rel;
    }
    empty += text.empty();
    extended += text.starts_with("#EXTM3U\r\n#EXTINF:");
    fs::path dir = fs::path(s_root + "/" + rel).parent_path();
    for (std::size_t from = 0, to; from < text.size(); from = to + 2) {
      to = std::min(text.find("\r\n", from), text.size());
      std::string line = text.substr(from, to - from);
      if (line.empty() || line[0] == '#') continue;
      bool isAbsolute = line[0] == '/';
      EXPECT_TRUE(!isAbsolute || line.starts_with(absRoot + "/")) << line;
      absolute += isAbsolute;
      relative += !isAbsolute;
      if (fs::exists(isAbsolute ? fs::path(line) : dir / line)) continue;
      ++missing;
      EXPECT_TRUE(line.ends_with("/Missing/gone.mp3")) << rel << ": " << line;
    }
  }
  EXPECT_EQ(static_cast<std::uint64_t>(lists), s_summary.playLists);
  EXPECT_GT(extended, 0);
  EXPECT_GT(absolute, 0);
  EXPECT_GT(relative, 0);
  EXPECT_GT(missing, 0);
  EXPECT_EQ(empty, 1);
}

TEST_F(GeneratedCollection, NamesMixLatin1AndUtf8AndOtherKindsOfFiles) {
  int utf8 = 0, latin1 = 0;
  std::map<std::string, int> kinds;
  for (const auto& [rel, e] : *s_tree) {
    std::string name = FileName(rel);
    bool ascii = std::all_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!ascii) (IsValidUtf8(name) ? utf8 : latin1)++;
    for (const char* ext : {".jpg", ".txt", ".avi", ".mid", ".rmi"})
      if (e.kind == 'f' && HasExtension(rel, ext)) ++kinds[ext];
  }
  EXPECT_GT(utf8, 0);
  EXPECT_GT(latin1, 0);
  EXPECT_EQ(kinds.size(), 5u);
}

}  // namespace
}  // namespace jb::gen
