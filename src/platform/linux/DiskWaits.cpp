#include "platform/DiskWaits.h"

#include <algorithm>
#include <thread>

namespace jb {

namespace {
thread_local DiskWaits* t_waits = nullptr;
}

void DiskWaits::Count(bool waited) {
  const unsigned reads = m_nReads.fetch_add(1, std::memory_order_relaxed) + 1;
  if (!waited) return;
  const unsigned misses = m_nWaited.fetch_add(1, std::memory_order_relaxed) + 1;
  // Cold, nearly every read waits; warm, about one in thousands "would".
  if (misses >= 16 && misses * 32 >= reads) Note();
}

void DiskWaits::Note() {
  if (m_bSeen.exchange(true, std::memory_order_acq_rel)) return;
  std::lock_guard<std::mutex> lock(m_mutex);
  for (auto& listener : m_listeners) listener.second();
}

size_t DiskWaits::Listen(std::function<void()> wake) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_listeners.emplace_back(m_nNextId, std::move(wake));
  return m_nNextId++;
}

void DiskWaits::Remove(size_t id) {
  std::lock_guard<std::mutex> lock(m_mutex);
  std::erase_if(m_listeners, [id](const auto& listener) { return listener.first == id; });
}

unsigned DiskWaits::Cores() { return std::max(1u, std::thread::hardware_concurrency()); }

DiskWaits::Scope::Scope(DiskWaits* waits) : m_pPrevious(t_waits) { t_waits = waits; }

DiskWaits::Scope::~Scope() { t_waits = m_pPrevious; }

DiskWaits* DiskWaits::Current() { return t_waits; }

}  // namespace jb
