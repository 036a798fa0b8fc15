// The resource and type dialogs and the Resources page, offscreen, on the
// build's pictures, with recorded prompts and scripted type dialogs.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "QtTestSupport.h"
#include "TestSupport.h"
#include "config/CConfig.h"
#include "resources/CResourceArray.h"
#include "resources/CreateResource.h"
#include "resources/ResourceEditing.h"
#include "resources/ui/CDirResourceDlg.h"
#include "resources/ui/CFileResourceDlg.h"
#include "resources/ui/CNewResourceDlg.h"
#include "resources/ui/CResTypesDlg.h"
#include "resources/ui/CResourcesPage.h"
#include "resources/ui/ResourcePictures.h"
#include "types/BuiltinTypes.h"

namespace jb::test {
namespace {

// Type and resource dialogs that apply a scripted change, or are cancelled
// without one.
struct ScriptedEditors : ITypePropertiesEditor, IResourceEditor {
  ScriptedEditors() {
    SetTypePropertiesEditor(this);
    SetResourceEditor(this);
  }
  ~ScriptedEditors() override {
    SetTypePropertiesEditor(nullptr);
    SetResourceEditor(nullptr);
  }
  bool Edit(CResourceType& type) override {
    auto* user = dynamic_cast<CUserType*>(&type);
    if (user && name) user->SetName(*name);
    return user && name;
  }
  bool Edit(CResource& resource, CResourceArray&) override {
    if (path) resource.m_strPath = *path;
    return path.has_value();
  }
  std::optional<std::string> name, path;
};

void Click(QWidget* dialog, int id) { Control<QPushButton>(dialog, id)->click(); }

class ResourceDialogsTest : public ::testing::Test {
 protected:
  ResourceDialogsTest() { config.installationValid = true; }
  void AddUserType(const std::string& name, StringList extensions) {
    types().Add(std::make_unique<CUserType>(name, std::move(extensions)));
  }
  CDirResource* AddDir(const std::string& path) {
    auto resource = CreateResource(types().FindById(kFolderTypeId));
    resource->m_strPath = path;
    return static_cast<CDirResource*>(resources.GetAt(resources.Add(std::move(resource))));
  }
  std::unique_ptr<CDirResourceDlg> DirDialog(CDirResource* res) {
    return std::make_unique<CDirResourceDlg>(res->m_strPath, res->m_nFlags, res->m_aExcludedExts, resources, types(),
                                             prompt, pictures);
  }
  std::unique_ptr<CResourcesPage> Page() {
    return std::make_unique<CResourcesPage>(resources, config, pictures, [this] { ++modified; });
  }
  CResourceTypeArray& types() { return config.resourceTypes; }

