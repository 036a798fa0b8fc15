#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>


#include "TestSupport.h"
#include "platform/Paths.h"
#include "types/BuiltinTypes.h"

namespace jb {
namespace {

struct Description {
  std::uint8_t icon = 99;
  StringList names{"stale"};
  KindList kinds{NodeKind::Root};
  StringList paths{"stale"};
};

Description Describe(const CResourceType& type, const std::string& path) {
  Description d;
  type.Describe(path, d.icon, d.names, d.kinds, d.paths);
  return d;
}

// The whole result: the icon, each level as its kind's letter (u user type,
// f folder, a artist, b album, p play-list, t file) and name, then "=" and
// each path; no icon when there are no levels.
std::string Shown(const CResourceType& type, const std::string& path) {
  Description d = Describe(type, path);
  std::string out = d.names.empty() ? "" : std::to_string(d.icon);
  for (size_t i = 0; i < std::max(d.names.size(), d.kinds.size()); ++i)
    out += "|" + std::string(1, "ufabpgtr"[static_cast<int>(d.kinds.at(i))]) + d.names.at(i);
  for (const std::string& p : d.paths) out += "|=" + p;
  return out;
}

class DescribeTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  CMpegAudioType mp3;
  CPlayListType m3u;
};

TEST_F(DescribeTest, TaggedMp3GivesArtistAlbumTitleTrimmedOnTheRightOnly) {
  const std::string path = dir / "Some Name.mp3";
  // A 30-byte title without a zero, an artist padded with blanks and zeros,
  // an album with leading spaces and trailing tabs and CRs.
  const std::string full = std::string(29, 'T') + "Z";
  test::WriteText(path, test::Id3v1Song(full, std::string("Abc   \0 x", 9), "  Lead\t\r\n\v\f "));
  EXPECT_EQ(Shown(mp3, path), "4|aAbc|b  Lead|t" + full + "|=" + path);
  // A title of 30 spaces and empty artist and album: only the file name.
  test::WriteText(path, test::Id3v1Song(std::string(30, ' '), "", ""));
  EXPECT_EQ(Shown(mp3, path), "4|tSome Name|=" + path);
}

// A fifo named like a song is not opened: reading it would wait for a writer.
TEST_F(DescribeTest, WithoutATagTheFileIsGroupedByPlace) {
  ASSERT_EQ(::mkfifo((dir / "pipe.mp3").c_str(), 0644), 0);
  std::string tagged = test::Id3v1Song("Title", "Artist", "Album");
  test::WriteText(dir / "short.mp3", tagged.substr(tagged.size() - 127));
  test::WriteText(dir / "lower.mp3", tagged.replace(tagged.size() - 128, 3, "tag"));
  test::WriteBytes(dir / "noext", std::vector<std::uint8_t>(10, 0));
  for (const char* name : {"lower.mp3", "short.mp3", "noext", "missing.mp3", "pipe.mp3"}) {
    const std::string path = dir / name;
    EXPECT_EQ(Shown(mp3, path),
              "0|u\"Tag-less\" MP3s|f" + dir.Path() + "/|t" + std::string(NameWithoutExtension(path)) + "|=" + path);
  }
}

// One entry per line, with or without a last line end; directives skipped,
// lines kept as written, a relative entry stored beside the play-list.
TEST_F(DescribeTest, PlayListGivesOneEntryPerLine) {
  const std::string path = dir / "Best of.M3u";
  for (std::string text : {"/a/one.mp3\r\ntwo.mp3\r\n", "/a/one.mp3\r\ntwo.mp3",
                           "#EXTM3U\n#EXTINF:123,Artist - Song\n/a/one.mp3\n\n\r\ntwo.mp3\r#comment\n"}) {
    test::WriteText(path, text);
    EXPECT_EQ(Shown(m3u, path), "4|pBest of|tone|ttwo|=/a/one.mp3|=" + dir / "two.mp3");
  }
  test::WriteText(path, "sub/dir/Song.v1.mp3  \n/abs/noext\n");
  EXPECT_EQ(Shown(m3u, path), "4|pBest of|tSong.v1|tnoext|=" + dir / "sub/dir/Song.v1.mp3  " + "|=/abs/noext");
}

TEST_F(DescribeTest, EmptyOrUnreadablePlayListsGiveNothing) {
  test::WriteText(dir / "empty.m3u", "");
  test::WriteText(dir / "blank.m3u", "\r\n\n\r\r\n");
  test::WriteText(dir / "c.m3u", "#EXTM3U\r\n");
  ASSERT_EQ(::mkfifo((dir / "pipe.m3u").c_str(), 0644), 0);
  for (const char* name : {"empty.m3u", "blank.m3u", "c.m3u", "missing.m3u", "", "pipe.m3u"})
    EXPECT_EQ(Shown(m3u, dir / name), "") << name;
}

TEST_F(DescribeTest, PlayListSkipsLinesLongerThanAPathAndStopsAtItsByteBound) {
  // Bytes at given offsets of a sparse file; the holes read as one long
  // line of zeros.
  auto writeAt = [](int fd, std::uint64_t offset, const std::string& text) {
    ASSERT_EQ(::pwrite(fd, text.data(), text.size(), static_cast<off_t>(offset)), static_cast<ssize_t>(text.size()));
  };
  const std::string longest = "/" + std::string(kMaxPathLength - 1, 'k');
  const std::string path = dir / "big.m3u";
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(fd, 0);
  // The longest path, one byte more, lines longer than a read, and a line
  // across 32 KiB, where reads of any size up to that split it.
  std::string start = longest + "\r\n" + longest + "x\n" + std::string(16384, 'y') + "\n";
  start += std::string(32760 - start.size() - 1, 'z') + "\n/s/straddle.mp3\n";
  writeAt(fd, 0, start);
  const std::uint64_t bound = CPlayListType::kMaxBytes;
  writeAt(fd, bound - 200, "\n/b/before the bound.mp3\n/b/cut by the bound.mp3");
  writeAt(fd, bound + 100, "\n/b/after.mp3\n");
  ::close(fd);
  Description d = Describe(m3u, path);
  // Each path by its length and end, so a failure prints a few lines.
  auto shortly = [](const StringList& paths) {
    StringList out;
    for (const std::string& p : paths)
      out.push_back(std::to_string(p.size()) + ":" + p.substr(p.size() - std::min<size_t>(p.size(), 12)));
    return out;
  };
  EXPECT_EQ(shortly(d.paths), shortly({longest, "/s/straddle.mp3", "/b/before the bound.mp3"}));
  EXPECT_EQ(d.names.size(), 4u);
}

TEST_F(DescribeTest, PlayListStopsAtItsEntryBound) {
  std::string text;
  for (size_t i = 0; i < CPlayListType::kMaxEntries + 2; ++i) text += "/" + std::to_string(i) + "\n";
  const std::string path = dir / "many.m3u";
  test::WriteText(path, text);
  Description d = Describe(m3u, path);
  ASSERT_EQ(d.paths.size(), CPlayListType::kMaxEntries);
  EXPECT_EQ(d.paths.back(), "/" + std::to_string(CPlayListType::kMaxEntries - 1));
  EXPECT_EQ(d.names.size(), CPlayListType::kMaxEntries + 1);
}

}  // namespace
}  // namespace jb
