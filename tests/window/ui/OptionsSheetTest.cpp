// The Options sheet offscreen: the Main window page shows and changes the
// live configuration, and the sheet saves it however it is closed.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <filesystem>

#include "TestSupport.h"
#include "config/CConfig.h"
#include "skin/SkinSet.h"
#include "sprites/ui/CQvStaticSprite.h"
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
  template <class Control>
  Control* Find(int id) {
    auto* control = sheet->findChild<Control*>(QStringLiteral("id%1").arg(id));
    EXPECT_TRUE(control) << id;
    return control;
  }
  // The small sample's place inside the large one.
  QPoint SmallSample() { return Find<CQvStaticSprite>(1018)->pos(); }
  QSize Size(int id) { return Find<CQvStaticSprite>(id)->size(); }
  // Picks an entry as the user does: the list's keys.
  void Choose(int id, int entry) {
    QComboBox* combo = Find<QComboBox>(id);
    QTest::keyClick(combo, Qt::Key_Home);
    for (int i = 0; i < entry; ++i) QTest::keyClick(combo, Qt::Key_Down);
  }
  std::uint8_t StoredPlacementFlags() {
    CConfig stored(prompt);
    stored.Load(dir / CConfig::kFileName);
    return stored.placementFlags;
  }

  TempDir dir;
  ScopedCurrentDir cwd{dir.Path()};
  RecordingPrompt prompt;
  RecordingTarget target;
  CConfig config{prompt};
  SkinSet skin;
  std::unique_ptr<CPShOptions> sheet;
};

TEST_F(OptionsSheetTest, ANewConfigurationOpensWithTopRightAndAutoLoad) {
  Open();
  EXPECT_EQ(sheet->windowTitle(), QStringLiteral("Jukebar - Options"));
  ASSERT_EQ(sheet->Pages()->count(), 2);
  EXPECT_EQ(sheet->Pages()->tabText(0), QStringLiteral("Main window"));
  EXPECT_EQ(sheet->Pages()->tabText(1), QStringLiteral("Tree-view"));
  // Only "E&xit" where the platform's buttons would be.
  for (int id : {1, 9}) EXPECT_FALSE(sheet->findChild<QPushButton*>(QStringLiteral("id%1").arg(id)));
  EXPECT_EQ(Find<QPushButton>(2)->text(), QStringLiteral("E&xit"));
  EXPECT_EQ(Find<QPushButton>(2)->width(), 80);

  EXPECT_EQ(Find<QComboBox>(1021)->currentText(), QStringLiteral("Top"));
  EXPECT_EQ(Find<QComboBox>(1022)->currentText(), QStringLiteral("Right"));
  EXPECT_TRUE(Find<QCheckBox>(1092)->isChecked());
  EXPECT_EQ(Size(1019), QSize(skin.LargeSample().GetWidth(), skin.LargeSample().GetHeight()));
  EXPECT_EQ(SmallSample(), QPoint(Size(1019).width() - Size(1018).width(), 0));
  // The large picture is dimmed under the small one.
  EXPECT_NE(Find<CQvStaticSprite>(1019)->Sprite().GetPixel(0, 0), skin.LargeSample().GetPixel(0, 0));
}

TEST_F(OptionsSheetTest, TheSmallSampleFollowsTheAlignment) {
  // A pair holding both bits shows as "None".
  config.placementFlags = 0x0F;
  config.optionFlags = 0xFFFFFFFE;  // everything but the auto-load
  Open();
  EXPECT_EQ(Find<QComboBox>(1021)->currentIndex(), 0);
  EXPECT_EQ(Find<QComboBox>(1022)->currentIndex(), 0);
  EXPECT_FALSE(Find<QCheckBox>(1092)->isChecked());
  // The controls of options the window never had keep their look.
  for (int id : {1089, 1093}) EXPECT_FALSE(Find<QCheckBox>(id)->isEnabled() || Find<QCheckBox>(id)->isChecked());
  EXPECT_FALSE(Find<QLineEdit>(1090)->isEnabled());
  EXPECT_FALSE(Find<QSpinBox>(1091)->isEnabled());

  const int dx = Size(1019).width() - Size(1018).width(), dy = Size(1019).height() - Size(1018).height();
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
  QCheckBox* autoLoad = Find<QCheckBox>(1092);
  QTest::mouseClick(autoLoad, Qt::LeftButton, Qt::NoModifier, QPoint(8, autoLoad->height() / 2));
  EXPECT_EQ(config.optionFlags, 0xFFFFFFFFu);
}

TEST_F(OptionsSheetTest, AnAlignmentChangesItsOwnBitsAndMovesTheHiddenForm) {
  // The small form shows, aligned Top and Right, away from the large one.
  config.placementFlags = CConfig::kSmallForm | CConfig::kAlignTop | CConfig::kAlignRight;
  config.smallX = 300, config.smallY = 200;
  Open();
  Choose(1021, 2);  // Bottom
  EXPECT_EQ(config.placementFlags, CConfig::kSmallForm | CConfig::kAlignBottom | CConfig::kAlignRight);
  EXPECT_EQ(config.smallX, 300);
  EXPECT_EQ(config.smallY, 200);
  EXPECT_EQ(config.largeX, 300 + 50 - 275);   // right edges meet
  EXPECT_EQ(config.largeY, 200 + 14 - 319);   // bottom edges meet
  Choose(1022, 0);  // None: the other axis stays where it is
  EXPECT_EQ(config.placementFlags, CConfig::kSmallForm | CConfig::kAlignBottom);
  EXPECT_EQ(config.largeX, 300 + 50 - 275);
}

TEST_F(OptionsSheetTest, TheCloseBoxSavesAsExitDoes) {
  for (bool closeBox : {false, true}) {
    std::filesystem::remove(dir / CConfig::kFileName);
    config.placementFlags = 0;
    Open();
    Choose(1022, 1);
    if (closeBox)
      sheet->close();
    else
      QTest::mouseClick(Find<QPushButton>(2), Qt::LeftButton);
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_FALSE(std::filesystem::exists(dir / CConfig::kFileName));  // not before the sheet goes
    sheet.reset();
    EXPECT_EQ(StoredPlacementFlags(), CConfig::kAlignLeft) << closeBox;
  }
  // A file that cannot be written gives the configuration's own message.
  std::filesystem::remove(dir / CConfig::kFileName);
  std::filesystem::create_directory(dir / CConfig::kFileName);
  Open();
  sheet.reset();
  EXPECT_EQ(prompt.messages, std::vector<int>{ids::CannotSaveConfig});
}

}  // namespace
}  // namespace jb::test
