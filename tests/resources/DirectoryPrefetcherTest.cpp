#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "TestSupport.h"
#include "resources/CollectFiles.h"
#include "resources/DirectoryPrefetcher.h"

namespace jb {
namespace {

// What the walk relies on when a helper reached a directory by another path
// than the walk does: the directory is listed once, and the sub-directories
// left out are those of the helper's path, which the walk makes up for.
TEST(DirectoryPrefetcherTest, ADirectoryReachedByTwoPathsIsListedOnceAndGoesDownByItsFirstPath) {
  test::TempDir dir;
  for (const char* sub : {"z", "z/cloaked", "z/open", "z/.hidden"}) ::mkdir((dir / sub).c_str(), 0755);
  test::WriteText(dir / "z/f.mp3", "x");
  ASSERT_EQ(::symlink("z", (dir / "alias").c_str()), 0);
  CSkipList skip;
  skip.Add(dir / "z/cloaked");

  for (unsigned helpers : {0u, 4u}) {
    DirectoryPrefetcher prefetcher(helpers, false, skip);
    DirectoryPrefetcher::Node& z = prefetcher.Listed(*prefetcher.Add(dir / "z"));
    const DirectoryListing& listing = DirectoryPrefetcher::Listing(z);
    ASSERT_EQ(listing.FileCount(), 1u);
    EXPECT_EQ(listing.File(0), "f.mp3");
    ASSERT_EQ(listing.DirectoryCount(), 3u);
    EXPECT_EQ(listing.Directory(0), ".hidden");
    EXPECT_EQ(DirectoryPrefetcher::Child(z, 0), nullptr);
    EXPECT_EQ(DirectoryPrefetcher::Child(z, 1), nullptr);  // skipped by this path
    ASSERT_NE(DirectoryPrefetcher::Child(z, 2), nullptr);
    EXPECT_TRUE(prefetcher.Listed(*DirectoryPrefetcher::Child(z, 2)).Opened());

    DirectoryPrefetcher::Node* alias = prefetcher.Add(dir / "alias");
    EXPECT_EQ(&prefetcher.Listed(*alias), &z);
    EXPECT_EQ(alias->Id(), z.Id());

    DirectoryPrefetcher::Node* gone = prefetcher.Add(dir / "missing");
    EXPECT_FALSE(prefetcher.Listed(*gone).Opened());
  }
}

}  // namespace
}  // namespace jb
