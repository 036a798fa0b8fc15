// The Tree-view page on the offscreen platform: each control writes the live
// configuration at once, the appearance ones repaint the tree, and a chosen
// bitmap is checked before it is taken.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QSlider>

#include "QtTestSupport.h"
#include "TestSupport.h"
#include "TreeTestSupport.h"
#include "config/CConfig.h"
#include "skin/SkinSet.h"
#include "treeview/TreeMessages.h"
#include "treeview/ui/CTreeViewPage.h"

namespace jb::test {
namespace {

TEST(TreeViewPageTest, EachControlStoresAtOnceAndOnlyTheAppearanceRepaints) {
  TempDir dir;
  const std::string tile = dir / "white tile.bmp";
  WriteBytes(tile, Bitmap24(2, 2, [](int, int) { return 0xFFFFFFu; }));
  RecordingPrompt prompt;
  CConfig config(prompt);
  SkinSet skin;
  for (int i = 0; i < 12; ++i) skin.MutableIcons().Add(Flat(10, 8, 0xFF000000u | std::uint32_t(i + 1)));
  RecordingTarget window;
  config.scrollOptions = 0x82, config.wheelLines = 12, config.backgroundImagePath = tile;  // half a page, smooth
  CTreeViewPage page(config, skin, window, prompt);
  auto button = [&](int id) { return Control<QAbstractButton>(&page, id); };
  // "1" per enabled control of the list, then the tree's background image
  // pixel (0 when the tree shows its colour) and the repaints asked.
  auto state = [&](std::initializer_list<int> ids) {
    std::string enabled;
    for (int id : ids) enabled += Control<QWidget>(&page, id)->isEnabled() ? '1' : '0';
    const bool image = skin.BackgroundImage() && (config.optionFlags & CConfig::kBackgroundImage);
    return std::tuple(enabled, image ? skin.BackgroundImage()->GetPixel(0, 0) : 0, window.Count(WM_TREE_REFRESH));
  };

  button(1020)->click();  // "Scrolls"
  EXPECT_EQ(std::tuple(config.scrollOptions, state({1013, 1014}), Control<QLineEdit>(&page, 1013)->text()),
            std::tuple(0x81, std::tuple("11", 0u, 0), QString("12")));
  button(1016)->click();  // "Scrolls one &page."
  EXPECT_EQ(std::tuple(config.scrollOptions, state({1013, 1014})), std::tuple(0x84, std::tuple("00", 0u, 0)));
  for (int id : {1098, 1100, 1101, 1094, 1095, 1096}) EXPECT_EQ(Control<QSlider>(&page, id)->maximum(), 11) << id;
  Control<QSlider>(&page, 1098)->setValue(5);
  Control<QSlider>(&page, 1106)->setValue(63);
  EXPECT_EQ(std::tuple(config.artistIcon, config.selectionTransparency), std::tuple(5, 126));
  EXPECT_EQ(window.Messages(), (std::vector<RecordingTarget::Message>{{WM_TREE_REFRESH, 0, true}}));

  const auto image = {1102, 1104, 1110, 1105};
  EXPECT_EQ(state(image), std::tuple("0000", 0u, 1));
  button(1103)->click();
  EXPECT_EQ(state(image), std::tuple("1111", 0xFF7F7F7Fu, 2));  // white half way to black
  // A bitmap taken repaints as the end-to-end run shows; refused ones change nothing.
  WriteText(dir / "short.bmp", "BM");
  prompt.files = {dir / "short.bmp", dir / "gone.bmp", std::nullopt};
  for (int i = 0; i < 3; ++i) button(1104)->click();
  EXPECT_EQ(prompt.messages, (std::vector<int>{ids::BackgroundImageNot24Bit, ids::CannotOpenImage}));
  button(1103)->click();
  EXPECT_EQ(std::tuple(state(image), config.backgroundImagePath), std::tuple(std::tuple("0000", 0u, 3), tile));
}

}  // namespace
}  // namespace jb::test
