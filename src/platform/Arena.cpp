#include "platform/Arena.h"

#include <algorithm>
#include <cstdint>
#include <new>

#include "platform/Memory.h"

namespace jb {
namespace {
bool IsLarge(size_t size) { return size >= kLargeBlockBytes; }
}  // namespace

Arena::Arena(Bulk) : m_nFirstBlock(kLargeBlockBytes) {}

void* Arena::AllocateInNewBlock(size_t count, size_t align) {
  // A part larger than the next block gets a block of its own size.
  m_nNextBlock = m_nNextBlock ? std::min(2 * m_nNextBlock, kLargeBlockBytes) : m_nFirstBlock;
  size_t size = std::max(m_nNextBlock, count + align);
  if (IsLarge(size)) size = (size + kLargeBlockBytes - 1) / kLargeBlockBytes * kLargeBlockBytes;
  m_blocks.reserve(m_blocks.size() + 1);
  void* memory = !IsLarge(size)                             ? ::operator new(size)
                 : m_pSupply && size == kLargeBlockBytes ? m_pSupply->Take()
                                                         : AllocateLargeBlock(size);
  m_blocks.push_back({memory, size});
  const auto at = reinterpret_cast<std::uintptr_t>(memory);
  const std::uintptr_t aligned = (at + align - 1) & ~(std::uintptr_t(align) - 1);
  m_pNext = reinterpret_cast<char*>(aligned + count);
  m_pEnd = static_cast<char*>(memory) + size;
  return reinterpret_cast<void*>(aligned);
}

void Arena::Release(const void* at, size_t count) {
  if (static_cast<const char*>(at) + count == m_pNext) m_pNext = const_cast<char*>(static_cast<const char*>(at));
}

void Arena::Clear() {
  for (const Block& block : m_blocks) {
    if (IsLarge(block.size)) {
      FreeLargeBlock(block.memory, block.size);
    } else {
      ::operator delete(block.memory);
    }
  }
  m_blocks.clear();
  m_pNext = m_pEnd = nullptr;
  m_nNextBlock = 0;
}

}  // namespace jb
