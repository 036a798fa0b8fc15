#pragma once
// One row of the display tree: a group (user type, folder, artist, album,
// play-list, file group) or a file. Nodes form a linked tree: each owns its
// next sibling and its first child. Everything painting and input need sits
// in one flag byte whose layout the painter and the input layer rely on:
//   bits 0-3 NodeKind, bit 4 focus mark, bits 5-6 SelectionState,
//   bit 7 expanded.
//
// Besides the links the node keeps caches that let a collection of a million
// files stay interactive: the visible rows below it, a previous-sibling link,
// for long child lists an index of the children with the running sums of
// their rows, and on the root the list of nodes that carry the focus mark.
// They never change a result; they only replace walks.
// A node built from the catalogue shows the catalogue's own bytes of its
// name and path (the tree holds the entries, see TreeView); only merged
// names and nodes made one by one keep bytes of their own. The nodes a
// build makes come from a pool on the root, freed when the root has no
// children left.
// Every walk is iterative, so no depth or breadth of tree can exhaust the
// stack.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "types/NodeKind.h"
#include "types/TextView.h"

namespace jb {

class Arena;
class CArchive;
class CCatalogue;
class CCatalogueEntry;
class CConfig;

enum class SelectionState : std::uint8_t {
  Unselected = 0x20,
  Selected = 0x40,
  PartlySelected = 0x60,  // some descendants selected, some not
};

// The state as kept in a node's flag byte.
constexpr std::uint8_t SelectionByte(SelectionState state) { return static_cast<std::uint8_t>(state); }

// The icons of the six group kinds (UserType to FileGroup), read from the
// configuration when a tree is built.
struct NodeIcons {
  std::uint8_t group[6] = {};
  std::uint8_t& Group(NodeKind kind) { return group[KindByte(kind)]; }
  std::uint8_t Group(NodeKind kind) const { return group[KindByte(kind)]; }
  static NodeIcons FromConfig(const CConfig& config);
};

class DisplayNode {
 public:
  static constexpr std::uint8_t kKindMask = 0x0F;
  static constexpr std::uint8_t kFocusMark = 0x10;
  static constexpr std::uint8_t kSelectionMask = 0x60;
  static constexpr std::uint8_t kSelectedBit = 0x40;
  static constexpr std::uint8_t kExpanded = 0x80;
  static constexpr std::uint8_t kRootFlags = 0xA7;  // Root, Unselected, expanded
  // Joins the names of a merged chain; the skin draws it as a separator.
  static constexpr char kSeparator = 16;

  // A root: kind Root, Unselected, expanded, no focus mark, icon 0.
  DisplayNode();
  // A child of parent, Unselected and collapsed; not yet linked into the
  // parent's list.
  DisplayNode(std::string_view name, NodeKind kind, DisplayNode* parent);
  // Destroys the rest of the sibling chain and all children. Not virtual:
  // a node is never deleted as the base of a TreeView, and a million of
  // them are spared a table pointer each.
  ~DisplayNode();
  DisplayNode(const DisplayNode&) = delete;
  DisplayNode& operator=(const DisplayNode&) = delete;

  TextView GetName() const { return TextView(m_pName, m_nNameSize); }
  TextView GetPath() const { return TextView(m_pPath, m_nPathSize); }
  std::uint8_t GetFlags() const { return m_nFlags; }
  NodeKind GetKind() const { return static_cast<NodeKind>(m_nFlags & kKindMask); }
  std::uint8_t GetIcon() const { return m_nIcon; }
  SelectionState GetSelection() const { return static_cast<SelectionState>(m_nFlags & kSelectionMask); }
  // Selected or partly selected: what painting and the hand-off count.
  bool IsSelected() const { return (m_nFlags & kSelectedBit) != 0; }
  bool IsExpanded() const { return (m_nFlags & kExpanded) != 0; }
  bool HasFocusMark() const { return (m_nFlags & kFocusMark) != 0; }
  DisplayNode* GetParent() const { return m_pParent; }
  DisplayNode* GetNext() const { return m_pNext; }
  DisplayNode* GetFirstChild() const { return m_pFirstChild; }
  bool HasChildren() const { return m_pFirstChild != nullptr; }
  size_t GetChildCount() const { return m_nChildCount; }

