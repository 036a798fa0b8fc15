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

constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr std::uint32_t kBlack = 0xFF000000;

class TreeViewPageTest : public ::testing::Test {
 protected:
  TreeViewPageTest() {
    for (int i = 0; i < 12; ++i) skin.MutableIcons().Add(Flat(10, 8, 0xFF000000u | std::uint32_t(i + 1)));
    WriteBytes(dir / "white tile.bmp", Bitmap24(2, 2, [](int, int) { return 0xFFFFFFu; }));
  }

  CTreeViewPage& Page() {
    if (!page) page = std::make_unique<CTreeViewPage>(config, skin, window, prompt);
    return *page;
  }
  template <class T>
  T* Control(int id) {
    T* control = Page().findChild<T*>(QStringLiteral("id%1").arg(id));
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
  std::vector<bool> ImageControlsEnabled() {
    return {Control<QLineEdit>(1102)->isEnabled(), Control<QPushButton>(1104)->isEnabled(),
            Control<QWidget>(1110)->isEnabled(), Control<QSlider>(1105)->isEnabled()};
  }

  TempDir dir;
  RecordingPrompt prompt;
  CConfig config{prompt};
  SkinSet skin;
  RecordingTarget window;
  std::unique_ptr<CTreeViewPage> page;
};

TEST_F(TreeViewPageTest, WheelModesEnableTheLineCountOnlyForScrolls) {
  auto* lines = Control<QSpinBox>(1014);
  auto* edit = Control<QLineEdit>(1013);
  EXPECT_TRUE(Control<QRadioButton>(1020)->isChecked());
  EXPECT_EQ(lines->minimum(), 1);
  EXPECT_EQ(lines->maximum(), 99);
  EXPECT_EQ(edit->text(), "8");
  lines->setValue(12);
  EXPECT_EQ(config.wheelLines, 12);
  Control<QCheckBox>(1023)->click();

  Control<QRadioButton>(1016)->click();
  EXPECT_EQ(config.scrollOptions, 0x84);  // one page, smooth scrolling kept
  EXPECT_FALSE(edit->isEnabled());
  EXPECT_FALSE(lines->isEnabled());
  Control<QRadioButton>(1017)->click();
  EXPECT_EQ(config.scrollOptions, 0x82);
  EXPECT_FALSE(Control<QRadioButton>(1016)->isChecked());

  Control<QRadioButton>(1020)->click();
  EXPECT_EQ(config.scrollOptions, 0x81);
  EXPECT_TRUE(edit->isEnabled());
  EXPECT_EQ(edit->text(), "12");
  Control<QCheckBox>(1023)->click();
  EXPECT_EQ(config.scrollOptions, 0x01);
  lines->setValue(150);
  EXPECT_EQ(config.wheelLines, 99);
  EXPECT_EQ(Refreshes(), 0);
}

TEST_F(TreeViewPageTest, OpensOnTheStoredScrollingSettings) {
  config.scrollOptions = 0x82;
  config.wheelLines = 30;
  EXPECT_TRUE(Control<QRadioButton>(1017)->isChecked());
  EXPECT_TRUE(Control<QCheckBox>(1023)->isChecked());
  EXPECT_FALSE(Control<QSpinBox>(1014)->isEnabled());
  EXPECT_EQ(Control<QSpinBox>(1014)->value(), 30);
  // Opening the page changes nothing.
  EXPECT_EQ(config.scrollOptions, 0x82);
  EXPECT_EQ(config.wheelLines, 30);
}

TEST_F(TreeViewPageTest, IconSlidersRunOverTheSkinsIcons) {
  config.playListIcon = 7;
  for (int id : {1098, 1100, 1101, 1094, 1095, 1096}) {
    EXPECT_EQ(Control<QSlider>(id)->minimum(), 0) << id;
    EXPECT_EQ(Control<QSlider>(id)->maximum(), 11) << id;
  }
  EXPECT_EQ(Control<QSlider>(1101)->value(), 7);
  EXPECT_FALSE(Control<QSlider>(1096)->isEnabled());
  EXPECT_FALSE(Control<QWidget>(1059)->isEnabled());

  Control<QSlider>(1098)->setValue(5);
  EXPECT_EQ(config.artistIcon, 5);
  const CQvSprite& preview = Control<CQvStaticSprite>(1099)->Sprite();
  EXPECT_EQ(preview.GetWidth(), 14);
  EXPECT_EQ(preview.GetHeight(), 12);
  EXPECT_EQ(preview.GetPixel(2, 2), 0xFF000006u);
  Control<QSlider>(1095)->setValue(11);
  EXPECT_EQ(config.folderIcon, 11);
  // Nodes take their icons when the tree is rebuilt: nothing to repaint.
  EXPECT_EQ(Refreshes(), 0);
}

TEST_F(TreeViewPageTest, SelectionTransparencyIsTwiceTheSliderAndRepaints) {
  auto* slider = Control<QSlider>(1106);
  EXPECT_EQ(slider->maximum(), 127);
  EXPECT_EQ(slider->value(), 72);
  slider->setValue(63);
  EXPECT_EQ(config.selectionTransparency, 126);
  EXPECT_EQ(window.Messages(), (std::vector<RecordingTarget::Message>{{WM_TREE_REFRESH, 0, true}}));
}

TEST_F(TreeViewPageTest, TheBackgroundImageSwitchesItsControlsAndTheTree) {
  config.backgroundImagePath = dir / "white tile.bmp";
  EXPECT_EQ(ImageControlsEnabled(), std::vector<bool>(4, false));
  EXPECT_EQ(TreePixel(), kBlack);

  Control<QCheckBox>(1103)->click();
  EXPECT_TRUE(config.IsBackgroundImageOn());
  EXPECT_EQ(ImageControlsEnabled(), std::vector<bool>(4, true));
  EXPECT_EQ(Control<QLineEdit>(1102)->text(), QString::fromStdString(config.backgroundImagePath));
  EXPECT_EQ(TreePixel(), 0xFF7F7F7Fu);  // white, half way to black
  EXPECT_EQ(Refreshes(), 1);

  // The image is tinted toward the background colour as it grows.
  Control<QSlider>(1105)->setValue(255);
  EXPECT_EQ(config.imageTransparency, 255);
  EXPECT_EQ(TreePixel(), kBlack);
  Control<QSlider>(1105)->setValue(0);
  EXPECT_EQ(TreePixel(), kWhite);
  EXPECT_EQ(Refreshes(), 3);

  Control<QCheckBox>(1103)->click();
  EXPECT_FALSE(config.IsBackgroundImageOn());
  EXPECT_EQ(ImageControlsEnabled(), std::vector<bool>(4, false));
  EXPECT_EQ(config.backgroundImagePath, dir / "white tile.bmp");
  EXPECT_EQ(Control<QLineEdit>(1102)->text(), QString::fromStdString(config.backgroundImagePath));
  EXPECT_EQ(TreePixel(), kBlack);
  EXPECT_EQ(Refreshes(), 4);
}

TEST_F(TreeViewPageTest, OpensWithTheImageOnAndItsControlsUsable) {
  config.optionFlags |= CConfig::kBackgroundImage;
  config.backgroundImagePath = dir / "white tile.bmp";
  config.imageTransparency = 200;
  EXPECT_TRUE(Control<QCheckBox>(1103)->isChecked());
  EXPECT_EQ(ImageControlsEnabled(), std::vector<bool>(4, true));
  EXPECT_EQ(Control<QSlider>(1105)->value(), 200);
  ASSERT_NE(skin.BackgroundImage(), nullptr);
}

TEST_F(TreeViewPageTest, BrowseTakesOnlyA24BitBitmapWithPixelsAtByte54) {
  config.optionFlags |= CConfig::kBackgroundImage;
  config.backgroundImagePath = dir / "white tile.bmp";
  Page();
  std::vector<std::uint8_t> paletted = Bitmap24(2, 2, [](int, int) { return 0u; });
  paletted[28] = 8;
  paletted[10] = 0x36 + 0;
  paletted[11] = 4;  // a palette of 256 colours before the pixels
  std::vector<std::uint8_t> late = Bitmap24(2, 2, [](int, int) { return 0u; });
  late[10] = 58;
  std::vector<std::uint8_t> shortFile = Bitmap24(2, 2, [](int, int) { return 0u; });
  shortFile.resize(53);
  WriteBytes(dir / "256.bmp", paletted);
  WriteBytes(dir / "late.bmp", late);
  WriteBytes(dir / "short.bmp", shortFile);
  WriteBytes(dir / "-black\n'tile'.bmp", Bitmap24(2, 2, [](int, int) { return 0u; }));
  const int before = Refreshes();

  for (auto [file, message] : {std::pair{"256.bmp", int(ids::BackgroundImageNot24Bit)},
                               {"late.bmp", ids::BackgroundImageNot24Bit},
                               {"short.bmp", ids::BackgroundImageNot24Bit},
                               {"gone.bmp", ids::CannotOpenImage}}) {
    prompt.messages.clear();
    prompt.files.push_back(dir / file);
    Control<QPushButton>(1104)->click();
    EXPECT_EQ(prompt.messages, std::vector<int>{message}) << file;
    EXPECT_EQ(config.backgroundImagePath, dir / "white tile.bmp") << file;
  }
  EXPECT_EQ(Refreshes(), before);
  EXPECT_EQ(prompt.dialogs.back().filter, LoadString(ids::BitmapFilter));
  EXPECT_EQ(prompt.dialogs.back().initialPath, dir / "white tile.bmp");

  Control<QPushButton>(1104)->click();  // cancelled: nothing changes
  EXPECT_EQ(Refreshes(), before);

  prompt.messages.clear();
  prompt.files.push_back(dir / "-black\n'tile'.bmp");
  Control<QPushButton>(1104)->click();
  EXPECT_TRUE(prompt.messages.empty());
  EXPECT_EQ(config.backgroundImagePath, dir / "-black\n'tile'.bmp");
  EXPECT_EQ(Control<QLineEdit>(1102)->text(), QString::fromStdString(config.backgroundImagePath));
  EXPECT_EQ(TreePixel(), kBlack);
  EXPECT_EQ(Refreshes(), before + 1);
}

}  // namespace
}  // namespace jb::test
