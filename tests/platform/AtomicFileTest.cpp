// Saves in a folder that others write to as well: planted links, modes,
// linked targets, leftovers of killed saves and a second writer.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <map>
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

// Every entry below root: "-> target" for a link, else the mode and the text.
std::map<std::string, std::string> Folder(const std::string& root) {
  std::map<std::string, std::string> entries;
  for (const auto& e : std::filesystem::recursive_directory_iterator(root)) {
    const std::string path = e.path().string(), rel = path.substr(root.size() + 1);
    struct stat st {};
    ::lstat(path.c_str(), &st);
    if (e.is_symlink())
      entries[rel] = "-> " + std::filesystem::read_symlink(e.path()).string();
    else if (!e.is_directory())
      entries[rel] = std::to_string(st.st_mode & 07777) + " " + test::ReadText(path);
  }
  return entries;
}

TEST(AtomicFileTest, ASaveReplacesItsTargetOnlyAndKeepsModesAndLinks) {
  test::TempDir dir;
  ::mkdir((dir / "real").c_str(), 0755);
  std::map<std::string, std::string> expected;
  auto file = [&](const std::string& name, const std::string& text, mode_t mode) {
    test::WriteText(dir / name, text);
    ::chmod((dir / name).c_str(), mode);
  };
  auto link = [&](const std::string& name, const std::string& to) {
    ASSERT_EQ(::symlink(to.c_str(), (dir / name).c_str()), 0);
    expected[name] = "-> " + to;
  };
  file("victim.txt", "victim", 0644);
  file("rock.jbe", "old", 0604);
  file("real/rock.jbe", "old", 0600);
  // The old fixed temporary and other predictable names lead elsewhere.
  for (const char* name : {"rock.jbe.tmp", ".rock.jbe.tmp", "rock.jbe.lock"}) link(name, "victim.txt");
  // Links at the lock's and this file's own leftovers' names are removed, and so are the leftovers.
  for (const char* name : {".rock.jbe.lock", ".rock.jbe.AAAAAA.tmp", ".rock.jbe.000000.tmp"}) {
    link(name, "victim.txt");
    expected.erase(name);
  }
  file(".rock.jbe.Ab3dE9.tmp", "half a save", 0600);
  for (const char* name : {".other.jbe.Ab3dE9.tmp", ".rock.jbe.Ab3dE9.tmp.bak", ".rock.jbe.Ab3.tmp",
                           ".rock.jbe.Ab3dE-.tmp", "rock.jbe.Ab3dE9.tmp"}) {
    file(name, "not ours", 0644);
    expected[name] = "420 not ours";
  }
  link("link.jbe", "real/rock.jbe");
  link("chain.jbe", "link.jbe");
  link("dangling.jbe", "real/later.jbe");
  link("loop.jbe", "loop.jbe");

  const mode_t oldMask = ::umask(027);
  Save(dir / "rock.jbe", "new");
  Save(dir / "chain.jbe", "through two links");
  Save(dir / "dangling.jbe", "made where the link points");
  const std::string names[] = {"my music.jbe", "it's \"x\".jbe", "-rock.jbe", "line\nend\r.jbe",
                               "\xff\xfe.jbe", "Rock.jbe",       std::string(255, 'n')};
  for (const std::string& name : names) Save(dir / name, name);
  ::umask(oldMask);
  EXPECT_THROW(CAtomicFile::Create(dir / "loop.jbe"), FileError);

  for (const std::string& name : names) expected[name] = "416 " + name;  // 0640, from the umask
  expected["victim.txt"] = "420 victim";
  expected["rock.jbe"] = "388 new";  // 0604 kept
  expected["real/rock.jbe"] = "384 through two links";
  expected["real/later.jbe"] = "416 made where the link points";
  EXPECT_EQ(Folder(dir.Path()), expected);

  if (::geteuid() != 0) GTEST_SKIP() << "only root can give the file to someone else";
  ASSERT_EQ(::chown((dir / "rock.jbe").c_str(), 4321, 8765), 0);
  Save(dir / "rock.jbe", "new");
  struct stat st {};
  ::stat((dir / "rock.jbe").c_str(), &st);
  EXPECT_EQ(std::pair(st.st_uid, st.st_gid), std::pair(4321u, 8765u));
}

TEST(AtomicFileTest, TheLockExcludesOthersAndLeavesNothingBehind) {
  test::TempDir dir;
  const std::string target = dir / "rock.jbe";
  test::WriteText(target, "old");
  ASSERT_EQ(::symlink("rock.jbe", (dir / "link.jbe").c_str()), 0);
  auto held = std::make_unique<CFileLock>(target);
  Save(target, "first");  // takes the lock again on this thread

  std::atomic<bool> released = false;
  bool waited = false;
  std::thread other([&] {
    CFileLock second(dir / "link.jbe");  // another name for the same file
    waited = released;
    Save(target, test::ReadText(target) + ", second");
  });
  ::usleep(100 * 1000);  // time to get in, were the lock not held
  Save(target, "first again");
  released = true;
  held.reset();
  other.join();
  EXPECT_TRUE(waited);
  EXPECT_EQ(test::ReadText(target), "first again, second");
  // Nothing left behind, the lock file included.
  EXPECT_EQ(test::DirectoryNames(dir.Path()), (std::vector<std::string>{"link.jbe", "rock.jbe"}));
}

}  // namespace
}  // namespace jb
