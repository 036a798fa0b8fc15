// The window's life around the tree: forms, scan messages and tray, menus,
// the environment commands and closing.
#include <algorithm>

#include "MainDlgFixture.h"

namespace jb::test {
namespace {

using Dlg = CMainDlg;

bool SamePixels(const CQvSprite& a, const CQvSprite& b) {
  return a.GetWidth() == b.GetWidth() && a.GetHeight() == b.GetHeight() &&
         std::equal(a.Bits(), a.Bits() + a.GetWidth() * a.GetHeight(), b.Bits());
}

TEST_F(MainDlgTest, TrayDoubleClickTogglesTheForms) {
  Start();
  EXPECT_EQ(host.rect, (Rect{100, 100, 375, 419}));
  EXPECT_EQ(dlg->OnMessage(WM_TRAY_NOTIFY, 0, Dlg::kTrayLButtonDblClk), 1);
  EXPECT_EQ(host.rect, (Rect{100, 100, 150, 114}));
  EXPECT_EQ(dlg->BackBuffer().GetHeight(), 14);
  EXPECT_EQ(host.foregrounds, 1);
}

// The large form shows the bar; the small one only the tray, and the large
// form opened during the scan shows how far it got.
TEST_F(MainDlgTest, ScanProgressInTrayTipIconAndBar) {
  Start();
  const int h = Height();
  dlg->GetEnvironment()->SetModified();
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

  dlg->OnMessage(WM_TRAY_NOTIFY, 0, Dlg::kTrayLButtonDblClk);
  const CQvSprite small = dlg->BackBuffer();
  host.paints = 0;
  dlg->OnMessage(WM_SCAN_PROGRESS, 0, 119);
  EXPECT_TRUE(SamePixels(dlg->BackBuffer(), small));
  EXPECT_EQ(host.paints, 0);
  EXPECT_EQ(host.trayIcon, kTrayFrame11);
  EXPECT_EQ(host.trayTip, "rock.jbe* - Jukebar - [99%]");
  dlg->OnMessage(WM_TRAY_NOTIFY, 0, Dlg::kTrayLButtonDblClk);
  expected.DrawSprite(10, h - 16, 0, 0, 121, skin.ProgressFull().GetHeight(), skin.ProgressFull());
  EXPECT_TRUE(SamePixels(dlg->BackBuffer(), expected));

  dlg->OnMessage(WM_SCAN_DONE, 0, 0);
  EXPECT_FALSE(dlg->IsScanning());
  EXPECT_EQ(host.trayIcon, kTrayIconIdle);
  EXPECT_EQ(host.trayTip, "rock.jbe* - Jukebar");
  dlg->OnMessage(WM_SCAN_PROGRESS, 0, 80);  // outside a scan: ignored
  EXPECT_EQ(host.trayIcon, kTrayIconIdle);
}

TEST_F(MainDlgTest, ScanningGreysEnvironmentScanAndExit) {
  Start();
  EXPECT_EQ(dlg->GreyedItems(MenuPopup::Tray), (std::vector<int>{kCmdAbout, kCmdHelp, kCmdOptions, kCmdEnvSettings}));
  host.sheets = {Sheet::About, Sheet::Options, Sheet::EnvironmentSettings};
  EXPECT_EQ(dlg->GreyedItems(MenuPopup::Tray), std::vector<int>{kCmdHelp});
  dlg->OnCommand(kCmdEnvSettings);  // the sheet ends with Exit
  EXPECT_TRUE(dlg->IsScanning());
  host.menuAnswers = {kCmdEnvNew};
  dlg->OnMessage(WM_TRAY_NOTIFY, 0, Dlg::kTrayRButtonUp);
  ASSERT_EQ(host.menus.size(), 1u);
  EXPECT_EQ(host.menus[0].greyed, (std::vector<int>{kCmdHelp, kEnvironmentSubMenu, kCmdEnvNew, kCmdEnvLoad, kCmdEnvSave,
                                                    kCmdEnvSaveAs, kCmdEnvSettings, kCmdScan, kCmdExit}));
  EXPECT_EQ(config.environmentPath, dir / "rock.jbe");  // New was refused
  dlg->OnCommand(kCmdAbout);                            // still open while scanning
  EXPECT_EQ(host.sheetsRun, (std::vector<Sheet>{Sheet::EnvironmentSettings, Sheet::About}));
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
  dlg->SetScanning(false);
  dlg->GetEnvironment()->SetModified();
  dlg->OnCancel();  // asked, and Cancel keeps the window
  EXPECT_EQ(host.prompt.questions.size(), 1u);
  EXPECT_TRUE(host.ended.empty());
  host.prompt.answers = {Answer::No};
  EXPECT_TRUE(dlg->OnQueryEndSession());  // a logout may still be cancelled
  ASSERT_NE(dlg->GetEnvironment(), nullptr);
  dlg->OnCancel();
  EXPECT_EQ(host.ended, std::vector<int>{Dlg::kIdCancel});
  EXPECT_EQ(dlg->GetEnvironment(), nullptr);
}

// Each command stores the environment it leaves open.
TEST_F(MainDlgTest, EnvironmentCommandsUpdateTheConfiguration) {
  Start();
  auto check = [&](const std::string& stored, const std::string& tip, int rows) {
    CConfig reread(host.prompt);
    reread.Load();
    EXPECT_EQ(reread.environmentPath, stored);
    EXPECT_EQ(host.trayTip, tip + " - Jukebar");
    EXPECT_EQ(dlg->Tree().CountRows(), rows);
  };
  host.prompt.files = {dir / "jazz.jbe"};
  dlg->OnCommand(kCmdEnvSaveAs);
  check(dir / "jazz.jbe", "jazz.jbe", kGroups);
  dlg->OnCommand(kCmdEnvNew);
  check("", "New environment", 0);
  host.prompt.files = {dir / "rock.jbe"};
  dlg->OnCommand(kCmdEnvLoad);
  check(dir / "rock.jbe", "rock.jbe", kGroups);
  dlg->GetEnvironment()->SetModified();
  std::remove((dir / "rock.jbe").c_str());
  dlg->OnCommand(kCmdEnvSave);
  EXPECT_FALSE(ReadBytes(dir / "rock.jbe").empty());
  check(dir / "rock.jbe", "rock.jbe", kGroups);
  dlg->OnCancel();  // closing keeps it too
  check(dir / "rock.jbe", "rock.jbe", kGroups);
}

// No resources: the scan empties the catalogue and the tree.
TEST_F(MainDlgTest, ScanCommandRunsTheScanAndRebuilds) {
  Start();
  Scan();
  EXPECT_EQ(dlg->Tree().CountRows(), 0);
  EXPECT_EQ(host.trayTip, "rock.jbe* - Jukebar");
  EXPECT_EQ(host.trayIcon, kTrayIconIdle);
}

}  // namespace
}  // namespace jb::test
