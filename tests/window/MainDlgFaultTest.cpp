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
#include <filesystem>
#include <memory>
#include <set>
#include <thread>

#include "MainDlgFixture.h"
#include "platform/UserSettings.h"
#include "resources/CreateResource.h"
#include "types/BuiltinTypes.h"

namespace jb::test {
namespace {

namespace fs = std::filesystem;

// A tmpfs of a few pages at path while the object lives, when this process
// may mount one (root). Fill takes its last free byte.
class SmallVolume {
 public:
  explicit SmallVolume(const std::string& path) : m_path(path) {
    fs::create_directories(path);
    m_bMounted = ::mount("jukebar-test", path.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=128k,mode=0755") == 0;
  }
  ~SmallVolume() {
    if (m_bMounted) ::umount2(m_path.c_str(), MNT_DETACH);
  }
  bool Mounted() const { return m_bMounted; }
  void Fill() {
    const int fd = ::open((m_path + "/filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    const std::vector<char> block(4096, 'x');
    for (size_t size = block.size(); size > 0; size /= 2)
      while (::write(fd, block.data(), size) == ssize_t(size)) {
      }
    EXPECT_EQ(errno, ENOSPC);
    ::close(fd);
  }
  void Free() { fs::remove(m_path + "/filler"); }

 private:
  std::string m_path;
  bool m_bMounted = false;
};

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
  // Scans from the menu, handing the scan's messages to the window as its
  // thread would; onProgress runs on each progress message.
  void Scan(const std::function<void()>& onProgress = {}) {
    MessageLoop loop;
    host.messages = &loop;
    dlg->OnCommand(kCmdScan);
    ASSERT_TRUE(dlg->IsScanning());
    const bool done = loop.RunUntil(WM_SCAN_DONE, [&](unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
      if (message == WM_SCAN_PROGRESS && onProgress) onProgress();
      dlg->OnMessage(message, wParam, lParam);
    });
    host.messages = nullptr;
    ASSERT_TRUE(done) << "the scan never ended";
  }
  std::multiset<std::string> CataloguePaths() {
    std::multiset<std::string> paths;
    CEnvironment& env = *dlg->GetEnvironment();
    for (size_t i = 0; i < env.GetSize(); ++i) paths.insert(env.GetAt(i)->GetPath());
    return paths;
  }
};

TEST_F(MainDlgFaultTest, AFullDiskKeepsTheOldFilesAndTheChangesAndSaysWhy) {
  SmallVolume volume(dir / "full");
  Start("full/rock.jbe");
  ASSERT_TRUE(config.Save(dir / "full/Jukebar.cfg"));
  const auto oldEnvironment = ReadBytes(dir / "full/rock.jbe");
  const auto oldConfig = ReadBytes(dir / "full/Jukebar.cfg");
  AddFolderResource("/music/new");
  dlg->GetEnvironment()->SetModified();

  // Save as over the same file, then close with Yes to saving.
  host.prompt.files = {dir / "full/rock.jbe"};
  host.prompt.answers = {Answer::Yes};
  auto whileFull = [&](const std::function<void()>& body) {
    if (!volume.Mounted()) return WithFileSizeLimit(16, body);  // the system refuses as a full disk would
    volume.Fill();
    body();
    volume.Free();
  };
  whileFull([&] {
    dlg->OnCommand(kCmdEnvSaveAs);
    dlg->OnCancel();
  });
  const std::string reason = std::strerror(volume.Mounted() ? ENOSPC : EFBIG);
  EXPECT_EQ(host.prompt.messages,
            (std::vector<int>{ids::CannotSaveEnvironment, ids::CannotSaveConfig, ids::CannotSaveEnvironment}));
  EXPECT_EQ(host.prompt.details, (std::vector<std::string>{reason, reason, reason}));
  EXPECT_EQ(ReadBytes(dir / "full/rock.jbe"), oldEnvironment);
  EXPECT_EQ(ReadBytes(dir / "full/Jukebar.cfg"), oldConfig);
  EXPECT_EQ(DirectoryNames(dir / "full"), (std::vector<std::string>{"Jukebar.cfg", "rock.jbe"}));
  EXPECT_TRUE(host.ended.empty());
  ASSERT_NE(dlg->GetEnvironment(), nullptr);
  EXPECT_TRUE(dlg->GetEnvironment()->IsModified());
  EXPECT_NE(host.trayTip.find("rock.jbe*"), std::string::npos);

  // With room again the same close saves everything.
  host.prompt.answers = {Answer::Yes};
  dlg->OnCancel();
  EXPECT_EQ(host.ended, std::vector<int>{CMainDlg::kIdCancel});
  EXPECT_EQ(host.prompt.messages.size(), 3u);
  CResourceTypeArray types;
  types.SetDefaults();
  CEnvironment saved(host.prompt, types);
  ASSERT_TRUE(saved.Load(dir / "full/rock.jbe"));
  ASSERT_EQ(saved.Resources().GetSize(), 1u);
  EXPECT_EQ(saved.Resources().GetAt(0)->m_strPath, "/music/new");
  EXPECT_EQ(saved.GetSize(), size_t(kGroups * 3));
  CConfig reread(host.prompt);
  reread.Load(dir / "full/Jukebar.cfg");
  EXPECT_EQ(reread.environmentPath, dir / "full/rock.jbe");
}

TEST_F(MainDlgFaultTest, AScanOutlivesFoldersChangingUnderIt) {
  // keep/ stays as it is; locked/ cannot be read; the files of doomed/ go and
  // moving/ is renamed back and forth while the scan runs.
  std::set<std::string> kept, moving;
  const std::string music = dir / "music";
  for (int d = 0; d < 20; ++d)
    for (int f = 0; f < 40; ++f) {
      const std::string path = music + "/keep/d" + std::to_string(d) + "/f" + std::to_string(f) + ".mp3";
      fs::create_directories(fs::path(path).parent_path());
      WriteText(path, "not a tag");
      kept.insert(path);
    }
  std::vector<std::string> doomed;
  for (int f = 0; f < 40; ++f) {
    fs::create_directories(music + "/doomed");
    fs::create_directories(music + "/moving/inner");
    doomed.push_back(music + "/doomed/f" + std::to_string(f) + ".mp3");
    WriteText(doomed.back(), "");
    WriteText(music + "/moving/inner/m" + std::to_string(f) + ".m3u", "song.mp3\n");
    moving.insert("inner/m" + std::to_string(f) + ".m3u");
  }
  fs::create_directories(music + "/locked");
  WriteText(music + "/locked/hidden.mp3", "");
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

  EXPECT_FALSE(dlg->IsScanning());
  EXPECT_TRUE(host.prompt.messages.empty());
  EXPECT_EQ(host.trayIcon, kTrayIconIdle);
  EXPECT_TRUE(dlg->IsCommandEnabled(kCmdScan));
  const std::multiset<std::string> found = CataloguePaths();
  EXPECT_EQ(std::set<std::string>(found.begin(), found.end()).size(), found.size()) << "a file found twice";
  for (const std::string& path : kept) EXPECT_EQ(found.count(path), 1u) << path;
  for (const std::string& path : found) {
    const std::string name = path.substr(path.find("/inner/") == std::string::npos ? 0 : path.find("/inner/") + 1);
    const bool movingFile = moving.count(name) && (path == music + "/moving/" + name || path == music + "/moved/" + name);
    const bool known = kept.count(path) || std::find(doomed.begin(), doomed.end(), path) != doomed.end() || movingFile;
    EXPECT_TRUE(known) << "unknown path " << path;
    EXPECT_TRUE(lockedReadable || path.find("/locked/") == std::string::npos) << path;
  }
  EXPECT_NE(dlg->Tree().RowAt(0), nullptr);

  // Once the folders hold still, a scan holds exactly what can be read.
  if (fs::exists(music + "/moved")) fs::rename(music + "/moved", music + "/moving");
  Scan();
  std::multiset<std::string> expected(kept.begin(), kept.end());
  for (const std::string& name : moving) expected.insert(music + "/moving/" + name);
  if (lockedReadable) expected.insert(music + "/locked/hidden.mp3");
  const std::multiset<std::string> now = CataloguePaths();
  std::vector<std::string> diff;
  std::set_symmetric_difference(now.begin(), now.end(), expected.begin(), expected.end(), std::back_inserter(diff));
  EXPECT_EQ(diff, std::vector<std::string>{});
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
  EXPECT_FALSE(dlg->IsScanning());
  EXPECT_TRUE(dlg->OnKeyDown(CMainDlg::kKeyDown, CMainDlg::kNoModifier));
  EXPECT_NE(State(), selected);
  host.player = nullptr;
  EXPECT_TRUE(dlg->OnKeyDown(CMainDlg::kKeyEnter, CMainDlg::kNoModifier));
  ASSERT_EQ(host.shell.calls.size(), 1u);
  EXPECT_EQ(host.shell.calls[0].second, ShellAction::Play);
  EXPECT_EQ(host.prompt.messages.size(), 2u);
  dlg->OnCancel();
  EXPECT_EQ(host.ended, std::vector<int>{CMainDlg::kIdCancel});
}

}  // namespace
}  // namespace jb::test
