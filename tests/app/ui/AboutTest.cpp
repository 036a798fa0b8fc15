// The splash and the About sheet offscreen: the splash shows the skin's
// picture as it is and darkens it as it goes; the Credits page shows the
// darkened picture under the overlay, centred; the buttons open the
// author's addresses.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>

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

bool Same(const CQvSprite& a, const CQvSprite& b) {
  return a.GetWidth() == b.GetWidth() && a.GetHeight() == b.GetHeight() &&
         std::equal(a.Bits(), a.Bits() + a.GetWidth() * a.GetHeight(), b.Bits());
}

// The sum of every pixel's red, green and blue.
long long Light(const CQvSprite& s) {
  long long sum = 0;
  for (int i = 0; i < s.GetWidth() * s.GetHeight(); ++i)
    sum += (s.Bits()[i] & 0xFF) + (s.Bits()[i] >> 8 & 0xFF) + (s.Bits()[i] >> 16 & 0xFF);
  return sum;
}

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
    EXPECT_EQ(splash.size(), QSize(original.GetWidth(), original.GetHeight()));
    EXPECT_TRUE(splash.windowFlags().testFlag(Qt::SplashScreen));  // no task-bar button
    EXPECT_TRUE(Same(splash.Picture()->Sprite(), original));
    EXPECT_EQ(splash.Run(), QDialog::Rejected);  // ends by itself
  }
  EXPECT_LT(Light(skin.SplashPicture()) * 3, Light(original) * 2);

  CAboutPSh about(skin, *this);
  about.show();
  CQvSprite expected = skin.SplashPicture();
  expected.DrawSprite(0, 0, skin.CreditsOverlay());
  EXPECT_TRUE(Same(about.Credits()->Picture()->Sprite(), expected));
  const QSize page = about.Credits()->size();
  const int w = original.GetWidth(), h = original.GetHeight();
  EXPECT_EQ(about.Credits()->Picture()->geometry(), QRect((page.width() - w - 2) / 2, (page.height() - h - 2) / 2, w + 2, h + 2));

  // A picture larger than the page is centred at negative offsets.
  skin.SplashPicture().CreateBitmap(2000, 1500);
  CCreditsPage large(skin);
  large.resize(600, 400);
  large.show();
  EXPECT_EQ(large.Picture()->geometry(), QRect((600 - 2002) / 2, (400 - 1502) / 2, 2002, 1502));
}

TEST_F(AboutTest, TheButtonsOpenTheAuthorsAddressesAndEndTheSheet) {
  struct Case {
    int id;
    const char* text;
    std::vector<std::string> opened;
    int result;
  };
  int x = -1;
  for (const Case& c : {Case{27, "&Mail me...", {kMailAddress}, QDialog::Accepted},
                        Case{30, "&Updates...", {kWebAddress}, QDialog::Accepted}, Case{2, "E&xit", {}, QDialog::Rejected}}) {
    addresses.clear();
    CAboutPSh about(skin, *this);
    about.show();
    auto* button = about.findChild<QPushButton*>(QStringLiteral("id%1").arg(c.id));
    ASSERT_TRUE(button);
    EXPECT_EQ(button->text(), QString::fromLatin1(c.text));
    // From the left, 80 wide and 8 apart.
    EXPECT_EQ(button->width(), 80);
    EXPECT_TRUE(x < 0 || button->x() == x + 88) << c.text;
    x = button->x();
    QTimer::singleShot(0, button, [button] { QTest::mouseClick(button, Qt::LeftButton); });
    EXPECT_EQ(about.exec(), c.result) << c.text;
    EXPECT_EQ(addresses, c.opened);
  }
}

}  // namespace
}  // namespace jb::test
