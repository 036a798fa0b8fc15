#include "catalogue/CCatalogue.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <new>
#include <optional>

#include "platform/Paths.h"
#include "storage/CArchive.h"
#include "types/CResourceTypeArray.h"
#include "types/Description.h"

namespace jb {

namespace {
// Each thread's scratch for describing: grown once, then reused, unless it
// grew past this.
constexpr size_t kMaxScratchBytes = size_t(1) << 20;
thread_local Description t_description;
thread_local std::string t_path;
}  // namespace

char* TextStore::AllocateBytes(size_t count) { return static_cast<char*>(m_arena.Allocate(count, 1)); }

NodeKind* TextStore::AllocateKinds(size_t count) { return static_cast<NodeKind*>(m_arena.Allocate(count, 1)); }

TextView* TextStore::AllocateViews(size_t count) {
  return static_cast<TextView*>(m_arena.Allocate(count * sizeof(TextView), alignof(TextView)));
}

TextView TextStore::Intern(TextView text) {
  for (std::string_view recent : m_recent) {
    if (recent == text) {
      Release(text.data(), text.size());
      return TextView(recent);
    }
  }
  auto [it, added] = m_interned.insert(text);
  if (!added) Release(text.data(), text.size());
  m_recent[m_nRecent++ % std::size(m_recent)] = *it;
  return TextView(*it);
}

CCatalogueEntry::CCatalogueEntry(const CCatalogueEntry& other)
    : m_nIcon(other.m_nIcon), m_aNames(other.m_aNames), m_aKinds(other.m_aKinds), m_aPaths(other.m_aPaths) {
  SetPath(other.m_strPath);
}

CCatalogueEntry& CCatalogueEntry::operator=(const CCatalogueEntry& other) {
  if (this != &other) *this = CCatalogueEntry(other);
  return *this;
}

CCatalogueEntry::CCatalogueEntry(CCatalogueEntry&& other) noexcept
    : m_nIcon(other.m_nIcon),
      m_bOwnPath(other.m_bOwnPath),
      m_aNames(std::move(other.m_aNames)),
      m_aKinds(std::move(other.m_aKinds)),
      m_aPaths(std::move(other.m_aPaths)),
      m_strPath(other.m_strPath) {
  other.m_bOwnPath = false;
  other.m_strPath = {};
}

CCatalogueEntry& CCatalogueEntry::operator=(CCatalogueEntry&& other) noexcept {
  if (this != &other) {
    FreePath();
    m_nIcon = other.m_nIcon;
    m_aNames = std::move(other.m_aNames);
    m_aKinds = std::move(other.m_aKinds);
    m_aPaths = std::move(other.m_aPaths);
    m_strPath = other.m_strPath;
    m_bOwnPath = other.m_bOwnPath;
    other.m_bOwnPath = false;
    other.m_strPath = {};
  }
  return *this;
}

void CCatalogueEntry::FreePath() {
  if (m_bOwnPath) delete[] m_strPath.data();
  m_bOwnPath = false;
  m_strPath = {};
}

void CCatalogueEntry::SetPath(std::string_view path) {
  // The new bytes first: path may be this entry's own.
  char* bytes = new char[path.size()];
  if (!path.empty()) std::memcpy(bytes, path.data(), path.size());
  FreePath();
  m_strPath = TextView(bytes, path.size());
  m_bOwnPath = true;
}

TextView CCatalogueEntry::GetExtension() const { return ExtensionOf(m_strPath); }

bool CCatalogueEntry::DescribeInto(const CResourceType* type, const Tail* tail, Description& out) {
  m_aNames.clear();
  m_aKinds.clear();
  m_aPaths.clear();
  if (!type) return false;
  // A file its type cannot describe (out of memory, say) is left out of the
  // tree like an unclaimed one, and the scan goes on with the next.
  try {
    t_path.assign(m_strPath);
    if (tail)
      type->DescribeTail(t_path, tail->bytes, m_nIcon, out);
    else
      type->DescribeInto(t_path, m_nIcon, out);
    return true;
  } catch (...) {
    return false;
  }
}

void CCatalogueEntry::Describe(const CResourceTypeArray& types) {
  Description out;
  if (!DescribeInto(types.FindByExtension(GetExtension()), nullptr, out)) return;
  try {
    StringList names, paths;
    KindList kinds;
    out.ToLists(names, kinds, paths);
    m_aNames = names;
    m_aKinds = kinds;
    m_aPaths = paths;
  } catch (...) {
    m_aNames.clear();
    m_aKinds.clear();
    m_aPaths.clear();
  }
}

void CCatalogueEntry::Describe(const CResourceTypeArray& types, TextStore& store) {
  DescribeAs(types.FindByExtension(GetExtension()), nullptr, store);
}

void CCatalogueEntry::DescribeTail(const CResourceType& type, const char* tail, TextStore& store) {
  const Tail read{tail};
  DescribeAs(&type, &read, store);
}

void CCatalogueEntry::DescribeAs(const CResourceType* type, const Tail* tail, TextStore& store) {
  Description& out = t_description;
  if (DescribeInto(type, tail, out)) {
    try {
      // A path that is the entry's own shares its bytes when they are a
      // store's (an owned path may be replaced).
      auto ownPath = [this](std::string_view path) { return !m_bOwnPath && path == m_strPath; };
      const size_t names = out.NameCount(), paths = out.PathCount(), kindCount = out.Kinds().size();
      size_t bytes = 0;
      for (size_t i = 0; i < names; ++i) bytes += out.Name(i).size();
      for (size_t i = 0; i < paths; ++i)
        if (!ownPath(out.Path(i))) bytes += out.Path(i).size();
      TextView* views = store.AllocateViews(names + paths);
      NodeKind* kinds = store.AllocateKinds(kindCount);
      char* next = store.AllocateBytes(bytes);
      auto keep = [&next](std::string_view text) {
        if (!text.empty()) std::memcpy(next, text.data(), text.size());
        TextView kept(next, text.size());
        next += text.size();
        return kept;
      };
      for (size_t i = 0; i < names; ++i) views[i] = keep(out.Name(i));
      for (size_t i = 0; i < paths; ++i) {
        std::string_view path = out.Path(i);
        views[names + i] = ownPath(path) ? m_strPath : keep(path);
      }
      std::copy(out.Kinds().begin(), out.Kinds().end(), kinds);
      m_aNames.Borrow(views, names);
      m_aPaths.Borrow(views + names, paths);
      m_aKinds.Borrow(kinds, kindCount);
    } catch (...) {
      m_aNames.clear();
      m_aKinds.clear();
      m_aPaths.clear();
    }
  }
  // A huge play-list's buffer is not kept for the rest of the scan.
  if (out.TextBytes() > kMaxScratchBytes) out = Description();
}

void CCatalogueEntry::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar.SerialVersion();
    ar.PutString(m_strPath);
    ar.PutU8(m_nIcon);
    ar.PutU32(static_cast<std::uint32_t>(m_aNames.size()));
    for (size_t i = 0; i < m_aNames.size(); ++i) {
      ar.PutString(m_aNames[i]);
      ar.PutU8(KindByte(i < m_aKinds.size() ? m_aKinds[i] : NodeKind::File));
    }
    ar.PutU32(static_cast<std::uint32_t>(m_aPaths.size()));
    for (const TextView& p : m_aPaths) ar.PutString(p);
    return;
  }
  // Read through a store of its own, then copied into the entry's blocks.
  TextStore store;
  try {
    Load(ar, store);
  } catch (...) {
    m_aNames.clear();
    m_aKinds.clear();
    m_aPaths.clear();
    SetPath({});
    throw;
  }
  m_aNames = PackedStrings(m_aNames);
  m_aKinds = PackedKinds(m_aKinds);
  m_aPaths = PackedStrings(m_aPaths);
  SetPath(std::string_view(m_strPath));
}

