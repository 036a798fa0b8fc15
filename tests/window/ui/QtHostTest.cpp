// The Qt host on the offscreen platform: real Qt events on the window reach
// the window's logic, its picture is the back buffer, and messages from
// another thread arrive on the UI thread in order.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QTest>
#include <QThread>
#include <QWheelEvent>
#include <atomic>
#include <filesystem>
#include <thread>

#include "../MainDlgFixture.h"
#include "QtTestSupport.h"
#include "TestSupport.h"
#include "TreeTestSupport.h"
#include "config/CConfig.h"
#include "environment/CEnvironment.h"
#include "platform/ui/QtMessageTarget.h"
#include "resources/CreateResource.h"
#include "types/BuiltinTypes.h"
#include "skin/SkinSet.h"
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
  // The middle of page row n's text.
  QPoint RowPoint(int n) {
    return {Tree().GetAreaX() + TreeView::kIndent + 20, Tree().GetAreaY() + TreeView::kRowHeight * n + 4};
  }
  std::string FocusName() {
    DisplayNode* focus = Tree().FindFocus();
    return focus ? focus->GetName() : "-";
  }
  void Wheel(int delta) {
    const QPoint at = RowPoint(3);
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

TEST_F(QtHostTest, TheWindowIsTheBackBufferPlacedFromTheConfiguration) {
  EXPECT_EQ(window->geometry(), QRect(config.largeX, config.largeY, config.largeWidth, config.largeHeight));
  EXPECT_TRUE(window->windowFlags().testFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool));
  const QImage shown = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const CQvSprite& buffer = dlg->BackBuffer();
  ASSERT_EQ(shown.size(), QSize(buffer.GetWidth(), buffer.GetHeight()));
  int differing = 0;
  for (int y = 0; y < shown.height(); ++y)
    for (int x = 0; x < shown.width(); ++x) differing += shown.pixel(x, y) != (buffer.GetPixel(x, y) | 0xFF000000u);
  EXPECT_EQ(differing, 0);
}

TEST_F(QtHostTest, MouseAndKeysReachTheTree) {
  QTest::mouseClick(window.get(), Qt::LeftButton, Qt::NoModifier, RowPoint(2));
  EXPECT_EQ(FocusName(), "g102");
  EXPECT_TRUE(Tree().RowAt(2)->IsSelected());
  QTest::mouseClick(window.get(), Qt::LeftButton, Qt::ControlModifier, RowPoint(4));
  EXPECT_TRUE(Tree().RowAt(2)->IsSelected());
  EXPECT_TRUE(Tree().RowAt(4)->IsSelected());
  EXPECT_EQ(FocusName(), "g104");

  QTest::keyClick(window.get(), Qt::Key_Down);
  EXPECT_EQ(FocusName(), "g105");
  EXPECT_FALSE(Tree().RowAt(2)->IsSelected());
  // Enter plays the selection: the key reached the window's handler
  // rather than any default button.
  QTest::keyClick(window.get(), Qt::Key_Return);
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].second, ShellAction::Play);
  QTest::keyClick(window.get(), Qt::Key_End);
  EXPECT_EQ(FocusName(), "g139");
  EXPECT_GT(Tree().GetTopRow(), 0);
}

