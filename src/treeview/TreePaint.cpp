// The tree area's share of the painting: background, then the page's rows.
#include <algorithm>

#include "config/CConfig.h"
#include "skin/SkinSet.h"
#include "treeview/TreeView.h"

namespace jb {
namespace {

// What a paint reads from the configuration.
struct TreeColours {
  std::uint32_t background = 0x00000000;
  std::uint32_t selection = 0x00404080;
  std::uint8_t selectionTransparency = 144;
  bool backgroundImage = false;

  explicit TreeColours(const CConfig* config) {
    if (!config) return;
    background = config->backgroundColour;
    selection = config->selectionColour;
    selectionTransparency = config->selectionTransparency;
    backgroundImage = config->IsBackgroundImageOn();
  }
};

// A stored colour (red in the lowest byte) with a transparency of its own.
Colour WithTransparency(std::uint32_t stored, std::uint8_t transparency) {
  std::uint8_t r, g, b, unused;
  CQvSprite::GetComponents(stored, r, g, b, unused);
  return CQvSprite::GetColor(r, g, b, transparency);
}

bool IsAscii(const std::string& text) {
  return std::none_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// A merged row joins names that may each come in another encoding (a UTF-8
// artist, a Latin-1 file name), so each part between separators is mapped
// on its own.
std::string GlyphBytesByPart(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t start = 0;;) {
    size_t end = text.find(DisplayNode::kSeparator, start);
    out += SkinSet::ToGlyphBytes(text.substr(start, end == std::string::npos ? end : end - start));
    if (end == std::string::npos) return out;
    out += DisplayNode::kSeparator;
    start = end + 1;
  }
}

}  // namespace

void TreeView::DrawText(int x, int y, int maxWidth, const std::string& text, Colour colour) {
  if (!m_pTarget || !m_pSkin) return;
  // Plain ASCII, the common case, needs no conversion (and no copy).
  if (IsAscii(text))
    m_pSkin->DrawText(*m_pTarget, x, y, maxWidth, text, colour);
  else
    m_pSkin->DrawText(*m_pTarget, x, y, maxWidth, GlyphBytesByPart(text), colour);
}

void TreeView::Paint() {
  if (!m_pTarget || !m_pSkin || m_nAreaHeight == 0) return;
  CQvSprite& target = *m_pTarget;
  const TreeColours colours(m_pConfig);

  const CQvSprite* image = colours.backgroundImage ? m_pSkin->BackgroundImage() : nullptr;
  if (image)
    target.DrawTiled(m_nAreaX, m_nAreaY, m_nAreaWidth, m_nAreaHeight, *image);
  else
    target.DrawRect(m_nAreaX, m_nAreaY, m_nAreaWidth, m_nAreaHeight, WithTransparency(colours.background, 0), true);

  m_aPageRows.clear();
  const std::uint8_t s = colours.selectionTransparency;
  const Colour full = WithTransparency(colours.selection, static_cast<std::uint8_t>(s / 2));
  const Colour partial = WithTransparency(colours.selection, s);
  const Colour focus = CQvSprite::GetColor(216, 208, 200, 128);
  int ry = m_nAreaY;
  ForEachPageRow([&](DisplayNode& node, int depth) {
    if (node.IsSelected())
      target.DrawRect(m_nAreaX, ry, m_nAreaWidth, kRowHeight,
                      node.GetSelection() == SelectionState::PartlySelected ? partial : full, true);
    if (node.HasFocusMark()) target.DrawRect(m_nAreaX, ry, m_nAreaWidth, kRowHeight, focus, false);
    const int indent = (depth - 1) * kIndent;
    target.DrawSprite(m_nAreaX + indent + 1, ry, m_pSkin->Icon(node.GetIcon()));
    DrawText(m_nAreaX + indent + 10, ry + 1, m_nAreaWidth - indent - 10, node.GetName(), kTextColour);
    m_aPageRows.push_back(&node);
    ry += kRowHeight;
  });
}

}  // namespace jb
