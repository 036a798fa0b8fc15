// The rules behind the resource dialogs' extension list and file filter.
#include <gtest/gtest.h>

#include "resources/ResourceEditing.h"
#include "types/BuiltinTypes.h"
#include "types/CResourceTypeArray.h"

namespace jb {
namespace {

TEST(ResourceEditingTest, ExtensionRowsGiveBackTheExclusionsOfTypesThatStillClaimThem) {
  CResourceTypeArray types;
  types.SetDefaults();
  types.Add(std::make_unique<CUserType>("Films", StringList{"avi", "mkv"}));
  std::vector<ExtensionRow> rows = ExtensionRows(types, {"MP3", "mkv", "gone"});
  std::string shown;
  for (const ExtensionRow& row : rows) shown += row.extension + (row.scanned ? "+" : "-") + row.typeName + " ";
  EXPECT_EQ(shown, "mkv-Films avi+Films M3U+Play-Lists Mp3-MPEG Audio ");
  EXPECT_EQ(ExcludedExtensions(rows), (StringList{"Mp3", "mkv"}));
  CUserType films("Films", {"avi", "mkv"});
  EXPECT_EQ(FileResourceFilter(&films), "Films (avi.mkv)|*.avi;*.mkv||");
  EXPECT_EQ(FileResourceFilter(nullptr), "(*)|*||");
}

}  // namespace
}  // namespace jb
