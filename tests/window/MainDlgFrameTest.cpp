// The window's life around the tree: forms, scan messages and tray, menus,
// the environment commands and closing.
#include "MainDlgFixture.h"

namespace jb::test {
namespace {

using Dlg = CMainDlg;

TEST_F(MainDlgTest, ScanningGreysEnvironmentScanAndExit) {
  Start();
  host.sheets = {Sheet::About, Sheet::Options, Sheet::EnvironmentSettings};
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
}

}  // namespace
}  // namespace jb::test
