// Saves in a folder that others write to as well: planted links, modes,
// linked targets, leftovers of killed saves and a second writer.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "TestSupport.h"
#include "platform/File.h"
#include "platform/FileLock.h"

namespace jb {
namespace {

void Save(const std::string& target, const std::string& text) {
  std::unique_ptr<CAtomicFile> file = CAtomicFile::Create(target);
  ASSERT_TRUE(file);
  file->Write(text.data(), text.size());
  file->Commit();
}

std::string Text(const std::string& path) {
  std::vector<std::uint8_t> bytes = test::ReadBytes(path);
  return {bytes.begin(), bytes.end()};
}

std::string LinkText(const std::string& path) {
  char buffer[4096];
  ssize_t n = ::readlink(path.c_str(), buffer, sizeof buffer);
  return n < 0 ? "<no link>" : std::string(buffer, static_cast<size_t>(n));
}

struct stat Lstat(const std::string& path) {
  struct stat st {};
  ::lstat(path.c_str(), &st);
  return st;
}

class AtomicFileTest : public ::testing::Test {
 protected:
  AtomicFileTest() {
    test::WriteText(victim, "victim");
    test::WriteText(target, "old");
  }
  test::TempDir dir;
  std::string victim = dir / "victim.txt";
  std::string target = dir / "rock.jbe";
};

TEST_F(AtomicFileTest, NoFileIsWrittenThroughALinkAtAPredictableName) {
  // The old fixed temporary, the lock, and names shaped like temporaries.
  const std::vector<std::string> planted = {"rock.jbe.tmp",  ".rock.jbe.lock",       ".rock.jbe.tmp",
                                            "rock.jbe.lock", ".rock.jbe.AAAAAA.tmp", ".rock.jbe.000000.tmp"};
  for (const std::string& name : planted) ASSERT_EQ(::symlink(victim.c_str(), (dir / name).c_str()), 0);
  Save(target, "new");
  EXPECT_EQ(Text(victim), "victim");
  EXPECT_TRUE(S_ISREG(Lstat(target).st_mode));
  EXPECT_EQ(Text(target), "new");
  // Links at names that are not the save's own stay as they were.
  for (const char* name : {"rock.jbe.tmp", ".rock.jbe.tmp", "rock.jbe.lock"})
    EXPECT_EQ(LinkText(dir / name), victim) << name;
}

TEST_F(AtomicFileTest, TheNewFileKeepsTheOldModeAndANewOneFollowsTheUmask) {
  for (mode_t mode : {0600, 0640, 0755, 0604}) {
    ASSERT_EQ(::chmod(target.c_str(), mode), 0);
    Save(target, "new");
    EXPECT_EQ(Lstat(target).st_mode & 07777, mode);
  }
  mode_t old = ::umask(027);
  Save(dir / "new.jbe", "new");
  ::umask(old);
  EXPECT_EQ(Lstat(dir / "new.jbe").st_mode & 07777, 0640u);

  if (::geteuid() != 0) GTEST_SKIP() << "owners are kept when running as root";
  ASSERT_EQ(::chown(target.c_str(), 4321, 8765), 0);
  Save(target, "new");
  EXPECT_EQ(Lstat(target).st_uid, 4321u);
  EXPECT_EQ(Lstat(target).st_gid, 8765u);
}

TEST_F(AtomicFileTest, ALinkedTargetIsUpdatedAndStaysALink) {
  ::mkdir((dir / "real").c_str(), 0755);
  test::WriteText(dir / "real/rock.jbe", "old");
  ASSERT_EQ(::symlink("real/rock.jbe", (dir / "link.jbe").c_str()), 0);              // relative
  ASSERT_EQ(::symlink((dir / "link.jbe").c_str(), (dir / "chain.jbe").c_str()), 0);  // to a link
  ASSERT_EQ(::symlink("real/later.jbe", (dir / "dangling.jbe").c_str()), 0);
  ASSERT_EQ(::chmod((dir / "real/rock.jbe").c_str(), 0600), 0);

  Save(dir / "chain.jbe", "through two links");
  Save(dir / "dangling.jbe", "made where the link points");
  EXPECT_EQ(Text(dir / "real/rock.jbe"), "through two links");
  EXPECT_EQ(Lstat(dir / "real/rock.jbe").st_mode & 07777, 0600u);
  EXPECT_EQ(Text(dir / "real/later.jbe"), "made where the link points");
  EXPECT_EQ(LinkText(dir / "link.jbe"), "real/rock.jbe");
  EXPECT_EQ(LinkText(dir / "chain.jbe"), dir / "link.jbe");
  EXPECT_EQ(LinkText(dir / "dangling.jbe"), "real/later.jbe");
  EXPECT_EQ(test::DirectoryNames(dir / "real"), (std::vector<std::string>{"later.jbe", "rock.jbe"}));

  ASSERT_EQ(::symlink("loop.jbe", (dir / "loop.jbe").c_str()), 0);
  EXPECT_THROW(CAtomicFile::Create(dir / "loop.jbe"), FileError);
}

TEST_F(AtomicFileTest, LeftoversNeverBlockAndTheFilesOwnAreRemoved) {
  ::mkdir((dir / "rock.jbe.tmp").c_str(), 0755);  // the old fixed name, now a folder
  const std::vector<std::string> leftovers = {".rock.jbe.Ab3dE9.tmp", ".rock.jbe.zZ0000.tmp"};
  const std::vector<std::string> others = {".other.jbe.Ab3dE9.tmp", ".rock.jbe.Ab3dE9.tmp.bak", ".rock.jbe.Ab3.tmp",
                                           ".rock.jbe.Ab3dE-.tmp", "rock.jbe.Ab3dE9.tmp"};
  for (const std::string& name : leftovers) test::WriteText(dir / name, "half a save");
  for (const std::string& name : others) test::WriteText(dir / name, "not ours");
  Save(target, "new");
  EXPECT_EQ(Text(target), "new");
  std::vector<std::string> expected = others;
  expected.insert(expected.end(), {"rock.jbe", "rock.jbe.tmp", "victim.txt"});
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(test::DirectoryNames(dir.Path()), expected);

  // A save that fails leaves nothing behind either.
  test::WithFileSizeLimit(2, [&] {
    std::unique_ptr<CAtomicFile> file = CAtomicFile::Create(target);
    EXPECT_THROW(file->Write("too long", 8), FileError);
  });
  EXPECT_EQ(test::DirectoryNames(dir.Path()), expected);
}

TEST_F(AtomicFileTest, AnyFileNameSavesAndKeepsToItself) {
  const std::vector<std::string> names = {"my music.jbe", "it's \"x\".jbe", "-rock.jbe",          "line\nend\r.jbe",
                                          "\xff\xfe.jbe", "Rock.jbe",       std::string(255, 'n')};
  for (const std::string& name : names) Save(dir / name, name);
  for (const std::string& name : names) EXPECT_EQ(Text(dir / name), name);
  EXPECT_EQ(Text(target), "old");
  EXPECT_EQ(test::DirectoryNames(dir.Path()).size(), names.size() + 2);
}

TEST_F(AtomicFileTest, TheLockExcludesOthersUntilReleasedAndOutlivesTheSave) {
  ASSERT_EQ(::symlink("rock.jbe", (dir / "link.jbe").c_str()), 0);
  auto held = std::make_unique<CFileLock>(target);
  Save(target, "first");  // takes the lock again on this thread

  std::atomic<bool> released = false;
  bool waited = false;
  std::thread other([&] {
    CFileLock second(dir / "link.jbe");  // another name for the same file
    waited = released;
    Save(target, Text(target) + ", second");
  });
  ::usleep(100 * 1000);  // time to get in, were the lock not held
  Save(target, "first again");
  released = true;
  held.reset();
  other.join();

  EXPECT_TRUE(waited);
  EXPECT_EQ(Text(target), "first again, second");
  // The lock file goes with the last holder.
  EXPECT_EQ(test::DirectoryNames(dir.Path()), (std::vector<std::string>{"link.jbe", "rock.jbe", "victim.txt"}));
}

}  // namespace
}  // namespace jb
