#pragma once
// Memory for a structure of a million small parts (a loaded catalogue's
// entries and texts, a display tree's rows): the parts are carved one after
// another out of large blocks, instead of one allocation each, and the
// blocks all go together with the arena. A small arena stays small: its
// first blocks are a few kilobytes and grow to large pages as it fills. A
// bulk arena, for what is known to grow large, starts with large pages.

#include <cstddef>

#include "platform/Memory.h"
#include <vector>

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
  void* Allocate(size_t count, size_t align);
  // Gives back the last allocation, of count bytes at at; anything else is
  // kept until the arena goes.
  void Release(const void* at, size_t count);
  // Frees every block: whatever was carved from them must be gone.
  void Clear();

 private:
  struct Block {
    void* memory;
    size_t size;
  };

  std::vector<Block> m_blocks;
  char* m_pNext = nullptr;
  char* m_pEnd = nullptr;
  size_t m_nFirstBlock = size_t(16) << 10;
  size_t m_nNextBlock = 0;  // size of the next block, doubling up to a large page
};

}  // namespace jb
