#include <gtest/gtest.h>
#include <sys/stat.h>

#include "TestSupport.h"
#include "platform/File.h"

namespace jb {
namespace {

std::string ReadAll(const std::string& path) {
  std::unique_ptr<CReadFile> file = CReadFile::Open(path);
  if (!file) return "<none>";
  std::string text(file->Size(), '\0');
  file->Read(text.data(), text.size());
  return text;
}

TEST(ReadFileTest, OpensRegularFilesOnlyWithOrWithoutTheDirectoryCache) {
  test::TempDir dir;
  ::mkdir((dir / "a").c_str(), 0755);
  ::mkdir((dir / "b").c_str(), 0755);
  test::WriteText(dir / "a/one", "1");
  test::WriteText(dir / "a/two", "2");
  test::WriteText(dir / "b/one", "b1");
  ASSERT_EQ(::mkfifo((dir / "a/pipe").c_str(), 0644), 0);

  for (int cached = 0; cached < 2; ++cached) {
    std::unique_ptr<ScopedDirectoryCache> cache;
    if (cached) cache = std::make_unique<ScopedDirectoryCache>();
    EXPECT_EQ(ReadAll(dir / "a/one"), "1");
    EXPECT_EQ(ReadAll(dir / "a/two"), "2");
    EXPECT_EQ(ReadAll(dir / "b/one"), "b1");  // another directory
    EXPECT_EQ(ReadAll(dir / "a/one"), "1");   // and back
    EXPECT_EQ(ReadAll(dir / "a/missing"), "<none>");
    EXPECT_EQ(ReadAll(dir / "a/pipe"), "<none>");  // never blocks on a FIFO
    EXPECT_EQ(ReadAll(dir / "a"), "<none>");       // a directory is no file
    EXPECT_EQ(ReadAll(dir / "nowhere/x"), "<none>");
    EXPECT_EQ(ReadAll(dir / "a/"), "<none>");
  }
  test::ScopedCurrentDir here(dir / "a");
  ScopedDirectoryCache cache;
  EXPECT_EQ(ReadAll("one"), "1");  // relative names still work
}

}  // namespace
}  // namespace jb
