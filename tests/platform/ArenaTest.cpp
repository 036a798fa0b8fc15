// The arena under the catalogue's texts and the display tree's rows.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/Arena.h"
#include "platform/Memory.h"

namespace jb {
namespace {

// Parts of many sizes, small and past a large page, filled with their own
// byte: each keeps its alignment and its bytes while later parts are carved
// and the blocks grow.
void CheckPartsStayAlignedAndApart(Arena& arena) {
  struct Part {
    unsigned char* at;
    size_t size;
  };
  std::vector<Part> parts;
  const size_t sizes[] = {1, 7, 16, 100, 4096, 70000, kLargeBlockBytes + 3, 24, 0, 3 * kLargeBlockBytes};
  auto carve = [&](size_t size, size_t align) {
    auto* at = static_cast<unsigned char*>(arena.Allocate(size, align));
    ASSERT_EQ(reinterpret_cast<std::uintptr_t>(at) % align, 0u);
    std::memset(at, static_cast<int>(parts.size() & 0xFF), size);
    parts.push_back({at, size});
  };
  for (int round = 0; round < 3; ++round)
    for (size_t size : sizes) carve(size, size_t(1) << (parts.size() % 5));
  for (int i = 0; i < 20000; ++i) carve(88, 8);
  for (size_t i = 0; i < parts.size(); ++i)
    for (size_t b = 0; b < parts[i].size; ++b) ASSERT_EQ(parts[i].at[b], i & 0xFF) << "part " << i;
}

TEST(ArenaTest, PartsStayAlignedAndApartAcrossBlocks) {
  Arena small;
  CheckPartsStayAlignedAndApart(small);
  Arena bulk{Arena::Bulk{}};
  CheckPartsStayAlignedAndApart(bulk);
  // Blocks from the supply's thread and, once it falls behind, mapped by
  // the filling thread: none is handed out twice.
  Arena supplied;
  {
    SuppliedArena supply(supplied);
    CheckPartsStayAlignedAndApart(supplied);
  }
  CheckPartsStayAlignedAndApart(supplied);
}

TEST(ArenaTest, OnlyTheLastPartIsGivenBack) {
  Arena arena;
  void* first = arena.Allocate(10, 1);
  void* second = arena.Allocate(10, 1);
  arena.Release(first, 10);  // not the last: kept
  EXPECT_NE(arena.Allocate(10, 1), first);
  void* third = arena.Allocate(5, 1);
  arena.Release(third, 5);
  EXPECT_EQ(arena.Allocate(5, 1), third);
  EXPECT_NE(second, third);
}

}  // namespace
}  // namespace jb
