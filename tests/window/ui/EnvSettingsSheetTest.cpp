// The environment settings sheet: two ways out and nothing else.
#include <gtest/gtest.h>

#include <map>

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QPushButton>

#include "QtTestSupport.h"
#include "TestSupport.h"
#include "config/CConfig.h"
#include "environment/CEnvironment.h"
#include "window/ui/CEnvSettingsPSh.h"
#include "resources/ui/CResourcesPage.h"

namespace jb::test {
namespace {

class EnvSettingsSheetTest : public ::testing::Test {
 protected:
  int RunAnswering(const std::function<void(QWidget*)>& answer) {
    WhenModal when(answer);
    return sheet.Run();
  }

  RecordingPrompt prompt;
  CConfig config{prompt};
  CEnvironment environment{prompt, config.resourceTypes};
  CEnvSettingsPSh sheet{environment, config, QFileInfo(JUKEBAR_DEFAULT_SKIN).absolutePath() + QStringLiteral("/res")};
};

TEST_F(EnvSettingsSheetTest, OnlyScanAndExitSitBesideTheResourcesPage) {
  sheet.show();
  std::map<int, QString> buttons;  // left to right
  for (QPushButton* button : sheet.findChildren<QPushButton*>())
    if (!sheet.Page()->isAncestorOf(button))
      buttons[button->mapTo(&sheet, QPoint()).x()] = button->objectName() + ":" + button->text();
  QStringList shown;
  for (const auto& [x, button] : buttons) shown << button;
  EXPECT_EQ(shown, (QStringList{"id22:&Scan", "id2:E&xit"}));
}

TEST_F(EnvSettingsSheetTest, ScanAsksForAScanWhileExitAndTheCloseBoxDoNot) {
  EXPECT_EQ(RunAnswering([](QWidget* s) { Control<QPushButton>(s, 22)->click(); }), CEnvSettingsPSh::kScan);
  EXPECT_EQ(RunAnswering([](QWidget* s) { Control<QPushButton>(s, 2)->click(); }), CEnvSettingsPSh::kExit);
  EXPECT_EQ(RunAnswering([](QWidget* s) { s->close(); }), CEnvSettingsPSh::kExit);
  EXPECT_FALSE(environment.IsModified());
}

}  // namespace
}  // namespace jb::test
