#include "scan/DescriptionPipeline.h"

#include <algorithm>
#include <system_error>

#include "catalogue/CCatalogue.h"
#include "platform/DiskWaits.h"
#include "platform/File.h"
#include "platform/Paths.h"

namespace jb {

DescriptionPipeline::DescriptionPipeline(const CResourceTypeArray& types, CCatalogue& catalogue, unsigned helpers,
                                         DiskWaits* waits)
    : m_types(types), m_drainStore(catalogue.AddTextStore()), m_pWaits(waits), m_pFilling(std::make_unique<Batch>()) {
  // One helper per core while reads come from the cache: the walk and the
  // collecting thread mostly wait on the helpers, so they need no core of
  // their own (one fewer left a core idle).
  const unsigned active = waits ? DiskWaits::Cores() : helpers;
  if (waits) {
    m_nListener = waits->Listen([this] {
      { std::lock_guard<std::mutex> lock(m_mutex); }
      m_unparked.notify_all();
    });
  }
  for (unsigned h = 0; h < helpers; ++h) {
    try {
      TextStore& store = catalogue.AddTextStore();
      const bool parked = h >= active;
      m_helpers.emplace_back([this, &store, parked] { Help(store, parked); });
    } catch (const std::system_error&) {
      break;  // fewer helpers; the drain does the rest
    }
  }
}

DescriptionPipeline::~DescriptionPipeline() {
  if (m_pWaits) m_pWaits->Remove(m_nListener);
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bClosed = true;
  }
  m_published.notify_all();
  m_unparked.notify_all();
  for (std::thread& t : m_helpers) t.join();
}

void DescriptionPipeline::Add(CCatalogueEntry* entry, std::shared_ptr<const CDirectory> dir) {
  m_pFilling->dirs[m_pFilling->size] = std::move(dir);
  m_pFilling->entries[m_pFilling->size++] = entry;
  if (m_pFilling->size == kBatch) Publish();
}

void DescriptionPipeline::Publish() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_batches.push_back(std::move(m_pFilling));
  }
  m_published.notify_one();
  m_pFilling = std::make_unique<Batch>();
}

bool DescriptionPipeline::Claim(Batch& batch) {
  std::uint8_t expected = kFree;
  return batch.state.compare_exchange_strong(expected, kClaimed);
}

void DescriptionPipeline::Describe(Batch& batch, TextStore& store) {
  const CDirectory* current = nullptr;
  for (size_t i = 0; i < batch.size; ++i) {
    CCatalogueEntry& entry = *batch.entries[i];
    if (batch.dirs[i] && batch.dirs[i].get() != current) {
      current = batch.dirs[i].get();
      ScopedDirectoryCache::Use(std::move(batch.dirs[i]), DirectoryPart(entry.GetPath()));
    }
    batch.dirs[i].reset();
    entry.Describe(m_types, store);
  }
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    batch.state.store(kDone);
  }
  m_done.notify_all();
}

void DescriptionPipeline::Help(TextStore& store, bool parked) {
  ScopedDirectoryCache directories;
  DiskWaits::Scope waits(m_pWaits);
  if (parked) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_unparked.wait(lock, [this] { return m_bClosed || m_pWaits->Seen(); });
    if (!m_pWaits->Seen()) return;
  }
  for (;;) {
    Batch* batch = nullptr;
    {
      std::unique_lock<std::mutex> lock(m_mutex);
      m_published.wait(lock, [this] { return m_nextForHelpers < m_batches.size() || m_bClosed; });
      if (m_nextForHelpers >= m_batches.size()) return;
      batch = m_batches[m_nextForHelpers++].get();
    }
    if (Claim(*batch)) Describe(*batch, store);
  }
}

void DescriptionPipeline::Drain(const std::function<void(size_t)>& described) {
  if (m_pFilling->size > 0) Publish();
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bClosed = true;  // nothing more comes: idle helpers may go
  }
  m_published.notify_all();
  m_unparked.notify_all();
  ScopedDirectoryCache directories;
  DiskWaits::Scope waits(m_pWaits);
  // No batch is added from here on.
  for (size_t b = 0; b < m_batches.size(); ++b) {
    Batch* batch;
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      batch = m_batches[b].get();
    }
    if (Claim(*batch)) {
      Describe(*batch, m_drainStore);
    } else {
      std::unique_lock<std::mutex> lock(m_mutex);
      m_done.wait(lock, [batch] { return batch->state.load() == kDone; });
    }
    described(batch->size);
  }
}

}  // namespace jb
