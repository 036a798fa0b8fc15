#include "platform/Memory.h"

#include <malloc.h>
#include <sys/mman.h>

#include <cstdint>
#include <new>

namespace jb {

void ReleaseFreeMemory() { malloc_trim(0); }

void* AllocateLargeBlock(size_t bytes) {
  // Mapped with a block's worth to spare and trimmed to a boundary: a large
  // page must be aligned to its size.
  const size_t mapped = bytes + kLargeBlockBytes;
  void* memory = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (memory == MAP_FAILED) throw std::bad_alloc();
  const auto start = reinterpret_cast<std::uintptr_t>(memory);
  const std::uintptr_t aligned = (start + kLargeBlockBytes - 1) & ~std::uintptr_t(kLargeBlockBytes - 1);
  if (aligned > start) ::munmap(memory, aligned - start);
  if (const size_t tail = start + mapped - (aligned + bytes)) ::munmap(reinterpret_cast<void*>(aligned + bytes), tail);
  // Only a hint: without large pages the block works the same.
  ::madvise(reinterpret_cast<void*>(aligned), bytes, MADV_HUGEPAGE);
  return reinterpret_cast<void*>(aligned);
}

void FreeLargeBlock(void* block, size_t bytes) {
  if (block) ::munmap(block, bytes);
}

}  // namespace jb
