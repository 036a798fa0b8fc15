#pragma once
// Whether a scan's reads have had to wait for the disk. While every page
// comes from the cache, threads beyond the cores only take turns; once a
// read finds its page missing, many requests in flight pay off. Pools start
// about one thread per core and wake the rest when the first wait is seen.
//
// On a thread that holds a Scope, ReadFileTail asks for cached pages first
// (RWF_NOWAIT) until a wait is seen.

#include <atomic>
#include <functional>
#include <mutex>
#include <vector>

namespace jb {

class DiskWaits {
 public:
  bool Seen() const { return m_bSeen.load(std::memory_order_acquire); }
  // One read asked the cache first; waited: its page was not there. A
  // cached page now and then answers "would wait" too (locked, or marked
  // for read-ahead), so the disk counts as waited for once a few reads and
  // a share of them did; that wakes the listeners, on the calling thread.
  void Count(bool waited);
  // The disk counts as waited for from now on.
  void Note();

  // Calls wake at the first wait while it is registered; an id for Remove.
  size_t Listen(std::function<void()> wake);
  void Remove(size_t id);

  // Threads a pool keeps busy while no wait is seen.
  static unsigned Cores();

  class Scope {
   public:
    explicit Scope(DiskWaits* waits);
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    DiskWaits* m_pPrevious;
  };
  // The current thread's, or null.
  static DiskWaits* Current();

 private:
  std::atomic<bool> m_bSeen{false};
  std::atomic<unsigned> m_nReads{0};
  std::atomic<unsigned> m_nWaited{0};
  std::mutex m_mutex;
  std::vector<std::pair<size_t, std::function<void()>>> m_listeners;  // guarded
  size_t m_nNextId = 0;                                               // guarded
};

}  // namespace jb
