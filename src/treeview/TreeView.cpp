#include "treeview/TreeView.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/CCatalogue.h"
#include "config/CConfig.h"
#include "platform/Prompt.h"
#include "platform/Text.h"
#include "treeview/TreeMessages.h"
#include "treeview/TreeScrollBar.h"

namespace jb {
namespace {

constexpr std::uint8_t kSmoothScrolling = 0x80;  // bit 7 of scrollOptions

struct Levels {
  long artist = -1;  // index of the last Artist level
  long album = -1;   // index of the last Album level
};

Levels FindArtistAndAlbum(const CCatalogueEntry& entry) {
  Levels levels;
  size_t count = std::min(entry.m_aNames.size(), entry.m_aKinds.size());
  for (size_t i = 0; i < count; ++i) {
    if (entry.m_aKinds[i] == NodeKind::Artist) levels.artist = static_cast<long>(i);
    if (entry.m_aKinds[i] == NodeKind::Album) levels.album = static_cast<long>(i);
  }
  return levels;
}

// Album names, without ASCII case, with the artist first met with each and
// whether another artist made the album a compilation. Open addressing over
// flat arrays: a hundred thousand albums would otherwise cost a node (and
// an allocation) each.
class AlbumTable {
 public:
  struct Album {
    std::string_view name;
    std::string_view artist;
    bool compilation = false;
  };

  // The album's record; a new one takes artist.
  Album& Meet(std::string_view name, std::string_view artist) {
    if (4 * (m_albums.size() + 1) > 3 * m_slots.size()) Grow();
    const std::uint64_t hash = Hash(name);
    std::uint32_t& slot = m_slots[Probe(name, hash)];
    if (slot == 0) {
      m_albums.push_back({name, artist});
      m_hashes.push_back(hash);
      slot = static_cast<std::uint32_t>(m_albums.size());
    }
    return m_albums[slot - 1];
  }
  bool IsCompilation(std::string_view name) const {
    if (m_slots.empty()) return false;
    const std::uint32_t slot = m_slots[Probe(name, Hash(name))];
    return slot != 0 && m_albums[slot - 1].compilation;
  }

 private:
  static std::uint64_t Hash(std::string_view name) {
    const std::uint64_t h = NoCaseHash()(name) * 0x9E3779B97F4A7C15ull;
    return h ^ (h >> 32);
  }
  // The slot of name, or the empty one where it would go.
  size_t Probe(std::string_view name, std::uint64_t hash) const {
    const size_t mask = m_slots.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
      const std::uint32_t slot = m_slots[i];
      if (slot == 0 || (m_hashes[slot - 1] == hash && EqualsNoCase(m_albums[slot - 1].name, name))) return i;
    }
  }
  void Grow() {
    m_slots.assign(m_slots.empty() ? 1024 : 2 * m_slots.size(), 0);
    const size_t mask = m_slots.size() - 1;
    for (size_t a = 0; a < m_albums.size(); ++a) {
      size_t i = m_hashes[a] & mask;
      while (m_slots[i]) i = (i + 1) & mask;
      m_slots[i] = static_cast<std::uint32_t>(a + 1);
    }
  }

  std::vector<std::uint32_t> m_slots;  // 1 + index into m_albums, 0 for none
  std::vector<Album> m_albums;
  std::vector<std::uint64_t> m_hashes;  // of each album's name
};

// Equal texts; names of groups in a loaded catalogue are mostly the very
// same bytes.
bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && (a.data() == b.data() || a == b);
}

