// The environment settings sheet: two ways out and nothing else. Scan and
// Exit through the main window are proven by the host's tests.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QPushButton>

#include "QtTestSupport.h"
#include "TestSupport.h"
#include "config/CConfig.h"
#include "environment/CEnvironment.h"
#include "resources/ui/CResourcesPage.h"
#include "window/ui/CEnvSettingsPSh.h"

namespace jb::test {
namespace {

TEST(EnvSettingsSheetTest, OnlyScanAndExitBesideThePageAndTheCloseBoxActsAsExit) {
  RecordingPrompt prompt;
  CConfig config{prompt};
  CEnvironment environment{prompt, config.resourceTypes};
  CEnvSettingsPSh sheet{environment, config, QFileInfo(JUKEBAR_DEFAULT_SKIN).absolutePath() + QStringLiteral("/res")};
  QStringList shown;
  for (QPushButton* button : sheet.findChildren<QPushButton*>())
    if (!sheet.Page()->isAncestorOf(button)) shown << button->objectName();
  shown.sort();
  EXPECT_EQ(shown, (QStringList{"id2", "id22"}));
  WhenModal close([](QWidget* s) { s->close(); });
  EXPECT_EQ(sheet.Run(), CEnvSettingsPSh::kExit);
  EXPECT_FALSE(environment.IsModified());
}

}  // namespace
}  // namespace jb::test
