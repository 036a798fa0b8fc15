// The splash and the About sheet offscreen: the splash shows the skin's
// picture as it is and darkens it as it goes; the Credits page shows the
// darkened picture under the overlay, centred; the buttons open the
// project's addresses.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTimer>

#include "QtTestSupport.h"
#include "TestSupport.h"
#include "app/About.h"
#include "app/ui/CAboutPSh.h"
#include "app/ui/CCreditsPage.h"
#include "app/ui/CSplashDlg.h"
#include "platform/Shell.h"
#include "skin/SkinSet.h"
#include "sprites/ui/CQvStaticSprite.h"

namespace jb::test {
namespace {

std::vector<std::uint32_t> Pixels(const CQvSprite& s) { return {s.Bits(), s.Bits() + s.GetWidth() * s.GetHeight()}; }

class AboutTest : public ::testing::Test, public IShell {
 protected:
  AboutTest() { EXPECT_TRUE(skin.Load(prompt, JUKEBAR_DEFAULT_SKIN)); }
  bool OpenPlayList(const std::string&, ShellAction) override { return false; }
  // Failing to open: the sheet ends all the same.
  bool OpenAddress(const std::string& address) override { return opened += address, false; }
  RecordingPrompt prompt;
  SkinSet skin;
  std::string opened;  // every address opened
};

TEST_F(AboutTest, TheSplashShowsThePictureThenTheCreditsShowItDarkenedAndTheButtonsOpenTheAddresses) {
  const CQvSprite original = skin.SplashPicture();
  {
    CSplashDlg splash(skin, 20);
    EXPECT_TRUE(splash.windowFlags().testFlag(Qt::SplashScreen));  // no task-bar button
    EXPECT_EQ(Pixels(splash.Picture()->Sprite()), Pixels(original));
    EXPECT_EQ(splash.Run(), QDialog::Rejected);  // ends by itself
  }
  EXPECT_NE(Pixels(skin.SplashPicture()), Pixels(original));  // darkened in place as it goes
  CQvSprite expected = skin.SplashPicture();
  expected.DrawSprite(0, 0, skin.CreditsOverlay());
  CAboutPSh about(skin, *this);
  about.show();
  EXPECT_EQ(Pixels(about.Credits()->Picture()->Sprite()), Pixels(expected));
  // Centred with its frame, at negative offsets when larger than the page.
  skin.SplashPicture().CreateBitmap(2000, 1500);
  CCreditsPage large(skin);
  large.resize(600, 400);
  large.show();
  EXPECT_EQ(large.Picture()->geometry(), QRect((600 - 2002) / 2, (400 - 1502) / 2, 2002, 1502));
  // The buttons open the project's addresses and end the sheet.
  for (auto [id, address, result] : {std::tuple{27, kMailAddress, QDialog::Accepted},
                                     {30, kWebAddress, QDialog::Accepted},
                                     {2, "", QDialog::Rejected}}) {
    opened.clear();
    CAboutPSh sheet(skin, *this);
    auto* button = Control<QPushButton>(&sheet, id);
    QTimer::singleShot(0, button, [button] { button->click(); });
    EXPECT_EQ(std::tuple(sheet.exec(), opened), std::tuple(result, std::string(address))) << id;
  }
}

}  // namespace
}  // namespace jb::test