// An album name that occurs with two or more artists (an empty artist
// counting as one) is a compilation. Names compare without ASCII case.
void FindCompilations(const CCatalogue& catalogue, AlbumTable& albums) {
  // An entry with the album and artist of the one before adds nothing:
  // neighbouring tracks of one album skip the look-ups.
  bool haveLast = false;
  std::string_view lastAlbum;
  std::string_view lastArtist;
  for (size_t i = catalogue.GetSize(); i-- > 0;) {
    const CCatalogueEntry& entry = *catalogue.GetAt(i);
    Levels levels = FindArtistAndAlbum(entry);
    if (levels.album < 0) continue;
    const std::string_view albumName = entry.m_aNames[levels.album];
    std::string_view artist = levels.artist < 0 ? std::string_view() : std::string_view(entry.m_aNames[levels.artist]);
    if (haveLast && SameText(lastAlbum, albumName) && SameText(lastArtist, artist)) continue;
    haveLast = true;
    lastAlbum = albumName;
    lastArtist = artist;
    AlbumTable::Album& album = albums.Meet(albumName, artist);
    if (!album.compilation && !EqualsNoCase(album.artist, artist)) album.compilation = true;
  }
}

// The entries of a compilation show Album above Artist, every other album
// Artist above Album: the levels are exchanged in the entries themselves,
// each just before the build adds it (last to first). The views stay valid:
// exchanging levels exchanges views, not bytes.
class ArtistAlbumOrder {
 public:
  explicit ArtistAlbumOrder(const AlbumTable& albums) : m_albums(albums) {}

  void Apply(CCatalogueEntry& entry) {
    Levels levels = FindArtistAndAlbum(entry);
    if (levels.album < 0 || levels.artist < 0) return;
    const std::string_view albumName = entry.m_aNames[levels.album];
    if (!m_bHaveLast || !SameText(m_lastAlbum, albumName)) m_bCompilation = m_albums.IsCompilation(albumName);
    if (m_bCompilation == (levels.artist < levels.album)) {
      std::swap(entry.m_aNames[levels.artist], entry.m_aNames[levels.album]);
      std::swap(entry.m_aKinds[levels.artist], entry.m_aKinds[levels.album]);
    }
    m_bHaveLast = true;
    m_lastAlbum = albumName;
  }

 private:
  const AlbumTable& m_albums;
  bool m_bHaveLast = false;
  bool m_bCompilation = false;
  std::string_view m_lastAlbum;
};

}  // namespace

void TreeView::Rebuild(CCatalogue& catalogue, const NodeIcons& icons, IPrompt* prompt) {
  std::optional<WaitCursor> wait;
  if (prompt) wait.emplace(*prompt);
  m_nTopRow = 0;
  if (m_pScrollBar) m_pScrollBar->SetPosition(0);
  DeleteChildren();
  ResetRootFlags();
  m_pShownEntries = catalogue.ShareEntries();
  AlbumTable albums;
  FindCompilations(catalogue, albums);
  ArtistAlbumOrder order(albums);
  AddCatalogueEntries(catalogue, icons, [&order](CCatalogueEntry& entry) { order.Apply(entry); });
  MergeSingleChildChains();
  SortChildren();
  if (DisplayNode* first = RowAt(0)) first->SetFocusMark(true);
  Clamp();
}

void TreeView::SetArea(int x, int y, int width, int height) {
  m_nAreaX = x;
  m_nAreaY = y;
  m_nAreaWidth = width;
  m_nAreaHeight = std::max(height, 0);
  m_nRowsPerPage = m_nAreaHeight / kRowHeight;
  Clamp();
}

int TreeView::GetPageRowCount() const { return std::clamp(CountRows() - m_nTopRow, 0, m_nRowsPerPage); }

DisplayNode* TreeView::NextRowWithDepth(const DisplayNode* node, int& depth) {
  if (node->IsExpanded() && node->GetFirstChild()) {
    ++depth;
    return node->GetFirstChild();
  }
  for (const DisplayNode* a = node; a; a = a->GetParent(), --depth)
    if (a->GetNext()) return a->GetNext();
  return nullptr;
}

void TreeView::Clamp() {
  int maxTop = CountRows() - m_nRowsPerPage;
  m_nTopRow = std::max(std::min(m_nTopRow, maxTop), 0);
  if (m_pScrollBar) {
    m_pScrollBar->SetRange(maxTop);
    m_pScrollBar->SetPosition(m_nTopRow);
  }
}