void CCatalogueEntry::Load(CArchive& ar, TextStore& store) {
  ar.SerialVersion();
  auto readText = [&ar, &store]() {
    const std::uint32_t size = ar.GetStringLength();
    char* bytes = store.AllocateBytes(size);
    ar.GetRaw(bytes, size);
    return TextView(bytes, size);
  };
  const TextView own = readText();
  FreePath();
  m_strPath = own;
  m_nIcon = ar.GetU8();
  std::uint32_t n = 0;
  ar.SerialCount(n, 2);  // a name of at least its length byte, and a kind
  m_aNames.clear();
  m_aKinds.clear();
  m_aPaths.clear();
  TextView* names = store.AllocateViews(n);
  NodeKind* kinds = store.AllocateKinds(n);
  size_t files = 0;
  for (std::uint32_t i = 0; i < n; ++i) {
    const TextView name = readText();
    std::uint8_t byte = ar.GetU8();
    if (byte > KindByte(NodeKind::Root)) CArchive::FormatError("Unknown element kind");
    NodeKind kind = static_cast<NodeKind>(byte);
    files += kind == NodeKind::File;
    kinds[i] = kind;
    // A group's name comes with every file below it; a title mostly once.
    names[i] = kind == NodeKind::File ? name : store.Intern(name);
  }
  m_aNames.Borrow(names, n);
  m_aKinds.Borrow(kinds, n);
  std::uint32_t m = 0;
  ar.SerialCount(m, 1);
  // The tree hands out one path per File element: a file that breaks
  // that would make it read past the list.
  if (m != files) CArchive::FormatError("Paths do not match the files");
  TextView* paths = store.AllocateViews(m);
  for (std::uint32_t i = 0; i < m; ++i) {
    TextView path = readText();
    // Mostly the entry's own path, which is kept once.
    if (path == m_strPath) {
      store.Release(path.data(), path.size());
      path = m_strPath;
    }
    paths[i] = path;
  }
  m_aPaths.Borrow(paths, m);
}

