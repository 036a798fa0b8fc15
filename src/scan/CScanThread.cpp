#include "scan/CScanThread.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <vector>

#include "platform/MessageTarget.h"
#include "resources/CResourceArray.h"
#include "resources/CollectFiles.h"
#include "scan/CCatalogue.h"
#include "types/CResourceTypeArray.h"

namespace jb {

CScanThread::CScanThread(IMessageTarget& window, const CResourceArray& resources, CCatalogue& catalogue,
                         const CResourceTypeArray& types, unsigned descriptionThreads)
    : m_window(window),
      m_resources(resources),
      m_catalogue(catalogue),
      m_types(types),
      m_nThreads(std::max(1u, descriptionThreads)) {}

CScanThread::~CScanThread() { Join(); }

unsigned CScanThread::DefaultThreads() {
  // Reading tags is mostly waiting for the disk: a few more readers than
  // cores keep it busy without flooding it.
  return std::clamp(std::thread::hardware_concurrency() * 2, 2u, 8u);
}

bool CScanThread::Start(const Launcher& launcher) {
  try {
    if (launcher)
      m_thread = launcher([this] { Run(); });
    else
      m_thread = std::thread([this] { Run(); });
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}

void CScanThread::Join() {
  if (m_thread.joinable()) m_thread.join();
}

void CScanThread::Run() {
  CSkipList skip;
  const size_t resourceCount = m_resources.GetSize();
  for (size_t i = 0; i < resourceCount; ++i) m_resources.GetAt(i)->AddToSkipList(skip);

  m_catalogue.RemoveAllEntries();
  CFoundFiles found(m_catalogue);
  for (size_t i = 0; i < resourceCount; ++i) m_resources.GetAt(i)->CollectFiles(m_types, skip, found);

  if (m_catalogue.GetSize() > 0) DescribeAll();
  m_window.Post(WM_SCAN_DONE, 0, 0);
}

void CScanThread::DescribeAll() {
  const size_t count = m_catalogue.GetSize();
  long lastTick = -1;
  std::uint64_t accumulator = 0;
  // Called once per entry, in order: the tick due before entry i is
  // 120 * i / count, and each value is sent once.
  auto nextTick = [&] {
    long tick = static_cast<long>(accumulator / count);
    accumulator += 120;
    if (tick > lastTick) {
      lastTick = tick;
      m_window.Send(WM_SCAN_PROGRESS, 0, tick);
    }
  };

  constexpr size_t kChunk = 128;
  const size_t chunks = (count + kChunk - 1) / kChunk;
  if (m_nThreads <= 1 || chunks < 2) {
    for (size_t i = 0; i < count; ++i) {
      nextTick();
      m_catalogue.GetAt(i)->Describe(m_types);
    }
    return;
  }

  // Entries are described in chunks by whoever claims a chunk first:
  // helpers take chunks from a shared cursor and run ahead; this thread
  // takes the chunks in order, describing a chunk itself unless a helper
  // has it (then it waits for it), and sends the ticks of each chunk once
  // the chunk is described. The ticks and descriptions are the same as on
  // one thread; only the work is shared.
  enum : std::uint8_t { kFree, kClaimed, kDone };
  std::unique_ptr<std::atomic<std::uint8_t>[]> state(new std::atomic<std::uint8_t>[chunks]());
  std::atomic<size_t> cursor{0};
  std::mutex mutex;
  std::condition_variable chunkDone;

  auto claim = [&](size_t c) {
    std::uint8_t expected = kFree;
    return state[c].compare_exchange_strong(expected, kClaimed);
  };
  auto describe = [&](size_t c) {
    const size_t end = std::min(count, (c + 1) * kChunk);
    for (size_t i = c * kChunk; i < end; ++i) m_catalogue.GetAt(i)->Describe(m_types);
    {
      std::lock_guard<std::mutex> lock(mutex);
      state[c].store(kDone);
    }
    chunkDone.notify_all();
  };

  std::vector<std::thread> helpers;
  const size_t helperCount = std::min<size_t>(m_nThreads - 1, chunks - 1);
  for (size_t h = 0; h < helperCount; ++h) {
    try {
      helpers.emplace_back([&] {
        for (size_t c; (c = cursor.fetch_add(1)) < chunks;)
          if (claim(c)) describe(c);
      });
    } catch (const std::system_error&) {
      break;  // fewer helpers; this thread does the rest
    }
  }

  for (size_t c = 0; c < chunks; ++c) {
    if (claim(c)) {
      describe(c);
    } else {
      std::unique_lock<std::mutex> lock(mutex);
      chunkDone.wait(lock, [&] { return state[c].load() == kDone; });
    }
    const size_t end = std::min(count, (c + 1) * kChunk);
    for (size_t i = c * kChunk; i < end; ++i) nextTick();
  }
  for (std::thread& t : helpers) t.join();
}

}  // namespace jb