bool TreeView::SmoothScrolling() const { return m_pConfig && (m_pConfig->scrollOptions & kSmoothScrolling); }

void TreeView::MoveTop(long long amount) {
  m_nTopRow = static_cast<int>(std::clamp<long long>(m_nTopRow + amount, INT_MIN, INT_MAX));
  Clamp();
}

void TreeView::Scroll(int delta, Redraw redraw) {
  if (redraw == Redraw::Smooth && delta != 0 && SmoothScrolling()) {
    int step = delta > 0 ? 1 : -1;
    for (long long k = std::llabs(delta) - 1; k > 0; --k) Scroll(step, Redraw::Once);
    MoveTop(step);
  } else {
    MoveTop(delta);
  }
  if (redraw != Redraw::None) Refresh();
}

void TreeView::EnsureVisible(const DisplayNode* node, Redraw redraw) {
  int i = node ? node->RowIndex() : -1;
  if (i < m_nTopRow)
    Scroll(i - m_nTopRow, redraw);
  else if (i >= m_nTopRow + m_nRowsPerPage)
    Scroll(i - m_nRowsPerPage - m_nTopRow + 1, redraw);
  else if (redraw != Redraw::None)
    Refresh();
}

int TreeView::HitTest(int x, int y) {
  int rx = x - m_nAreaX;
  int ry = y - m_nAreaY;
  if (rx < 0 || ry < 0 || rx >= m_nAreaWidth || ry >= m_nAreaHeight) return kZoneNone;
  m_nHitRow = ry / kRowHeight;
  if (m_nHitRow >= GetPageRowCount()) return kZoneEmpty;
  const DisplayNode* node = RowAt(m_nTopRow + m_nHitRow);
  int d = node->Depth();
  if (rx <= kIndent * d - kIndent) return kZoneEmpty;
  if (rx > kIndent * d) return kZoneRowText;
  return node->GetKind() == NodeKind::File ? kZoneEmpty : kZoneRowToggle;
}

DisplayNode* TreeView::HitNode() const {
  if (m_nHitRow < 0 || m_nHitRow >= GetPageRowCount()) return nullptr;
  return RowAt(m_nTopRow + m_nHitRow);
}

void TreeView::Refresh() {
  if (m_pWindow) m_pWindow->Send(WM_TREE_REFRESH, 0, 0);
}

void TreeView::MoveFocusMark(DisplayNode* to) {
  if (DisplayNode* focus = FindFocus()) focus->SetFocusMark(false);
  to->SetFocusMark(true);
}

void TreeView::MoveFocus(DisplayNode* from, DisplayNode* to, Modifiers keys, Redraw redraw) {
  if (!to) return;
  if (Has(keys, Modifiers::Shift)) {
    SelectRange(from, to);
  } else {
    if (!Has(keys, Modifiers::Ctrl)) {
      SetSelection(SelectionState::Unselected);
      to->SetSelection(SelectionState::Selected);
    }
    if (from) from->SetFocusMark(false);
    to->SetFocusMark(true);
  }
  EnsureVisible(to, redraw);
}

DisplayNode* TreeView::LastChildRow(const DisplayNode* node) const {
  int depth = node->Depth();
  DisplayNode* row = NextRowWithDepth(node, depth);
  if (!row) return nullptr;
  for (;;) {
    int nextDepth = depth;
    DisplayNode* next = NextRowWithDepth(row, nextDepth);
    if (!next || nextDepth != depth) return row;
    row = next;
  }
}

void TreeView::ClickRowText(DisplayNode* node, Modifiers keys) {
  if (!node) return;
  const bool ctrl = Has(keys, Modifiers::Ctrl);
  if (Has(keys, Modifiers::Shift)) {
    SelectRange(FindFocus(), node);
  } else {
    SelectionState state = ctrl && node->GetSelection() == SelectionState::Selected ? SelectionState::Unselected
                                                                                    : SelectionState::Selected;
    if (!ctrl) SetSelection(SelectionState::Unselected);
    node->SetSelection(state);
    MoveFocusMark(node);
  }
  Refresh();
}

