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

// count icons of 16 x 12, icon i filled with the colour i + 1.
CQvSpriteArray Icons(int count) {
  CQvSpriteArray icons;
  for (int i = 0; i < count; ++i) {
    icons.Add(Flat(16, 12, CQvSprite::ToArgb(static_cast<Colour>(i + 1))));
  }
  return icons;
}

template <class T>
T* Control(QWidget& dialog, int id) {
  T* control = dialog.findChild<T*>(QStringLiteral("id%1").arg(id));
  EXPECT_NE(control, nullptr) << "no control " << id;
  return control;
}

class TypeDialogTest : public ::testing::Test {
 protected:
  TypeDialogTest() {
    types.SetDefaults();
    auto videos = std::make_unique<CUserType>("Vid\xC3\xA9os", StringList{"avi", "mkv"}, 3);
    user = videos.get();
    types.Add(std::move(videos));
    mpeg = static_cast<CMpegAudioType*>(types.FindById(kMpegAudioTypeId));
    playList = static_cast<CPlayListType*>(types.FindById(kPlayListTypeId));
  }

  static void SetText(QWidget& dialog, int id, const char* text) {
    Control<QLineEdit>(dialog, id)->setText(QString::fromUtf8(text));
  }
  static QString Text(QWidget& dialog, int id) { return Control<QLineEdit>(dialog, id)->text(); }
  static bool OkEnabled(QWidget& dialog) { return Control<QPushButton>(dialog, 1)->isEnabled(); }
  // Clicks OK; true when the dialog accepted.
  static bool ClickOk(QDialog& dialog) {
    Control<QPushButton>(dialog, 1)->click();
    return dialog.result() == QDialog::Accepted;
  }

  CQvSpriteArray icons = Icons(20);
  CResourceTypeArray types;
  CUserType* user = nullptr;
  CMpegAudioType* mpeg = nullptr;
  CPlayListType* playList = nullptr;
  RecordingPrompt prompt;
};