void CCatalogue::EntryDeleter::operator()(CCatalogueEntry* entry) const {
  if (!entry->m_bInStore) {
    delete entry;
  } else {
    entry->~CCatalogueEntry();
  }
}

size_t CCatalogue::Add(std::unique_ptr<CCatalogueEntry> entry) {
  m_pEntries->items.emplace_back(entry.release());
  return m_pEntries->items.size() - 1;
}

CCatalogueEntry* CCatalogue::AddEntry(std::string_view path) {
  // The entry beside its path in the store, as a loaded one: a scan adds a
  // hundred thousand of them.
  TextStore& store = m_pEntries->texts;
  char* bytes = store.AllocateBytes(path.size());
  if (!path.empty()) std::memcpy(bytes, path.data(), path.size());
  void* memory = store.AllocateObject(sizeof(CCatalogueEntry), alignof(CCatalogueEntry));
  std::unique_ptr<CCatalogueEntry, EntryDeleter> entry(new (memory) CCatalogueEntry());
  entry->m_bInStore = true;
  entry->m_strPath = TextView(bytes, path.size());
  CCatalogueEntry* added = entry.get();
  m_pEntries->items.push_back(std::move(entry));
  return added;
}

TextStore& CCatalogue::AddTextStore() {
  m_pEntries->moreTexts.push_back(std::make_unique<TextStore>(Arena::Bulk{}));
  return *m_pEntries->moreTexts.back();
}

void CCatalogue::RemoveAt(size_t index, size_t count) {
  auto& items = m_pEntries->items;
  auto first = items.begin() + static_cast<std::ptrdiff_t>(index);
  items.erase(first, first + static_cast<std::ptrdiff_t>(count));
}

void CCatalogue::RemoveAll() {
  // A fresh set: the old one goes now, or with the last tree that shows it.
  m_pEntries = std::make_shared<Entries>();
}

void CCatalogue::SerializeCatalogue(CArchive& ar) {
  if (ar.IsStoring()) {
    ar.SerialVersion();
    ar.PutU32(static_cast<std::uint32_t>(GetSize()));
    for (size_t i = 0; i < GetSize(); ++i) GetAt(i)->Serialize(ar);
    return;
  }
  RemoveAllEntries();
  try {
    ar.SerialVersion();
    std::uint32_t count = 0;
    // An entry body is at least 11 bytes: version, path, icon, two counts.
    ar.SerialCount(count, 11);
    Reserve(count);
    // Each entry sits in the store beside its texts: a million allocations
    // fewer, and a walk over the catalogue reads memory in order.
    TextStore& store = m_pEntries->texts;
    std::optional<SuppliedArena> supplied;
    if (count >= SuppliedArena::kSuppliedParts) supplied.emplace(store.GetArena());
    for (std::uint32_t i = 0; i < count; ++i) {
      void* memory = store.AllocateObject(sizeof(CCatalogueEntry), alignof(CCatalogueEntry));
      std::unique_ptr<CCatalogueEntry, EntryDeleter> entry(new (memory) CCatalogueEntry());
      entry->m_bInStore = true;
      entry->Load(ar, store);
      m_pEntries->items.push_back(std::move(entry));
    }
  } catch (...) {
    RemoveAllEntries();
    throw;
  }
}

}  // namespace jb
