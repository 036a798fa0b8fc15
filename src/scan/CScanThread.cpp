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

  DescribeAll();
  m_window.Post(WM_SCAN_DONE, 0, 0);
}

void CScanThread::DescribeAll() {
  const size_t count = m_catalogue.GetSize();
  if (count == 0) return;

  // Each entry is described by whoever claims it first: the helpers take
  // entries from a shared cursor, running ahead; this thread walks the
  // entries in order, sends the tick due before each one, and describes it
  // itself unless a helper has it, in which case it waits for that helper.
  enum : std::uint8_t { kFree, kClaimed, kDone };
  std::unique_ptr<std::atomic<std::uint8_t>[]> state(new std::atomic<std::uint8_t>[count]());
  std::atomic<size_t> cursor{0};
  std::atomic<bool> stop{false};
  std::mutex mutex;
  std::condition_variable doneChanged;

  auto describe = [&](size_t i) {
    m_catalogue.GetAt(i)->Describe(m_types);
    {
      std::lock_guard<std::mutex> lock(mutex);
      state[i].store(kDone);
    }
    doneChanged.notify_all();
  };
  auto claim = [&](size_t i) {
    std::uint8_t expected = kFree;
    return state[i].compare_exchange_strong(expected, kClaimed);
  };

  std::vector<std::thread> helpers;
  const unsigned helperCount = static_cast<unsigned>(std::min<size_t>(m_nThreads - 1, count - 1));
  for (unsigned h = 0; h < helperCount; ++h) {
    try {
      helpers.emplace_back([&] {
        for (size_t i; !stop.load() && (i = cursor.fetch_add(1)) < count;)
          if (claim(i)) describe(i);
      });
    } catch (const std::system_error&) {
      break;  // fewer helpers; this thread does the rest
    }
  }

  long lastTick = -1;
  std::uint64_t accumulator = 0;
  for (size_t i = 0; i < count; ++i) {
    long tick = static_cast<long>(accumulator / count);
    if (tick > lastTick) {
      lastTick = tick;
      m_window.Send(WM_SCAN_PROGRESS, 0, tick);
    }
    if (claim(i)) {
      describe(i);
    } else {
      std::unique_lock<std::mutex> lock(mutex);
      doneChanged.wait(lock, [&] { return state[i].load() == kDone; });
    }
    accumulator += 120;
  }
  stop.store(true);
  for (std::thread& t : helpers) t.join();
}

}  // namespace jb
