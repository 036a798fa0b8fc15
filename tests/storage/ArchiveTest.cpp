#include <gtest/gtest.h>

#include "TestSupport.h"
#include "storage/CArchive.h"

namespace jb {
namespace {

using ByteList = std::vector<std::uint8_t>;

// Reads bytes with read, expecting every byte to be used.
template <class Read>
auto LoadAll(const ByteList& bytes, Read read) {
  CMemoryFile in(bytes);
  CArchive ar(in, CArchive::load);
  auto value = read(ar);
  EXPECT_EQ(ar.BytesLeft(), 0u);
  return value;
}

TEST(ArchiveTest, StringPrefixesTakeTheShortestForm) {
  const std::pair<size_t, ByteList> cases[] = {
      {0, {0x00}},
      {254, {0xFE}},
      {255, {0xFF, 0xFF, 0x00}},
      {300, {0xFF, 0x2C, 0x01}},
      {65533, {0xFF, 0xFD, 0xFF}},
      {65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
  };
  for (const auto& [length, prefix] : cases) {
    SCOPED_TRACE(length);
    std::string s(length, 'x');
    ByteList expected = prefix;
    expected.insert(expected.end(), s.begin(), s.end());
    EXPECT_EQ(StoreArchiveBytes([&](CArchive& ar) { ar.PutString(s); }), expected);
    EXPECT_EQ(LoadAll(expected, [](CArchive& ar) { return ar.GetString(); }), s);
  }
}

// Integers across the buffer's edge, then a string longer than two buffers:
// every write and refill path of a large stored file.
TEST(ArchiveTest, ValuesStraddlingTheBufferAreLittleEndianAndSurviveTheRoundTrip) {
  const size_t edge = CArchive::kBufferSize;
  std::string big(2 * edge + 77, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 131 + (i >> 11));
  auto bytes = StoreArchiveBytes([&](CArchive& ar) {
    for (size_t i = 0; i + 1 < edge; ++i) ar.PutU8(static_cast<std::uint8_t>(i));
    ar.PutU32(0x11223344);
    ar.PutU16(0xBEEF);
    ar.PutI32(-2);
    ar.PutString(big);
  });
  ASSERT_EQ(bytes.size(), edge - 1 + 10 + 7 + big.size());
  EXPECT_EQ(ByteList(bytes.begin() + static_cast<long>(edge - 1), bytes.begin() + static_cast<long>(edge + 9)),
            (ByteList{0x44, 0x33, 0x22, 0x11, 0xEF, 0xBE, 0xFE, 0xFF, 0xFF, 0xFF}));
  LoadAll(bytes, [&](CArchive& ar) {
    ByteList head;
    for (size_t i = 0; i + 1 < edge; ++i) head.push_back(ar.GetU8());
    EXPECT_TRUE(std::equal(head.begin(), head.end(), bytes.begin()));
    EXPECT_EQ(ar.GetU32(), 0x11223344u);
    EXPECT_EQ(ar.GetU16(), 0xBEEF);
    EXPECT_EQ(ar.GetI32(), -2);
    EXPECT_EQ(ar.GetString(), big);
    return 0;
  });
}

TEST(ArchiveTest, TruncatedAndHostileInputIsAFormatError) {
  ByteList huge = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};  // a 4 GiB string, refused before allocating
  huge.resize(40, 'x');
  const std::pair<ByteList, void (*)(CArchive&)> cases[] = {
      {{1, 2, 3}, [](CArchive& ar) { ar.GetU32(); }},
      {huge, [](CArchive& ar) { ar.GetString(); }},
      {{0x05, 'a', 'b'}, [](CArchive& ar) { ar.GetString(); }},
      {{0xFF, 0xFE, 0xFF, 0, 0, 0, 0}, [](CArchive& ar) { ar.GetString(); }},  // never written
      {{0x10, 0, 0, 0, 1, 2, 3}, [](CArchive& ar) { std::uint32_t n = 0; ar.SerialCount(n); }},  // more than is left
      {{0x02}, [](CArchive& ar) { ar.SerialVersion(); }},
  };
  for (const auto& [bytes, read] : cases) {
    CMemoryFile in(bytes);
    CArchive ar(in, CArchive::load);
    EXPECT_THROW(read(ar), CArchiveException) << bytes.size();
  }
}

}  // namespace
}  // namespace jb
