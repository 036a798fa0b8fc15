// The Tree-view page on the offscreen platform: each control writes the live
// configuration at once, the appearance ones repaint the tree, and a chosen
// bitmap is checked before it is taken.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>

#include "TestSupport.h"
#include "TreeTestSupport.h"
#include "config/CConfig.h"
#include "skin/SkinSet.h"
#include "sprites/ui/CQvStaticSprite.h"
#include "strings/StringTable.h"
#include "treeview/TreeMessages.h"
#include "treeview/TreeView.h"
#include "treeview/ui/CTreeViewPage.h"

namespace jb::test {
namespace {

class TreeViewPageTest : public ::testing::Test {
 protected:
  TreeViewPageTest() {
    for (int i = 0; i < 12; ++i) skin.MutableIcons().Add(Flat(10, 8, 0xFF000000u | std::uint32_t(i + 1)));
    WriteBytes(tile, Bitmap24(2, 2, [](int, int) { return 0xFFFFFFu; }));
  }

  template <class T>
  T* Control(int id) {
    if (!page) page = std::make_unique<CTreeViewPage>(config, skin, window, prompt);
    T* control = page->findChild<T*>(QStringLiteral("id%1").arg(id));
    EXPECT_NE(control, nullptr) << "no control " << id;
    return control;
  }
  int Refreshes() const { return window.Count(WM_TREE_REFRESH); }
  // The tree's top-left pixel as the window would paint it now.
  std::uint32_t TreePixel() {
    CQvSprite buffer;
    buffer.CreateBitmap(4, 4);
    TreeView tree;
    tree.SetConfig(&config);
    tree.SetTarget(&buffer, &skin);
    tree.SetArea(0, 0, 4, 4);
    tree.Paint();
    return buffer.GetPixel(0, 0);
  }
  bool ImageControlsEnabled() {
    bool all = Control<QLineEdit>(1102)->isEnabled();
    for (int id : {1104, 1110, 1105}) EXPECT_EQ(Control<QWidget>(id)->isEnabled(), all) << id;
    return all;
  }

