// The program's start-up and end on Qt's offscreen platform, through the
// same desktop side as the jukebar executable: message boxes are read and
// answered by the test, the window is closed as the desktop would.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "TestSupport.h"
#include "app/CJukebarApp.h"
#include "app/ui/QtDesktop.h"
#include "config/CConfig.h"
#include "environment/CEnvironment.h"
#include "platform/FileSystem.h"
#include "platform/UserSettings.h"
#include "strings/StringTable.h"
#include "window/ui/QtMainWindow.h"

namespace jb::test {
namespace {

namespace fs = std::filesystem;

class StartUpTest : public ::testing::Test {
 protected:
  StartUpTest() {
    fs::create_directories(install);
    fs::create_directories(start);
    std::ofstream(settingsFile) << "[General]\nInstallDir=" << install << "\n";
    // Every message box is read and answered OK; the main window, once it
    // shows, is closed as the desktop closes windows.
    QObject::connect(&watch, &QTimer::timeout, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        boxes.push_back(box->text().toStdString());
        box->accept();
      } else if (desktop.Window() && desktop.Window()->isVisible()) {
        editorWhileShown = GetTypePropertiesEditor() != nullptr;
        desktop.Window()->close();
      }
    });
    watch.start(10);
  }

  void Install() {
    std::ofstream(install + "/" + kProgramFileName).put('\n');
    fs::copy_file(JUKEBAR_DEFAULT_SKIN, install + "/Jukebar.skn");
    RecordingPrompt prompt;
    CConfig config(prompt);
    config.optionFlags &= ~CConfig::kAutoLoadPlayer;
    ASSERT_TRUE(config.Save(install + "/" + CConfig::kFileName));
  }
  void Run(std::vector<const char*> argv) {
    argv.insert(argv.begin(), "jukebar");
    CJukebarApp app;
    desktop.UseSkin(app.m_skin);
    ScopedCurrentDir from(start);
    EXPECT_FALSE(app.InitInstance(static_cast<int>(argv.size()), argv.data(), desktop, settings));
  }

  TempDir dir;
  std::string install = dir / "in stall";
  std::string start = dir / "start";
  std::string settingsFile = dir / "Jukebar.conf";
  UserSettings settings{""};
  QtDesktop desktop{settings};
  QTimer watch;
  std::vector<std::string> boxes;
  bool editorWhileShown = false;
};

TEST_F(StartUpTest, WithoutTheProgramFileTheInstallationIsRefusedAndNothingIsWritten) {
  settings = UserSettings(settingsFile);
  Run({});
  EXPECT_EQ(std::tuple(boxes, desktop.Window() && desktop.Window()->isVisible(), fs::is_empty(install)),
            std::tuple(std::vector<std::string>{LoadString(7), LoadString(6)}, false, true));
}

TEST_F(StartUpTest, AnEnvironmentNamedFromTheStartFolderOpensAndIsRememberedAtClose) {
  Install();
  {
    RecordingPrompt prompt;
    CConfig config(prompt);
    CEnvironment env(prompt, config.resourceTypes);
    ASSERT_TRUE(env.SaveAs(start + "/mine.jbe"));
  }
  settings = UserSettings(settingsFile);
  Run({"mine.jbe"});
  RecordingPrompt prompt;
  CConfig stored(prompt);
  stored.Load(install + "/" + CConfig::kFileName);
  // The type dialogs are reachable while the window runs, and only then.
  EXPECT_EQ(std::tuple(boxes.size(), editorWhileShown, GetTypePropertiesEditor(), stored.environmentPath),
            std::tuple(0u, true, nullptr, start + "/mine.jbe"));
}

}  // namespace
}  // namespace jb::test

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Start-up without waiting for the splash.
  qputenv("JUKEBAR_SPLASH_MS", "0");
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
