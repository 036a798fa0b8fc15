// The Tree-view page on the offscreen platform: each control writes the live
// configuration at once, the appearance ones repaint the tree, and a chosen
// bitmap is checked before it is taken.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QSlider>
#include <QSpinBox>

#include "TestSupport.h"
#include "TreeTestSupport.h"
#include "config/CConfig.h"
#include "skin/SkinSet.h"
#include "sprites/ui/CQvStaticSprite.h"
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
  template <class T = QWidget>
  T* Control(int id) {
    if (!page) page = std::make_unique<CTreeViewPage>(config, skin, window, prompt);
    T* control = page->findChild<T*>(QStringLiteral("id%1").arg(id));
    EXPECT_NE(control, nullptr) << "no control " << id;
    return control;
  }
  QAbstractButton* Button(int id) { return Control<QAbstractButton>(id); }
  int Refreshes() const { return window.Count(WM_TREE_REFRESH); }
  // "1" per enabled control.
  std::string Enabled(std::initializer_list<int> ids) {
    std::string out;
    for (int id : ids) out += Control(id)->isEnabled() ? '1' : '0';
    return out;
  }
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
  EXPECT_TRUE(Button(1017)->isChecked() && Button(1023)->isChecked() && !Control(1013)->isEnabled());
  Button(1020)->click();
  EXPECT_EQ(config.scrollOptions, 0x81);
  EXPECT_EQ(Enabled({1013, 1014}), "11");
  lines->setValue(150);
  EXPECT_EQ(config.wheelLines, 99);
  lines->setValue(12);
  Button(1016)->click();  // "Scrolls one &page."
  EXPECT_EQ(config.scrollOptions, 0x84);
  EXPECT_EQ(Enabled({1013, 1014}), "00");
  Button(1023)->click();
  Button(1020)->click();
  EXPECT_EQ(config.scrollOptions, 0x01);
  EXPECT_EQ(Control<QLineEdit>(1013)->text(), "12");
  EXPECT_EQ(Refreshes(), 0);
}

// Icons take effect when the tree is rebuilt; the selection repaints at once.
TEST_F(TreeViewPageTest, SlidersStoreAtOnceAndOnlyTheSelectionRepaints) {
  for (int id : {1098, 1100, 1101, 1094, 1095, 1096}) EXPECT_EQ(Control<QSlider>(id)->maximum(), 11) << id;
  EXPECT_FALSE(Control<QSlider>(1096)->isEnabled());
  Control<QSlider>(1098)->setValue(5);
  EXPECT_EQ(config.artistIcon, 5);
  EXPECT_EQ(Control<CQvStaticSprite>(1099)->Sprite().GetPixel(2, 2), 0xFF000006u);
  EXPECT_EQ(Refreshes(), 0);
  Control<QSlider>(1106)->setValue(63);
  EXPECT_EQ(config.selectionTransparency, 126);
  EXPECT_EQ(window.Messages(), (std::vector<RecordingTarget::Message>{{WM_TREE_REFRESH, 0, true}}));
}

TEST_F(TreeViewPageTest, TheBackgroundImageSwitchesItsControlsAndTheTree) {
  config.backgroundImagePath = tile;
  EXPECT_EQ(Enabled({1102, 1104, 1110, 1105}), "0000");
  Button(1103)->click();
  EXPECT_EQ(Enabled({1102, 1104, 1110, 1105}), "1111");
  EXPECT_EQ(TreePixel(), 0xFF7F7F7Fu);  // white, half way to the black background
  Control<QSlider>(1105)->setValue(0);
  EXPECT_EQ(TreePixel(), 0xFFFFFFFFu);
  Button(1103)->click();
  EXPECT_EQ(Enabled({1102, 1104, 1110, 1105}), "0000");
  EXPECT_EQ(config.backgroundImagePath, tile);
  EXPECT_EQ(TreePixel(), 0xFF000000u);
  EXPECT_EQ(Refreshes(), 3);
  page.reset();  // a page opened with the image on offers its controls at once
  config.optionFlags |= CConfig::kBackgroundImage;
  EXPECT_EQ(Enabled({1102, 1104, 1110, 1105}), "1111");
}

TEST_F(TreeViewPageTest, BrowseTakesOnlyA24BitBitmapWithPixelsAtByte54) {
  config.optionFlags |= CConfig::kBackgroundImage;
  config.backgroundImagePath = tile;
  std::vector<std::uint8_t> paletted = Bitmap24(2, 2, [](int, int) { return 0u; });
  paletted[28] = 8;
  WriteBytes(dir / "256.bmp", paletted);
  const std::string black = dir / "-black\n'tile'.bmp";
  WriteBytes(black, Bitmap24(2, 2, [](int, int) { return 0u; }));
  prompt.files = {dir / "256.bmp", dir / "gone.bmp", std::nullopt, black};
  QAbstractButton* browse = Button(1104);
  const int before = Refreshes();
  for (int i = 0; i < 3; ++i) browse->click();
  EXPECT_EQ(prompt.messages, (std::vector<int>{ids::BackgroundImageNot24Bit, ids::CannotOpenImage}));
  EXPECT_EQ(config.backgroundImagePath, tile);
  EXPECT_EQ(Refreshes(), before);
  EXPECT_EQ(prompt.dialogs.back().initialPath, tile);
  browse->click();
  EXPECT_EQ(Control<QLineEdit>(1102)->text().toStdString(), black);
  EXPECT_EQ(TreePixel(), 0xFF000000u);
  EXPECT_EQ(Refreshes(), before + 1);
}

}  // namespace
}  // namespace jb::test
