// The rules behind the resource and type dialogs.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "resources/CResourceArray.h"
#include "resources/CreateResource.h"
#include "resources/ResourceEditing.h"
#include "types/BuiltinTypes.h"
#include "types/CResourceTypeArray.h"

namespace jb {
namespace {

std::vector<std::string> SortedNames(std::vector<const CResourceType*> types) {
  std::stable_sort(types.begin(), types.end(), [](auto* a, auto* b) { return TypeRowLess(*a, *b); });
  std::vector<std::string> names;
  for (const CResourceType* type : types) names.push_back(type->GetName());
  return names;
}

TEST(ResourceEditingTest, TypeRowsGoByIdThenNameIgnoringCase) {
  CUserType rock("rock", {"ogg"}), jazz("Jazz", {"flac"});
  CFolderType folder;
  CMpegAudioType mpeg;
  CPlayListType lists;
  EXPECT_EQ(SortedNames({&rock, &lists, &jazz, &mpeg, &folder}),
            (std::vector<std::string>{"Folder", "MPEG Audio", "Play-Lists", "Jazz", "rock"}));
}

TEST(ResourceEditingTest, ButtonsFollowTheSelectedTypesEditFlags) {
  CFolderType folder;
  CMpegAudioType mpeg;
  CUserType user;
  EXPECT_EQ(TypeButtonsFor(nullptr), (TypeButtons{false, false}));
  EXPECT_EQ(TypeButtonsFor(&folder), (TypeButtons{false, false}));
  EXPECT_EQ(TypeButtonsFor(&mpeg), (TypeButtons{true, false}));
  EXPECT_EQ(TypeButtonsFor(&user), (TypeButtons{true, true}));
}

TEST(ResourceEditingTest, RowAfterRemovalTakesTheNextElseTheNewLast) {
  struct Case {
    int removed, countAfter, expected;
  };
  for (Case c : {Case{0, 0, -1}, Case{2, 2, 1}, Case{0, 3, 0}, Case{1, 3, 1}})
    EXPECT_EQ(RowAfterRemoval(c.removed, c.countAfter), c.expected) << c.removed << " of " << c.countAfter + 1;
}

TEST(ResourceEditingTest, PathEditsAreCheckedByPathIdentity) {
  CResourceArray all;
  for (const char* path : {"/music/Rock", "/music/jazz"}) {
    all.Add(std::make_unique<CDirResource>());
    all.GetAt(all.GetSize() - 1)->m_strPath = path;
  }
  EXPECT_EQ(CheckPathEdit("/music/Rock", "/music/Rock", all), PathEdit::Unchanged);
  EXPECT_EQ(CheckPathEdit("/music/Rock", "/music/jazz", all), PathEdit::Duplicate);
  // Names that differ in case are two folders here: a new, accepted path.
  EXPECT_EQ(CheckPathEdit("/music/Rock", "/music/rock", all), PathEdit::Changed);
  EXPECT_EQ(CheckPathEdit("", "/music/JAZZ", all), PathEdit::Changed);
}

TEST(ResourceEditingTest, ExtensionRowsComeFromEveryTypeAndGiveBackTheExclusions) {
  CResourceTypeArray types;
  types.SetDefaults();
  types.Add(std::make_unique<CUserType>("Films", StringList{"avi", "mkv"}));
  std::vector<ExtensionRow> rows = ExtensionRows(types, {"MP3", "mkv", "gone"});
  ASSERT_EQ(rows.size(), 4u);
  std::vector<std::string> shown;
  for (const ExtensionRow& row : rows) shown.push_back(row.extension + (row.scanned ? "+" : "-") + row.typeName);
  EXPECT_EQ(shown, (std::vector<std::string>{"mkv-Films", "avi+Films", "M3U+Play-Lists", "Mp3-MPEG Audio"}));
  // An extension no type claims has no row, so it cannot stay excluded.
  EXPECT_EQ(ExcludedExtensions(rows), (StringList{"Mp3", "mkv"}));
  rows[3].scanned = true;
  EXPECT_EQ(ExcludedExtensions(rows), (StringList{"mkv"}));
}

TEST(ResourceEditingTest, FileFilterNamesTheTypesExtensions) {
  CMpegAudioType mpeg;
  CUserType films("Films", {"avi", "mkv"});
  EXPECT_EQ(FileResourceFilter(&mpeg), "MPEG Audio (Mp3)|*.Mp3||");
  EXPECT_EQ(FileResourceFilter(&films), "Films (avi.mkv)|*.avi;*.mkv||");
  EXPECT_EQ(FileResourceFilter(nullptr), "(*)|*||");
}

TEST(ResourceEditingTest, UnbindingLetsGoOfUserTypesOnly) {
  CResourceTypeArray types;
  types.SetDefaults();
  types.Add(std::make_unique<CUserType>("Films", StringList{"avi"}));
  CResourceArray resources;
  resources.Add(CreateResource(types.FindById(kFolderTypeId)));
  resources.Add(CreateResource(types.FindByExtension("mp3")));
  resources.Add(CreateResource(types.FindByExtension("avi")));
  UnbindUserTypes(resources);
  EXPECT_NE(resources.GetAt(0)->m_pType, nullptr);
  EXPECT_NE(resources.GetAt(1)->m_pType, nullptr);
  EXPECT_EQ(resources.GetAt(2)->m_pType, nullptr);
}

}  // namespace
}  // namespace jb
