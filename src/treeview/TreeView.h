#pragma once
// The display tree as the main window holds it: the root node, rebuilt from
// the catalogue as a whole, plus the page (the tree area, the top row, the
// rows a page holds) and what the mouse and keys do to focus, selection and
// expansion.
//
// For the painter: GetTopRow, GetRowsPerPage, GetArea* and ForEachPageRow
// give the rows to draw with their depth; each DisplayNode gives kind, text
// (byte 16 is the separator glyph), icon, selection, focus mark, expansion
// and whether it has children. Any change of those sends the window the
// refresh request WM_TREE_REFRESH (synchronously).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sprites/CQvSprite.h"
#include "treeview/DisplayNode.h"

namespace jb {

class CCatalogue;
class CConfig;
class IMessageTarget;
class IPrompt;
class SkinSet;
class TreeScrollBar;

// Keys the tree handles itself when the window is in its large form.
enum class TreeKey { Space, PageUp, PageDown, End, Home, Left, Up, Right, Down };

// How a move of the page shows: not at all (the caller paints), in one
// repaint, or row by row with a repaint each when the smooth-scrolling option
// is on (else in one repaint).
enum class Redraw { None, Once, Smooth };

// The modifier keys held with a click or a key.
enum class Modifiers : std::uint8_t { None = 0, Shift = 1, Ctrl = 2 };
constexpr Modifiers operator|(Modifiers a, Modifiers b) {
  return static_cast<Modifiers>(static_cast<std::uint8_t>(a) | static_cast<std::uint8_t>(b));
}
constexpr bool Has(Modifiers set, Modifiers key) {
  return (static_cast<std::uint8_t>(set) & static_cast<std::uint8_t>(key)) != 0;
}

class TreeView : public DisplayNode {
 public:
  static constexpr int kRowHeight = 9;
  static constexpr int kIndent = 9;
  // Hit-test zones of the tree area (the window's zone numbers).
  enum Zone { kZoneNone = 0, kZoneRowText = 7, kZoneRowToggle = 8, kZoneEmpty = 9 };

  TreeView() = default;

  // The configuration read while scrolling (smooth scrolling); may be null.
  void SetConfig(const CConfig* config) { m_pConfig = config; }
  // The window that receives refresh requests; may be null.
  void SetWindow(IMessageTarget* window) { m_pWindow = window; }
  // The scroll bar that mirrors the page position; may be null.
  void SetScrollBar(TreeScrollBar* scrollBar) { m_pScrollBar = scrollBar; }
  // The back buffer the page is painted into and the skin it is painted
  // with, set once when the window is made.
  void SetTarget(CQvSprite* target, const SkinSet* skin) {
    m_pTarget = target;
    m_pSkin = skin;
  }

  // The colour of every row's text: red 216, green 208, blue 200.
  static constexpr Colour kTextColour = 0x00C8D0D8;
  // Paints the tree area: the background (tiled image or colour), then each
  // page row with its selection fill, focus outline, icon and text. The
  // colours come from the configuration (its defaults without one). Does
  // nothing while the area has no height or no target is set.
  void Paint();
  // Draws text with the skin's glyphs from (x, y), cut before the first
  // glyph that would cross x + maxWidth. Each part between separators that
  // is UTF-8 with characters beyond ASCII is drawn through the Windows-1252
  // glyphs; any other part byte by byte.
  void DrawText(int x, int y, int maxWidth, const std::string& text, Colour colour);
  // The nodes the last paint drew, top to bottom.
  const std::vector<DisplayNode*>& GetPageRows() const { return m_aPageRows; }

  // Replaces the tree with one built from the catalogue: album names shared
  // by several artists become compilation albums (Album level before
  // Artist, changing the entries themselves), entries are added last to
  // first, single-child chains merge, lists are sorted, row 0 gets the focus
  // mark. The old tree's expansion, selection and focus are lost.
  void Rebuild(CCatalogue& catalogue, const NodeIcons& icons, IPrompt* prompt = nullptr);

  // The page.
  void SetArea(int x, int y, int width, int height);
  int GetAreaX() const { return m_nAreaX; }
  int GetAreaY() const { return m_nAreaY; }
  int GetAreaWidth() const { return m_nAreaWidth; }
  int GetAreaHeight() const { return m_nAreaHeight; }
  int GetTopRow() const { return m_nTopRow; }
  int GetRowsPerPage() const { return m_nRowsPerPage; }
  // Rows drawn on the page: at most rows per page, fewer at the end.
  int GetPageRowCount() const;
  // Calls visit(node, depth) for each row of the page, top to bottom; depth
  // 1 is the top level.
  template <class Visit>
  void ForEachPageRow(Visit&& visit) const {
    DisplayNode* n = RowAt(m_nTopRow);
    int depth = n ? n->Depth() : 0;
    for (int i = 0; n && i < m_nRowsPerPage; ++i) {
      visit(*n, depth);
      n = NextRowWithDepth(n, depth);
    }
  }

  // Keeps the top row between 0 and the last full page and sets the scroll
  // bar's range and position.
  void Clamp();
  // Moves the page by delta rows.
  void Scroll(int delta, Redraw redraw);
  // Scrolls the least that brings node's row onto the page.
  void EnsureVisible(const DisplayNode* node, Redraw redraw);

  // The zone at client point (x, y); remembers the page row for HitNode.
  int HitTest(int x, int y);
  // The node of the page row last hit, null past the last page row.
  DisplayNode* HitNode() const;

  // Moves the focus mark from from to to: without Shift it also makes to
  // the only selected row (unless Ctrl is held, when nothing but the mark
  // moves); with Shift it selects the range. Then to is made visible.
  void MoveFocus(DisplayNode* from, DisplayNode* to, Modifiers keys, Redraw redraw);
  // The row a freshly expanded node's last child is on (the first child
  // that opens further rows, if one does).
  DisplayNode* LastChildRow(const DisplayNode* node) const;

  // The tree's share of the mouse handlers.
  void ClickRowText(DisplayNode* node, Modifiers keys);
  void ToggleRow(DisplayNode* node);
  void ClickEmptyArea(Modifiers keys);
  // Right button on a row: an unselected row becomes the only selected one.
  void SelectForMenu(DisplayNode* node);
  // A key of the large form. Without a focus node nothing happens.
  void OnKey(TreeKey key, Modifiers keys);

  // Sends the refresh request to the window.
  void Refresh();

 private:
  static DisplayNode* NextRowWithDepth(const DisplayNode* node, int& depth);
  bool SmoothScrolling() const;
  void MoveTop(long long amount);
  void MoveFocusMark(DisplayNode* to);
  void PageMove(DisplayNode* focus, bool down, Modifiers keys);
  void MoveUpDown(DisplayNode* focus, bool down, Modifiers keys);
  void Expand(DisplayNode* node);

  const CConfig* m_pConfig = nullptr;
  IMessageTarget* m_pWindow = nullptr;
  TreeScrollBar* m_pScrollBar = nullptr;
  int m_nAreaX = 0;
  int m_nAreaY = 0;
  int m_nAreaWidth = 0;
  int m_nAreaHeight = 0;
  int m_nTopRow = 0;
  int m_nRowsPerPage = 0;
  int m_nHitRow = 0;
  std::vector<DisplayNode*> m_aPageRows;
  // The entries the tree was built from, whose texts its nodes show.
  std::shared_ptr<const void> m_pShownEntries;
  CQvSprite* m_pTarget = nullptr;
  const SkinSet* m_pSkin = nullptr;
};

}  // namespace jb
