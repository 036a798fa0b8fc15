#include <gtest/gtest.h>

#include "TestSupport.h"
#include "storage/CArchive.h"

namespace jb {
namespace {

using test::Bytes;

std::vector<std::uint8_t> Prefix(const std::vector<std::uint8_t>& bytes, size_t n) {
  return {bytes.begin(), bytes.begin() + static_cast<long>(std::min(n, bytes.size()))};
}

TEST(ArchiveTest, StringPrefixesTakeTheShortestForm) {
  struct Case {
    size_t length;
    std::vector<std::uint8_t> prefix;
  } cases[] = {
      {0, {0x00}},
      {254, {0xFE}},
      {255, {0xFF, 0xFF, 0x00}},
      {300, {0xFF, 0x2C, 0x01}},
      {65533, {0xFF, 0xFD, 0xFF}},
      {65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
  };
  for (const Case& c : cases) {
    std::string s(c.length, 'x');
    auto bytes = StoreArchiveBytes([&](CArchive& ar) { ar.PutString(s); });
    ASSERT_EQ(bytes.size(), c.prefix.size() + c.length) << c.length;
    EXPECT_EQ(Prefix(bytes, c.prefix.size()), c.prefix) << c.length;

    CMemoryFile in(bytes);
    CArchive ar(in, CArchive::load);
    EXPECT_EQ(ar.GetString(), s) << c.length;
    EXPECT_EQ(ar.BytesLeft(), 0u);
  }
}

TEST(ArchiveTest, IntegersAreLittleEndianAcrossBufferBoundaries) {
  // 4095 filler bytes put the u32 across the 4096-byte buffer edge.
  auto bytes = StoreArchiveBytes([](CArchive& ar) {
    for (int i = 0; i < 4095; ++i) ar.PutU8(0xAA);
    ar.PutU32(0x11223344);
    ar.PutU16(0xBEEF);
    ar.PutI32(-2);
  });
  ASSERT_EQ(bytes.size(), 4095u + 10);
  EXPECT_EQ(Prefix({bytes.begin() + 4095, bytes.end()}, 10),
            (std::vector<std::uint8_t>{0x44, 0x33, 0x22, 0x11, 0xEF, 0xBE, 0xFE, 0xFF, 0xFF, 0xFF}));

  CMemoryFile in(bytes);
  CArchive ar(in, CArchive::load);
  for (int i = 0; i < 4095; ++i) ASSERT_EQ(ar.GetU8(), 0xAA);
  EXPECT_EQ(ar.GetU32(), 0x11223344u);
  EXPECT_EQ(ar.GetU16(), 0xBEEF);
  EXPECT_EQ(ar.GetI32(), -2);
}

TEST(ArchiveTest, EmptyObjectListAndHeaderThatMustMatchExactly) {
  auto bytes = StoreArchiveBytes([](CArchive& ar) {
    ar.PutHeader(FileKind::Environment);
    ar.SerialVersion();
    std::uint32_t n = 0;
    ar.SerialCount(n);
  });
  EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0x02, 0x61, 0x66, 0x42, 0x01, 0x01, 0, 0, 0, 0}));
  for (auto [header, matches] : {std::pair{std::vector<std::uint8_t>{0x00, 0x61, 0x66, 0x42, 0x01}, true},
                                 {{0x02, 0x61, 0x66, 0x42, 0x01}, false},
                                 {{0x00, 0x61, 0x66, 0x42, 0x02}, false},
                                 {{0x00, 0x61, 0x66, 0x43, 0x01}, false},
                                 {{0x00, 0x61, 0x66, 0x42}, false}}) {
    CMemoryFile in(header);
    CArchive ar(in, CArchive::load);
    EXPECT_EQ(ar.CheckHeader(FileKind::Config), matches) << int(header.back());
  }
}

TEST(ArchiveTest, TruncatedAndHostileInputIsAFormatError) {
  auto readU32 = [](std::vector<std::uint8_t> b) {
    CMemoryFile in(b);
    CArchive ar(in, CArchive::load);
    return ar.GetU32();
  };
  EXPECT_THROW(readU32({1, 2, 3}), CArchiveException);

  auto readString = [](std::vector<std::uint8_t> b) {
    CMemoryFile in(b);
    CArchive ar(in, CArchive::load);
    return ar.GetString();
  };
  // A 4 GiB length in a tiny file is refused before anything is allocated.
  std::vector<std::uint8_t> huge = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  huge.resize(40, 'x');
  EXPECT_THROW(readString(huge), CArchiveException);
  EXPECT_THROW(readString({0x05, 'a', 'b'}), CArchiveException);
  EXPECT_THROW(readString({0xFF, 0xFE, 0xFF, 0, 0, 0, 0}), CArchiveException);  // never written

  // Counts larger than the bytes left, and wrong versions.
  CMemoryFile counts(std::vector<std::uint8_t>{0x10, 0, 0, 0, 1, 2, 3});
  CArchive ar(counts, CArchive::load);
  std::uint32_t n = 0;
  EXPECT_THROW(ar.SerialCount(n), CArchiveException);

  CMemoryFile version(std::vector<std::uint8_t>{0x02});
  CArchive av(version, CArchive::load);
  EXPECT_THROW(av.SerialVersion(), CArchiveException);
}

}  // namespace
}  // namespace jb
