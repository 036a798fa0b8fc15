#pragma once
// Memory for a structure of a million small parts (a loaded catalogue's
// entries and texts, a display tree's rows): the parts are carved one after
// another out of large blocks, instead of one allocation each, and the
// blocks all go together with the arena. A small arena stays small: its
// first blocks are a few kilobytes and grow to large pages as it fills. A
// bulk arena, for what is known to grow large, starts with large pages.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/Memory.h"

namespace jb {

class Arena {
 public:
  Arena() = default;
  struct Bulk {};
  explicit Arena(Bulk);
  ~Arena() { Clear(); }
  Arena(const Arena&) = delete;
  Arena& operator=(const Arena&) = delete;

  // count bytes aligned to align (a power of two); throws std::bad_alloc.
  // A load makes ten million of them: the common case is inline.
  void* Allocate(size_t count, size_t align) {
    const auto end = reinterpret_cast<std::uintptr_t>(m_pEnd);
    const std::uintptr_t aligned =
        (reinterpret_cast<std::uintptr_t>(m_pNext) + align - 1) & ~(std::uintptr_t(align) - 1);
    if (!m_pNext || aligned > end || count > end - aligned) return AllocateInNewBlock(count, align);
    m_pNext = reinterpret_cast<char*>(aligned + count);
    return reinterpret_cast<void*>(aligned);
  }
  // Gives back the last allocation, of count bytes at at; anything else is
  // kept until the arena goes.
  void Release(const void* at, size_t count);
  // Frees every block: whatever was carved from them must be gone.
  void Clear();
  // While set, large blocks of the standard size come from supply, which
  // must outlive the setting.
  void SetSupply(LargeBlockSupply* supply) { m_pSupply = supply; }

 private:
  void* AllocateInNewBlock(size_t count, size_t align);

  struct Block {
    void* memory;
    size_t size;
  };

  std::vector<Block> m_blocks;
  char* m_pNext = nullptr;
  char* m_pEnd = nullptr;
  LargeBlockSupply* m_pSupply = nullptr;
  size_t m_nFirstBlock = size_t(16) << 10;
  size_t m_nNextBlock = 0;  // size of the next block, doubling up to a large page
};

// While it lives, the arena's large blocks come ready from a thread of their
// own: for a fill of tens of thousands of parts or more (kSuppliedParts),
// where clearing fresh pages would otherwise be the filling thread's work.
class SuppliedArena {
 public:
  static constexpr size_t kSuppliedParts = size_t(1) << 15;

  explicit SuppliedArena(Arena& arena) : m_arena(arena) { m_arena.SetSupply(&m_supply); }
  ~SuppliedArena() { m_arena.SetSupply(nullptr); }
  SuppliedArena(const SuppliedArena&) = delete;
  SuppliedArena& operator=(const SuppliedArena&) = delete;

 private:
  Arena& m_arena;
  LargeBlockSupply m_supply;
};

}  // namespace jb
