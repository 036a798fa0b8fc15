// The type property dialogs on the offscreen platform: what OK stores, what
// it refuses with which message, and what the user sees after a refusal.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include "QtTestSupport.h"
#include "TestSupport.h"
#include "TreeTestSupport.h"
#include "platform/Text.h"
#include "sprites/ui/CQvStaticSprite.h"
#include "types/BuiltinTypes.h"
#include "types/CResourceTypeArray.h"
#include "types/ui/CM3uTypeDialog.h"
#include "types/ui/CMp3TypeDialog.h"
#include "types/ui/CUserTypeDialog.h"
#include "types/ui/QtTypePropertiesEditor.h"

namespace jb::test {
namespace {

// count icons of 16 x 12, icon i of the colour i + 1.
CQvSpriteArray Icons(int count) {
  CQvSpriteArray icons;
  for (int i = 0; i < count; ++i) icons.Add(Flat(16, 12, CQvSprite::ToArgb(static_cast<Colour>(i + 1))));
  return icons;
}

QLineEdit* Edit(QWidget& dialog, int id) { return Control<QLineEdit>(&dialog, id); }
void SetText(QWidget& dialog, int id, const char* text) { Edit(dialog, id)->setText(QString::fromUtf8(text)); }
// Clicks OK; true when the dialog accepted.
bool ClickOk(QDialog& dialog) {
  Control<QPushButton>(&dialog, 1)->click();
  return dialog.result() == QDialog::Accepted;
}

class TypeDialogTest : public ::testing::Test {
 protected:
  TypeDialogTest() {
    types.SetDefaults();
    types.Add(std::make_unique<CUserType>("Vid\xC3\xA9os", StringList{"avi", "mkv"}, 3));
  }
  CUserType* user() { return static_cast<CUserType*>(types.GetAt(3)); }
  CMpegAudioType* mpeg() { return static_cast<CMpegAudioType*>(types.GetAt(1)); }

