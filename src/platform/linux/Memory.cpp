#include "platform/Memory.h"

#include <malloc.h>
#include <sys/mman.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>

namespace jb {

void ReleaseFreeMemory() { malloc_trim(0); }

void ShareAllocatorPools() { mallopt(M_ARENA_MAX, 2); }

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

namespace {

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif

// Puts every page of the block in place, writable: one request on a recent
// kernel, a touch per page on an older one.
void Populate(void* block, size_t bytes) {
  if (::madvise(block, bytes, MADV_POPULATE_WRITE) == 0) return;
  auto* page = static_cast<volatile char*>(block);
  for (size_t at = 0; at < bytes; at += 4096) page[at] = 0;
}

}  // namespace

struct LargeBlockSupply::State {
  std::mutex mutex;
  std::condition_variable taken;
  std::deque<void*> ready;  // guarded
  bool stop = false;        // guarded
  size_t ahead;
  std::thread thread;

  void Run() {
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
      taken.wait(lock, [this] { return stop || ready.size() < ahead; });
      if (stop) return;
      lock.unlock();
      void* block = nullptr;
      try {
        block = AllocateLargeBlock(kLargeBlockBytes);
        Populate(block, kLargeBlockBytes);
      } catch (const std::bad_alloc&) {
        // Out of memory: the filling thread maps its own blocks and meets
        // the failure itself.
      }
      lock.lock();
      if (!block) return;
      ready.push_back(block);
    }
  }
};

LargeBlockSupply::LargeBlockSupply(size_t ahead) : m_pState(std::make_unique<State>()) {
  m_pState->ahead = ahead;
  try {
    m_pState->thread = std::thread([state = m_pState.get()] { state->Run(); });
  } catch (const std::system_error&) {
    // No thread: every block is mapped when it is taken.
  }
}

LargeBlockSupply::~LargeBlockSupply() {
  {
    std::lock_guard<std::mutex> lock(m_pState->mutex);
    m_pState->stop = true;
  }
  m_pState->taken.notify_one();
  if (m_pState->thread.joinable()) m_pState->thread.join();
  for (void* block : m_pState->ready) FreeLargeBlock(block, kLargeBlockBytes);
}

void* LargeBlockSupply::Take() {
  {
    std::lock_guard<std::mutex> lock(m_pState->mutex);
    if (!m_pState->ready.empty()) {
      void* block = m_pState->ready.front();
      m_pState->ready.pop_front();
      m_pState->taken.notify_one();
      return block;
    }
  }
  return AllocateLargeBlock(kLargeBlockBytes);
}

}  // namespace jb
