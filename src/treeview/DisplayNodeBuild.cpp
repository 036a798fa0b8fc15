// Building a display tree: adding catalogue entries, merging single-child
// chains and ordering the child lists.
#include <algorithm>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "platform/Paths.h"
#include "platform/Text.h"
#include "scan/CCatalogue.h"
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

// The child look-up of a build: (parent, kind, name without case) to the
// first such child in list order.
struct ChildKey {
  const DisplayNode* parent;
  std::uint8_t kind;
  std::string_view name;
};

struct ChildKeyHash {
  using is_transparent = void;
  size_t operator()(const ChildKey& key) const {
    std::uint64_t h = 1469598103934665603ull;  // FNV-1a over the folded name
    for (char c : key.name) h = (h ^ static_cast<unsigned char>(FoldAscii(c))) * 1099511628211ull;
    h ^= reinterpret_cast<std::uintptr_t>(key.parent) * 0x9E3779B97F4A7C15ull;
    return static_cast<size_t>(h ^ (key.kind * 0xC2B2AE3D27D4EB4Full));
  }
  size_t operator()(const DisplayNode* n) const { return (*this)(ChildKey{n->GetParent(), n->GetKind(), n->GetName()}); }
};

struct ChildKeyEqual {
  using is_transparent = void;
  static ChildKey KeyOf(const DisplayNode* n) { return {n->GetParent(), n->GetKind(), n->GetName()}; }
  static ChildKey KeyOf(const ChildKey& k) { return k; }
  template <class A, class B>
  bool operator()(const A& a, const B& b) const {
    ChildKey x = KeyOf(a), y = KeyOf(b);
    return x.parent == y.parent && x.kind == y.kind && EqualsNoCase(x.name, y.name);
  }
};

// The sort class of each kind: groups of types and folders, then artists,
// albums and play-lists, then file groups, then files.
int SortClass(std::uint8_t kind) {
  switch (kind) {
    case Artist:
    case Album:
    case PlayList:
      return 1;
    case FileGroup:
      return 2;
    case File:
      return 3;
    default:
      return 0;
  }
}

}  // namespace

template <class Find, class Created>
void DisplayNode::AddEntryWith(const CCatalogueEntry& entry, size_t level, size_t pathPosition,
                               std::uint8_t entryIcon, const NodeIcons& icons, Find&& find, Created&& created) {
  size_t levels = std::min(entry.m_aNames.size(), entry.m_aKinds.size());
  DisplayNode* n = this;
  for (size_t i = level; i < levels; ++i) {
    const std::string& name = entry.m_aNames[i];
    auto kind = static_cast<std::uint8_t>(entry.m_aKinds[i] & kKindMask);
    DisplayNode* child = find(n, name, kind);
    if (!child) {
      child = new DisplayNode(name, kind, n);
      if (kind < File) {
        child->m_nIcon = icons.group[kind];
      } else if (kind == File) {
        child->m_nIcon = entryIcon;
        // A path list shorter than its File levels leaves the path empty.
        if (pathPosition < entry.m_aPaths.size()) child->m_strPath = entry.m_aPaths[pathPosition];
        ++pathPosition;
      }
      n->LinkFront(child);
      created(child);
    }
    // Levels after a file are its siblings (the tracks of a play-list).
    if (kind != File) n = child;
  }
}

void DisplayNode::AddEntry(const CCatalogueEntry& entry, size_t level, size_t pathPosition, std::uint8_t entryIcon,
                           const NodeIcons& icons) {
  AddEntryWith(
      entry, level, pathPosition, entryIcon, icons,
      [](DisplayNode* parent, const std::string& name, std::uint8_t kind) { return parent->FindChild(name, kind); },
      [](DisplayNode*) {});
}

void DisplayNode::AddCatalogueEntries(const CCatalogue& catalogue, const NodeIcons& icons) {
  std::unordered_set<DisplayNode*, ChildKeyHash, ChildKeyEqual> children;
  children.reserve(catalogue.GetSize() * 2);
  // Nodes already there, in list order, so the first of equal ones is found.
  for (DisplayNode* n = m_pFirstChild; n; n = PreOrderNext(n, this)) children.insert(n);
  auto find = [&children](DisplayNode* parent, const std::string& name, std::uint8_t kind) -> DisplayNode* {
    auto it = children.find(ChildKey{parent, kind, name});
    return it == children.end() ? nullptr : *it;
  };
  auto created = [&children](DisplayNode* child) { children.insert(child); };
  for (size_t i = catalogue.GetSize(); i-- > 0;) {
    const CCatalogueEntry& entry = *catalogue.GetAt(i);
    AddEntryWith(entry, 0, 0, entry.m_nIcon, icons, find, created);
  }
}

void DisplayNode::MergeChain() {
  // The chain ends at the first node that does not merge itself: the result
  // is what merging bottom-up gives, with every name copied once.
  DisplayNode* last = m_pFirstChild;
  size_t length = m_strName.size() + 3 + last->m_strName.size();
  while (last->GetKind() != Root && last->m_nChildCount == 1) {
    last = last->m_pFirstChild;
    length += 3 + last->m_strName.size();
  }
  std::string name;
  name.reserve(length);
  name += m_strName;
  for (const DisplayNode* n = m_pFirstChild;; n = n->m_pFirstChild) {
    name += ' ';
    name += kSeparator;
    name += ' ';
    name += n->m_strName;
    if (n == last) break;
  }

  int before = OwnRows();
  DisplayNode* chain = m_pFirstChild;
  m_strName = std::move(name);
  m_nFlags = last->m_nFlags;
  m_nIcon = last->m_nIcon;
  m_strPath = std::move(last->m_strPath);
  m_pFirstChild = last->m_pFirstChild;
  m_nChildCount = last->m_nChildCount;
  m_nChildRows = last->m_nChildRows;
  m_pIndex = std::move(last->m_pIndex);
  for (DisplayNode* c = m_pFirstChild; c; c = c->m_pNext) c->m_pParent = this;
  last->m_pFirstChild = nullptr;
  delete chain;
  PropagateRows(OwnRows() - before);
}

void DisplayNode::MergeSingleChildChains() {
  // Top-down: a node that merges takes over its whole chain at once; its new
  // children start chains of their own.
  for (DisplayNode* n = this; n; n = PreOrderNext(n, this))
    if (n->GetKind() != Root && n->m_nChildCount == 1) n->MergeChain();
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
      std::uint8_t kind = c->GetKind();
      std::string_view key = kind == File && belowGroup ? FileNamePart(c->m_strPath) : std::string_view(c->m_strName);
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
