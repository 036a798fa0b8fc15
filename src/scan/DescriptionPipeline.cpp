#include "scan/DescriptionPipeline.h"

#include <algorithm>
#include <system_error>

#include "catalogue/CCatalogue.h"
#include "platform/DiskWaits.h"
#include "platform/File.h"
#include "platform/Paths.h"
#include "types/CResourceTypeArray.h"

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

void DescriptionPipeline::Describe(Batch& batch, TextStore& store, Worker& w) {
  // Run by run of entries in one directory: the files whose type reads only
  // their end have those bytes read together, relative to the directory.
  for (size_t first = 0; first < batch.size;) {
    const std::string_view directory = DirectoryPart(batch.entries[first]->GetPath());
    size_t end = first + 1;
    while (end < batch.size && DirectoryPart(batch.entries[end]->GetPath()) == directory) ++end;
    if (batch.dirs[first]) ScopedDirectoryCache::Use(std::move(batch.dirs[first]), directory);
    w.tails.clear();
    w.names.clear();
    for (size_t i = first; i < end; ++i) {
      batch.dirs[i].reset();
      CCatalogueEntry& entry = *batch.entries[i];
      const CResourceType* type = m_types.FindByExtension(entry.GetExtension());
      if (type && type->TailBytes() > 0) {
        w.tails.push_back({&entry, type, w.names.size()});
        w.names.append(std::string_view(entry.GetPath()).substr(directory.size())).push_back('\0');
      } else {
        entry.Describe(m_types, store);
      }
    }
    DescribeTails(directory, store, w);
    first = end;
  }
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    batch.state.store(kDone);
  }
  m_done.notify_all();
}

void DescriptionPipeline::DescribeTails(std::string_view directory, TextStore& store, Worker& w) {
  const int dirFd = w.tails.empty() ? -1 : ScopedDirectoryCache::DirectoryFd(directory);
  if (dirFd < 0) {
    for (const Worker::Tail& t : w.tails) t.entry->Describe(m_types, store);
    return;
  }
  // One read per tail length (one, in practice).
  for (size_t from = 0; from < w.tails.size(); ++from) {
    const size_t n = w.tails[from].type->TailBytes();
    auto sameLength = [n](const Worker::Tail& t) { return t.type->TailBytes() == n; };
    if (std::any_of(w.tails.begin(), w.tails.begin() + static_cast<std::ptrdiff_t>(from), sameLength)) continue;
    w.batch.clear();
    for (const Worker::Tail& t : w.tails)
      if (sameLength(t)) w.batch.push_back(w.names.data() + t.name);
    w.bytes.resize(w.batch.size() * n);
    w.reader.Read(dirFd, w.batch, n, w.bytes.data(), w.read);
    size_t b = 0;
    for (const Worker::Tail& t : w.tails) {
      if (!sameLength(t)) continue;
      t.entry->DescribeTail(*t.type, w.read[b] ? w.bytes.data() + b * n : nullptr, store);
      ++b;
    }
  }
}

void DescriptionPipeline::Help(TextStore& store, bool parked) {
  ScopedDirectoryCache directories;
  Worker worker;
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
    if (Claim(*batch)) Describe(*batch, store, worker);
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
  Worker worker;
  // No batch is added from here on.
  for (size_t b = 0; b < m_batches.size(); ++b) {
    Batch* batch;
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      batch = m_batches[b].get();
    }
    if (Claim(*batch)) {
      Describe(*batch, m_drainStore, worker);
    } else {
      std::unique_lock<std::mutex> lock(m_mutex);
      m_done.wait(lock, [batch] { return batch->state.load() == kDone; });
    }
    described(batch->size);
  }
}

}  // namespace jb
