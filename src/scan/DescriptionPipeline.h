#pragma once
// Describes catalogue entries on helper threads while the scan is still
// collecting them. The collecting thread hands over each new entry; once
// collection is over it drains the entries in catalogue order, describing
// those no helper has taken, so the caller sees them described in order.
// The songs of one directory have their tags read together (TailReader).
//
// With waits, helpers beyond the cores wait until a read has waited for
// the disk: on a warm cache they would only take turns.

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/TailReader.h"

namespace jb {

class CCatalogue;
class CCatalogueEntry;
class CDirectory;
class CResourceType;
class CResourceTypeArray;
class DiskWaits;
class TextStore;

class DescriptionPipeline {
 public:
  // The texts of the descriptions go to stores of catalogue's.
  DescriptionPipeline(const CResourceTypeArray& types, CCatalogue& catalogue, unsigned helpers,
                      DiskWaits* waits = nullptr);
  ~DescriptionPipeline();
  DescriptionPipeline(const DescriptionPipeline&) = delete;
  DescriptionPipeline& operator=(const DescriptionPipeline&) = delete;

  // The collecting thread: one call per new entry, in catalogue order, with
  // its directory when that is open (the entry's file is opened relative
  // to it, and it closes once its last file is read).
  void Add(CCatalogueEntry* entry, std::shared_ptr<const CDirectory> dir = nullptr);
  // The collecting thread, after the last Add: waits for each batch of
  // entries in order (describing it when no helper has) and calls
  // described(entryCount) for it.
  void Drain(const std::function<void(size_t entryCount)>& described);

 private:
  static constexpr size_t kBatch = 64;
  enum : std::uint8_t { kFree, kClaimed, kDone };
  struct Batch {
    std::array<CCatalogueEntry*, kBatch> entries{};
    std::array<std::shared_ptr<const CDirectory>, kBatch> dirs{};
    size_t size = 0;
    std::atomic<std::uint8_t> state{kFree};
  };

  // What a describing thread keeps from batch to batch.
  struct Worker {
    struct Tail {
      CCatalogueEntry* entry;
      const CResourceType* type;
      size_t name;  // in names
    };
    TailReader reader;
    std::vector<Tail> tails;  // of the directory being described
    std::string names;        // the files' names, each ended by a NUL
    std::vector<const char*> batch;
    std::vector<char> bytes;
    std::vector<bool> read;
  };

  void Publish();
  void Help(TextStore& store, bool parked);
  bool Claim(Batch& batch);
  void Describe(Batch& batch, TextStore& store, Worker& w);
  // Describes w.tails, files of directory, from their last bytes.
  void DescribeTails(std::string_view directory, TextStore& store, Worker& w);

  const CResourceTypeArray& m_types;
  TextStore& m_drainStore;
  DiskWaits* m_pWaits;
  size_t m_nListener = 0;
  std::unique_ptr<Batch> m_pFilling;  // the collecting thread's own
  std::mutex m_mutex;
  std::condition_variable m_published;            // helpers wait for batches
  std::condition_variable m_done;                 // the drain waits for helpers
  std::condition_variable m_unparked;             // helpers beyond the cores wait here
  std::vector<std::unique_ptr<Batch>> m_batches;  // published, guarded
  size_t m_nextForHelpers = 0;                    // guarded
  bool m_bClosed = false;                         // guarded
  std::vector<std::thread> m_helpers;
};

}  // namespace jb