  // Destroys every child and its subtree.
  void DeleteChildren();
  // Number of ancestors: the root 0, top-level rows 1.
  int Depth() const;
  // True when node is this node's parent, grandparent, ...
  bool IsDescendantOf(const DisplayNode* node) const;
  // The first child that a level of that kind names (see IsNamedBy).
  DisplayNode* FindChild(std::string_view name, NodeKind kind, std::string_view path = {}) const;
  // Whether this node is the one a level names: a File the same file as
  // path (a level without a path names none), a Folder the same directory
  // path, any other group the name ignoring ASCII case. So two files are
  // never one row, whatever their titles.
  bool IsNamedBy(NodeKind kind, std::string_view name, std::string_view path) const;

  // On expands this node only; off collapses it and every descendant.
  void SetExpanded(bool on);
  // Opens every group of the given number of levels below this node (the
  // children are the first level); INT_MAX opens the whole subtree.
  void ExpandLevels(int levels);
  // On marks this node only; off clears the mark here and in every
  // descendant. The node must be linked into its tree.
  void SetFocusMark(bool on);
  // The first node in pre-order of this subtree that carries the mark.
  DisplayNode* FindFocus();
  // Writes the state into this node and every descendant, then recomputes
  // each ancestor from its children (the root included).
  void SetSelection(SelectionState state);

  // Visible rows of this subtree: 1 for this node unless it is the root,
  // plus the rows of the children when expanded.
  int CountRows() const;
  // Called on the root: the node on visible row index, or null.
  DisplayNode* RowAt(int index) const;
  DisplayNode* NextRow() const;
  DisplayNode* PreviousRow() const;
  // How many times PreviousRow can be taken from this node: its visible row
  // index (for a node hidden in a collapsed group, the row its walk ends on).
  int RowIndex() const;

  // 1-based position of node in pre-order over every node of this subtree,
  // this node being 1; negative when node is not in the subtree.
  long IndexOf(const DisplayNode* node) const;
  // The node at a 1-based pre-order position; null when out of range.
  DisplayNode* NodeAt(long index) const;

  // Range selection, called on the root. from is the node with the focus
  // mark (null when none: then only to's row counts), to the node reached.
  // The focus mark moves to to; every leaf in pre-order from the earlier to
  // the later of the two, and the later one with its subtree, become
  // Selected. Nothing is cleared.
  void SelectRange(DisplayNode* from, DisplayNode* to);
  // Every selected leaf's path, in pre-order, each followed by CR LF; a
  // path holding a CR or LF is written as its file:// address.
  void WriteSelectedPaths(CArchive& ar) const;

  // Adds one catalogue entry below this node, starting at level and at the
  // entry's path pathPosition. Every File level takes the next path, also
  // one naming a file that is there already. New nodes go to the front of
  // their list. A new node below a selected group leaves it partly
  // selected: a group's state stays the union of its children's, which the
  // selection operations rely on.
  void AddEntry(const CCatalogueEntry& entry, size_t level, size_t pathPosition, std::uint8_t entryIcon,
                const NodeIcons& icons);
  // Every node that is not the root and has exactly one child takes it
  // over, bottom-up: a chain becomes one row named "a \x10 b \x10 c".
  void MergeSingleChildChains();
  // Orders every child list, bottom-up: by the kinds' sort class (user
  // types and folders; artists, albums and play-lists; file groups; files),
  // then by name as unsigned bytes, a file below a group by its file name.
  // Equal ones keep their order.
  void SortChildren();

  // Same result as SetSelection(state) on each node in turn, in one pass
  // over the ancestors.
  static void SetSelectionOfEach(const std::vector<DisplayNode*>& nodes, SelectionState state);

  // Pre-order successor of node within the subtree of top, or null.
  static DisplayNode* PreOrderNext(const DisplayNode* node, const DisplayNode* top);
  // Whether a comes before b in pre-order; both in one tree.
  static bool PreOrderBefore(const DisplayNode* a, const DisplayNode* b);

