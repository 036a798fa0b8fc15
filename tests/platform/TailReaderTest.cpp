#include "platform/TailReader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "TestSupport.h"
#include "platform/DirectoryListing.h"
#include "platform/DiskWaits.h"
#include "platform/File.h"

namespace jb {
namespace {

// Every answer is ReadFileTail's on the same path, batched or one by one,
// with disk waits counted or not, across more files than one batch holds:
// long and short files, the exact length, names no shell would like, a
// FIFO (which must not block), a directory, links that lead to a file, to
// nothing and to a directory, and a name that is gone.
TEST(TailReaderTest, AnswersAsReadFileTailForEveryKindOfName) {
  constexpr size_t n = 8;
  test::TempDir dir;
  std::vector<std::string> names = {"exact", "short", "with space", "it's \"quoted\"", "-leading", "line\nend",
                                    "bad \xff\xfe utf8", "Case", "case", "pipe", "sub", "to-file", "dangling",
                                    "to-sub", "missing"};
  test::WriteText(dir / "exact", "12345678");
  test::WriteText(dir / "short", "1234567");
  for (size_t i = 2; i < 9; ++i) test::WriteText(dir / names[i], "head-" + names[i] + "-tail" + std::to_string(i));
  ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0644), 0);
  ::mkdir((dir / "sub").c_str(), 0755);
  ASSERT_EQ(::symlink("exact", (dir / "to-file").c_str()), 0);
  ASSERT_EQ(::symlink("nothing", (dir / "dangling").c_str()), 0);
  ASSERT_EQ(::symlink("sub", (dir / "to-sub").c_str()), 0);
  for (int i = 0; i < 150; ++i) {
    names.push_back("song" + std::to_string(i) + ".mp3");
    test::WriteText(dir / names.back(), std::string(static_cast<size_t>(i), 'x') + "TAG" + std::to_string(i % 10));
  }
  std::vector<const char*> asked;
  for (const std::string& name : names) asked.push_back(name.c_str());
  std::unique_ptr<CDirectory> open = CDirectory::Open(dir.Path());
  ASSERT_TRUE(open);

  for (bool batched : {true, false})
    for (bool waits : {false, true}) {
      SCOPED_TRACE(testing::Message() << "batched " << batched << ", waits " << waits);
      DiskWaits disk;
      DiskWaits::Scope scope(waits ? &disk : nullptr);
      TailReader reader(batched);
      for (int pass = 0; pass < 2; ++pass) {  // a reader serves many directories
        std::vector<char> tails(names.size() * n, '?');
        std::vector<bool> read;
        reader.Read(open->Fd(), asked, n, tails.data(), read);
        ASSERT_EQ(read.size(), names.size());
        for (size_t i = 0; i < names.size(); ++i) {
          char expected[n];
          const bool readable = ReadFileTail(dir / names[i], expected, n);
          ASSERT_EQ(read[i], readable) << names[i];
          if (readable) {
            EXPECT_EQ(std::string(tails.data() + i * n, n), std::string(expected, n)) << names[i];
          }
        }
        EXPECT_TRUE(read[0] && !read[1] && read[11] && !read[9] && !read[10] && !read[12] && !read[14]);
      }
    }
}

}  // namespace
}  // namespace jb
