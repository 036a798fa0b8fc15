// Building a display tree: adding catalogue entries, merging single-child
// chains and ordering the child lists.
#include <algorithm>
#include <new>
#include <optional>
#include <string_view>
#include <vector>

#include "catalogue/CCatalogue.h"
#include "platform/Memory.h"
#include "platform/Paths.h"
#include "platform/Text.h"
#include "treeview/ChildIndex.h"
#include "treeview/DisplayNode.h"

namespace jb {
namespace {

// Visits every node of top's subtree children first, top last. The visit
// may change the node's own children, which have been visited by then.
template <class Visit>
void ForEachPostOrder(DisplayNode* top, Visit visit) {
  auto deepestFirst = [](DisplayNode* n) {
    while (n->GetFirstChild()) n = n->GetFirstChild();
    return n;
  };
  DisplayNode* n = deepestFirst(top);
  for (;;) {
    DisplayNode* next = nullptr;
    if (n != top) next = n->GetNext() ? deepestFirst(n->GetNext()) : n->GetParent();
    visit(n);
    if (!next) return;
    n = next;
  }
}

// The child look-up of a build for long child lists: a level (parent, kind,
// name, and for a file its path) to the node it names, in an
// open-addressing table of hashes and node pointers, which keeps a million
// look-ups from chasing a million list nodes.
struct ChildKey {
  const DisplayNode* parent;
  NodeKind kind;
  std::string_view name;
  std::string_view path;

  // Consistent with IsNamedBy: files and folders hash as paths, other
  // groups by their folded name.
  std::uint64_t Hash() const {
    std::uint64_t h;
    if (kind == NodeKind::File || kind == NodeKind::Folder) {
      h = PathHash()(kind == NodeKind::File ? path : name);
    } else {
      h = NoCaseHash()(name);
    }
    h ^= reinterpret_cast<std::uintptr_t>(parent) * 0x9E3779B97F4A7C15ull;
    h ^= KindByte(kind) * 0xC2B2AE3D27D4EB4Full;
    return h ^ (h >> 29);
  }
  bool Matches(const DisplayNode* n) const { return n->GetParent() == parent && n->IsNamedBy(kind, name, path); }
  static ChildKey Of(const DisplayNode* n) { return {n->GetParent(), n->GetKind(), n->GetName(), n->GetPath()}; }
};

class ChildTable {
 public:
  DisplayNode* Find(const ChildKey& key, std::uint64_t hash) const {
    if (m_slots.empty()) return nullptr;
    const std::uint32_t h = Short(hash);
    for (size_t i = h & m_mask;; i = (i + 1) & m_mask) {
      DisplayNode* node = m_slots[i];
      if (!node || (m_hashes[i] == h && key.Matches(node))) return node;
    }
  }
  // Adds a node whose key is not in the table yet.
  void Insert(DisplayNode* node, std::uint64_t hash) {
    if (4 * (m_count + 1) > 3 * m_slots.size()) Grow();
    Place(node, Short(hash));
    ++m_count;
  }

 private:
  // Slots hold the node and 32 bits of its hash: a probe passes a slot of
  // another key without reading its node, which is mostly far away in
  // memory, and the table grows without reading any node.
  static std::uint32_t Short(std::uint64_t hash) { return static_cast<std::uint32_t>(hash ^ (hash >> 32)); }
  void Place(DisplayNode* node, std::uint32_t h) {
    size_t i = h & m_mask;
    while (m_slots[i]) i = (i + 1) & m_mask;
    m_slots[i] = node;
    m_hashes[i] = h;
  }
  void Grow() {
    ZeroedArray<DisplayNode*> old(m_slots.empty() ? 1024 : 2 * m_slots.size());
    ZeroedArray<std::uint32_t> oldHashes(old.size());
    std::swap(old, m_slots);
    std::swap(oldHashes, m_hashes);
    m_mask = m_slots.size() - 1;
    for (size_t i = 0; i < old.size(); ++i)
      if (old[i]) Place(old[i], oldHashes[i]);
  }

