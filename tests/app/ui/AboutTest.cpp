// The splash and the About sheet offscreen: the splash shows the skin's
// picture as it is and darkens it as it goes; the Credits page shows the
// darkened picture under the overlay, centred; the buttons open the
// project's addresses.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <QTimer>

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
  bool OpenAddress(const std::string& address) override {
    addresses.push_back(address);
    return false;  // the sheet ends all the same
  }
  RecordingPrompt prompt;
  SkinSet skin;
  std::vector<std::string> addresses;
};

TEST_F(AboutTest, TheSplashShowsThePictureThenTheCreditsShowItDarkened) {
  const CQvSprite original = skin.SplashPicture();
  {
    CSplashDlg splash(skin, 20);
    EXPECT_TRUE(splash.windowFlags().testFlag(Qt::SplashScreen));  // no task-bar button
    EXPECT_EQ(Pixels(splash.Picture()->Sprite()), Pixels(original));
    EXPECT_EQ(splash.Run(), QDialog::Rejected);  // ends by itself
  }
  auto light = [](const CQvSprite& s) {  // every pixel's red, green and blue
    long long sum = 0;
    for (std::uint32_t p : Pixels(s)) sum += (p & 0xFF) + (p >> 8 & 0xFF) + (p >> 16 & 0xFF);
    return sum;
  };
  EXPECT_LT(light(skin.SplashPicture()) * 3, light(original) * 2);
  CQvSprite expected = skin.SplashPicture();
  CAboutPSh about(skin, *this);
  about.show();
  expected.DrawSprite(0, 0, skin.CreditsOverlay());
  EXPECT_EQ(Pixels(about.Credits()->Picture()->Sprite()), Pixels(expected));
  const QSize page = about.Credits()->size();
  const int w = original.GetWidth() + 2, h = original.GetHeight() + 2;  // with the frame
  EXPECT_EQ(about.Credits()->Picture()->geometry(), QRect((page.width() - w) / 2, (page.height() - h) / 2, w, h));
  skin.SplashPicture().CreateBitmap(2000, 1500);  // larger than the page: negative offsets
  CCreditsPage large(skin);
  large.resize(600, 400);
  large.show();
  EXPECT_EQ(large.Picture()->geometry(), QRect((600 - 2002) / 2, (400 - 1502) / 2, 2002, 1502));
}

TEST_F(AboutTest, TheButtonsOpenTheProjectsAddressesAndEndTheSheet) {
  for (auto [id, opened, result] : {std::tuple{27, kMailAddress, QDialog::Accepted},
                                    {30, kWebAddress, QDialog::Accepted},
                                    {2, "", QDialog::Rejected}}) {
    addresses.clear();
    CAboutPSh about(skin, *this);
    about.show();
    auto* button = about.findChild<QPushButton*>(QStringLiteral("id%1").arg(id));
    ASSERT_TRUE(button) << id;
    QTimer::singleShot(0, button, [button] { QTest::mouseClick(button, Qt::LeftButton); });
    EXPECT_EQ(about.exec(), result) << id;
    EXPECT_EQ(addresses, *opened ? std::vector<std::string>{opened} : std::vector<std::string>{});
  }
}

}  // namespace
}  // namespace jb::test
