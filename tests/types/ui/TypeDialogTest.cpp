// The type property dialogs on the offscreen platform: what OK stores, what
// it refuses with which message, and what the user sees after a refusal.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

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

template <class T = QLineEdit>
T* Control(QWidget& dialog, int id) {
  T* control = dialog.findChild<T*>(QStringLiteral("id%1").arg(id));
  EXPECT_NE(control, nullptr) << "no control " << id;
  return control;
}
void SetText(QWidget& dialog, int id, const char* text) { Control(dialog, id)->setText(QString::fromUtf8(text)); }
// Clicks OK; true when the dialog accepted.
bool ClickOk(QDialog& dialog) {
  Control<QPushButton>(dialog, 1)->click();
  return dialog.result() == QDialog::Accepted;
}

class TypeDialogTest : public ::testing::Test {
 protected:
  TypeDialogTest() {
    types.SetDefaults();
    types.Add(std::make_unique<CUserType>("Vid\xC3\xA9os", StringList{"avi", "mkv"}, 3));
    user = static_cast<CUserType*>(types.GetAt(3));
    mpeg = static_cast<CMpegAudioType*>(types.GetAt(1));
    playList = static_cast<CPlayListType*>(types.GetAt(2));
  }

  CQvSpriteArray icons = Icons(20);
  CResourceTypeArray types;
  CUserType* user;
  CMpegAudioType* mpeg;
  CPlayListType* playList;
  RecordingPrompt prompt;
};

TEST_F(TypeDialogTest, NewUserTypeIsStoredWithItsParsedExtensions) {
  CUserType fresh;
  CUserTypeDialog dialog(fresh, types, icons, prompt);
  SetText(dialog, 1077, "Sounds");
  EXPECT_FALSE(Control<QPushButton>(dialog, 1)->isEnabled());
  SetText(dialog, 1083, ".mp2..MP2.wav.");
  Control<QSlider>(dialog, 1085)->setValue(9);
  EXPECT_TRUE(ClickOk(dialog));
  EXPECT_EQ(fresh.GetName(), "Sounds");
  EXPECT_EQ(fresh.m_aExtensions, (StringList{"mp2", "wav"}));
  EXPECT_EQ(fresh.m_nIcon, 9);
}

TEST_F(TypeDialogTest, UserTypeRefusalsKeepTheTypeAndShowTheParsedList) {
  CUserType fresh;
  CUserTypeDialog dialog(fresh, types, icons, prompt);
  SetText(dialog, 1077, "Sounds");
  SetText(dialog, 1083, "mp3.m3u");
  EXPECT_FALSE(ClickOk(dialog));
  // Play-Lists, the last type, is asked first.
  EXPECT_EQ(prompt.texts, (std::vector<std::string>{FormatOne(LoadString(ids::ExtensionsAssigned), "m3u.mp3")}));
  EXPECT_EQ(Control(dialog, 1083)->text(), "mp3.m3u");

  SetText(dialog, 1083, "...");
  EXPECT_FALSE(ClickOk(dialog));
  EXPECT_EQ(Control(dialog, 1083)->text(), "");
  EXPECT_FALSE(Control<QPushButton>(dialog, 1)->isEnabled());

  SetText(dialog, 1083, "ogg");
  for (const char* taken : {"mpeg audio", "\"TAG-LESS\" mp3s", "vid\xC3\xA9os"}) {
    SetText(dialog, 1077, taken);
    EXPECT_FALSE(ClickOk(dialog)) << taken;
  }
  EXPECT_EQ(prompt.messages,
            (std::vector<int>{ids::TypeNeedsExtensions, ids::TypeNameUsed, ids::TypeNameUsed, ids::TypeNameUsed}));
  EXPECT_EQ(fresh.GetName(), "");
  EXPECT_TRUE(fresh.m_aExtensions.empty());
}