  ZeroedArray<DisplayNode*> m_slots;
  ZeroedArray<std::uint32_t> m_hashes;
  size_t m_mask = 0;
  size_t m_count = 0;
};

// Children a list may have before the build puts them in the table: a short
// list is searched along its nodes, which the build has just made, so the
// tracks of an album never probe far-away slots.
constexpr size_t kListedChildren = 16;

// The sort class of each kind: groups of types and folders, then artists,
// albums and play-lists, then file groups, then files.
int SortClass(NodeKind kind) {
  switch (kind) {
    case NodeKind::Artist:
    case NodeKind::Album:
    case NodeKind::PlayList:
      return 1;
    case NodeKind::FileGroup:
      return 2;
    case NodeKind::File:
      return 3;
    default:
      return 0;
  }
}

}  // namespace

template <class Find, class Created>
void DisplayNode::AddEntryWith(const CCatalogueEntry& entry, size_t level, size_t pathPosition, std::uint8_t entryIcon,
                               const NodeIcons& icons, Texts texts, Arena* pool, Find&& find, Created&& created) {
  size_t levels = std::min(entry.m_aNames.size(), entry.m_aKinds.size());
  DisplayNode* n = this;
  for (size_t i = level; i < levels; ++i) {
    const TextView& name = entry.m_aNames[i];
    NodeKind kind = entry.m_aKinds[i];
    // Each File level takes the next path, whether or not it makes a row; a
    // path list shorter than its File levels leaves the path empty.
    std::string_view path;
    if (kind == NodeKind::File) {
      if (pathPosition < entry.m_aPaths.size()) path = entry.m_aPaths[pathPosition];
      ++pathPosition;
    }
    DisplayNode* child = find(n, name, kind, path, i);
    if (!child) {
      if (pool) {
        child =
            new (pool->Allocate(sizeof(DisplayNode), alignof(DisplayNode))) DisplayNode(name, kind, n, Texts::Share);
        child->m_bPooled = true;
      } else {
        child = new DisplayNode(name, kind, n, Texts::Share);
      }
      if (kind < NodeKind::File) {
        child->m_nIcon = icons.Group(kind);
      } else if (kind == NodeKind::File) {
        child->m_nIcon = entryIcon;
        child->SetSharedPath(path);
      }
      if (texts == Texts::Copy) child->OwnTexts(child->GetName(), child->GetPath());
      n->LinkFront(child);
      if (n->GetSelection() != SelectionState::Unselected) n->RecomputeUpwards();
      created(child, i);
    }
    // Levels after a file are its siblings (the tracks of a play-list).
    if (kind != NodeKind::File) n = child;
  }
}

void DisplayNode::AddEntry(const CCatalogueEntry& entry, size_t level, size_t pathPosition, std::uint8_t entryIcon,
                           const NodeIcons& icons) {
  AddEntryWith(
      entry, level, pathPosition, entryIcon, icons, Texts::Copy, nullptr,
      [](DisplayNode* parent, const TextView& name, NodeKind kind, std::string_view path, size_t) {
        return parent->FindChild(name, kind, path);
      },
      [](DisplayNode*, size_t) {});
}

void DisplayNode::AddCatalogueEntries(CCatalogue& catalogue, const NodeIcons& icons,
                                      const std::function<void(CCatalogueEntry&)>& prepare) {
  ChildTable children;
  // Puts a list in the table; a build makes a node only for a key not
  // there yet, so the list's keys are all different.
  auto addList = [&children](const DisplayNode* parent) {
    for (DisplayNode* c = parent->m_pFirstChild; c; c = c->m_pNext) children.Insert(c, ChildKey::Of(c).Hash());
  };
  // Neighbouring entries mostly share their artist and album: the node a
  // level led to last time is tried first. Each key has one node at most,
  // so a hit is the node the list or the table would give.
  std::vector<DisplayNode*> recent;
  std::uint64_t lastHash = 0;
  auto find = [&](DisplayNode* parent, const TextView& name, NodeKind kind, std::string_view path,
                  size_t level) -> DisplayNode* {
    ChildKey key{parent, kind, name, path};
    if (level >= recent.size()) recent.resize(level + 1);
    if (recent[level] && key.Matches(recent[level])) return recent[level];
    if (parent->m_nChildCount < kListedChildren) {
      recent[level] = parent->FindChild(name, kind, path);
    } else {
      lastHash = key.Hash();
      recent[level] = children.Find(key, lastHash);
    }
    return recent[level];
  };
  // Called right after a find that failed (and the child linked): a list
  // that reaches the table's length goes in whole, a longer one takes the
  // child by the hash its find left.
  auto created = [&](DisplayNode* child, size_t level) {
    const size_t count = child->m_pParent->m_nChildCount;
    if (count == kListedChildren) {
      addList(child->m_pParent);
    } else if (count > kListedChildren) {
      children.Insert(child, lastHash);
    }
    recent[level] = child;
  };
  // A million rows in one pool instead of a million allocations. The pool
  // is this node's, so only a root (which no node outlives) keeps one.
  Arena* pool = m_pParent ? nullptr : &GetExtras().pool;
  std::optional<SuppliedArena> supplied;
  if (pool && catalogue.GetSize() >= SuppliedArena::kSuppliedParts) supplied.emplace(*pool);
  for (size_t i = catalogue.GetSize(); i-- > 0;) {
    CCatalogueEntry& entry = *catalogue.GetAt(i);
    prepare(entry);
    AddEntryWith(entry, 0, 0, entry.m_nIcon, icons, Texts::Share, pool, find, created);
  }
}

void DisplayNode::MergeChain() {
  // The chain ends at the first node that does not merge itself: the result
  // is what merging bottom-up gives, with every name copied once.
  DisplayNode* last = m_pFirstChild;
  size_t length = m_nNameSize + 3 + last->m_nNameSize;
  while (last->GetKind() != NodeKind::Root && last->m_nChildCount == 1) {
    last = last->m_pFirstChild;
    length += 3 + last->m_nNameSize;
  }
  std::string name;
  name.reserve(length);
  name += GetName();
  for (const DisplayNode* n = m_pFirstChild;; n = n->m_pFirstChild) {
    name += ' ';
    name += kSeparator;
    name += ' ';
    name += n->GetName();
    if (n == last) break;
  }

  // The mark of the chain's last node moves here; others in the chain go
  // with it. Marks below the chain stay.
  if (std::vector<DisplayNode*>* marked = MarkedNodes()) {
    std::erase_if(*marked,
                  [this, last](DisplayNode* n) { return n == this || (n->IsDescendantOf(this) && n->Contains(last)); });
    if (last->HasFocusMark()) marked->push_back(this);
  }
  int before = OwnRows();
  DisplayNode* chain = m_pFirstChild;
  // The chain's nodes go, and with them any bytes they kept.
  OwnTexts(name, last->GetPath());
  m_nFlags = last->m_nFlags;
  m_nIcon = last->m_nIcon;
  m_pFirstChild = last->m_pFirstChild;
  m_nChildCount = last->m_nChildCount;
  m_nChildRows = last->m_nChildRows;
  if (last->BuiltIndex()) {
    GetExtras().index = std::move(last->m_pExtras->index);
  } else {
    DropIndex();
  }
  for (DisplayNode* c = m_pFirstChild; c; c = c->m_pNext) c->m_pParent = this;
  last->m_pFirstChild = nullptr;
  Destroy(chain);
  PropagateRows(OwnRows() - before);
}

void DisplayNode::MergeSingleChildChains() {
  // Top-down: a node that merges takes over its whole chain at once; its new
  // children start chains of their own.
  for (DisplayNode* n = this; n; n = PreOrderNext(n, this))
    if (n->GetKind() != NodeKind::Root && n->m_nChildCount == 1) n->MergeChain();
}

void DisplayNode::SortChildren() {
  struct Keyed {
    int sortClass;
    std::string_view key;
    DisplayNode* node;
  };
  std::vector<Keyed> keyed;
  std::vector<DisplayNode*> order;
  ForEachPostOrder(this, [&](DisplayNode* n) {
    if (n->m_nChildCount < 2) return;
    // Files below a group go by file name, files at the top by their text.
    bool belowGroup = n->m_pParent != nullptr;
    keyed.clear();
    for (DisplayNode* c = n->m_pFirstChild; c; c = c->m_pNext) {
      NodeKind kind = c->GetKind();
      std::string_view key =
          kind == NodeKind::File && belowGroup ? FileNamePart(c->GetPath()) : std::string_view(c->GetName());
      keyed.push_back({SortClass(kind), key, c});
    }
    // A stable sort on the same order as an insertion sort that inserts each
    // node before the first one sorting after it: equal nodes keep their
    // order. string_view compares bytes unsigned.
    std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
      return a.sortClass != b.sortClass ? a.sortClass < b.sortClass : a.key < b.key;
    });
    order.clear();
    for (const Keyed& k : keyed) order.push_back(k.node);
    n->Relink(order.data(), order.size());
  });
}

}  // namespace jb
