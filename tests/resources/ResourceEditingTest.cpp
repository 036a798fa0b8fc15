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
