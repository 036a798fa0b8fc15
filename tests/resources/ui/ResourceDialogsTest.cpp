// The resource and type dialogs and the Resources page, offscreen, on the
// build's pictures, with recorded prompts and scripted type dialogs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "QtTestSupport.h"
#include "TestSupport.h"
#include "config/CConfig.h"
#include "resources/CResourceArray.h"
#include "resources/CreateResource.h"
#include "resources/ui/CDirResourceDlg.h"
#include "resources/ui/CFileResourceDlg.h"
#include "resources/ui/CNewResourceDlg.h"
#include "resources/ui/CResTypesDlg.h"
#include "resources/ui/CResourcesPage.h"
#include "resources/ui/ResourcePictures.h"
#include "storage/CArchive.h"
#include "types/BuiltinTypes.h"

namespace jb::test {
namespace {

// Type dialogs that apply a scripted change, or are cancelled without one.
class ScriptedTypeEditor : public ITypePropertiesEditor {
 public:
  ScriptedTypeEditor() { SetTypePropertiesEditor(this); }
  ~ScriptedTypeEditor() override { SetTypePropertiesEditor(nullptr); }
  bool Edit(CResourceType& type) override {
    auto* user = dynamic_cast<CUserType*>(&type);
    if (!user || !name) return false;
    user->SetName(*name);
    user->SetExtensions(extensions);
    return true;
  }
  std::optional<std::string> name;  // cancelled when none
  StringList extensions;
};

// Resource dialogs that set a path, or are cancelled.
class ScriptedResourceEditor : public IResourceEditor {
 public:
  ScriptedResourceEditor() { SetResourceEditor(this); }
  ~ScriptedResourceEditor() override { SetResourceEditor(nullptr); }
  bool Edit(CResource& resource, CResourceArray&) override {
    if (!path) return false;
    resource.m_strPath = *path;
    return true;
  }
  std::optional<std::string> path;
};

void PressKey(QWidget* widget, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
}

class ResourceDialogsTest : public ::testing::Test {
 protected:
  ResourceDialogsTest() { config.installationValid = true; }

  CUserType* AddUserType(const std::string& name, StringList extensions) {
    auto type = std::make_unique<CUserType>(name, std::move(extensions));
    CUserType* raw = type.get();
    types().Add(std::move(type));
    return raw;
  }
  CResource* AddResource(CResourceType* type, const std::string& path, std::uint8_t flags = 0) {
    auto resource = CreateResource(type);
    resource->m_strPath = path;
    if (flags) resource->m_nFlags = flags;
    CResource* raw = resource.get();
    resources.Add(std::move(resource));
    return raw;
  }
  CResourceTypeArray& types() { return config.resourceTypes; }
  CResourceType* Folder() { return types().FindById(kFolderTypeId); }
  std::string Path(size_t i) const { return resources.GetAt(i)->m_strPath; }