TEST_F(QtHostTest, WheelScrollsAndTheArrowRepeatsOnItsTimer) {
  Wheel(-120);
  const int scrolled = Tree().GetTopRow();
  EXPECT_GT(scrolled, 0);
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

TEST_F(QtHostTest, DraggingTheTitleMovesTheWindowAndTheStoredForm) {
  const QPoint start = window->pos();
  const int storedX = config.largeX;
  QTest::mousePress(window.get(), Qt::LeftButton, Qt::NoModifier, QPoint(60, 6));
  EXPECT_EQ(dlg->GetMouseMode(), CMainDlg::kModeMove);
  QTest::mouseMove(window.get(), QPoint(80, 16));
  QTest::mouseRelease(window.get(), Qt::LeftButton, Qt::NoModifier, QPoint(60, 6));
  EXPECT_EQ(window->pos(), start + QPoint(20, 10));
  EXPECT_EQ(config.largeX, storedX + 20);
}

TEST_F(QtHostTest, FocusChangesRedrawTheTitle) {
  QApplication::setActiveWindow(window.get());
  ASSERT_TRUE(Eventually([&] { return window->isActiveWindow(); }));
  const std::uint32_t active = dlg->BackBuffer().GetPixel(30, 6);
  window->clearFocus();
  QApplication::setActiveWindow(nullptr);
  ASSERT_TRUE(Eventually([&] { return !window->isActiveWindow(); }));
  EXPECT_NE(dlg->BackBuffer().GetPixel(30, 6), active);
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
  EXPECT_FALSE(offThread);
  EXPECT_TRUE(sentHandled);
  std::vector<int> expected = {0};
  for (int tick = 0; tick < 120; ++tick) expected.push_back(tick + 1);
  expected.push_back(-1);
  EXPECT_EQ(progress, expected);
  EXPECT_FALSE(dlg->IsScanning());
}

TEST_F(QtHostTest, TheSettingsSheetEndsInAFullScanOrJustLeavesTheScanningState) {
  WriteText(dir / "a.mp3", "x");
  CEnvironment& env = *dlg->GetEnvironment();
  auto music = CreateResource(config.resourceTypes.FindById(kFolderTypeId));
  music->m_strPath = dir.Path();
  env.Resources().Add(std::move(music));
  auto choose = [&](int button) {
    WhenModal answer([button](QWidget* sheet) { Control<QPushButton>(sheet, button)->click(); });
    dlg->OnCommand(kCmdEnvSettings);
    EXPECT_TRUE(answer.Answered());
  };
  choose(2);  // Exit
  ASSERT_TRUE(Eventually([&] { return !dlg->IsScanning(); }));
  EXPECT_EQ(env.GetSize(), size_t{kGroups * 3});
  // Nothing changed, yet Scan scans every resource again.
  choose(22);
  ASSERT_TRUE(Eventually([&] { return !dlg->IsScanning(); }));
  ASSERT_EQ(env.GetSize(), 1u);
  EXPECT_EQ(env.GetAt(0)->GetPath(), dir / "a.mp3");
  EXPECT_TRUE(env.IsModified());
}

TEST_F(QtHostTest, OptionsOpenFromTheMenuRepaintAtOnceAndAreSavedOnExit) {
  EXPECT_TRUE(dlg->IsCommandEnabled(kCmdOptions));
  const std::uint32_t selected = dlg->BackBuffer().GetPixel(40, Tree().GetAreaY() + 4);
  bool repainted = false;
  QTimer::singleShot(0, [&] {
    auto* sheet = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_TRUE(sheet);
    auto* vert = sheet->findChild<QComboBox*>(QStringLiteral("id1021"));
    QTest::keyClick(vert, Qt::Key_End);  // Bottom
    auto* strength = sheet->findChild<QSlider*>(QStringLiteral("id1106"));
    strength->triggerAction(QAbstractSlider::SliderToMinimum);
    repainted = dlg->BackBuffer().GetPixel(40, Tree().GetAreaY() + 4) != selected;
    QTest::mouseClick(sheet->findChild<QPushButton*>(QStringLiteral("id2")), Qt::LeftButton);
  });
  Tree().GetFirstChild()->SetSelection(SelectionState::Selected);
  dlg->RefreshView();
  dlg->OnCommand(kCmdOptions);
  EXPECT_TRUE(repainted);
  RecordingPrompt quiet;
  CConfig stored(quiet);
  stored.Load(dir / CConfig::kFileName);
  EXPECT_EQ(stored.placementFlags, CConfig::kAlignBottom | CConfig::kAlignRight);
  EXPECT_EQ(stored.selectionTransparency, 0);
}

}  // namespace
}  // namespace jb::test

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
