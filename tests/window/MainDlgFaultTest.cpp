// The window's logic when the system lets it down: a full disk under its
// saves, folders that change under a running scan, a player that will not
// start. Each ends with nothing lost and the user told why.
#include <fcntl.h>
#include <linux/capability.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <thread>

#include "MainDlgFixture.h"
#include "platform/UserSettings.h"
#include "resources/CreateResource.h"
#include "types/BuiltinTypes.h"

namespace jb::test {
namespace {

namespace fs = std::filesystem;

// While it lives, this thread and the threads it starts (the scan's) obey
// file permissions even as root.
class ObeyFilePermissions {
 public:
  ObeyFilePermissions() {
    ::syscall(SYS_capget, &m_header, m_saved);
    __user_cap_data_struct reduced[2] = {m_saved[0], m_saved[1]};
    reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
    ::syscall(SYS_capset, &m_header, reduced);
  }
  ~ObeyFilePermissions() { ::syscall(SYS_capset, &m_header, m_saved); }

 private:
  __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct m_saved[2]{};
};

class MainDlgFaultTest : public MainDlgTest {
 protected:
  void AddFolderResource(const std::string& path) {
    auto resource = CreateResource(config.resourceTypes.FindById(kFolderTypeId));
    resource->m_strPath = path;
    dlg->GetEnvironment()->Resources().Add(std::move(resource));
  }
  std::multiset<std::string> CataloguePaths() {
    std::multiset<std::string> paths;
    for (size_t i = 0; i < dlg->GetEnvironment()->GetSize(); ++i)
      paths.insert(dlg->GetEnvironment()->GetAt(i)->GetPath());
    return paths;
  }
};

TEST_F(MainDlgFaultTest, AFullDiskKeepsTheOldFilesAndTheChangesAndSaysWhy) {
  // A tmpfs of a few pages when this process may mount one (root); else the
  // system refuses to let files grow, as a full disk would.
  const std::string full = dir / "full";
  fs::create_directories(full);
  const bool mounted = ::mount("jukebar-test", full.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=128k") == 0;
  std::shared_ptr<void> unmount(nullptr, [&](void*) { if (mounted) ::umount2(full.c_str(), MNT_DETACH); });
  Start("full/rock.jbe");
  ASSERT_TRUE(config.Save(full + "/Jukebar.cfg"));
  const auto oldEnvironment = ReadBytes(full + "/rock.jbe"), oldConfig = ReadBytes(full + "/Jukebar.cfg");
  AddFolderResource("/music/new");
  dlg->GetEnvironment()->SetModified();

  // Save as over the same file, then close with Yes to saving.
  host.prompt.files = {full + "/rock.jbe"};
  host.prompt.answers = {Answer::Yes};
  auto saveAndClose = [&] {
    dlg->OnCommand(kCmdEnvSaveAs);
    dlg->OnCancel();
  };
  if (mounted) {
    const int fd = ::open((full + "/filler").c_str(), O_WRONLY | O_CREAT, 0644);
    for (size_t size = 4096; size > 0; size /= 2)
      while (::write(fd, std::string(size, 'x').data(), size) == ssize_t(size)) {
      }
    ::close(fd);
    saveAndClose();
    fs::remove(full + "/filler");
  } else {
    WithFileSizeLimit(16, saveAndClose);
  }
  const std::string reason = std::strerror(mounted ? ENOSPC : EFBIG);
  EXPECT_EQ(host.prompt.messages,
            (std::vector<int>{ids::CannotSaveEnvironment, ids::CannotSaveConfig, ids::CannotSaveEnvironment}));
  EXPECT_EQ(host.prompt.details, (std::vector<std::string>{reason, reason, reason}));
  EXPECT_EQ(ReadBytes(full + "/rock.jbe"), oldEnvironment);
  EXPECT_EQ(ReadBytes(full + "/Jukebar.cfg"), oldConfig);
  EXPECT_EQ(DirectoryNames(full), (std::vector<std::string>{"Jukebar.cfg", "rock.jbe"}));
  EXPECT_TRUE(host.ended.empty());
  ASSERT_NE(dlg->GetEnvironment(), nullptr);
  EXPECT_TRUE(dlg->GetEnvironment()->IsModified());
  EXPECT_NE(host.trayTip.find("rock.jbe*"), std::string::npos);

  // With room again the same close saves everything.
  host.prompt.answers = {Answer::Yes};
  dlg->OnCancel();
  EXPECT_EQ(host.ended, std::vector<int>{CMainDlg::kIdCancel});
  EXPECT_EQ(host.prompt.messages.size(), 3u);
  CEnvironment saved(host.prompt, config.resourceTypes);
  ASSERT_TRUE(saved.Load(full + "/rock.jbe"));
  ASSERT_EQ(saved.Resources().GetSize(), 1u);
  EXPECT_EQ(saved.Resources().GetAt(0)->m_strPath, "/music/new");
  EXPECT_EQ(saved.GetSize(), size_t(kGroups * 3));
  CConfig reread(host.prompt);
  reread.Load(full + "/Jukebar.cfg");
  EXPECT_EQ(reread.environmentPath, full + "/rock.jbe");
}

TEST_F(MainDlgFaultTest, AScanOutlivesFoldersChangingUnderIt) {
  // keep/ stays as it is; locked/ cannot be read; the files of doomed/ go and
  // moving/ is renamed back and forth while the scan runs.
  const std::string music = dir / "music";
  std::set<std::string> kept, moving;
  std::vector<std::string> doomed;
  auto file = [&](const std::string& path, const std::string& text = "") {
    fs::create_directories(fs::path(path).parent_path());
    WriteText(path, text);
    return path;
  };
  for (int f = 0; f < 40; ++f) {
    for (int d = 0; d < 20; ++d)
      kept.insert(file(music + "/keep/d" + std::to_string(d) + "/f" + std::to_string(f) + ".mp3", "not a tag"));
    doomed.push_back(file(music + "/doomed/f" + std::to_string(f) + ".mp3"));
    moving.insert(file(music + "/moving/inner/m" + std::to_string(f) + ".m3u", "song.mp3\n"));
  }
  file(music + "/locked/hidden.mp3");
  ASSERT_EQ(::chmod((music + "/locked").c_str(), 0), 0);
  std::shared_ptr<void> unlock(nullptr, [&](void*) { ::chmod((music + "/locked").c_str(), 0755); });
  Start();
  AddFolderResource(music);
  ObeyFilePermissions asAUser;
  const bool lockedReadable = ::faccessat(AT_FDCWD, (music + "/locked").c_str(), R_OK, AT_EACCESS) == 0;

  std::atomic<bool> stop{false};
  std::thread changes([&] {
    for (size_t n = 0; !stop; ++n) {
      if (n < doomed.size()) fs::remove(doomed[n]);
      std::error_code ignored;
      fs::rename(music + (n % 2 ? "/moved" : "/moving"), music + (n % 2 ? "/moving" : "/moved"), ignored);
    }
  });
  Scan();
  stop = true;
  changes.join();

  EXPECT_TRUE(host.prompt.messages.empty());
  const std::multiset<std::string> found = CataloguePaths();
  EXPECT_EQ(std::set<std::string>(found.begin(), found.end()).size(), found.size()) << "a file found twice";
  for (const std::string& path : kept) EXPECT_EQ(found.count(path), 1u) << path;
  for (std::string path : found) {
    if (path.rfind(music + "/moved/", 0) == 0) path.replace(music.size() + 1, 5, "moving");
    const bool locked = path.find("/locked/") != std::string::npos;
    EXPECT_TRUE(kept.count(path) || moving.count(path) || std::count(doomed.begin(), doomed.end(), path) ||
                (locked && lockedReadable))
        << "unknown path " << path;
  }

  // Once the folders hold still, a scan holds exactly what can be read.
  if (fs::exists(music + "/moved")) fs::rename(music + "/moved", music + "/moving");
  Scan();
  std::multiset<std::string> expected(kept.begin(), kept.end());
  expected.insert(moving.begin(), moving.end());
  if (lockedReadable) expected.insert(music + "/locked/hidden.mp3");
  EXPECT_EQ(CataloguePaths(), expected);
  EXPECT_TRUE(dlg->GetEnvironment()->IsModified());
}

TEST_F(MainDlgFaultTest, APlayerThatCannotStartIsReportedAndTheWindowGoesOn) {
  Start();
  const std::string settings = dir / "Jukebar.conf";
  std::string error;
  for (const char* key : {"PlayCommand", "EnqueueCommand"})
    ASSERT_TRUE(UserSettings::Store(settings, key, "'" + (dir / "no such player") + "' %f", error)) << error;
  std::unique_ptr<IShell> desktop = CreateDesktopShell(UserSettings(settings));
  host.player = desktop.get();

  Click(TextPoint(0));
  const std::string selected = State();
  EXPECT_TRUE(dlg->OnKeyDown(CMainDlg::kKeyEnter, CMainDlg::kNoModifier));
  dlg->OnCommand(kCmdAddSelection);
  EXPECT_EQ(host.prompt.messages, (std::vector<int>{ids::PlayerNotFound, ids::PlayerNotFound}));
  EXPECT_FALSE(ReadBytes(dir / "Jukebar.m3u").empty());  // the list was written for the player

  // The window goes on as before: the same selection, keys, and a player
  // that starts gets the songs.
  EXPECT_EQ(State(), selected);
  EXPECT_TRUE(dlg->OnKeyDown(CMainDlg::kKeyDown, CMainDlg::kNoModifier));
  EXPECT_NE(State(), selected);
  host.player = nullptr;
  EXPECT_TRUE(dlg->OnKeyDown(CMainDlg::kKeyEnter, CMainDlg::kNoModifier));
  EXPECT_EQ(host.shell.calls, (std::vector<std::pair<std::string, ShellAction>>{{"Jukebar.m3u", ShellAction::Play}}));
  EXPECT_EQ(host.prompt.messages.size(), 2u);
}

}  // namespace
}  // namespace jb::test
