#include <gtest/gtest.h>

#include "TestSupport.h"
#include "storage/CArchive.h"
#include "types/BuiltinTypes.h"
#include "types/CResourceTypeArray.h"

namespace jb {
namespace {

std::vector<std::uint8_t> StoreList(CResourceTypeArray& list) {
  return StoreArchiveBytes([&](CArchive& ar) { list.Serialize(ar); });
}

void LoadList(CResourceTypeArray& list, std::vector<std::uint8_t> bytes) {
  test::LoadBytes(std::move(bytes), [&](CArchive& ar) { list.Serialize(ar); });
}

std::vector<std::uint8_t> Cat(std::initializer_list<std::vector<std::uint8_t>> parts) {
  std::vector<std::uint8_t> out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

const std::vector<std::uint8_t> kTagLessName = test::Bytes("\"Tag-less\" MP3s");

TEST(ResourceTypeArrayTest, DefaultListIsStoredAsItsWorkedBytes) {
  CResourceTypeArray list;
  list.SetDefaults();
  EXPECT_EQ(StoreList(list),
            Cat({{0x01, 0x03, 0, 0, 0, 0x01, 0x01, 0x02, 0x01, 0x0F}, kTagLessName, {0x04, 0x00, 0x03, 0x01, 0x04}}));
}

TEST(ResourceTypeArrayTest, UserTypesKeepTheirExtensionOrderThroughStorage) {
  CResourceTypeArray list;
  list.SetDefaults();
  list.Add(std::make_unique<CUserType>("Midi", StringList{"mid", "rmi"}, 5));
  auto bytes = StoreList(list);
  // The user type's body: id, version, name, icon, count, extensions.
  std::vector<std::uint8_t> user = {0xFF, 0x01, 0x04, 'M', 'i', 'd', 'i',  0x05, 0x02, 0,
                                    0,    0,    0x03, 'm', 'i', 'd', 0x03, 'r',  'm',  'i'};
  ASSERT_GE(bytes.size(), user.size());
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.end() - static_cast<long>(user.size()), bytes.end()), user);

  CResourceTypeArray loaded;
  loaded.SetDefaults();
  LoadList(loaded, bytes);
  EXPECT_EQ(StoreList(loaded), bytes);
  ASSERT_EQ(loaded.GetSize(), 4u);
  EXPECT_EQ(loaded.GetAt(3)->GetIcon(0), 0);  // user types show image 0 whatever their icon
}

TEST(ResourceTypeArrayTest, BuiltinsAreReadInPlaceWhateverTheStoredOrder) {
  CResourceTypeArray list;
  list.SetDefaults();
  // Play-Lists (icon 9), a user type, Folder, then MPEG Audio with a new name.
  LoadList(list, Cat({{0x01, 0x04, 0, 0, 0},
                      {0x03, 0x01, 0x09},
                      {0xFF, 0x01, 0x01, 'V', 0x00, 0x01, 0, 0, 0, 0x03, 'a', 'v', 'i'},
                      {0x01, 0x01},
                      {0x02, 0x01, 0x03, 'N', 'o', 'T', 0x06, 0x07}}));
  // Stored again: the built-ins in place, the user type after them.
  EXPECT_EQ(StoreList(list),
            Cat({{0x01, 0x04, 0, 0, 0, 0x01, 0x01, 0x02, 0x01, 0x03, 'N', 'o', 'T', 0x06, 0x07},
                 {0x03, 0x01, 0x09, 0xFF, 0x01, 0x01, 'V', 0x00, 0x01, 0, 0, 0, 0x03, 'a', 'v', 'i'}}));
}

TEST(ResourceTypeArrayTest, BadKindsVersionsAndMissingBuiltinsAreFormatErrors) {
  using Bytes = std::vector<std::uint8_t>;
  for (const Bytes& bytes : {Bytes{0x02, 0, 0, 0, 0},                       // list version 2
                             Bytes{0x01, 0x01, 0, 0, 0, 0x00, 0x01},        // kind 0
                             Bytes{0x01, 0x01, 0, 0, 0, 0x05, 0x01},        // kind 5
                             Bytes{0x01, 0x01, 0, 0, 0, 0xFE, 0x01},        // kind 254
                             Bytes{0x01, 0x01, 0, 0, 0, 0x01, 0x02},        // body version 2
                             Bytes{0x01, 0xFF, 0xFF, 0, 0, 0x01, 0x01}}) {  // count too large
    CResourceTypeArray list;
    list.SetDefaults();
    EXPECT_THROW(LoadList(list, bytes), CArchiveException);
  }
  CResourceTypeArray noMp3;
  noMp3.Add(std::make_unique<CFolderType>());
  EXPECT_THROW(LoadList(noMp3, {0x01, 0x01, 0, 0, 0, 0x02, 0x01, 0x00, 0x04, 0x00}), CArchiveException);
}

}  // namespace
}  // namespace jb