  CQvSpriteArray icons = Icons(20);
  CResourceTypeArray types;
  RecordingPrompt prompt;
};

TEST_F(TypeDialogTest, NewUserTypeRefusalsThenItsParsedExtensionsStored) {
  CUserType fresh;
  CUserTypeDialog dialog(fresh, types, icons, prompt);
  SetText(dialog, 1077, "Sounds");
  SetText(dialog, 1083, "mp3.m3u");
  EXPECT_FALSE(ClickOk(dialog));
  // Play-Lists, the last type, is asked first.
  EXPECT_EQ(prompt.texts, (std::vector<std::string>{FormatOne(LoadString(ids::ExtensionsAssigned), "m3u.mp3")}));
  EXPECT_EQ(Edit(dialog, 1083)->text(), "mp3.m3u");
  SetText(dialog, 1083, "...");
  EXPECT_FALSE(ClickOk(dialog));
  EXPECT_EQ(Edit(dialog, 1083)->text(), "");
  EXPECT_FALSE(Control<QPushButton>(&dialog, 1)->isEnabled());  // a name without extensions
  SetText(dialog, 1083, ".mp2..MP2.wav.");
  for (const char* taken : {"mpeg audio", "\"TAG-LESS\" mp3s", "vid\xC3\xA9os"}) {
    SetText(dialog, 1077, taken);
    EXPECT_FALSE(ClickOk(dialog)) << taken;
  }
  EXPECT_EQ(prompt.messages,
            (std::vector<int>{ids::TypeNeedsExtensions, ids::TypeNameUsed, ids::TypeNameUsed, ids::TypeNameUsed}));
  EXPECT_EQ(fresh.GetName(), "");
  SetText(dialog, 1077, "Sounds");
  Control<QSlider>(&dialog, 1085)->setValue(9);
  EXPECT_TRUE(ClickOk(dialog));
  EXPECT_EQ(fresh.GetName() + "|" + JoinExtensions(fresh.m_aExtensions) + "|" + std::to_string(fresh.m_nIcon),
            "Sounds|mp2.wav|9");
}

TEST_F(TypeDialogTest, CancelKeepsAllAndLetterCaseRenamesAreStoredForUserTypesOnly) {
  auto shown = [&] {
    return user()->GetName() + "|" + JoinExtensions(user()->m_aExtensions) + "|" + std::to_string(user()->m_nIcon);
  };
  CUserTypeDialog cancelled(*user(), types, icons, prompt);
  SetText(cancelled, 1077, "Films");
  SetText(cancelled, 1083, "mov");
  Control<QSlider>(&cancelled, 1085)->setValue(0);
  Control<QPushButton>(&cancelled, 2)->click();
  EXPECT_EQ(shown(), "Vid\xC3\xA9os|avi.mkv|3");

  CUserTypeDialog renamed(*user(), types, icons, prompt);
  SetText(renamed, 1077, "VID\xC3\xA9OS");
  EXPECT_TRUE(ClickOk(renamed));
  EXPECT_EQ(shown(), "VID\xC3\xA9OS|avi.mkv|3");

  const std::string tagLess = mpeg()->m_strTagLessName;
  CMp3TypeDialog mp3(*mpeg(), types, icons, prompt);
  SetText(mp3, 1077, "mpeg AUDIO");
  EXPECT_FALSE(ClickOk(mp3));
  SetText(mp3, 1077, "\"TAG-LESS\" MP3S");
  Control<QSlider>(&mp3, 1085)->setValue(11);
  Control<QSlider>(&mp3, 1086)->setValue(12);
  EXPECT_TRUE(ClickOk(mp3));
  EXPECT_EQ(mpeg()->m_strTagLessName, tagLess);
  EXPECT_EQ((std::vector<int>{mpeg()->m_nIcon, mpeg()->m_nTagLessIcon}), (std::vector<int>{11, 12}));
  EXPECT_EQ(prompt.messages, std::vector<int>{ids::TypeNameUsed});

  // An unchanged name keeps its bytes, even when they are not UTF-8.
  user()->SetName("Vid\xE9os");
  CUserTypeDialog again(*user(), types, icons, prompt);
  EXPECT_TRUE(ClickOk(again));
  EXPECT_EQ(user()->GetName(), "Vid\xE9os");
}

TEST_F(TypeDialogTest, SlidersRunOverTheSkinsIconsAndPreviewTheChoice) {
  CM3uTypeDialog m3u(*static_cast<CPlayListType*>(types.GetAt(2)), icons, prompt);
  CMp3TypeDialog mp3(*mpeg(), types, icons, prompt);
  for (auto [dialog, slider, preview] :
       {std::tuple<QDialog*, int, int>{&m3u, 1085, 1057}, {&mp3, 1085, 1057}, {&mp3, 1086, 1058}}) {
    auto* bar = Control<QSlider>(dialog, slider);
    EXPECT_EQ(bar->maximum(), 19);
    bar->setValue(14);
    // A frame in the palette's light and shadow, black inside, the icon at 2, 2.
    const CQvSprite& shown = Control<CQvStaticSprite>(dialog, preview)->Sprite();
    EXPECT_EQ(shown.GetWidth(), 20);
    EXPECT_EQ((std::vector<std::uint32_t>{shown.GetPixel(0, 0), shown.GetPixel(1, 1), shown.GetPixel(2, 2)}),
              (std::vector<std::uint32_t>{CQvSprite::ToArgb(CQvSprite::GetSysColor(20, 0)), 0xFF000000u,
                                          CQvSprite::ToArgb(15)}));
  }
  // An icon the skin lacks: the last one is offered, in a preview that fits.
  const CQvSpriteArray few = Icons(5);
  user()->m_nIcon = 200;
  CUserTypeDialog lacking(*user(), types, few, prompt);
  EXPECT_EQ(Control<QSlider>(&lacking, 1085)->maximum(), 4);
  EXPECT_EQ(Control<QSlider>(&lacking, 1085)->value(), 4);
  EXPECT_EQ(Control<CQvStaticSprite>(&lacking, 1057)->size(), QSize(20, 16));
}

TEST_F(TypeDialogTest, EditPropertiesRunsEachTypesOwnDialogThroughTheDesktopEditor) {
  EXPECT_FALSE(user()->EditProperties());  // no editor: the command line
  QtTypePropertiesEditor editor(types, icons, prompt);
  ScopedTypePropertiesEditor installed(editor);
  QString title;
  auto edit = [&](CResourceType* type, int button) {
    WhenModal answer([&](QWidget* dialog) {
      title = dialog->windowTitle();
      Control<QPushButton>(dialog, button)->click();
    });
    return type->EditProperties();
  };
  // OK is a change, Cancel none.
  EXPECT_TRUE(edit(user(), 1));
  EXPECT_FALSE(edit(mpeg(), 2));
  EXPECT_EQ(title, "Mp3 resource type properties");
  EXPECT_FALSE(types.GetAt(0)->EditProperties());  // Folder has no dialog
}

}  // namespace
}  // namespace jb::test
