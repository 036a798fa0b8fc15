#include <gtest/gtest.h>

#include "TestSupport.h"
#include "catalogue/CCatalogue.h"
#include "storage/CArchive.h"
#include "types/BuiltinTypes.h"
#include "types/CResourceTypeArray.h"

namespace jb {
namespace {

using ByteList = std::vector<std::uint8_t>;

ByteList Store(CCatalogue& catalogue) {
  return StoreArchiveBytes([&](CArchive& ar) { catalogue.SerializeCatalogue(ar); });
}

void Load(CCatalogue& catalogue, ByteList bytes) {
  test::LoadBytes(std::move(bytes), [&](CArchive& ar) { catalogue.SerializeCatalogue(ar); });
}

// Version, path, icon, each name with its kind (Artist, Album, File), the paths.
const ByteList kWorkedEntry =
    test::Hex("01 08 |C:\\a.mp3| 04 03000000 01 |X| 02 01 |Y| 03 01 |Z| 06 01000000 08 |C:\\a.mp3|");

// The catalogue's count, then the given entries.
ByteList Catalogue(std::uint8_t count, std::initializer_list<ByteList> entries) {
  ByteList bytes = {0x01, count, 0, 0, 0};
  for (const ByteList& e : entries) bytes.insert(bytes.end(), e.begin(), e.end());
  return bytes;
}

TEST(CatalogueTest, EntryIsStoredAsItsWorkedBytes) {
  CCatalogue catalogue;
  EXPECT_EQ(Store(catalogue), Catalogue(0, {}));
  auto entry = std::make_unique<CCatalogueEntry>("C:\\a.mp3");
  entry->m_nIcon = 4;
  entry->m_aNames = {"X", "Y", "Z"};
  entry->m_aKinds = {NodeKind::Artist, NodeKind::Album, NodeKind::File};
  entry->m_aPaths = {"C:\\a.mp3"};
  catalogue.Add(std::move(entry));
  const ByteList expected = Catalogue(1, {kWorkedEntry});
  EXPECT_EQ(Store(catalogue), expected);

  CCatalogue loaded;
  Load(loaded, expected);
  EXPECT_EQ(Store(loaded), expected);
  // The extension is derived, not stored; a dot in a folder's name is none.
  EXPECT_EQ(loaded.GetAt(0)->GetExtension(), "mp3");
  EXPECT_EQ(CCatalogueEntry("/Music/a.mp3/song").GetExtension(), "");
}

TEST(CatalogueTest, ABadEntryEmptiesTheCatalogueAndPassesTheErrorOn) {
  ByteList version2 = kWorkedEntry, badKind = kWorkedEntry;
  version2[0] = 0x02;
  badKind[17] = 0x08;  // the artist's kind, so the paths still match
  ByteList noPath(kWorkedEntry.begin(), kWorkedEntry.begin() + 24);
  noPath.insert(noPath.end(), {0, 0, 0, 0});
  const ByteList cases[] = {
      Catalogue(2, {kWorkedEntry, version2}),
      {0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0x01},  // counts the bytes cannot hold are refused before allocating
      {0x01, 0x01, 0, 0, 0, 0x01, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x7F},
      Catalogue(1, {badKind}),  // a kind the tree could not show
      Catalogue(1, {noPath}),   // a File element without its path
  };
  CCatalogue catalogue;
  for (const ByteList& bytes : cases) {
    catalogue.Add(std::make_unique<CCatalogueEntry>("/old"));
    EXPECT_THROW(Load(catalogue, bytes), CArchiveException) << bytes.size();
    EXPECT_EQ(catalogue.GetSize(), 0u);
  }
  noPath[23] = KindByte(NodeKind::Album);  // no File element: no path is right
  Load(catalogue, Catalogue(1, {noPath}));
  EXPECT_EQ(catalogue.GetSize(), 1u);
}

TEST(CatalogueTest, DescriptionFollowsTheTypes) {
  CResourceTypeArray types;
  types.SetDefaults();
  types.Add(std::make_unique<CUserType>("Videos", StringList{"avi"}));
  const std::pair<const char*, StringList> cases[] = {
      {"/Music/a.b/song.Mp3", {"\"Tag-less\" MP3s", "/Music/a.b/", "song"}},  // missing file: tag-less
      {"/v/clip.AVI", {"Videos", "/v/", "clip"}},
      {"/Music/a.b/song", {}},  // unclaimed: stays undescribed
  };
  for (const auto& [path, names] : cases) {
    CCatalogueEntry entry(path);
    entry.m_aNames = {"stale"};
    entry.Describe(types);
    EXPECT_EQ(entry.m_aNames, names) << path;
  }
}

}  // namespace
}  // namespace jb
