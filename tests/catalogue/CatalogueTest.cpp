#include <gtest/gtest.h>

#include "TestSupport.h"
#include "catalogue/CCatalogue.h"
#include "storage/CArchive.h"
#include "types/BuiltinTypes.h"
#include "types/CResourceTypeArray.h"

namespace jb {
namespace {

std::vector<std::uint8_t> Store(CCatalogue& catalogue) {
  return StoreArchiveBytes([&](CArchive& ar) { catalogue.SerializeCatalogue(ar); });
}

void Load(CCatalogue& catalogue, std::vector<std::uint8_t> bytes) {
  test::LoadBytes(std::move(bytes), [&](CArchive& ar) { catalogue.SerializeCatalogue(ar); });
}

const std::vector<std::uint8_t> kWorkedEntry = {
    0x01, 0x08, 'C',  ':', '\\', 'a',  '.',  'm',  'p',  '3',  0x04, 0x03, 0x00, 0x00, 0x00, 0x01, 'X', 0x02, 0x01,
    'Y',  0x03, 0x01, 'Z', 0x06, 0x01, 0x00, 0x00, 0x00, 0x08, 'C',  ':',  '\\', 'a',  '.',  'm',  'p', '3'};

TEST(CatalogueTest, EntryIsStoredAsItsWorkedBytes) {
  CCatalogue catalogue;
  auto entry = std::make_unique<CCatalogueEntry>("C:\\a.mp3");
  entry->m_nIcon = 4;
  entry->m_aNames = {"X", "Y", "Z"};
  entry->m_aKinds = {NodeKind::Artist, NodeKind::Album, NodeKind::File};
  entry->m_aPaths = {"C:\\a.mp3"};
  catalogue.Add(std::move(entry));

  std::vector<std::uint8_t> expected = {0x01, 0x01, 0x00, 0x00, 0x00};
  expected.insert(expected.end(), kWorkedEntry.begin(), kWorkedEntry.end());
  EXPECT_EQ(Store(catalogue), expected);

  CCatalogue loaded;
  Load(loaded, expected);
  ASSERT_EQ(loaded.GetSize(), 1u);
  const CCatalogueEntry& e = *loaded.GetAt(0);
  EXPECT_EQ(e.GetPath(), "C:\\a.mp3");
  EXPECT_EQ(e.GetExtension(), "mp3");  // derived, not stored
  EXPECT_EQ(e.m_nIcon, 4);
  EXPECT_EQ(e.m_aNames, (StringList{"X", "Y", "Z"}));
  EXPECT_EQ(e.m_aKinds, (KindList{NodeKind::Artist, NodeKind::Album, NodeKind::File}));
  EXPECT_EQ(e.m_aPaths, StringList{"C:\\a.mp3"});

  CCatalogue empty;
  EXPECT_EQ(Store(empty), (std::vector<std::uint8_t>{0x01, 0, 0, 0, 0}));
}

TEST(CatalogueTest, ABadEntryEmptiesTheCatalogueAndPassesTheErrorOn) {
  std::vector<std::uint8_t> bytes = {0x01, 0x02, 0x00, 0x00, 0x00};
  bytes.insert(bytes.end(), kWorkedEntry.begin(), kWorkedEntry.end());
  std::vector<std::uint8_t> second = kWorkedEntry;
  second[0] = 0x02;  // entry version 2
  bytes.insert(bytes.end(), second.begin(), second.end());

  CCatalogue catalogue;
  catalogue.Add(std::make_unique<CCatalogueEntry>("/old"));
  EXPECT_THROW(Load(catalogue, bytes), CArchiveException);
  EXPECT_EQ(catalogue.GetSize(), 0u);

  // Counts that the bytes cannot hold are refused before any allocation.
  EXPECT_THROW(Load(catalogue, {0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0x01}), CArchiveException);
  std::vector<std::uint8_t> hugeNames = {0x01, 0x01, 0, 0, 0, 0x01, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x7F};
  EXPECT_THROW(Load(catalogue, hugeNames), CArchiveException);
  EXPECT_EQ(catalogue.GetSize(), 0u);

  // Elements the tree could not show: an unknown kind, paths that do not
  // match the File elements.
  std::vector<std::uint8_t> badKind = {0x01, 0x01, 0, 0, 0};
  badKind.insert(badKind.end(), kWorkedEntry.begin(), kWorkedEntry.end());
  badKind[5 + 23] = 0x08;
  EXPECT_THROW(Load(catalogue, badKind), CArchiveException);
  std::vector<std::uint8_t> noPath = {0x01, 0x01, 0, 0, 0};
  noPath.insert(noPath.end(), kWorkedEntry.begin(), kWorkedEntry.begin() + 24);
  noPath.insert(noPath.end(), {0, 0, 0, 0});
  EXPECT_THROW(Load(catalogue, noPath), CArchiveException);
  noPath[5 + 23] = KindByte(NodeKind::Album);  // no File element: no path is right
  Load(catalogue, noPath);
  EXPECT_EQ(catalogue.GetSize(), 1u);
}

TEST(CatalogueTest, ExtensionAndDescriptionFollowTheTypes) {
  CResourceTypeArray types;
  types.SetDefaults();
  CCatalogueEntry song("/Music/a.b/song.Mp3");
  EXPECT_EQ(song.GetExtension(), "Mp3");
  CCatalogueEntry noExt("/Music/a.b/song");
  EXPECT_EQ(noExt.GetExtension(), "b/song");

  // Unclaimed extension: the entry stays undescribed.
  noExt.m_aNames = {"stale"};
  noExt.Describe(types);
  EXPECT_TRUE(noExt.m_aNames.empty() && noExt.m_aKinds.empty() && noExt.m_aPaths.empty());

  song.Describe(types);  // missing file: tag-less
  EXPECT_EQ(song.m_aNames, (StringList{"\"Tag-less\" MP3s", "/Music/a.b/", "song"}));

  types.Add(std::make_unique<CUserType>("Videos", StringList{"avi"}));
  CCatalogueEntry clip("/v/clip.AVI");
  clip.Describe(types);
  EXPECT_EQ(clip.m_aNames, (StringList{"Videos", "/v/", "clip"}));
}

}  // namespace
}  // namespace jb
