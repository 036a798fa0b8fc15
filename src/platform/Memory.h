#pragma once
// The process's memory as the system sees it.

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>

namespace jb {

// Hands memory the program has freed back to the system. The allocator
// keeps freed blocks for reuse, so after a large structure is replaced (a
// scan's catalogue and tree) the process would otherwise stay at its peak.
void ReleaseFreeMemory();

// For a program that stays up and scans again and again; call it first
// thing, before any thread starts. Every thread then allocates from two
// shared pools: with a pool of its own each, the threads of each scan leave
// freed memory behind that no later scan reuses, and the window grows a
// little with every scan.
void ShareAllocatorPools();

// The size of the blocks AllocateLargeBlock hands out: one large page.
inline constexpr size_t kLargeBlockBytes = size_t(2) << 20;

// Memory for the bulk of a large structure: bytes (a multiple of
// kLargeBlockBytes) straight from the system, on large pages where it has
// them, so that filling a few hundred megabytes costs a few hundred page
// faults instead of a hundred thousand. Throws std::bad_alloc.
void* AllocateLargeBlock(size_t bytes);
// Gives back a block of that many bytes from AllocateLargeBlock.
void FreeLargeBlock(void* block, size_t bytes);

// Large blocks made ready ahead of need on a thread of its own, while one
// thread fills a structure of hundreds of megabytes (a million-entry load,
// a tree built from it): the system clears each fresh page on first touch,
// and on a virtual machine that can cost as much as the filling itself. The
// filling thread takes blocks already in place; when none is ready it maps
// one itself. A few blocks ahead at most, so the peak grows by little.
class LargeBlockSupply {
 public:
  explicit LargeBlockSupply(size_t ahead = 4);
  // Stops the thread and frees the blocks nobody took.
  ~LargeBlockSupply();
  LargeBlockSupply(const LargeBlockSupply&) = delete;
  LargeBlockSupply& operator=(const LargeBlockSupply&) = delete;

  // A block of kLargeBlockBytes, to be freed with FreeLargeBlock. Throws
  // std::bad_alloc.
  void* Take();

 private:
  struct State;
  std::unique_ptr<State> m_pState;
};

// A fixed number of zeroed values of a trivial type, for a large table that
// is read at random (a hash table of a million slots): once it fills a large
// block it lives in large blocks, where a random look-up misses the address
// cache far less often.
template <class T>
class ZeroedArray {
  static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

 public:
  ZeroedArray() = default;
  explicit ZeroedArray(size_t count) : m_count(count) {
    const size_t bytes = count * sizeof(T);
    if (bytes >= kLargeBlockBytes) {
      m_nBlockBytes = (bytes + kLargeBlockBytes - 1) / kLargeBlockBytes * kLargeBlockBytes;
      m_pData = static_cast<T*>(AllocateLargeBlock(m_nBlockBytes));  // the system's pages come zeroed
    } else if (count) {
      m_pData = static_cast<T*>(std::calloc(count, sizeof(T)));
      if (!m_pData) throw std::bad_alloc();
    }
  }
  ~ZeroedArray() { Free(); }
  ZeroedArray(ZeroedArray&& other) noexcept { Swap(other); }
  ZeroedArray& operator=(ZeroedArray&& other) noexcept {
    ZeroedArray gone(std::move(other));
    Swap(gone);
    return *this;
  }

  size_t size() const { return m_count; }
  bool empty() const { return m_count == 0; }
  T& operator[](size_t i) { return m_pData[i]; }
  const T& operator[](size_t i) const { return m_pData[i]; }
  T* begin() { return m_pData; }
  T* end() { return m_pData + m_count; }

 private:
  void Swap(ZeroedArray& other) noexcept {
    std::swap(m_pData, other.m_pData);
    std::swap(m_count, other.m_count);
    std::swap(m_nBlockBytes, other.m_nBlockBytes);
  }
  void Free() {
    if (m_nBlockBytes) {
      FreeLargeBlock(m_pData, m_nBlockBytes);
    } else {
      std::free(m_pData);
    }
  }

  T* m_pData = nullptr;
  size_t m_count = 0;
  size_t m_nBlockBytes = 0;  // 0 when the values came from the heap
};

}  // namespace jb
