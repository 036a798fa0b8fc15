#include "scan/CScanThread.h"

#include <algorithm>
#include <exception>
#include <system_error>

#include "catalogue/CCatalogue.h"
#include "platform/DiskWaits.h"
#include "platform/File.h"
#include "resources/CResourceArray.h"
#include "resources/CollectFiles.h"
#include "scan/DescriptionPipeline.h"
#include "scan/ScanMessages.h"
#include "types/CResourceTypeArray.h"

namespace jb {

CScanThread::CScanThread(IMessageTarget& window, const CResourceArray& resources, CCatalogue& catalogue,
                         const CResourceTypeArray& types, unsigned threads)
    : m_window(window),
      m_resources(resources),
      m_catalogue(catalogue),
      m_types(types),
      m_nThreads(std::max(1u, threads)) {}

CScanThread::~CScanThread() { Join(); }

unsigned CScanThread::DefaultThreads() {
  // A scan is mostly waiting for the disk, and a cold SSD or virtual disk
  // answers many requests at once: requests in flight, not cores, set the
  // pace. Beyond about 16 a cold scan gains nothing measurable.
  return 16;
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
  try {
    Scan();
  } catch (const std::exception& e) {
    m_strError = e.what();
  } catch (...) {
    m_strError = "unknown error";
  }
  m_window.Post(WM_SCAN_DONE, 0, 0);
}

void CScanThread::Scan() {
  CSkipList skip;
  const size_t resourceCount = m_resources.GetSize();
  for (size_t i = 0; i < resourceCount; ++i) m_resources.GetAt(i)->AddToSkipList(skip);

  m_catalogue.RemoveAllEntries();
  // With helpers, entries are described while the walk goes on; the ticks
  // still follow the description pass, entry by entry, in catalogue order.
  // Threads beyond the cores wait until the disk is waited for.
  DiskWaits waits;
  std::unique_ptr<DescriptionPipeline> pipeline;
  if (m_nThreads > 1) pipeline = std::make_unique<DescriptionPipeline>(m_types, m_catalogue, m_nThreads - 1, &waits);
  CFoundFiles found(m_catalogue,
                    pipeline ? [&](CCatalogueEntry* e, const std::shared_ptr<const CDirectory>& dir) { pipeline->Add(e, dir); }
                             : CFoundFiles::AppendListener{});
  found.SetListingHelpers(m_nThreads > 1 ? m_nThreads : 0, &waits);
  for (size_t i = 0; i < resourceCount; ++i) m_resources.GetAt(i)->CollectFiles(m_types, skip, found);

  const size_t count = m_catalogue.GetSize();
  long lastTick = -1;
  std::uint64_t accumulator = 0;
  // Once per entry, in order: the tick due before entry i is 120 * i / count,
  // and each value is sent once.
  auto nextTick = [&] {
    long tick = static_cast<long>(accumulator / count);
    accumulator += 120;
    if (tick > lastTick) {
      lastTick = tick;
      m_window.Send(WM_SCAN_PROGRESS, 0, tick);
    }
  };
  if (pipeline) {
    pipeline->Drain([&](size_t described) {
      for (size_t i = 0; i < described; ++i) nextTick();
    });
  } else {
    ScopedDirectoryCache directories;
    TextStore& store = m_catalogue.AddTextStore();
    for (size_t i = 0; i < count; ++i) {
      nextTick();
      m_catalogue.GetAt(i)->Describe(m_types, store);
    }
  }
}

}  // namespace jb