TEST_F(TypeDialogTest, LetterCaseRenamesAreStoredForUserTypesOnly) {
  CUserTypeDialog userDialog(*user, types, icons, prompt);
  SetText(userDialog, 1077, "VID\xC3\xA9OS");
  EXPECT_TRUE(ClickOk(userDialog));
  EXPECT_EQ(user->GetName(), "VID\xC3\xA9OS");

  const std::string tagLess = mpeg->m_strTagLessName;
  CMp3TypeDialog mp3(*mpeg, types, icons, prompt);
  SetText(mp3, 1077, "mpeg AUDIO");
  EXPECT_FALSE(ClickOk(mp3));
  SetText(mp3, 1077, "\"TAG-LESS\" MP3S");
  Control<QSlider>(mp3, 1085)->setValue(11);
  Control<QSlider>(mp3, 1086)->setValue(12);
  EXPECT_TRUE(ClickOk(mp3));
  EXPECT_EQ(mpeg->m_strTagLessName, tagLess);
  EXPECT_EQ(mpeg->m_nIcon, 11);
  EXPECT_EQ(mpeg->m_nTagLessIcon, 12);
  EXPECT_EQ(prompt.messages, std::vector<int>{ids::TypeNameUsed});

  // An unchanged name keeps its bytes, even when they are not UTF-8.
  user->SetName("Vid\xE9os");
  CUserTypeDialog again(*user, types, icons, prompt);
  EXPECT_TRUE(ClickOk(again));
  EXPECT_EQ(user->GetName(), "Vid\xE9os");
}

TEST_F(TypeDialogTest, CancelLeavesTheTypeUnchanged) {
  CUserTypeDialog dialog(*user, types, icons, prompt);
  SetText(dialog, 1077, "Films");
  SetText(dialog, 1083, "mov");
  Control<QSlider>(dialog, 1085)->setValue(0);
  Control<QPushButton>(dialog, 2)->click();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_EQ(user->GetName(), "Vid\xC3\xA9os");
  EXPECT_EQ(user->m_aExtensions, (StringList{"avi", "mkv"}));
  EXPECT_EQ(user->m_nIcon, 3);
}

TEST_F(TypeDialogTest, SlidersRunOverTheSkinsIconsAndPreviewTheChoice) {
  CM3uTypeDialog m3u(*playList, icons, prompt);
  CMp3TypeDialog mp3(*mpeg, types, icons, prompt);
  for (auto [dialog, slider, preview] :
       {std::tuple<QDialog*, int, int>{&m3u, 1085, 1057}, {&mp3, 1085, 1057}, {&mp3, 1086, 1058}}) {
    auto* bar = Control<QSlider>(*dialog, slider);
    EXPECT_EQ(bar->maximum(), 19);
    bar->setValue(14);
    const CQvSprite& shown = Control<CQvStaticSprite>(*dialog, preview)->Sprite();
    EXPECT_EQ(shown.GetWidth(), 20);
    EXPECT_EQ(shown.GetPixel(2, 2), CQvSprite::ToArgb(15));
    EXPECT_EQ(shown.GetPixel(1, 1), 0xFF000000u);
    EXPECT_EQ(shown.GetPixel(0, 0), CQvSprite::ToArgb(CQvSprite::GetSysColor(20, 0)));
  }
  // An icon the skin lacks: the last one is offered, in a preview that fits.
  const CQvSpriteArray few = Icons(5);
  user->m_nIcon = 200;
  CUserTypeDialog lacking(*user, types, few, prompt);
  EXPECT_EQ(Control<QSlider>(lacking, 1085)->maximum(), 4);
  EXPECT_EQ(Control<QSlider>(lacking, 1085)->value(), 4);
  EXPECT_EQ(Control<CQvStaticSprite>(lacking, 1057)->size(), QSize(20, 16));
}

TEST_F(TypeDialogTest, EditPropertiesRunsTheTypesDialogThroughTheDesktopEditor) {
  EXPECT_FALSE(user->EditProperties());  // no editor: the command line
  QtTypePropertiesEditor editor(types, icons, prompt);
  ScopedTypePropertiesEditor installed(editor);
  QString title;
  auto answer = [&](int button) {
    QTimer::singleShot(0, [&, button] {
      QWidget* dialog = QApplication::activeModalWidget();
      ASSERT_NE(dialog, nullptr);
      title = dialog->windowTitle();
      Control<QPushButton>(*dialog, button)->click();
    });
  };
  // Each type its own dialog; OK is a change, Cancel none.
  answer(1);
  EXPECT_TRUE(user->EditProperties());
  EXPECT_EQ(title, "User resource type properties");
  answer(2);
  EXPECT_FALSE(mpeg->EditProperties());
  EXPECT_EQ(title, "Mp3 resource type properties");
  answer(1);
  EXPECT_TRUE(playList->EditProperties());
  EXPECT_FALSE(types.GetAt(0)->EditProperties());  // Folder has no dialog
}

}  // namespace
}  // namespace jb::test
