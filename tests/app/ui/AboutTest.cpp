// The splash and the About sheet offscreen: the splash shows the skin's
// picture as it is and darkens it as it goes; the Credits page shows the
// darkened picture under the overlay, centred; the buttons open the
// author's addresses.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTabWidget>
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

class AddressShell : public IShell {
 public:
  bool OpenPlayList(const std::string&, ShellAction) override { return false; }
  bool OpenAddress(const std::string& address) override {
    addresses.push_back(address);
    return false;  // the sheet ends all the same
  }
  std::vector<std::string> addresses;
};

bool SamePixels(const CQvSprite& a, const CQvSprite& b) {
  if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight()) return false;
  for (int y = 0; y < a.GetHeight(); ++y)
    for (int x = 0; x < a.GetWidth(); ++x)
      if (a.GetPixel(x, y) != b.GetPixel(x, y)) return false;
  return true;
}

// Every channel of every pixel of darker is at most the original's, and
// the picture as a whole lost at least a third of its light.
bool Darker(const CQvSprite& darker, const CQvSprite& original) {
  long long before = 0, after = 0;
  for (int y = 0; y < original.GetHeight(); ++y)
    for (int x = 0; x < original.GetWidth(); ++x) {
      const std::uint32_t o = original.GetPixel(x, y), d = darker.GetPixel(x, y);
      for (int shift : {0, 8, 16}) {
        const int oc = (o >> shift) & 0xFF, dc = (d >> shift) & 0xFF;
        if (dc > oc) return false;
        before += oc, after += dc;
      }
    }
  return after * 3 <= before * 2;
}

class AboutTest : public ::testing::Test {
 protected:
  AboutTest() { EXPECT_TRUE(skin.Load(prompt, JUKEBAR_DEFAULT_SKIN)); }

  RecordingPrompt prompt;
  SkinSet skin;
  AddressShell shell;
};

TEST_F(AboutTest, TheSplashShowsThePictureThenTheCreditsShowItDarkened) {
  const CQvSprite original = skin.SplashPicture();
  {
    CSplashDlg splash(skin, 20);
    splash.show();
    EXPECT_EQ(splash.size(), QSize(original.GetWidth(), original.GetHeight()));
    EXPECT_TRUE(splash.windowFlags().testFlag(Qt::SplashScreen));
    EXPECT_TRUE(SamePixels(splash.Picture()->Sprite(), original));
    EXPECT_EQ(splash.Run(), QDialog::Rejected);  // ends by itself
    EXPECT_TRUE(SamePixels(skin.SplashPicture(), original));
  }
  EXPECT_TRUE(Darker(skin.SplashPicture(), original));

  CAboutPSh about(skin, shell);
  about.show();
  CQvStaticSprite* credits = about.Credits()->Picture();
  CQvSprite expected = skin.SplashPicture();
  expected.DrawSprite(0, 0, skin.CreditsOverlay());
  EXPECT_TRUE(SamePixels(credits->Sprite(), expected));
  EXPECT_TRUE(Darker(credits->Sprite(), original) || !SamePixels(credits->Sprite(), original));
  // Centred, with a pixel of margin.
  const QSize page = about.Credits()->size();
  EXPECT_EQ(credits->geometry(), QRect((page.width() - original.GetWidth() - 2) / 2,
                                       (page.height() - original.GetHeight() - 2) / 2, original.GetWidth() + 2,
                                       original.GetHeight() + 2));
}

TEST_F(AboutTest, APictureLargerThanThePageSitsAtNegativeOffsets) {
  skin.SplashPicture().CreateBitmap(2000, 1500);
  CCreditsPage page(skin);
  page.resize(600, 400);
  page.show();
  EXPECT_EQ(page.Picture()->geometry(), QRect((600 - 2002) / 2, (400 - 1502) / 2, 2002, 1502));
  EXPECT_LT(page.Picture()->x(), 0);
}

TEST_F(AboutTest, TheButtonsOpenTheAuthorsAddressesAndEndTheSheet) {
  struct Case {
    int id;
    const char* address;
    int result;
  };
  for (const Case& c : {Case{27, kMailAddress, QDialog::Accepted}, Case{30, kWebAddress, QDialog::Accepted},
                        Case{2, nullptr, QDialog::Rejected}}) {
    shell.addresses.clear();
    CAboutPSh about(skin, shell);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Jukebar..."));
    EXPECT_EQ(about.Pages()->tabText(0), QStringLiteral("Credits"));
    auto* button = about.findChild<QPushButton*>(QStringLiteral("id%1").arg(c.id));
    ASSERT_TRUE(button);
    QTimer::singleShot(0, button, [button] { QTest::mouseClick(button, Qt::LeftButton); });
    EXPECT_EQ(about.exec(), c.result) << c.id;
    EXPECT_EQ(shell.addresses, c.address ? std::vector<std::string>{c.address} : std::vector<std::string>{});
  }
  // "&Mail me...", "&Updates...", "E&xit" from the left, 80 wide, 8 apart.
  CAboutPSh about(skin, shell);
  about.show();
  int x = -1;
  for (auto [id, text] : {std::pair{27, "&Mail me..."}, {30, "&Updates..."}, {2, "E&xit"}}) {
    auto* button = about.findChild<QPushButton*>(QStringLiteral("id%1").arg(id));
    EXPECT_EQ(button->text(), QString::fromLatin1(text));
    EXPECT_EQ(button->width(), 80);
    if (x >= 0) {
      EXPECT_EQ(button->x(), x + 88);
    }
    x = button->x();
  }
}

}  // namespace
}  // namespace jb::test