 protected:
  // AddEntry of every catalogue entry, last to first, at level 0 and path
  // position 0, on a node without children; long child lists are looked up
  // through a hash table instead of along the list. prepare sees each entry
  // just before it is added (while its memory is at hand).
  void AddCatalogueEntries(CCatalogue& catalogue, const NodeIcons& icons,
                           const std::function<void(CCatalogueEntry&)>& prepare);
  // Back to the flags of a fresh root (after its children are gone).
  void ResetRootFlags();

 private:
  struct ChildIndex;
  // Whether a node made from a catalogue entry copies the entry's texts or
  // shows them in place.
  enum class Texts { Copy, Share };

  DisplayNode(TextView name, NodeKind kind, DisplayNode* parent, Texts texts);
  // Deletes node, or only destroys one made in its root's pool.
  static void Destroy(DisplayNode* node);
  // Takes name and path as the node's own bytes.
  void OwnTexts(std::string_view name, std::string_view path);
  // Shows path (bytes someone else keeps), the name staying as it is.
  void SetSharedPath(std::string_view path);
  void FreeTexts();
  // What few nodes need: the index of a long child list, and on a root the
  // nodes that carry the focus mark.
  struct Extras;
  Extras& GetExtras() const;
  ChildIndex* BuiltIndex() const;
  void DropIndex();

  int OwnRows() const { return (m_pParent ? 1 : 0) + (IsExpanded() ? m_nChildRows : 0); }
  // Tells the ancestors that this node's rows changed by delta.
  void PropagateRows(int delta);
  // Links child at the front of the list; child's parent must be this.
  void LinkFront(DisplayNode* child);
  // Makes the children, in the order given, this node's list.
  void Relink(DisplayNode** children, size_t count);
  // Recomputes this node's state from its children's selection bits.
  void RecomputeSelection();
  // Writes the state into this subtree.
  void WriteSelection(SelectionState state);
  // RecomputeSelection here and on each ancestor, while states change.
  void RecomputeUpwards();
  // RecomputeSelection on each, deepest first, each once.
  static void RecomputeBottomUp(std::vector<DisplayNode*>& nodes);
  ChildIndex* Index() const;
  // The nodes of this node's tree that carry the focus mark, kept on the
  // root; null when there never were any.
  std::vector<DisplayNode*>* MarkedNodes() const;
  // Whether node is this node or lies below it.
  bool Contains(const DisplayNode* node) const { return node == this || node->IsDescendantOf(this); }
  // Sum of the rows of the children before child.
  int RowsBefore(const DisplayNode* child) const;
  // Takes over the chain of single children below this node.
  void MergeChain();
  // Shared by AddEntry and the tree build: find is FindChild's contract.
  // New nodes come from pool when one is given.
  template <class Find, class Created>
  void AddEntryWith(const CCatalogueEntry& entry, size_t level, size_t pathPosition, std::uint8_t entryIcon,
                    const NodeIcons& icons, Texts texts, Arena* pool, Find&& find, Created&& created);

  // A million nodes: the fields are packed so a node takes 80 bytes.
  const char* m_pName = nullptr;
  const char* m_pPath = nullptr;
  DisplayNode* m_pParent = nullptr;
  DisplayNode* m_pNext = nullptr;        // owned
  DisplayNode* m_pFirstChild = nullptr;  // owned
  // Previous sibling; the first child's points at the last child.
  DisplayNode* m_pPrev = nullptr;
  mutable std::unique_ptr<Extras> m_pExtras;
  std::uint32_t m_nNameSize = 0;
  std::uint32_t m_nPathSize = 0;
  std::uint32_t m_nChildCount = 0;
  std::uint32_t m_nSiblingIndex = 0;  // position in the parent's list, valid while it has an index
  int m_nChildRows = 0;               // sum of the children's CountRows
  std::uint8_t m_nFlags;
  std::uint8_t m_nIcon = 0;
  bool m_bOwnTexts = false;  // name and path are in one block of the node's own, at m_pName
  bool m_bPooled = false;    // made in the root's pool, which frees its memory
};

}  // namespace jb
