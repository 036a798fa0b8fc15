#pragma once
// The process's memory as the system sees it.

#include <cstddef>

namespace jb {

// Hands memory the program has freed back to the system. The allocator
// keeps freed blocks for reuse, so after a large structure is replaced (a
// scan's catalogue and tree) the process would otherwise stay at its peak.
void ReleaseFreeMemory();

// The size of the blocks AllocateLargeBlock hands out: one large page.
inline constexpr size_t kLargeBlockBytes = size_t(2) << 20;

// Memory for the bulk of a large structure: bytes (a multiple of
// kLargeBlockBytes) straight from the system, on large pages where it has
// them, so that filling a few hundred megabytes costs a few hundred page
// faults instead of a hundred thousand. Throws std::bad_alloc.
void* AllocateLargeBlock(size_t bytes);
// Gives back a block of that many bytes from AllocateLargeBlock.
void FreeLargeBlock(void* block, size_t bytes);

}  // namespace jb