  TempDir dir;
  ScopedCurrentDir inDir{dir.Path()};
  RecordingPrompt prompt;
  CConfig config{prompt};
  CResourceArray resources;
  ResourcePictures pictures{QFileInfo(JUKEBAR_DEFAULT_SKIN).absolutePath() + QStringLiteral("/res")};
  ScriptedEditors editors;
  int modified = 0;
};

// Built-in types first, then user types by name.
TEST_F(ResourceDialogsTest, TypeEditionListsNewPropertiesAndDelete) {
  AddUserType("rock", {"ogg"});
  AddUserType("Jazz", {"flac", "ape"});
  CResTypesDlg dialog(types(), pictures);
  EXPECT_EQ(Rows(dialog.List()),
            (QStringList{"Folder|", "MPEG Audio|Mp3", "Play-Lists|M3U", "Jazz|flac.ape", "rock|ogg"}));
  EXPECT_FALSE(dialog.List()->topLevelItem(0)->icon(0).isNull());
  // Properties and Delete, 1 when enabled: Properties for all but Folder,
  // Delete for user types only.
  auto buttons = [&] {
    return std::to_string(Control<QPushButton>(&dialog, 1075)->isEnabled()) +
           std::to_string(Control<QPushButton>(&dialog, 1076)->isEnabled());
  };
  EXPECT_EQ(buttons(), "00");
  for (auto [row, expected] : {std::pair{4, "11"}, {2, "10"}, {0, "00"}}) {
    SelectRow(dialog.List(), row);
    EXPECT_EQ(buttons(), expected) << row;
  }
  QTest::keyClick(dialog.List(), Qt::Key_Delete);  // Folder stays
  Click(&dialog, 1074);                            // New, cancelled
  EXPECT_EQ(types().GetSize(), 5u);
  editors.name = "Blues";
  Click(&dialog, 1074);
  EXPECT_EQ(SelectedRow(dialog.List()), 3);
  editors.name = "Zydeco";  // a new name re-sorts the row and keeps it selected
  Click(&dialog, 1075);
  EXPECT_EQ(Rows(dialog.List()).mid(3), (QStringList{"Jazz|flac.ape", "rock|ogg", "Zydeco|"}));
  QTest::keyClick(dialog.List(), Qt::Key_Delete);  // the last row: the one before is selected
  EXPECT_EQ(types().GetSize(), 5u);
  EXPECT_EQ(dialog.SelectedType()->GetName(), "rock");
}

// Cloaking greys the scan settings, whose values are still stored; another
// resource's path is refused, the same path in other letter case accepted.
TEST_F(ResourceDialogsTest, DirectoryDialogCloakRuleAndDuplicatePaths) {
  AddDir("/music/jazz");
  CDirResource* res = AddDir("/music/Rock");
  auto dialog = DirDialog(res);
  ASSERT_TRUE(dialog->Open());
  for (bool enabled : {true, false}) {
    for (int id : {1063, 1064, 1087, 1086}) EXPECT_EQ(Control<QWidget>(dialog.get(), id)->isEnabled(), enabled) << id;
    if (enabled) Control<QCheckBox>(dialog.get(), 1062)->click();
  }
  Control<QCheckBox>(dialog.get(), 1063)->setChecked(false);
  auto* path = Control<QLineEdit>(dialog.get(), 1060);
  path->setText("/music/jazz");
  Click(dialog.get(), 1);
  EXPECT_EQ(prompt.messages, std::vector<int>{ids::DuplicateResourcePath});
  EXPECT_EQ(res->m_strPath, "/music/Rock");
  EXPECT_EQ(res->m_nFlags, CResource::kSubDirectories | CResource::kHidden);
  path->setText("/music/rock");
  Click(dialog.get(), 1);
  EXPECT_EQ(prompt.messages.size(), 1u);
  EXPECT_EQ(res->m_strPath, "/music/rock");
  EXPECT_EQ(res->m_nFlags, CResource::kCloak | CResource::kHidden);
}

// A new directory asks for its folder first and ends when none is chosen;
// ticking an extension includes it, unticking it excludes it again; an
// exclusion no type claims any more goes.
TEST_F(ResourceDialogsTest, NewDirectoryChooserAndExtensionTicks) {
  AddUserType("Films", {"avi", "mkv"});
  auto resource = CreateResource(types().FindById(kFolderTypeId));
  auto* res = static_cast<CDirResource*>(resource.get());
  res->m_aExcludedExts = {"MP3", "mkv", "gone"};
  EXPECT_EQ(DirDialog(res)->Run(), QDialog::Rejected);
  EXPECT_EQ(prompt.folderDialogs.at(0).prompt, "\nSelect a directory to scan or to cloak...");
  const std::string odd = dir / "-a \"b\"\n\xFF";
  prompt.files.push_back(odd);
  for (const StringList& excluded : {StringList{"mkv"}, StringList{"Mp3", "mkv"}}) {
    auto dialog = DirDialog(res);
    ASSERT_TRUE(dialog->Open());
    QTreeWidget* list = Control<QTreeWidget>(dialog.get(), 1086);
    EXPECT_EQ(Rows(list), (QStringList{"avi|Films", "M3U|Play-Lists", "mkv|Films", "Mp3|MPEG Audio"}));
    SelectRow(list, 3);
    QTest::keyClick(list, Qt::Key_Space);
    Click(dialog.get(), 1);
    EXPECT_EQ(res->m_aExcludedExts, excluded);
  }
  EXPECT_EQ(res->m_strPath, odd);  // the chosen name's bytes, not UTF-8, unchanged
}

TEST_F(ResourceDialogsTest, TheFileDialogBrowsesWithItsFilterAndCancelChangesNothing) {
  std::string path = "/music/a.mp3";
  std::uint8_t flags = CResource::kCloak;
  AddUserType("Films", {"avi", "mkv"});
  CFileResourceDlg dialog(path, flags, resources, "Films", FileResourceFilter(types().FindByExtension("mkv")), prompt);
  ASSERT_TRUE(dialog.Open());
  prompt.files.push_back("/music/b.mp3");
  Click(&dialog, 1067);
  EXPECT_EQ(prompt.dialogs.at(0).filter + " " + prompt.dialogs.at(0).initialPath,
            "Films (avi.mkv)|*.avi;*.mkv|| /music/a.mp3");
  EXPECT_EQ(FileResourceFilter(nullptr), "(*)|*||");  // a resource whose type is gone
  Control<QCheckBox>(&dialog, 1062)->setChecked(false);
  Click(&dialog, 2);
  EXPECT_EQ(path + " " + std::to_string(flags), "/music/a.mp3 " + std::to_string(CResource::kCloak));
  Click(&dialog, 1);
  EXPECT_EQ(path + " " + std::to_string(flags), "/music/b.mp3 0");
}

// Rows sort by path, New and Properties change them only when confirmed;
// removing selects the next row, else the last.
TEST_F(ResourceDialogsTest, ResourcesPageNewPropertiesAndRemove) {
  for (const char* path : {"/m/D", "/m/A", "/m/c"}) AddDir(path);
  auto page = Page();
  auto* remove = Control<QPushButton>(page.get(), 1042);
  EXPECT_FALSE(remove->isEnabled());
  auto add = [&](int row) {
    WhenModal answer([row](QWidget* chooser) {
      EXPECT_FALSE(Control<QPushButton>(chooser, 1)->isEnabled());
      SelectRow(static_cast<CNewResourceDlg*>(chooser)->List(), row);
      Click(chooser, 1);
    });
    page->OnNew();
  };
  add(0);  // the resource's dialog is cancelled
  editors.path = "/m/b.mp3";
  add(1);
  EXPECT_EQ(resources.GetAt(3)->m_pType->GetTypeId(), kMpegAudioTypeId);
  EXPECT_EQ(Rows(page->List()), (QStringList{"/m/A", "/m/b.mp3", "/m/c", "/m/D"}));
  EXPECT_EQ(SelectedRow(page->List()), 1);
  editors.path = "/m/E";
  Click(page.get(), 1045);
  EXPECT_EQ(Rows(page->List()), (QStringList{"/m/A", "/m/c", "/m/D", "/m/E"}));
  EXPECT_EQ(SelectedRow(page->List()), 3);
  remove->click();
  EXPECT_EQ(SelectedRow(page->List()), 2);
  SelectRow(page->List(), 0);
  QTest::keyClick(page->List(), Qt::Key_Delete);
  EXPECT_EQ(SelectedRow(page->List()), 0);
  EXPECT_EQ(resources.GetAt(0)->m_strPath + resources.GetAt(1)->m_strPath, "/m/D/m/c");
  remove->click();
  remove->click();
  EXPECT_EQ(resources.GetSize(), 0u);
  EXPECT_FALSE(remove->isEnabled() || Control<QPushButton>(page.get(), 1045)->isEnabled());
  EXPECT_EQ(modified, 6);
}

TEST_F(ResourceDialogsTest, ResourceTypesRebindResourcesOfADeletedTypeAndSaveTheConfiguration) {
  AddUserType("Films", {"avi", "mkv"});
  auto film = CreateResource(types().FindByExtension("avi"));
  film->m_strPath = "/films/a.avi";
  CResource* raw = resources.GetAt(resources.Add(std::move(film)));
  auto page = Page();
  WhenModal answer([](QWidget* edition) {
    SelectRow(static_cast<CResTypesDlg*>(edition)->List(), 3);
    Click(edition, 1076);
    Click(edition, 2);
  });
  Click(page.get(), 1043);
  ASSERT_EQ(types().GetSize(), 4u);
  EXPECT_EQ(raw->m_pType, types().GetAt(3));
  CConfig stored(prompt);
  stored.Load(dir / CConfig::kFileName);
  ASSERT_EQ(stored.resourceTypes.GetSize(), 4u);
  EXPECT_EQ(stored.resourceTypes.GetAt(3)->GetName(), "User's \".avi\" type.");
  EXPECT_EQ(modified, 0);
}

}  // namespace
}  // namespace jb::test
