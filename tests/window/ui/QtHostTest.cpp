// The Qt host on the offscreen platform: real Qt events on the window reach
// the window's logic, and messages from another thread arrive on the UI
// thread in order. Clicks, keys and the window's picture are shown by the
// end-to-end runs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QWheelEvent>
#include <atomic>
#include <filesystem>
#include <numeric>
#include <thread>

#include "../MainDlgFixture.h"
#include "QtTestSupport.h"
#include "TestSupport.h"
#include "TreeTestSupport.h"
#include "config/CConfig.h"
#include "environment/CEnvironment.h"
#include "platform/ui/QtMessageTarget.h"
#include "resources/CreateResource.h"
#include "skin/SkinSet.h"
#include "types/BuiltinTypes.h"
#include "window/CMainDlg.h"
#include "window/WindowMessages.h"
#include "window/ui/QtMainWindow.h"

namespace jb::test {
namespace {

// Waits, running the event loop, until done() holds (at most 10 s).
template <class Done>
bool Eventually(Done done) {
  for (int i = 0; i < 1000 && !done(); ++i) QTest::qWait(10);
  return done();
}

class QtHostTest : public ::testing::Test {
 protected:
  static constexpr int kGroups = 40;

  QtHostTest() {
    std::filesystem::copy_file(JUKEBAR_DEFAULT_SKIN, dir / SkinSet::kFileName);
    config.installationValid = true;
    config.optionFlags &= ~CConfig::kAutoLoadPlayer;
    CEnvironment env(prompt, config.resourceTypes);
    for (int g = 0; g < kGroups; ++g)
      for (std::string t : {"0", "1", "2"}) env.Add(E("ag" + std::to_string(100 + g) + "|t" + t, "/m/" + t));
    EXPECT_TRUE(env.SaveAs(dir / "rock.jbe"));
    config.environmentPath = dir / "rock.jbe";

    window = std::make_unique<QtMainWindow>(prompt, shell, QString::fromStdString(dir / "res"));
    dlg = std::make_unique<CMainDlg>(*window, config, skin);
    window->Attach(dlg.get());
    EXPECT_TRUE(dlg->OnInitDialog());
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  }
  ~QtHostTest() override { window->Attach(nullptr); }

  TreeView& Tree() { return dlg->Tree(); }
  void Wheel(int delta) {
    const QPoint at(Tree().GetAreaX() + 40, Tree().GetAreaY() + 30);
    QWheelEvent event(at, window->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(window.get(), &event);
  }

  TempDir dir;
  ScopedCurrentDir cwd{dir.Path()};
  RecordingPrompt prompt;
  RecordingShell shell;
  CConfig config{prompt};
  SkinSet skin;
  std::unique_ptr<QtMainWindow> window;
  std::unique_ptr<CMainDlg> dlg;
};

TEST_F(QtHostTest, WheelScrollsAndTheArrowRepeatsOnItsTimer) {
  Wheel(-120);
  EXPECT_GT(Tree().GetTopRow(), 0);
  Wheel(120);
  EXPECT_EQ(Tree().GetTopRow(), 0);

  // Held on the down arrow, the page keeps moving on the window's timer.
  const int arrowX = dlg->GetClientWidth() - 10, arrowY = dlg->GetClientHeight() - 22;
  QTest::mousePress(window.get(), Qt::LeftButton, Qt::NoModifier, QPoint(arrowX, arrowY));
  EXPECT_EQ(dlg->GetMouseMode(), CMainDlg::kModeScrollDown);
  EXPECT_TRUE(Eventually([&] { return Tree().GetTopRow() >= 3; }));
  QTest::mouseRelease(window.get(), Qt::LeftButton, Qt::NoModifier, QPoint(arrowX, arrowY));
  EXPECT_EQ(dlg->GetMouseMode(), CMainDlg::kModeNone);
  const int stopped = Tree().GetTopRow();
  QTest::qWait(200);
  EXPECT_EQ(Tree().GetTopRow(), stopped);
}

TEST_F(QtHostTest, ABorderlessOnTopToolWindowThatDraggingTheTitleMoves) {
  EXPECT_TRUE(window->windowFlags().testFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool));
  const QPoint start = window->pos();
  const int storedX = config.largeX;
  QTest::mousePress(window.get(), Qt::LeftButton, Qt::NoModifier, QPoint(60, 6));
  QTest::mouseMove(window.get(), QPoint(80, 16));
  QTest::mouseRelease(window.get(), Qt::LeftButton, Qt::NoModifier, QPoint(60, 6));
  EXPECT_EQ(std::tuple(window->pos(), config.largeX), std::tuple(start + QPoint(20, 10), storedX + 20));
}

TEST_F(QtHostTest, ScanMessagesFromAnotherThreadArriveInOrderOnTheUiThread) {
  dlg->SetScanning(true);
  std::vector<int> progress;
  bool offThread = false;
  QtMessageTarget target([&](unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    offThread |= QThread::currentThread() != window->thread();
    dlg->OnMessage(message, wParam, lParam);
    progress.push_back(dlg->GetProgress());
  });
  std::atomic<bool> sentHandled{true};
  std::thread scan([&] {
    target.Post(WM_SCAN_STARTED, 0, 0);
    for (int tick = 0; tick < 120; ++tick) {
      const size_t before = tick + 1;  // started, then one per tick
      target.Send(WM_SCAN_PROGRESS, 0, tick);
      // Send returns once its message was handled, after the posted one.
      if (progress.size() != before + 1) sentHandled = false;
    }
    target.Post(WM_SCAN_DONE, 0, 0);
  });
  ASSERT_TRUE(Eventually([&] { return progress.size() == 122; }));
  scan.join();
  std::vector<int> expected(122);
  std::iota(expected.begin(), expected.end() - 1, 0);
  expected.back() = -1;
  EXPECT_EQ(std::tuple(progress, offThread, sentHandled.load(), dlg->IsScanning()),
            std::tuple(expected, false, true, false));
}

TEST_F(QtHostTest, TheSettingsSheetEndsInAFullScanOrJustLeavesTheScanningState) {
  WriteText(dir / "a.mp3", "x");
  CEnvironment& env = *dlg->GetEnvironment();
  auto music = CreateResource(config.resourceTypes.FindById(kFolderTypeId));
  music->m_strPath = dir.Path();
  env.Resources().Add(std::move(music));
  // The sheet's button, then the entries once the scan state has ended.
  auto choose = [&](int button) {
    WhenModal answer([button](QWidget* sheet) { Control<QPushButton>(sheet, button)->click(); });
    dlg->OnCommand(kCmdEnvSettings);
    EXPECT_TRUE(answer.Answered() && Eventually([&] { return !dlg->IsScanning(); }));
    return std::tuple(env.GetSize(), env.GetSize() ? env.GetAt(0)->GetPath() : "", env.IsModified());
  };
  EXPECT_EQ(std::get<0>(choose(2)), size_t{kGroups * 3});  // Exit
  // Nothing changed, yet Scan scans every resource again.
  EXPECT_EQ(choose(22), std::tuple(1u, dir / "a.mp3", true));
}

}  // namespace
}  // namespace jb::test

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
