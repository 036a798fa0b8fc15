// The window's life around the tree: forms, scan messages and tray, menus,
// the environment commands and closing.
#include <chrono>
#include <cstring>
#include <thread>

#include "MainDlgFixture.h"

namespace jb::test {
namespace {

using Dlg = CMainDlg;

bool SamePixels(const CQvSprite& a, const CQvSprite& b) {
  return a.GetWidth() == b.GetWidth() && a.GetHeight() == b.GetHeight() &&
         std::memcmp(a.Bits(), b.Bits(), size_t(a.BytesPerLine()) * a.GetHeight()) == 0;
}

TEST_F(MainDlgTest, TrayDoubleClickTogglesTheForms) {
  Start();
  EXPECT_EQ(host.rect, (Rect{100, 100, 375, 419}));
  EXPECT_EQ(host.trayTip, "rock.jbe - Jukebar");
  EXPECT_EQ(dlg->OnMessage(WM_TRAY_NOTIFY, 0, Dlg::kTrayLButtonDblClk), 1);
  EXPECT_EQ(host.rect, (Rect{100, 100, 150, 114}));
  EXPECT_EQ(dlg->BackBuffer().GetHeight(), 14);
  EXPECT_EQ(host.foregrounds, 1);
}

TEST_F(MainDlgTest, ScanProgressInTrayTipIconAndBar) {
  Start();
  const int h = Height();
  dlg->GetEnvironment()->SetModified();
  dlg->UpdateTrayTip(40);
  EXPECT_EQ(host.trayTip, "rock.jbe* - Jukebar - [40%]");

  dlg->SetScanning(true);
  CQvSprite expected = dlg->BackBuffer();
  dlg->OnMessage(WM_SCAN_STARTED, 0, 0);
  EXPECT_EQ(host.trayIcon, kTrayIconStarting);
  EXPECT_EQ(host.trayTip, "rock.jbe* - Jukebar - [0%]");
  expected.DrawSprite(10, h - 16, skin.ProgressEmpty());
  EXPECT_TRUE(SamePixels(dlg->BackBuffer(), expected));

  dlg->OnMessage(WM_SCAN_PROGRESS, 0, 59);
  EXPECT_EQ(host.trayIcon, kTrayFrame5);
  EXPECT_EQ(host.trayTip, "rock.jbe* - Jukebar - [49%]");
  expected.DrawSprite(10, h - 16, 0, 0, 61, skin.ProgressFull().GetHeight(), skin.ProgressFull());
  EXPECT_TRUE(SamePixels(dlg->BackBuffer(), expected));
  EXPECT_EQ(host.paints, 2);

  dlg->OnMessage(WM_SCAN_DONE, 0, 0);
  EXPECT_FALSE(dlg->IsScanning());
  EXPECT_EQ(host.trayIcon, kTrayIconIdle);
  EXPECT_EQ(host.trayTip, "rock.jbe* - Jukebar");
  dlg->OnMessage(WM_SCAN_PROGRESS, 0, 80);  // outside a scan: ignored
  EXPECT_EQ(host.trayIcon, kTrayIconIdle);
}

TEST_F(MainDlgTest, SmallFormDrawsNoProgressBar) {
  Start();
  CQvSprite expected = dlg->BackBuffer();
  dlg->OnMessage(WM_TRAY_NOTIFY, 0, Dlg::kTrayLButtonDblClk);
  const CQvSprite before = dlg->BackBuffer();
  host.paints = 0;
  dlg->SetScanning(true);
  dlg->OnMessage(WM_SCAN_STARTED, 0, 0);
  dlg->OnMessage(WM_SCAN_PROGRESS, 0, 119);
  EXPECT_TRUE(SamePixels(dlg->BackBuffer(), before));
  EXPECT_EQ(host.paints, 0);
  EXPECT_EQ(host.trayIcon, kTrayFrame11);
  EXPECT_EQ(host.trayTip, "rock.jbe - Jukebar - [99%]");
  // Opened during the scan, the large form shows how far it got.
  dlg->OnMessage(WM_TRAY_NOTIFY, 0, Dlg::kTrayLButtonDblClk);
  expected.DrawSprite(10, Height() - 16, skin.ProgressEmpty());
  expected.DrawSprite(10, Height() - 16, 0, 0, 121, skin.ProgressFull().GetHeight(), skin.ProgressFull());
  EXPECT_TRUE(SamePixels(dlg->BackBuffer(), expected));
}

TEST_F(MainDlgTest, ScanningGreysEnvironmentScanAndExit) {
  Start();
  EXPECT_EQ(dlg->GreyedItems(MenuPopup::Tray), (std::vector<int>{kCmdAbout, kCmdHelp, kCmdOptions, kCmdEnvSettings}));
  host.sheets = {Sheet::About, Sheet::Options, Sheet::EnvironmentSettings};
  EXPECT_EQ(dlg->GreyedItems(MenuPopup::Tray), std::vector<int>{kCmdHelp});
  dlg->OnCommand(kCmdEnvSettings);  // the sheet ends with Exit
  EXPECT_TRUE(dlg->IsScanning());
  EXPECT_EQ(host.sheetsRun, std::vector<Sheet>{Sheet::EnvironmentSettings});
  host.menuAnswers = {kCmdEnvNew};
  dlg->OnMessage(WM_TRAY_NOTIFY, 0, Dlg::kTrayRButtonUp);
  ASSERT_EQ(host.menus.size(), 1u);
  EXPECT_EQ(host.menus[0].greyed, (std::vector<int>{kCmdHelp, kEnvironmentSubMenu, kCmdEnvNew, kCmdEnvLoad, kCmdEnvSave,
                                                    kCmdEnvSaveAs, kCmdEnvSettings, kCmdScan, kCmdExit}));
  EXPECT_EQ(config.environmentPath, dir / "rock.jbe");  // New was refused
  dlg->OnCommand(kCmdAbout);                            // still open while scanning
  EXPECT_EQ(host.sheetsRun.back(), Sheet::About);
  ASSERT_EQ(host.target.Messages().back().message, WM_SCAN_DONE);
  dlg->OnMessage(WM_SCAN_DONE, 0, 0);
  EXPECT_EQ(dlg->GreyedItems(MenuPopup::Tray), std::vector<int>{kCmdHelp});
}

TEST_F(MainDlgTest, CloseRefusedWithABeepWhileScanning) {
  Start();
  dlg->SetScanning(true);
  dlg->OnCancel();
  EXPECT_FALSE(dlg->OnQueryEndSession());
  EXPECT_EQ(host.prompt.beeps, 2);
  EXPECT_TRUE(host.ended.empty());
  dlg->SetScanning(false);
  dlg->GetEnvironment()->SetModified();
  dlg->OnCancel();  // asked, and Cancel keeps the window
  EXPECT_EQ(host.prompt.questions.size(), 1u);
  EXPECT_TRUE(host.ended.empty());
  ASSERT_NE(dlg->GetEnvironment(), nullptr);
  host.prompt.answers = {Answer::No};
  EXPECT_TRUE(dlg->OnQueryEndSession());  // a logout may still be cancelled
  ASSERT_NE(dlg->GetEnvironment(), nullptr);
  dlg->OnCancel();
  EXPECT_EQ(host.ended, std::vector<int>{Dlg::kIdCancel});
  EXPECT_EQ(dlg->GetEnvironment(), nullptr);
  CConfig stored(host.prompt);
  stored.Load();
  EXPECT_EQ(stored.environmentPath, dir / "rock.jbe");
}

TEST_F(MainDlgTest, EnvironmentCommandsUpdateTheConfiguration) {
  Start();
  auto storedPath = [&] {
    CConfig stored(host.prompt);
    stored.Load();
    return stored.environmentPath;
  };
  host.prompt.files = {dir / "jazz.jbe"};
  dlg->OnCommand(kCmdEnvSaveAs);
  EXPECT_EQ(storedPath(), dir / "jazz.jbe");
  EXPECT_EQ(host.trayTip, "jazz.jbe - Jukebar");

  dlg->OnCommand(kCmdEnvNew);
  EXPECT_EQ(storedPath(), "");
  EXPECT_EQ(host.trayTip, "New environment - Jukebar");
  EXPECT_EQ(dlg->Tree().CountRows(), 0);

  host.prompt.files = {dir / "rock.jbe"};
  dlg->OnCommand(kCmdEnvLoad);
  EXPECT_EQ(storedPath(), dir / "rock.jbe");
  EXPECT_EQ(dlg->Tree().CountRows(), kGroups);

  dlg->GetEnvironment()->SetModified();
  dlg->UpdateTrayTip(-1);
  std::remove((dir / "rock.jbe").c_str());
  dlg->OnCommand(kCmdEnvSave);
  EXPECT_FALSE(ReadBytes(dir / "rock.jbe").empty());
  EXPECT_EQ(host.trayTip, "rock.jbe - Jukebar");
  EXPECT_EQ(storedPath(), dir / "rock.jbe");
}

TEST_F(MainDlgTest, ScanCommandRunsTheScanAndRebuilds) {
  Start();
  dlg->OnCommand(kCmdScan);
  EXPECT_TRUE(dlg->IsScanning());
  EXPECT_EQ(host.trayIcon, kTrayIconStarting);
  // No resources: the scan empties the catalogue and ends.
  for (int i = 0; i < 1000 && host.target.Count(WM_SCAN_DONE) == 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  for (const RecordingTarget::Message& m : host.target.Messages()) dlg->OnMessage(m.message, 0, m.lParam);
  EXPECT_FALSE(dlg->IsScanning());
  EXPECT_EQ(dlg->Tree().CountRows(), 0);
  EXPECT_EQ(host.trayTip, "rock.jbe* - Jukebar");
  EXPECT_EQ(host.trayIcon, kTrayIconIdle);
}

}  // namespace
}  // namespace jb::test