void TreeView::Expand(DisplayNode* node) {
  node->SetExpanded(true);
  // As many children as fit come onto the page, the node staying on it.
  EnsureVisible(LastChildRow(node), Redraw::Once);
  EnsureVisible(node, Redraw::Once);
}

void TreeView::ToggleRow(DisplayNode* node) {
  if (!node) return;
  if (!node->IsExpanded()) {
    Expand(node);
    return;
  }
  node->SetExpanded(false);
  DisplayNode* focus = FindFocus();
  if (focus && focus->IsDescendantOf(node)) {
    focus->SetFocusMark(false);
    node->SetFocusMark(true);
  }
  // The tree may now end above the page.
  Clamp();
  Refresh();
}

void TreeView::ClickEmptyArea(Modifiers keys) {
  if (keys != Modifiers::None) return;
  SetSelection(SelectionState::Unselected);
  Refresh();
}

void TreeView::SelectForMenu(DisplayNode* node) {
  if (!node || node->IsSelected()) return;
  SetSelection(SelectionState::Unselected);
  node->SetSelection(SelectionState::Selected);
  MoveFocusMark(node);
  Refresh();
}

void TreeView::PageMove(DisplayNode* focus, bool down, Modifiers keys) {
  DisplayNode* target = focus;
  for (int k = 0; k < m_nRowsPerPage - 1; ++k) {
    DisplayNode* n = down ? target->NextRow() : target->PreviousRow();
    if (!n) break;
    target = n;
  }
  EnsureVisible(focus, Redraw::Once);
  MoveFocus(focus, target, keys, Redraw::Smooth);
}

void TreeView::MoveUpDown(DisplayNode* focus, bool down, Modifiers keys) {
  const bool ctrl = Has(keys, Modifiers::Ctrl), shift = Has(keys, Modifiers::Shift);
  if (shift)
    focus->SetSelection(SelectionState::Selected);
  else if (!ctrl)
    SetSelection(SelectionState::Unselected);
  focus->SetFocusMark(false);
  DisplayNode* target = down ? focus->NextRow() : focus->PreviousRow();
  if (!target) target = focus;
  if (!ctrl || shift) target->SetSelection(SelectionState::Selected);
  target->SetFocusMark(true);
  EnsureVisible(target, Redraw::Once);
}

void TreeView::OnKey(TreeKey key, Modifiers keys) {
  DisplayNode* focus = FindFocus();
  if (!focus) return;
  switch (key) {
    case TreeKey::Space:
      focus->SetSelection(keys == Modifiers::Ctrl && focus->GetSelection() == SelectionState::Selected
                              ? SelectionState::Unselected
                              : SelectionState::Selected);
      Refresh();
      break;
    case TreeKey::PageUp:
    case TreeKey::PageDown:
      PageMove(focus, key == TreeKey::PageDown, keys);
      break;
    case TreeKey::End:
      MoveFocus(focus, RowAt(CountRows() - 1), keys, Redraw::Once);
      break;
    case TreeKey::Home:
      MoveFocus(focus, RowAt(0), keys, Redraw::Once);
      break;
    case TreeKey::Left:
      if (focus->IsExpanded()) {
        focus->SetExpanded(false);
        Clamp();
        Refresh();
      } else if (DisplayNode* parent = focus->GetParent(); parent && parent->GetParent()) {
        // The nearest earlier row of smaller depth is always the parent's.
        MoveFocus(focus, parent, Modifiers::None, Redraw::Once);
      }
      break;
    case TreeKey::Right:
      if (focus->GetKind() == NodeKind::File) break;
      if (!focus->IsExpanded())
        Expand(focus);
      else if (focus->HasChildren())
        MoveFocus(focus, focus->GetFirstChild(), Modifiers::None, Redraw::Once);
      break;
    case TreeKey::Up:
    case TreeKey::Down:
      MoveUpDown(focus, key == TreeKey::Down, keys);
      break;
  }
}

}  // namespace jb
