// Whole windows drawn with the default skin, compared pixel for pixel with
// the pictures in tests/window/golden. After a deliberate change of the
// artwork or the layout, run the test with JUKEBAR_UPDATE_GOLDEN=1 to write
// new pictures, look at them, and commit them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "TestSupport.h"
#include "TreeTestSupport.h"
#include "catalogue/CCatalogue.h"
#include "config/CConfig.h"
#include "skin/SkinSet.h"
#include "sprites/PngFile.h"
#include "treeview/TreeScrollBar.h"
#include "treeview/TreeView.h"
#include "window/MainWindowPainter.h"

namespace jb {
namespace {

// Songs numbered in the order given, grouped by artist and album.
void AddCollection(CCatalogue& catalogue) {
  int n = 0;
  for (const auto& [album, titles] : std::vector<std::pair<std::string, std::vector<std::string>>>{
           {"aAda Lovelace Trio|bEngines", {"Analytical", "Difference", "Punched Cards"}},
           {"aAda Lovelace Trio|bNotes", {"Note G", "Bernoulli"}},
           {"aBj\xC3\xB6rn Fj\xC3\xA4ll|bFj\xC3\xA4rran", {"Isr\xC3\xA4nna", "Norrsken"}},
           {"aCoral Static|bLow Tide", {"Undertow", "Sandbar", "Kelp Forest Lullaby in Blue"}},
           {"aCoral Static|bBreakers", {"Spray"}},
           {"aDune Radio|bLong Wave", {"Mirage"}}})
    for (const std::string& title : titles)
      catalogue.Add(test::E(album + "|t" + title, "/music/" + std::to_string(++n) + ".mp3", 4));
  catalogue.Add(test::E("pSunday Morning|tUndertow|tMirage", "/music/8.mp3|/music/12.mp3", 6));
}

// The window as the program shows it: the default skin, a tree with groups
// open, one album selected (so its artist is partly selected) and the focus
// on a song.
class GoldenWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_skin.Load(m_prompt, JUKEBAR_DEFAULT_SKIN));
    AddCollection(m_catalogue);
    m_tree.SetConfig(&m_config);
    m_tree.Rebuild(m_catalogue, NodeIcons::FromConfig(m_config));
    for (const char* open :
         {"Ada Lovelace Trio", "Ada Lovelace Trio/Engines", "Coral Static", "Coral Static/Low Tide", "Sunday Morning"})
      test::FindRow(m_tree, open)->SetExpanded(true);
    DisplayNode* sandbar = test::FindRow(m_tree, "Coral Static/Low Tide/Sandbar");
    DisplayNode::SetSelectionOfEach({test::FindRow(m_tree, "Ada Lovelace Trio/Notes"), sandbar},
                                    SelectionState::Selected);
    m_tree.SetFocusMark(false);
    sandbar->SetFocusMark(true);
  }
  // Compares the picture with the golden one, or writes it when asked.
  void ExpectGolden(const CQvSprite& picture, const std::string& name) {
    const std::string golden = test::SourceDir() + "/tests/window/golden/" + name;
    if (const char* update = std::getenv("JUKEBAR_UPDATE_GOLDEN"); update && *update == '1')
      return void(WritePng(golden, picture));
    CQvSprite expected;
    ASSERT_TRUE(ReadPng(golden, expected)) << golden;
    ASSERT_EQ(std::pair(picture.GetWidth(), picture.GetHeight()), std::pair(expected.GetWidth(), expected.GetHeight()));
    EXPECT_TRUE(std::equal(picture.Bits(), picture.Bits() + picture.GetWidth() * picture.GetHeight(), expected.Bits()))
        << name << " differs";
  }

  test::RecordingPrompt m_prompt;
  CConfig m_config{m_prompt};
  SkinSet m_skin;
  CCatalogue m_catalogue;
  TreeView m_tree;
  TreeScrollBar m_bar;
};

TEST_F(GoldenWindowTest, ActiveWindowWithSelectionFocusAndProgress) {
  MainWindowPainter painter(m_skin, m_tree, m_bar);
  painter.SetProgress(60);
  painter.OnSize(275, 319);
  ExpectGolden(painter.BackBuffer(), "window-275x319.png");
}

TEST_F(GoldenWindowTest, InactiveScrolledOverBackgroundImageWhileTheThumbIsDragged) {
  test::TempDir dir;
  // A soft diagonal pattern, tinted half way to the background colour.
  test::WriteBytes(dir / "paper.bmp", test::Bitmap24(16, 12, [](int x, int y) {
                     const std::uint32_t v = std::uint32_t(40 + ((x + y) % 8) * 6);
                     return v << 16 | v << 8 | (v + 20);
                   }));
  m_config.optionFlags |= CConfig::kBackgroundImage;
  m_config.backgroundColour = CQvSprite::GetColor(20, 30, 60);
  m_config.backgroundImagePath = dir / "paper.bmp";
  m_skin.RebuildBackgroundImage(m_config);
  MainWindowPainter painter(m_skin, m_tree, m_bar);
  painter.SetActive(false);
  painter.OnSize(190, 130);
  m_tree.Scroll(4, Redraw::None);
  painter.SetPressedButton(MainWindowPainter::kCloseButton);
  painter.RefreshView(20);
  ExpectGolden(painter.BackBuffer(), "window-inactive-190x130.png");
}

TEST_F(GoldenWindowTest, SmallFormWithItsMenuButtonPressed) {
  MainWindowPainter painter(m_skin, m_tree, m_bar);
  painter.OnSize(50, 14);
  painter.SetPressedButton(MainWindowPainter::kMenuButton);
  ExpectGolden(painter.BackBuffer(), "small-form.png");
}

}  // namespace
}  // namespace jb
