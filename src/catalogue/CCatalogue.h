#pragma once
// The catalogue: what a scan found. One entry per collected file, with the
// chain of tree elements the file is shown under and the paths to play.
//
// A million entries must fit in a few hundred megabytes: an entry keeps its
// texts as views, in one block per list, and a loaded catalogue keeps its
// entries and all their bytes in one text store (names of groups once each).
// The display tree shows those same bytes; it holds the catalogue's entries
// (ShareEntries) so that a scan or a load that replaces them leaves the tree
// on screen whole.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "catalogue/PackedStrings.h"
#include "platform/Arena.h"
#include "types/NodeKind.h"
#include "types/TextView.h"

namespace jb {

class CArchive;
class CResourceType;
class CResourceTypeArray;
class Description;

// Bytes for the texts of loaded entries, and the entries themselves, in
// large blocks that live as long as the store. Names of groups are kept once
// however often they occur.
class TextStore {
 public:
  TextStore() = default;
  // For the texts of many entries: no small blocks first.
  explicit TextStore(Arena::Bulk bulk) : m_arena(bulk) {}
  TextStore(const TextStore&) = delete;
  TextStore& operator=(const TextStore&) = delete;

  char* AllocateBytes(size_t count);
  TextView* AllocateViews(size_t count);
  NodeKind* AllocateKinds(size_t count);
  void* AllocateObject(size_t size, size_t align) { return m_arena.Allocate(size, align); }
  // The bytes just allocated at text (the last allocation) as a kept text,
  // or an equal one kept before, the new bytes then given back.
  TextView Intern(TextView text);
  // Gives back the last allocation, of count bytes at at.
  void Release(const char* at, size_t count) { m_arena.Release(at, count); }
  Arena& GetArena() { return m_arena; }

 private:
  Arena m_arena;
  std::unordered_set<std::string_view> m_interned;
  // The last texts kept: neighbouring entries mostly share their groups.
  std::string_view m_recent[4];
  unsigned m_nRecent = 0;
};

class CCatalogueEntry {
 public:
  CCatalogueEntry() = default;
  explicit CCatalogueEntry(std::string_view path) { SetPath(path); }
  CCatalogueEntry(const CCatalogueEntry& other);
  CCatalogueEntry& operator=(const CCatalogueEntry& other);
  CCatalogueEntry(CCatalogueEntry&& other) noexcept;
  CCatalogueEntry& operator=(CCatalogueEntry&& other) noexcept;
  ~CCatalogueEntry() { FreePath(); }

  void SetPath(std::string_view path);
  const TextView& GetPath() const { return m_strPath; }
  // The text after the last "." of the file's name (empty without one).
  TextView GetExtension() const;

  // Lets the type that claims the extension fill the description; an entry
  // no type claims, or whose type throws, stays undescribed (empty lists).
  void Describe(const CResourceTypeArray& types);
  // The same with the description's texts in store, which must outlive the
  // entry: a scan describes every file without an allocation per list.
  void Describe(const CResourceTypeArray& types, TextStore& store);
  // The same by type, which claims the file and reads only its end: tail
  // holds the type's TailBytes() last bytes of the file, read already, or
  // is null when the file has none to read.
  void DescribeTail(const CResourceType& type, const char* tail, TextStore& store);

  void Serialize(CArchive& ar);

  std::uint8_t m_nIcon = 0;

 private:
  bool m_bOwnPath = false;  // the path's bytes are the entry's own (else a store's)
  bool m_bInStore = false;  // made in a text store, which frees its memory

 public:
  PackedStrings m_aNames;  // tree elements, top first
  PackedKinds m_aKinds;    // one NodeKind per name
  PackedStrings m_aPaths;  // one path per File element

 private:
  friend class CCatalogue;
  // Reads an entry body; its texts go to store, which must outlive it.
  void Load(CArchive& ar, TextStore& store);
  void FreePath();
  struct Tail {
    const char* bytes;
  };
  // Empties the lists and lets type fill out, from tail when given; false
  // when no type claims the file or its type failed.
  bool DescribeInto(const CResourceType* type, const Tail* tail, Description& out);
  void DescribeAs(const CResourceType* type, const Tail* tail, TextStore& store);

  TextView m_strPath;
};

class CCatalogue {
 public:
  CCatalogue() = default;
  virtual ~CCatalogue() = default;
  CCatalogue(const CCatalogue&) = delete;
  CCatalogue& operator=(const CCatalogue&) = delete;

  size_t GetSize() const { return m_pEntries->items.size(); }
  CCatalogueEntry* GetAt(size_t i) { return m_pEntries->items[i].get(); }
  const CCatalogueEntry* GetAt(size_t i) const { return m_pEntries->items[i].get(); }
  // Appends; the catalogue takes ownership. Returns the new index.
  size_t Add(std::unique_ptr<CCatalogueEntry> entry);
  // Appends a new entry for path, its bytes kept with the catalogue's texts.
  CCatalogueEntry* AddEntry(std::string_view path);
  // A store for the texts of the entries a thread describes (a bulk one:
  // a scan describes many); it lives as long as the current entries.
  TextStore& AddTextStore();
  void RemoveAt(size_t index, size_t count = 1);
  void Reserve(size_t count) { m_pEntries->items.reserve(count); }
  // Drops every entry. A tree built from them keeps them until it goes.
  void RemoveAll();
  void RemoveAllEntries() { RemoveAll(); }

  // The stored form: an object list of entry bodies. A format error empties
  // the catalogue and passes on.
  void SerializeCatalogue(CArchive& ar);

  // Keeps the current entries and their texts alive while it is held.
  std::shared_ptr<const void> ShareEntries() const { return m_pEntries; }

 private:
  // Deletes an entry, or only destroys one that lives in a store.
  struct EntryDeleter {
    void operator()(CCatalogueEntry* entry) const;
  };
  struct Entries {
    TextStore texts;  // outlives the entries made in it
    std::vector<std::unique_ptr<TextStore>> moreTexts;
    std::vector<std::unique_ptr<CCatalogueEntry, EntryDeleter>> items;
  };
  std::shared_ptr<Entries> m_pEntries = std::make_shared<Entries>();
};

}  // namespace jb
