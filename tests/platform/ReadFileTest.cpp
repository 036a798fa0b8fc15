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
  test::WriteText(dir / "b/one", "b1");
  ASSERT_EQ(::mkfifo((dir / "a/pipe").c_str(), 0644), 0);
  // Into another directory and back; a FIFO never blocks; a directory is no file.
  const std::pair<const char*, const char*> reads[] = {{"a/one", "1"},          {"b/one", "b1"},      {"a/one", "1"},
                                                       {"a/missing", "<none>"}, {"a/pipe", "<none>"}, {"a", "<none>"},
                                                       {"nowhere/x", "<none>"}, {"a/", "<none>"}};
  for (bool cached : {false, true}) {
    std::unique_ptr<ScopedDirectoryCache> cache;
    if (cached) cache = std::make_unique<ScopedDirectoryCache>();
    for (const auto& [name, text] : reads) EXPECT_EQ(ReadAll(dir / name), text) << name << " cached " << cached;
  }
  test::ScopedCurrentDir here(dir / "a");
  ScopedDirectoryCache cache;
  EXPECT_EQ(ReadAll("one"), "1");  // relative names still work
}

}  // namespace
}  // namespace jb