TEST_F(TypeDialogTest, UserTypeExtensionsAreParsedAndStored) {
  CUserType fresh;
  CUserTypeDialog dialog(fresh, types, icons, prompt);
  EXPECT_FALSE(OkEnabled(dialog));
  SetText(dialog, 1077, "Sounds");
  EXPECT_FALSE(OkEnabled(dialog));
  SetText(dialog, 1083, ".mp2..MP2.wav.");
  EXPECT_TRUE(OkEnabled(dialog));
  Control<QSlider>(dialog, 1085)->setValue(9);
  EXPECT_TRUE(ClickOk(dialog));
  EXPECT_EQ(fresh.GetName(), "Sounds");
  EXPECT_EQ(fresh.m_aExtensions, (StringList{"mp2", "wav"}));
  EXPECT_EQ(fresh.m_nIcon, 9);
  EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(TypeDialogTest, UserTypeRefusalsLeaveTheTypeAndShowTheParsedList) {
  CUserType fresh;
  CUserTypeDialog dialog(fresh, types, icons, prompt);
  SetText(dialog, 1077, "Sounds");

  // Play-Lists, the last type, is asked first.
  SetText(dialog, 1083, "mp3.m3u");
  EXPECT_FALSE(ClickOk(dialog));
  EXPECT_EQ(prompt.texts, (std::vector<std::string>{FormatOne(LoadString(ids::ExtensionsAssigned), "m3u.mp3")}));
  EXPECT_EQ(Text(dialog, 1083), "mp3.m3u");

  SetText(dialog, 1083, "AVI.mp3.avi.Ogg");
  EXPECT_FALSE(ClickOk(dialog));
  EXPECT_EQ(prompt.texts.back(), FormatOne(LoadString(ids::ExtensionsAssigned), "AVI.mp3"));
  EXPECT_EQ(Text(dialog, 1083), "AVI.mp3.Ogg");

  SetText(dialog, 1083, "...");
  EXPECT_FALSE(ClickOk(dialog));
  EXPECT_EQ(prompt.messages, (std::vector<int>{ids::TypeNeedsExtensions}));
  EXPECT_EQ(Text(dialog, 1083), "");
  EXPECT_FALSE(OkEnabled(dialog));

  SetText(dialog, 1083, "ogg");
  for (const char* taken : {"mpeg audio", "\"TAG-LESS\" mp3s", "folder", "vid\xC3\xA9os"}) {
    SetText(dialog, 1077, taken);
    prompt.messages.clear();
    EXPECT_FALSE(ClickOk(dialog)) << taken;
    EXPECT_EQ(prompt.messages, (std::vector<int>{ids::TypeNameUsed})) << taken;
  }
  EXPECT_EQ(fresh.GetName(), "");
  EXPECT_TRUE(fresh.m_aExtensions.empty());
}

TEST_F(TypeDialogTest, UserTypeKeepsItsOwnNameAndExtensions) {
  {
    // Unchanged edits keep the bytes as stored, even when not UTF-8.
    user->SetName("Vid\xE9os");
    CUserTypeDialog dialog(*user, types, icons, prompt);
    EXPECT_EQ(Text(dialog, 1083), "avi.mkv");
    EXPECT_TRUE(ClickOk(dialog));
    EXPECT_EQ(user->GetName(), "Vid\xE9os");
  }
  CUserTypeDialog dialog(*user, types, icons, prompt);
  SetText(dialog, 1077, "VID\xC3\xA9OS");
  SetText(dialog, 1083, "MKV.avi");
  EXPECT_TRUE(ClickOk(dialog));
  EXPECT_EQ(user->GetName(), "VID\xC3\xA9OS");
  EXPECT_EQ(user->m_aExtensions, (StringList{"MKV", "avi"}));
  EXPECT_TRUE(prompt.messages.empty());
  EXPECT_TRUE(prompt.texts.empty());
}

TEST_F(TypeDialogTest, Mp3TagLessNameAndIcons) {
  const std::string original = mpeg->m_strTagLessName;
  {
    // Another letter case only: accepted, not stored.
    CMp3TypeDialog dialog(*mpeg, types, icons, prompt);
    EXPECT_EQ(Text(dialog, 1077), QString::fromStdString(original));
    SetText(dialog, 1077, "\"TAG-LESS\" MP3S");
    Control<QSlider>(dialog, 1085)->setValue(11);
    Control<QSlider>(dialog, 1086)->setValue(12);
    EXPECT_TRUE(ClickOk(dialog));
    EXPECT_EQ(mpeg->m_strTagLessName, original);
    EXPECT_EQ(mpeg->m_nIcon, 11);
    EXPECT_EQ(mpeg->m_nTagLessIcon, 12);
  }
  CMp3TypeDialog dialog(*mpeg, types, icons, prompt);
  SetText(dialog, 1077, "");
  EXPECT_FALSE(OkEnabled(dialog));
  for (const char* taken : {"mpeg audio", "Play-lists", "vid\xC3\xA9os"}) {
    SetText(dialog, 1077, taken);
    EXPECT_FALSE(ClickOk(dialog)) << taken;
  }
  EXPECT_EQ(prompt.messages, std::vector<int>(3, ids::TypeNameUsed));
  EXPECT_EQ(mpeg->m_strTagLessName, original);
  SetText(dialog, 1077, "No tag");
  EXPECT_TRUE(ClickOk(dialog));
  EXPECT_EQ(mpeg->m_strTagLessName, "No tag");
}

TEST_F(TypeDialogTest, CancelLeavesTheTypeUnchanged) {
  CUserTypeDialog userDialog(*user, types, icons, prompt);
  SetText(userDialog, 1077, "Films");
  SetText(userDialog, 1083, "mov");
  Control<QSlider>(userDialog, 1085)->setValue(0);
  Control<QPushButton>(userDialog, 2)->click();
  EXPECT_EQ(userDialog.result(), QDialog::Rejected);
  EXPECT_EQ(user->GetName(), "Vid\xC3\xA9os");
  EXPECT_EQ(user->m_aExtensions, (StringList{"avi", "mkv"}));
  EXPECT_EQ(user->m_nIcon, 3);

  CM3uTypeDialog m3uDialog(*playList, icons, prompt);
  Control<QSlider>(m3uDialog, 1085)->setValue(17);
  m3uDialog.close();
  EXPECT_EQ(playList->m_nIcon, 4);
}

TEST_F(TypeDialogTest, SlidersRunOverTheSkinsIconsAndPreviewTheChoice) {
  CM3uTypeDialog m3u(*playList, icons, prompt);
  CMp3TypeDialog mp3(*mpeg, types, icons, prompt);
  CUserTypeDialog userDialog(*user, types, icons, prompt);
  for (auto [dialog, slider, preview] : {std::tuple<QDialog*, int, int>{&m3u, 1085, 1057},
                                         {&mp3, 1085, 1057},
                                         {&mp3, 1086, 1058},
                                         {&userDialog, 1085, 1057}}) {
    auto* bar = Control<QSlider>(*dialog, slider);
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 19);
    auto* picture = Control<CQvStaticSprite>(*dialog, preview);
    EXPECT_EQ(picture->size(), QSize(20, 16));
    const CQvSprite& shown = picture->Sprite();
    EXPECT_EQ(shown.GetPixel(2, 2), CQvSprite::ToArgb(static_cast<Colour>(bar->value() + 1)));
    bar->setValue(14);
    EXPECT_EQ(shown.GetPixel(2, 2), CQvSprite::ToArgb(15));
    EXPECT_EQ(shown.GetPixel(17, 13), CQvSprite::ToArgb(15));
    EXPECT_EQ(shown.GetPixel(1, 1), 0xFF000000u);  // black inside the frame
    EXPECT_EQ(shown.GetPixel(0, 0), CQvSprite::ToArgb(CQvSprite::GetSysColor(20, 0)));
    EXPECT_EQ(shown.GetPixel(19, 15), CQvSprite::ToArgb(CQvSprite::GetSysColor(21, 0)));
  }
  // An icon the skin lacks: the last one is offered, in a preview that fits.
  const CQvSpriteArray few = Icons(5);
  CUserTypeDialog small(*user, types, few, prompt);
  EXPECT_EQ(Control<QSlider>(small, 1085)->maximum(), 4);
  EXPECT_EQ(Control<QSlider>(small, 1085)->value(), 3);
  user->m_nIcon = 200;
  CUserTypeDialog lacking(*user, types, few, prompt);
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
  answer(1);
  EXPECT_TRUE(user->EditProperties());
  EXPECT_EQ(title, "User resource type properties");
  answer(2);
  EXPECT_FALSE(mpeg->EditProperties());
  EXPECT_EQ(title, "Mp3 resource type properties");
  answer(1);
  EXPECT_TRUE(playList->EditProperties());
  EXPECT_EQ(title, "M3U (Play-List) resource type properties");
  EXPECT_FALSE(types.GetAt(0)->EditProperties());  // Folder has no dialog
}

}  // namespace
}  // namespace jb::test
