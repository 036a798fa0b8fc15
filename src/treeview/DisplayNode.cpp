#include "treeview/DisplayNode.h"

#include <algorithm>
#include <stdexcept>
#include <unordered_set>
#include <utility>

#include "config/CConfig.h"
#include "platform/Paths.h"
#include "platform/Text.h"
#include "storage/CArchive.h"
#include "treeview/ChildIndex.h"

namespace jb {
namespace {

// Lengths are kept in 32 bits: no stored text is longer.
std::uint32_t TextSize(std::string_view text) {
  if (text.size() > UINT32_MAX) throw std::length_error("Text too long for a row");
  return static_cast<std::uint32_t>(text.size());
}

}  // namespace

NodeIcons NodeIcons::FromConfig(const CConfig& config) {
  NodeIcons icons;
  icons.Group(NodeKind::UserType) = config.userTypeIcon;
  icons.Group(NodeKind::Folder) = config.folderIcon;
  icons.Group(NodeKind::Artist) = config.artistIcon;
  icons.Group(NodeKind::Album) = config.albumIcon;
  icons.Group(NodeKind::PlayList) = config.playListIcon;
  icons.Group(NodeKind::FileGroup) = config.fileGroupIcon;
  return icons;
}

DisplayNode::DisplayNode() : m_nFlags(kRootFlags) {}

DisplayNode::DisplayNode(std::string_view name, NodeKind kind, DisplayNode* parent)
    : DisplayNode(name, kind, parent, Texts::Copy) {}

DisplayNode::DisplayNode(TextView name, NodeKind kind, DisplayNode* parent, Texts texts)
    : m_pName(name.data()),
      m_pParent(parent),
      m_nNameSize(TextSize(name)),
      m_nFlags(static_cast<std::uint8_t>(KindByte(kind) | SelectionByte(SelectionState::Unselected))) {
  if (texts == Texts::Copy) OwnTexts(name, {});
}

void DisplayNode::OwnTexts(std::string_view name, std::string_view path) {
  // Built before the old bytes go: name or path may be among them.
  const std::uint32_t nameSize = TextSize(name), pathSize = TextSize(path);
  char* bytes = new char[size_t(nameSize) + pathSize];
  std::copy(name.begin(), name.end(), bytes);
  std::copy(path.begin(), path.end(), bytes + nameSize);
  FreeTexts();
  m_bOwnTexts = true;
  m_pName = bytes;
  m_nNameSize = nameSize;
  m_pPath = bytes + nameSize;
  m_nPathSize = pathSize;
}

void DisplayNode::SetSharedPath(std::string_view path) {
  if (m_bOwnTexts) {
    OwnTexts(GetName(), path);
    return;
  }
  m_pPath = path.data();
  m_nPathSize = TextSize(path);
}

void DisplayNode::FreeTexts() {
  if (m_bOwnTexts) delete[] m_pName;
  m_bOwnTexts = false;
  m_pName = m_pPath = nullptr;
  m_nNameSize = m_nPathSize = 0;
}

DisplayNode::Extras& DisplayNode::GetExtras() const {
  if (!m_pExtras) m_pExtras = std::make_unique<Extras>();
  return *m_pExtras;
}

DisplayNode::ChildIndex* DisplayNode::BuiltIndex() const { return m_pExtras ? m_pExtras->index.get() : nullptr; }

void DisplayNode::DropIndex() {
  if (m_pExtras) m_pExtras->index.reset();
}

static_assert(sizeof(void*) != 8 || sizeof(DisplayNode) == 80);

DisplayNode::~DisplayNode() {
  FreeTexts();
  // Chains waiting to be destroyed are spliced into one list through the
  // next links, so a tree of any shape goes without recursion.
  DisplayNode* pending = nullptr;
  auto splice = [&pending](DisplayNode* chain) {
    if (!chain) return;
    DisplayNode* tail = chain;
    while (tail->m_pNext) tail = tail->m_pNext;
    tail->m_pNext = pending;
    pending = chain;
  };
  splice(m_pFirstChild);
  splice(m_pNext);
  m_pFirstChild = m_pNext = nullptr;
  while (pending) {
    DisplayNode* n = pending;
    pending = n->m_pNext;
    n->m_pNext = nullptr;
    splice(n->m_pFirstChild);
    n->m_pFirstChild = nullptr;
    Destroy(n);
  }
}

void DisplayNode::Destroy(DisplayNode* node) {
  if (!node) return;
  if (node->m_bPooled) {
    node->~DisplayNode();
  } else {
    delete node;
  }
}

DisplayNode* DisplayNode::PreOrderNext(const DisplayNode* node, const DisplayNode* top) {
  if (node->m_pFirstChild) return node->m_pFirstChild;
  for (; node && node != top; node = node->m_pParent)
    if (node->m_pNext) return node->m_pNext;
  return nullptr;
}

void DisplayNode::DeleteChildren() {
  if (std::vector<DisplayNode*>* marked = MarkedNodes())
    std::erase_if(*marked, [this](DisplayNode* n) { return n->IsDescendantOf(this); });
  int before = OwnRows();
  DisplayNode* first = m_pFirstChild;
  m_pFirstChild = nullptr;
  Destroy(first);
  m_nChildCount = 0;
  m_nChildRows = 0;
  DropIndex();
  // A root without children has no built nodes left.
  if (!m_pParent && m_pExtras) m_pExtras->pool.Clear();
  PropagateRows(OwnRows() - before);
}

int DisplayNode::Depth() const {
  int depth = 0;
  for (const DisplayNode* a = m_pParent; a; a = a->m_pParent) ++depth;
  return depth;
}

bool DisplayNode::IsDescendantOf(const DisplayNode* node) const {
  for (const DisplayNode* a = m_pParent; a; a = a->m_pParent)
    if (a == node) return true;
  return false;
}

DisplayNode* DisplayNode::FindChild(std::string_view name, NodeKind kind, std::string_view path) const {
  for (DisplayNode* c = m_pFirstChild; c; c = c->m_pNext)
    if (c->IsNamedBy(kind, name, path)) return c;
  return nullptr;
}

bool DisplayNode::IsNamedBy(NodeKind kind, std::string_view name, std::string_view path) const {
  if (GetKind() != kind) return false;
  if (kind == NodeKind::File) return !path.empty() && SamePath(GetPath(), path);
  return kind == NodeKind::Folder ? SamePath(GetName(), name) : EqualsNoCase(GetName(), name);
}

void DisplayNode::ExpandLevels(int levels) {
  if (levels <= 0) return;
  for (DisplayNode* child = m_pFirstChild; child; child = child->m_pNext) {
    if (!child->m_pFirstChild) continue;
    child->SetExpanded(true);
    child->ExpandLevels(levels - 1);
  }
}

void DisplayNode::SetExpanded(bool on) {
  int before = OwnRows();
  if (on) {
    m_nFlags |= kExpanded;
  } else {
    // Everything below collapses too, so each node's children count one
    // row each.
    for (DisplayNode* n = this; n; n = PreOrderNext(n, this)) {
      n->m_nFlags &= static_cast<std::uint8_t>(~kExpanded);
      n->m_nChildRows = static_cast<int>(n->m_nChildCount);
      n->DropIndex();
    }
  }
  PropagateRows(OwnRows() - before);
}

std::vector<DisplayNode*>* DisplayNode::MarkedNodes() const {
  const DisplayNode* top = this;
  while (top->m_pParent) top = top->m_pParent;
  return top->m_pExtras ? &top->m_pExtras->marked : nullptr;
}

void DisplayNode::SetFocusMark(bool on) {
  if (on) {
    if (HasFocusMark()) return;
    m_nFlags |= kFocusMark;
    DisplayNode* top = this;
    while (top->m_pParent) top = top->m_pParent;
    top->GetExtras().marked.push_back(this);
    return;
  }
  // Only the listed nodes carry the mark: clearing it below this node needs
  // no walk.
  std::vector<DisplayNode*>* marked = MarkedNodes();
  if (!marked) return;
  std::erase_if(*marked, [this](DisplayNode* n) {
    if (!Contains(n)) return false;
    n->m_nFlags &= static_cast<std::uint8_t>(~kFocusMark);
    return true;
  });
}

DisplayNode* DisplayNode::FindFocus() {
  std::vector<DisplayNode*>* marked = MarkedNodes();
  if (!marked) return nullptr;
  DisplayNode* first = nullptr;
  for (DisplayNode* n : *marked)
    if (Contains(n) && (!first || PreOrderBefore(n, first))) first = n;
  return first;
}

void DisplayNode::ResetRootFlags() {
  m_nFlags = kRootFlags;
  if (m_pExtras) std::erase(m_pExtras->marked, this);
}

void DisplayNode::WriteSelection(SelectionState state) {
  // A group's state is the union of its children's, so a node already
  // Selected or Unselected has its whole subtree in that state: no need to
  // go down it.
  const auto keep = static_cast<std::uint8_t>(~kSelectionMask);
  const bool uniform = state != SelectionState::PartlySelected;
  for (DisplayNode* n = this; n;) {
    if (uniform && n->GetSelection() == state) {
      for (; n && n != this && !n->m_pNext; n = n->m_pParent) {
      }
      n = n && n != this ? n->m_pNext : nullptr;
      continue;
    }
    n->m_nFlags = (n->m_nFlags & keep) | SelectionByte(state);
    n = PreOrderNext(n, this);
  }
}

void DisplayNode::RecomputeUpwards() {
  // Once a node keeps its state, the ones above it keep theirs.
  for (DisplayNode* a = this; a; a = a->m_pParent) {
    std::uint8_t before = a->m_nFlags;
    a->RecomputeSelection();
    if (a->m_nFlags == before) break;
  }
}

void DisplayNode::SetSelection(SelectionState state) {
  if (state != SelectionState::PartlySelected && GetSelection() == state) return;
  WriteSelection(state);
  if (m_pParent) m_pParent->RecomputeUpwards();
}

void DisplayNode::RecomputeSelection() {
  if (!m_pFirstChild) return;
  std::uint8_t bits = 0;
  for (DisplayNode* c = m_pFirstChild; c && bits != kSelectionMask; c = c->m_pNext)
    bits |= c->m_nFlags & kSelectionMask;
  m_nFlags = static_cast<std::uint8_t>((m_nFlags & ~kSelectionMask) | bits);
}

void DisplayNode::RecomputeBottomUp(std::vector<DisplayNode*>& nodes) {
  std::vector<std::pair<int, DisplayNode*>> byDepth;
  byDepth.reserve(nodes.size());
  for (DisplayNode* n : nodes) byDepth.emplace_back(n->Depth(), n);
  std::sort(byDepth.begin(), byDepth.end(), [](const auto& a, const auto& b) {
    return a.first != b.first ? a.first > b.first : std::less<DisplayNode*>()(a.second, b.second);
  });
  byDepth.erase(std::unique(byDepth.begin(), byDepth.end()), byDepth.end());
  for (const auto& [depth, n] : byDepth) n->RecomputeSelection();
}

void DisplayNode::SetSelectionOfEach(const std::vector<DisplayNode*>& nodes, SelectionState state) {
  std::unordered_set<DisplayNode*> written;
  std::vector<DisplayNode*> ancestors;
  for (DisplayNode* top : nodes)
    if (written.insert(top).second) top->WriteSelection(state);
  std::unordered_set<DisplayNode*> seen;
  for (DisplayNode* top : nodes)
    for (DisplayNode* a = top->m_pParent; a && seen.insert(a).second; a = a->m_pParent) ancestors.push_back(a);
  RecomputeBottomUp(ancestors);
}

DisplayNode::ChildIndex* DisplayNode::Index() const {
  if (ChildIndex* built = BuiltIndex()) return built;
  if (m_nChildCount < ChildIndex::kMinChildren) return nullptr;
  Extras& extras = GetExtras();
  extras.index = std::make_unique<ChildIndex>(*this);
  return extras.index.get();
}

void DisplayNode::PropagateRows(int delta) {
  for (DisplayNode* n = this; delta != 0 && n->m_pParent; n = n->m_pParent) {
    DisplayNode* p = n->m_pParent;
    if (ChildIndex* index = p->BuiltIndex()) index->Add(n->m_nSiblingIndex, delta);
    int before = p->OwnRows();
    p->m_nChildRows += delta;
    delta = p->OwnRows() - before;
  }
}

void DisplayNode::LinkFront(DisplayNode* child) {
  DisplayNode* first = m_pFirstChild;
  if (first) {
    child->m_pPrev = first->m_pPrev;
    first->m_pPrev = child;
  } else {
    child->m_pPrev = child;
  }
  child->m_pNext = first;
  m_pFirstChild = child;
  ++m_nChildCount;
  DropIndex();
  int before = OwnRows();
  m_nChildRows += child->OwnRows();
  PropagateRows(OwnRows() - before);
}

void DisplayNode::Relink(DisplayNode** children, size_t count) {
  DropIndex();
  if (count == 0) return;
  m_pFirstChild = children[0];
  for (size_t i = 0; i < count; ++i) {
    children[i]->m_pNext = i + 1 < count ? children[i + 1] : nullptr;
    children[i]->m_pPrev = children[i == 0 ? count - 1 : i - 1];
  }
}

int DisplayNode::CountRows() const { return OwnRows(); }

int DisplayNode::RowsBefore(const DisplayNode* child) const {
  if (ChildIndex* index = Index()) return index->Prefix(child->m_nSiblingIndex);
  int rows = 0;
  for (const DisplayNode* c = m_pFirstChild; c != child; c = c->m_pNext) rows += c->OwnRows();
  return rows;
}

DisplayNode* DisplayNode::RowAt(int index) const {
  int r = index;
  if (r < 0 || r >= (IsExpanded() ? m_nChildRows : 0)) return nullptr;
  const DisplayNode* n = this;
  for (;;) {
    DisplayNode* c;
    if (ChildIndex* childIndex = n->Index()) {
      c = childIndex->nodes[childIndex->Find(r)];
    } else {
      c = n->m_pFirstChild;
      while (r >= c->OwnRows()) {
        r -= c->OwnRows();
        c = c->m_pNext;
      }
    }
    if (r == 0) return c;
    r -= 1;
    n = c;
  }
}

DisplayNode* DisplayNode::NextRow() const {
  if (IsExpanded() && m_pFirstChild) return m_pFirstChild;
  for (const DisplayNode* n = this; n; n = n->m_pParent)
    if (n->m_pNext) return n->m_pNext;
  return nullptr;
}

DisplayNode* DisplayNode::PreviousRow() const {
  if (!m_pParent) return nullptr;
  if (m_pParent->m_pFirstChild == this) return m_pParent->m_pParent ? m_pParent : nullptr;
  DisplayNode* n = m_pPrev;
  while (n->m_pFirstChild && n->IsExpanded()) n = n->m_pFirstChild->m_pPrev;
  return n;
}

int DisplayNode::RowIndex() const {
  // The previous-row walk passes every row of the earlier siblings' subtrees
  // and the parent's row, level by level up to the top.
  int index = 0;
  for (const DisplayNode* n = this; n->m_pParent; n = n->m_pParent) {
    index += n->m_pParent->RowsBefore(n);
    if (n->m_pParent->m_pParent) ++index;
  }
  return index;
}

long DisplayNode::IndexOf(const DisplayNode* node) const {
  long i = 1;
  for (const DisplayNode* n = this; n; n = PreOrderNext(n, this), ++i)
    if (n == node) return i;
  return -1;
}

DisplayNode* DisplayNode::NodeAt(long index) const {
  if (index < 1) return nullptr;
  const DisplayNode* n = this;
  for (long i = 1; n && i < index; ++i) n = PreOrderNext(n, this);
  return const_cast<DisplayNode*>(n);
}

bool DisplayNode::PreOrderBefore(const DisplayNode* a, const DisplayNode* b) {
  if (a == b) return false;
  std::vector<const DisplayNode*> pathA, pathB;
  for (const DisplayNode* n = a; n; n = n->m_pParent) pathA.push_back(n);
  for (const DisplayNode* n = b; n; n = n->m_pParent) pathB.push_back(n);
  // Walk down from the top until the paths part.
  auto ia = pathA.rbegin(), ib = pathB.rbegin();
  while (ia != pathA.rend() && ib != pathB.rend() && *ia == *ib) ++ia, ++ib;
  if (ia == pathA.rend()) return true;   // a is an ancestor of b
  if (ib == pathB.rend()) return false;  // b is an ancestor of a
  const DisplayNode* x = *ia;
  const DisplayNode* y = *ib;
  if (x->m_pParent && x->m_pParent->Index()) return x->m_nSiblingIndex < y->m_nSiblingIndex;
  // Walk on from both siblings at once: the cost is the distance between them.
  for (const DisplayNode *p = x, *q = y;;) {
    p = p->m_pNext;
    if (p == y) return true;
    if (!p) return false;
    q = q->m_pNext;
    if (q == x) return false;
    if (!q) return true;
  }
}

void DisplayNode::SelectRange(DisplayNode* from, DisplayNode* to) {
  if (!to) return;
  SetFocusMark(false);
  to->SetFocusMark(true);
  if (!from) from = to;
  DisplayNode* lo = from;
  DisplayNode* hi = to;
  if (PreOrderBefore(hi, lo)) std::swap(lo, hi);

  // Leaves from lo up to hi. The groups passed, then the ancestors of lo,
  // are recomputed once each afterwards, children before parents (every
  // ancestor of hi is one or the other), which gives the states that
  // recomputing after each leaf would.
  const auto keep = static_cast<std::uint8_t>(~kSelectionMask);
  std::vector<DisplayNode*> groups;
  for (DisplayNode* n = lo; n && n != hi; n = PreOrderNext(n, this)) {
    if (n->m_pFirstChild)
      groups.push_back(n);
    else
      n->m_nFlags = (n->m_nFlags & keep) | SelectionByte(SelectionState::Selected);
  }
  hi->WriteSelection(SelectionState::Selected);
  for (auto it = groups.rbegin(); it != groups.rend(); ++it) (*it)->RecomputeSelection();
  for (DisplayNode* a = lo->m_pParent; a; a = a->m_pParent) a->RecomputeSelection();
}

void DisplayNode::WriteSelectedPaths(CArchive& ar) const {
  static constexpr char kLineEnd[2] = {'\r', '\n'};
  for (const DisplayNode* n = this; n; n = PreOrderNext(n, this)) {
    if (n->m_pFirstChild || !n->IsSelected()) continue;
    // A line end in a name would split the song into two entries, or add
    // any path the name spells out: such a path goes as an address.
    const TextView path = n->GetPath();
    if (path.find_first_of("\r\n") == std::string::npos) {
      ar.PutRaw(path.data(), path.size());
    } else {
      const std::string url = FileUrl(path);
      ar.PutRaw(url.data(), url.size());
    }
    ar.PutRaw(kLineEnd, sizeof kLineEnd);
  }
}

}  // namespace jb