  TempDir dir;
  std::string tile = dir / "white tile.bmp";
  RecordingPrompt prompt;
  CConfig config{prompt};
  SkinSet skin;
  RecordingTarget window;
  std::unique_ptr<CTreeViewPage> page;
};

TEST_F(TreeViewPageTest, WheelModesEnableTheLineCountOnlyForScrolls) {
  config.scrollOptions = 0x82;  // half a page, smooth
  auto* lines = Control<QSpinBox>(1014);
  auto* edit = Control<QLineEdit>(1013);
  EXPECT_TRUE(Control<QRadioButton>(1017)->isChecked());
  EXPECT_TRUE(Control<QCheckBox>(1023)->isChecked());
  EXPECT_FALSE(edit->isEnabled());

  Control<QRadioButton>(1020)->click();
  EXPECT_EQ(config.scrollOptions, 0x81);
  EXPECT_TRUE(edit->isEnabled());
  lines->setValue(150);
  EXPECT_EQ(config.wheelLines, 99);
  lines->setValue(12);
  Control<QRadioButton>(1016)->click();
  EXPECT_EQ(config.scrollOptions, 0x84);
  EXPECT_FALSE(edit->isEnabled());
  EXPECT_FALSE(lines->isEnabled());
  Control<QCheckBox>(1023)->click();
  Control<QRadioButton>(1020)->click();
  EXPECT_EQ(config.scrollOptions, 0x01);
  EXPECT_EQ(edit->text(), "12");
  EXPECT_EQ(config.wheelLines, 12);
  EXPECT_EQ(Refreshes(), 0);
}

TEST_F(TreeViewPageTest, IconSlidersRunOverTheSkinsIconsWithoutARepaint) {
  for (int id : {1098, 1100, 1101, 1094, 1095, 1096}) EXPECT_EQ(Control<QSlider>(id)->maximum(), 11) << id;
  EXPECT_EQ(Control<QSlider>(1101)->value(), 7);
  EXPECT_FALSE(Control<QSlider>(1096)->isEnabled());
  Control<QSlider>(1098)->setValue(5);
  EXPECT_EQ(config.artistIcon, 5);
  const CQvSprite& preview = Control<CQvStaticSprite>(1099)->Sprite();
  EXPECT_EQ(preview.GetWidth(), 14);
  EXPECT_EQ(preview.GetPixel(2, 2), 0xFF000006u);
  // Nodes take their icons when the tree is rebuilt.
  EXPECT_EQ(Refreshes(), 0);
}

TEST_F(TreeViewPageTest, SelectionTransparencyIsTwiceTheSliderAndRepaints) {
  Control<QSlider>(1106)->setValue(63);
  EXPECT_EQ(config.selectionTransparency, 126);
  EXPECT_EQ(window.Messages(), (std::vector<RecordingTarget::Message>{{WM_TREE_REFRESH, 0, true}}));
}

TEST_F(TreeViewPageTest, TheBackgroundImageSwitchesItsControlsAndTheTree) {
  config.backgroundImagePath = tile;
  EXPECT_FALSE(ImageControlsEnabled());
  Control<QCheckBox>(1103)->click();
  EXPECT_TRUE(ImageControlsEnabled());
  EXPECT_EQ(Control<QLineEdit>(1102)->text(), QString::fromStdString(tile));
  EXPECT_EQ(TreePixel(), 0xFF7F7F7Fu);  // white, half way to the black background
  Control<QSlider>(1105)->setValue(0);
  EXPECT_EQ(TreePixel(), 0xFFFFFFFFu);
  EXPECT_EQ(Refreshes(), 2);

  Control<QCheckBox>(1103)->click();
  EXPECT_FALSE(config.IsBackgroundImageOn());
  EXPECT_FALSE(ImageControlsEnabled());
  EXPECT_EQ(config.backgroundImagePath, tile);
  EXPECT_EQ(TreePixel(), 0xFF000000u);
  EXPECT_EQ(Refreshes(), 3);

  // A page opened with the image on offers its controls at once.
  page.reset();
  config.optionFlags |= CConfig::kBackgroundImage;
  EXPECT_TRUE(Control<QCheckBox>(1103)->isChecked());
  EXPECT_TRUE(ImageControlsEnabled());
}

TEST_F(TreeViewPageTest, BrowseTakesOnlyA24BitBitmapWithPixelsAtByte54) {
  config.optionFlags |= CConfig::kBackgroundImage;
  config.backgroundImagePath = tile;
  auto* browse = Control<QPushButton>(1104);
  // Which headers pass is the check's own test; here one refusal of each kind.
  std::vector<std::uint8_t> paletted = Bitmap24(2, 2, [](int, int) { return 0u; });
  paletted[28] = 8;
  WriteBytes(dir / "256.bmp", paletted);
  WriteBytes(dir / "-black\n'tile'.bmp", Bitmap24(2, 2, [](int, int) { return 0u; }));
  const int before = Refreshes();
  prompt.files = {dir / "256.bmp", dir / "gone.bmp", std::nullopt};
  for (int i = 0; i < 3; ++i) browse->click();
  EXPECT_EQ(prompt.messages, (std::vector<int>{ids::BackgroundImageNot24Bit, ids::CannotOpenImage}));
  EXPECT_EQ(config.backgroundImagePath, tile);
  EXPECT_EQ(Refreshes(), before);
  EXPECT_EQ(prompt.dialogs.back().filter, LoadString(ids::BitmapFilter));
  EXPECT_EQ(prompt.dialogs.back().initialPath, tile);

  prompt.files = {dir / "-black\n'tile'.bmp"};
  browse->click();
  EXPECT_EQ(config.backgroundImagePath, dir / "-black\n'tile'.bmp");
  EXPECT_EQ(Control<QLineEdit>(1102)->text(), QString::fromStdString(config.backgroundImagePath));
  EXPECT_EQ(TreePixel(), 0xFF000000u);
  EXPECT_EQ(Refreshes(), before + 1);
}

}  // namespace
}  // namespace jb::test
