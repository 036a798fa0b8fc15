// The Options sheet offscreen: the Main window page shows and changes the
// live configuration, and the sheet saves it however it is closed.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QTest>

#include "QtTestSupport.h"
#include "TestSupport.h"
#include "config/CConfig.h"
#include "skin/SkinSet.h"
#include "window/ui/CPShOptions.h"

namespace jb::test {
namespace {

TEST(OptionsSheetTest, TheSmallSampleFollowsTheAlignmentAndTheCloseBoxSaves) {
  TempDir dir;
  ScopedCurrentDir cwd(dir.Path());
  RecordingPrompt prompt;
  RecordingTarget target;
  CConfig config(prompt);
  SkinSet skin;
  ASSERT_TRUE(skin.Load(prompt, JUKEBAR_DEFAULT_SKIN));
  std::unique_ptr<CPShOptions> sheet;
  auto open = [&] { (sheet = std::make_unique<CPShOptions>(config, skin, target, prompt))->show(); };
  auto find = [&](int id) { return Control<QWidget>(sheet.get(), id); };
  // The lists' texts, the small sample's place inside the large one, the auto-load box.
  auto shown = [&] {
    return std::tuple(
        Control<QComboBox>(sheet.get(), 1021)->currentText() + Control<QComboBox>(sheet.get(), 1022)->currentText(),
        find(1018)->pos(), Control<QCheckBox>(sheet.get(), 1092)->isChecked());
  };
  auto choose = [&](int id, int entry) {  // with the list's keys, as a user does
    QTest::keyClick(find(id), Qt::Key_Home);
    for (int i = 0; i < entry; ++i) QTest::keyClick(find(id), Qt::Key_Down);
  };

  open();  // a new configuration
  const QSize room = find(1019)->size() - find(1018)->size();
  const int dx = room.width(), dy = room.height();
  EXPECT_EQ(shown(), std::tuple("TopRight", QPoint(dx, 0), true));
  config.placementFlags = CConfig::kSmallForm | 0x0F;  // pairs holding both bits show as "None"
  config.optionFlags = 0xFFFFFFFE;
  open();
  EXPECT_EQ(shown(), std::tuple("NoneNone", QPoint(dx / 2, dy / 2), false));
  // Options the window never had keep their look whatever the flags hold.
  EXPECT_FALSE(find(1089)->isEnabled() || find(1093)->isEnabled());
  Control<QCheckBox>(sheet.get(), 1092)->click();
  choose(1021, 2);  // Bottom: the large form's bottom edge meets the small one's
  EXPECT_EQ(std::tuple(config.placementFlags, config.largeY + config.largeHeight),
            std::tuple(std::uint8_t(0x1B), config.smallY + 14));
  choose(1022, 1);
  EXPECT_EQ(std::tuple(config.placementFlags, config.optionFlags, shown()),
            std::tuple(std::uint8_t(0x19), 0xFFFFFFFFu, std::tuple("BottomLeft", QPoint(0, dy), true)));
  // Exit saves as the end-to-end run shows; the close box must too.
  sheet->close();
  sheet.reset();
  CConfig stored(prompt);
  stored.Load(dir / CConfig::kFileName);
  EXPECT_EQ(stored.placementFlags, 0x19);
}

}  // namespace
}  // namespace jb::test