  TempDir dir;
  ScopedCurrentDir inDir{dir.Path()};
  RecordingPrompt prompt;
  CConfig config{prompt};
  CResourceArray resources;
  ResourcePictures pictures{QFileInfo(JUKEBAR_DEFAULT_SKIN).absolutePath() + QStringLiteral("/res")};
  ScriptedTypeEditor typeEditor;
};

// --- Resource types edition and New resource ------------------------------

TEST_F(ResourceDialogsTest, TypeListsShowBuiltinsFirstThenUserTypesByName) {
  // The stored order does not matter: the list sorts.
  types().RemoveAll();
  AddUserType("rock", {"ogg"});
  types().Add(std::make_unique<CPlayListType>());
  AddUserType("Jazz", {"flac", "ape"});
  types().Add(std::make_unique<CMpegAudioType>());
  types().Add(std::make_unique<CFolderType>());
  CResTypesDlg edition(types(), pictures);
  std::unique_ptr<CResource> made;
  CNewResourceDlg chooser(made, types(), pictures);
  const QStringList expected{"Folder|", "MPEG Audio|Mp3", "Play-Lists|M3U", "Jazz|flac.ape", "rock|ogg"};
  EXPECT_EQ(Rows(edition.List()), expected);
  EXPECT_EQ(Rows(chooser.List()), expected);
  EXPECT_FALSE(edition.List()->topLevelItem(0)->icon(0).isNull());
}

TEST_F(ResourceDialogsTest, TypeButtonsFollowTheSelectedRowAndDeleteSelectsTheRowBefore) {
  AddUserType("rock", {"ogg"});
  AddUserType("Jazz", {"flac"});
  CResTypesDlg dialog(types(), pictures);
  auto* properties = Control<QPushButton>(&dialog, 1075);
  auto* remove = Control<QPushButton>(&dialog, 1076);
  auto state = [&] { return std::make_pair(properties->isEnabled(), remove->isEnabled()); };
  EXPECT_EQ(state(), std::make_pair(false, false));
  SelectRow(dialog.List(), 0);  // Folder
  EXPECT_EQ(state(), std::make_pair(false, false));
  PressKey(dialog.List(), Qt::Key_Delete);
  EXPECT_EQ(types().GetSize(), 5u);
  SelectRow(dialog.List(), 1);  // MPEG Audio
  EXPECT_EQ(state(), std::make_pair(true, false));
  SelectRow(dialog.List(), 4);  // rock, the last row
  EXPECT_EQ(state(), std::make_pair(true, true));
  PressKey(dialog.List(), Qt::Key_Delete);
  EXPECT_EQ(types().GetSize(), 4u);
  EXPECT_FALSE(types().IsNameUsed("rock"));
  EXPECT_EQ(SelectedRow(dialog.List()), 3);
  EXPECT_EQ(dialog.SelectedType()->GetName(), "Jazz");
  EXPECT_EQ(state(), std::make_pair(true, true));
}

TEST_F(ResourceDialogsTest, NewAndPropertiesGoThroughTheTypeDialogs) {
  CResTypesDlg dialog(types(), pictures);
  Control<QPushButton>(&dialog, 1074)->click();  // cancelled
  EXPECT_EQ(types().GetSize(), 3u);
  typeEditor.name = "Films";
  typeEditor.extensions = {"avi"};
  Control<QPushButton>(&dialog, 1074)->click();
  ASSERT_EQ(types().GetSize(), 4u);
  EXPECT_EQ(SelectedRow(dialog.List()), 3);
  // A new name re-sorts the row and keeps it selected.
  AddUserType("Zydeco", {"zy"});
  typeEditor.name = "Ambient";
  Control<QPushButton>(&dialog, 1075)->click();
  EXPECT_EQ(Rows(dialog.List()).mid(3), (QStringList{"Ambient|avi"}));
  EXPECT_EQ(dialog.SelectedType()->GetName(), "Ambient");
}

TEST_F(ResourceDialogsTest, NewResourceMakesOneOfTheChosenType) {
  std::unique_ptr<CResource> made;
  CNewResourceDlg dialog(made, types(), pictures);
  auto* create = Control<QPushButton>(&dialog, 1);
  EXPECT_FALSE(create->isEnabled());
  create->click();
  EXPECT_EQ(made, nullptr);
  SelectRow(dialog.List(), 0);
  create->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  ASSERT_NE(dynamic_cast<CDirResource*>(made.get()), nullptr);
  SelectRow(dialog.List(), 1);
  create->click();
  ASSERT_NE(dynamic_cast<CFileResource*>(made.get()), nullptr);
  EXPECT_EQ(made->m_pType->GetTypeId(), kMpegAudioTypeId);
}

// --- Directory and file resources -----------------------------------------

TEST_F(ResourceDialogsTest, CloakingGreysTheScanSettingsButTheirValuesAreStored) {
  auto* res = static_cast<CDirResource*>(AddResource(Folder(), "/music"));
  CDirResourceDlg dialog(res->m_strPath, res->m_nFlags, res->m_aExcludedExts, resources, types(), prompt, pictures);
  ASSERT_TRUE(dialog.Open());
  const std::vector<int> scanControls{1063, 1064, 1087, 1086};
  for (int id : scanControls) EXPECT_TRUE(Control<QWidget>(&dialog, id)->isEnabled()) << id;
  Control<QCheckBox>(&dialog, 1062)->click();
  for (int id : scanControls) EXPECT_FALSE(Control<QWidget>(&dialog, id)->isEnabled()) << id;
  Control<QCheckBox>(&dialog, 1063)->setChecked(false);
  Control<QPushButton>(&dialog, 1)->click();
  EXPECT_EQ(res->m_nFlags, CResource::kCloak | CResource::kHidden);
}

TEST_F(ResourceDialogsTest, UntickingAnExtensionExcludesItAndTickingItAgainDoesNot) {
  AddUserType("Films", {"avi"});
  auto* res = static_cast<CDirResource*>(AddResource(Folder(), "/music"));
  auto runOnce = [&](bool toggleMp3) {
    CDirResourceDlg dialog(res->m_strPath, res->m_nFlags, res->m_aExcludedExts, resources, types(), prompt,
                           pictures);
    dialog.show();
    QTreeWidget* list = Control<QTreeWidget>(&dialog, 1086);
    EXPECT_EQ(Rows(list), (QStringList{"avi|Films", "M3U|Play-Lists", "Mp3|MPEG Audio"}));
    if (toggleMp3) {
      // A click on the box toggles; Space toggles the selected row.
      QTreeWidgetItem* mp3 = list->topLevelItem(2);
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(mp3).topLeft() + QPoint(6, 6));
    } else {
      SelectRow(list, 2);
      PressKey(list, Qt::Key_Space);
    }
    Control<QPushButton>(&dialog, 1)->click();
  };
  runOnce(true);
  EXPECT_EQ(res->m_aExcludedExts, StringList{"Mp3"});
  runOnce(false);
  EXPECT_EQ(res->m_aExcludedExts, StringList{});
}

TEST_F(ResourceDialogsTest, ADuplicatePathIsRefusedAndALetterCaseChangeAccepted) {
  AddResource(Folder(), "/music/jazz");
  auto* res = static_cast<CDirResource*>(AddResource(Folder(), "/music/Rock"));
  CDirResourceDlg dialog(res->m_strPath, res->m_nFlags, res->m_aExcludedExts, resources, types(), prompt, pictures);
  ASSERT_TRUE(dialog.Open());
  auto* path = Control<QLineEdit>(&dialog, 1060);
  path->setText("/music/jazz");
  Control<QCheckBox>(&dialog, 1062)->setChecked(true);
  Control<QPushButton>(&dialog, 1)->click();
  EXPECT_EQ(prompt.messages, std::vector<int>{ids::DuplicateResourcePath});
  EXPECT_EQ(res->m_strPath, "/music/Rock");
  EXPECT_EQ(res->m_nFlags, CResource::kSubDirectories | CResource::kHidden);
  EXPECT_EQ(path->text(), "/music/jazz");
  path->setText("/music/rock");
  Control<QPushButton>(&dialog, 1)->click();
  EXPECT_EQ(prompt.messages.size(), 1u);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(res->m_strPath, "/music/rock");
}

TEST_F(ResourceDialogsTest, ANewDirectoryAsksForItsFolderAndEndsWithoutOne) {
  const std::string odd = dir / "-a \"b\"\n\xFF";
  auto resource = CreateResource(Folder());
  auto* res = static_cast<CDirResource*>(resource.get());
  {
    CDirResourceDlg dialog(res->m_strPath, res->m_nFlags, res->m_aExcludedExts, resources, types(), prompt, pictures);
    EXPECT_EQ(dialog.Run(), QDialog::Rejected);  // the chooser was cancelled
    EXPECT_FALSE(dialog.isVisible());
  }
  ASSERT_EQ(prompt.folderDialogs.size(), 1u);
  EXPECT_EQ(prompt.folderDialogs[0].title, "Jukebar - Scan path selection");
  EXPECT_EQ(prompt.folderDialogs[0].prompt, "\nSelect a directory to scan or to cloak...");
  prompt.files.push_back(odd);
  CDirResourceDlg dialog(res->m_strPath, res->m_nFlags, res->m_aExcludedExts, resources, types(), prompt, pictures);
  ASSERT_TRUE(dialog.Open());
  Control<QPushButton>(&dialog, 1)->click();
  // The chosen name's bytes, not UTF-8, come back unchanged.
  EXPECT_EQ(res->m_strPath, odd);
}

TEST_F(ResourceDialogsTest, TheFileDialogNamesItsTypeAndBrowsesWithItsFilter) {
  CResource* res = AddResource(types().FindByExtension("mp3"), "/music/a.mp3", CResource::kCloak);
  CFileResourceDlg dialog(res->m_strPath, res->m_nFlags, resources, "MPEG Audio", "MPEG Audio (Mp3)|*.Mp3||", prompt);
  ASSERT_TRUE(dialog.Open());
  EXPECT_EQ(dialog.windowTitle(), "Jukebar - Resource type : MPEG Audio");
  EXPECT_TRUE(Control<QCheckBox>(&dialog, 1062)->isChecked());
  prompt.files.push_back("/music/b.mp3");
  Control<QPushButton>(&dialog, 1067)->click();
  ASSERT_EQ(prompt.dialogs.size(), 1u);
  EXPECT_EQ(prompt.dialogs[0].filter, "MPEG Audio (Mp3)|*.Mp3||");
  EXPECT_EQ(prompt.dialogs[0].initialPath, "/music/a.mp3");
  Control<QCheckBox>(&dialog, 1062)->setChecked(false);
  Control<QPushButton>(&dialog, 2)->click();
  EXPECT_EQ(res->m_strPath, "/music/a.mp3");  // Cancel changes nothing
  EXPECT_EQ(res->m_nFlags, CResource::kCloak);
  Control<QPushButton>(&dialog, 1)->click();
  EXPECT_EQ(res->m_strPath, "/music/b.mp3");
  EXPECT_EQ(res->m_nFlags, 0);
}

// --- The Resources page ---------------------------------------------------

class ResourcesPageTest : public ResourceDialogsTest {
 protected:
  std::unique_ptr<CResourcesPage> MakePage() {
    return std::make_unique<CResourcesPage>(resources, config, pictures, [this] { ++modified; });
  }
  int modified = 0;
  ScriptedResourceEditor resourceEditor;
};

TEST_F(ResourcesPageTest, RowsSortByPathAndRemovingSelectsTheNextElseTheLast) {
  for (const char* path : {"/m/c", "/m/A", "/m/b", "/m/D"}) AddResource(Folder(), path);
  auto page = MakePage();
  auto* properties = Control<QPushButton>(page.get(), 1045);
  auto* remove = Control<QPushButton>(page.get(), 1042);
  EXPECT_EQ(Rows(page->List()), (QStringList{"/m/A", "/m/b", "/m/c", "/m/D"}));
  EXPECT_FALSE(remove->isEnabled());
  SelectRow(page->List(), 1);
  remove->click();
  EXPECT_EQ(Rows(page->List()), (QStringList{"/m/A", "/m/c", "/m/D"}));
  EXPECT_EQ(SelectedRow(page->List()), 1);
  SelectRow(page->List(), 2);
  PressKey(page->List(), Qt::Key_Delete);
  EXPECT_EQ(SelectedRow(page->List()), 1);
  EXPECT_EQ(resources.GetSize(), 2u);
  EXPECT_EQ(Path(0), "/m/c");
  EXPECT_EQ(Path(1), "/m/A");
  remove->click();
  remove->click();
  EXPECT_EQ(resources.GetSize(), 0u);
  EXPECT_EQ(SelectedRow(page->List()), -1);
  EXPECT_FALSE(properties->isEnabled());
  EXPECT_FALSE(remove->isEnabled());
  EXPECT_EQ(modified, 4);
}

TEST_F(ResourcesPageTest, NewAndPropertiesAddAndEditOnlyWhenConfirmed) {
  AddResource(Folder(), "/m/b");
  auto page = MakePage();
  auto chooseFolderType = [](QWidget* modal) {
    auto* chooser = static_cast<CNewResourceDlg*>(modal);
    SelectRow(chooser->List(), 0);
    Control<QPushButton>(chooser, 1)->click();
  };
  {
    WhenModal answer(chooseFolderType);
    page->OnNew();  // the resource's dialog is cancelled
  }
  EXPECT_EQ(resources.GetSize(), 1u);
  resourceEditor.path = "/m/a";
  {
    WhenModal answer(chooseFolderType);
    page->OnNew();
  }
  ASSERT_EQ(resources.GetSize(), 2u);
  EXPECT_EQ(Rows(page->List()), (QStringList{"/m/a", "/m/b"}));
  EXPECT_EQ(SelectedRow(page->List()), 0);
  resourceEditor.path = "/m/c";
  Control<QPushButton>(page.get(), 1045)->click();
  EXPECT_EQ(Rows(page->List()), (QStringList{"/m/b", "/m/c"}));
  EXPECT_EQ(SelectedRow(page->List()), 1);
  EXPECT_EQ(modified, 2);
}

TEST_F(ResourcesPageTest, ResourceTypesRebindResourcesOfADeletedTypeAndSaveTheConfiguration) {
  AddUserType("Films", {"avi", "mkv"});
  CResource* film = AddResource(types().FindByExtension("avi"), "/films/a.avi");
  auto page = MakePage();
  {
    WhenModal answer([](QWidget* modal) {
      auto* edition = static_cast<CResTypesDlg*>(modal);
      SelectRow(edition->List(), 3);
      Control<QPushButton>(edition, 1076)->click();
      Control<QPushButton>(edition, 2)->click();
    });
    Control<QPushButton>(page.get(), 1043)->click();
    EXPECT_TRUE(answer.Answered());
  }
  ASSERT_EQ(types().GetSize(), 4u);
  EXPECT_EQ(types().GetAt(3)->GetName(), "User's \".avi\" type.");
  EXPECT_EQ(film->m_pType, types().GetAt(3));
  // The configuration file holds the new type.
  CConfig stored(prompt);
  stored.Load(dir / CConfig::kFileName);
  ASSERT_EQ(stored.resourceTypes.GetSize(), 4u);
  EXPECT_EQ(stored.resourceTypes.GetAt(3)->GetName(), "User's \".avi\" type.");
  EXPECT_EQ(modified, 0);
}

}  // namespace
}  // namespace jb::test
