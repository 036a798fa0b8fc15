// The Options sheet offscreen: the Main window page shows and changes the
// live configuration, and the sheet saves it however it is closed.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QTest>
#include <filesystem>

#include "TestSupport.h"
#include "config/CConfig.h"
#include "skin/SkinSet.h"
#include "window/ui/CPShOptions.h"

namespace jb::test {
namespace {

class OptionsSheetTest : public ::testing::Test {
 protected:
  OptionsSheetTest() { EXPECT_TRUE(skin.Load(prompt, JUKEBAR_DEFAULT_SKIN)); }
  void Open() {
    sheet = std::make_unique<CPShOptions>(config, skin, target, prompt);
    sheet->show();
  }
  template <class Control = QWidget>
  Control* Find(int id) {
    auto* control = sheet->findChild<Control*>(QStringLiteral("id%1").arg(id));
    EXPECT_TRUE(control) << id;
    return control;
  }
  // The small sample's place, and how far it can move inside the large one.
  QPoint SmallSample() { return Find(1018)->pos(); }
  QSize Room() { return Find(1019)->size() - Find(1018)->size(); }
  // Picks an entry as the user does, with the list's keys.
  void Choose(int id, int entry) {
    QTest::keyClick(Find(id), Qt::Key_Home);
    for (int i = 0; i < entry; ++i) QTest::keyClick(Find(id), Qt::Key_Down);
  }

  TempDir dir;
  ScopedCurrentDir cwd{dir.Path()};
  RecordingPrompt prompt;
  RecordingTarget target;
  CConfig config{prompt};
  SkinSet skin;
  std::unique_ptr<CPShOptions> sheet;
};

TEST_F(OptionsSheetTest, TheSmallSampleFollowsTheAlignment) {
  Open();  // a new configuration: Top, Right, auto-load
  EXPECT_EQ(Find<QComboBox>(1021)->currentText() + Find<QComboBox>(1022)->currentText(), "TopRight");
  EXPECT_TRUE(Find<QCheckBox>(1092)->isChecked());
  EXPECT_EQ(SmallSample(), QPoint(Room().width(), 0));
  config.placementFlags = 0x0F;  // pairs holding both bits show as "None"
  config.optionFlags = 0xFFFFFFFE;
  Open();
  EXPECT_EQ(Find<QComboBox>(1021)->currentIndex() + Find<QComboBox>(1022)->currentIndex(), 0);
  EXPECT_FALSE(Find<QCheckBox>(1092)->isChecked());
  // Options the window never had keep their look whatever the flags hold.
  for (int id : {1089, 1093}) EXPECT_FALSE(Find<QCheckBox>(id)->isEnabled() || Find<QCheckBox>(id)->isChecked()) << id;
  const int dx = Room().width(), dy = Room().height();
  struct Case {
    int vert, horz;
    std::uint8_t bits;
    QPoint at;
  };
  for (const Case& c : {Case{2, 1, 0x09, {0, dy}}, Case{0, 0, 0x00, {dx / 2, dy / 2}}, Case{1, 0, 0x04, {dx / 2, 0}},
                        Case{0, 2, 0x02, {dx, dy / 2}}}) {
    Choose(1021, c.vert);
    Choose(1022, c.horz);
    EXPECT_EQ(config.placementFlags, c.bits) << c.vert << c.horz;
    EXPECT_EQ(SmallSample(), c.at) << c.vert << c.horz;
  }
  Find<QCheckBox>(1092)->click();
  EXPECT_EQ(config.optionFlags, 0xFFFFFFFFu);
}

TEST_F(OptionsSheetTest, AnAlignmentChangesItsOwnBitsAndMovesTheHiddenForm) {
  config.placementFlags = CConfig::kSmallForm | CConfig::kAlignTop | CConfig::kAlignRight;
  config.smallX = 300, config.smallY = 200;
  Open();
  Choose(1021, 2);  // Bottom: the large form's edges meet the small one's
  EXPECT_EQ(config.placementFlags, CConfig::kSmallForm | CConfig::kAlignBottom | CConfig::kAlignRight);
  EXPECT_EQ(std::tuple(config.smallX, config.smallY, config.largeX, config.largeY),
            std::tuple(300, 200, 300 + 50 - 275, 200 + 14 - 319));
  Choose(1022, 0);  // None: the other axis stays where it is
  EXPECT_EQ(config.placementFlags, CConfig::kSmallForm | CConfig::kAlignBottom);
  EXPECT_EQ(config.largeX, 300 + 50 - 275);
}

TEST_F(OptionsSheetTest, TheCloseBoxSavesAsExitDoes) {
  const std::string file = dir / CConfig::kFileName;
  for (bool closeBox : {false, true}) {
    std::filesystem::remove(file);
    config.placementFlags = 0;
    Open();
    Choose(1022, 1);
    closeBox ? (void)sheet->close() : QTest::mouseClick(Find(2), Qt::LeftButton);  // "E&xit"
    EXPECT_FALSE(sheet->isVisible() || std::filesystem::exists(file));             // saved when the sheet goes
    sheet.reset();
    CConfig stored(prompt);
    stored.Load(file);
    EXPECT_EQ(stored.placementFlags, CConfig::kAlignLeft) << closeBox;
  }
  std::filesystem::remove(file);  // an unwritable file: the configuration's own message
  std::filesystem::create_directory(file);
  Open();
  sheet.reset();
  EXPECT_EQ(prompt.messages, std::vector<int>{ids::CannotSaveConfig});
}

}  // namespace
}  // namespace jb::test
