#include "TreeTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "treeview/TreeText.h"

namespace jb::test {

namespace {
std::vector<std::string> Split(const std::string& s) {
  std::vector<std::string> out;
  std::istringstream in(s);
  for (std::string part; std::getline(in, part, '|');) out.push_back(part);
  return out;
}
}  // namespace

std::unique_ptr<CCatalogueEntry> E(const std::string& levels, const std::string& paths, std::uint8_t icon) {
  auto entry = std::make_unique<CCatalogueEntry>();
  for (const std::string& level : Split(levels)) {
    entry->m_aKinds.push_back(static_cast<NodeKind>(std::string("ufabpgt").find(level[0])));
    entry->m_aNames.push_back(level.substr(1));
  }
  entry->m_aPaths = Split(paths);
  entry->m_nIcon = icon;
  return entry;
}

std::string Shown(const std::string& name) {
  std::string out = name;
  std::replace(out.begin(), out.end(), DisplayNode::kSeparator, '>');
  return out;
}

std::string Shape(const DisplayNode& node) {
  std::string out;
  for (const DisplayNode* c = node.GetFirstChild(); c; c = c->GetNext()) {
    out += (out.empty() ? "" : ",") + Shown(c->GetName()) + (c->GetPath().empty() ? "" : "=" + c->GetPath());
    if (c->HasChildren()) out += "(" + Shape(*c) + ")";
  }
  return out;
}

std::string Dump(const DisplayNode& root) {
  std::string out;
  for (const DisplayNode* n = root.GetFirstChild(); n; n = DisplayNode::PreOrderNext(n, &root))
    out += std::string(2 * n->Depth(), ' ') + Shown(n->GetName()) + " f" + std::to_string(n->GetFlags()) + " i" +
           std::to_string(n->GetIcon()) + " " + n->GetPath() + "\n";
  return out;
}

std::vector<std::uint8_t> Bitmap24(int width, int height, const std::function<std::uint32_t(int, int)>& rgbAt) {
  const int stride = (width * 3 + 3) & ~3;
  std::vector<std::uint8_t> bytes(54 + size_t(stride) * size_t(height), 0);
  auto put = [&](size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = std::uint8_t(v >> (8 * i));
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put(2, std::uint32_t(bytes.size()));
  put(10, 54);
  put(14, 40);
  put(18, std::uint32_t(width));
  put(22, std::uint32_t(height));
  bytes[26] = 1;
  bytes[28] = 24;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const std::uint32_t rgb = rgbAt(x, height - 1 - y);
      size_t at = 54 + size_t(y) * size_t(stride) + size_t(x) * 3;
      bytes[at] = std::uint8_t(rgb);
      bytes[at + 1] = std::uint8_t(rgb >> 8);
      bytes[at + 2] = std::uint8_t(rgb >> 16);
    }
  return bytes;
}

CQvSprite Flat(int width, int height, std::uint32_t argb) {
  CQvSprite s;
  s.CreateBitmap(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) s.SetPixel(x, y, argb);
  return s;
}

std::string Strip(const CQvSprite& s, int x, int y, int count,
                  const std::vector<std::pair<std::uint32_t, char>>& legend, bool down) {
  std::string out;
  for (int i = 0; i < count; ++i) {
    const std::uint32_t p = down ? s.GetPixel(x, y + i) : s.GetPixel(x + i, y);
    auto it = std::find_if(legend.begin(), legend.end(), [&](const auto& l) { return l.first == p; });
    out += it == legend.end() ? '?' : it->second;
  }
  return out;
}

DisplayNode* FindRow(DisplayNode& root, const std::string& path) {
  std::vector<DisplayNode*> rows = FindRows(root, path);
  EXPECT_EQ(rows.size(), 1u) << path;
  return rows.at(0);
}

std::string FocusSelectionAndTop(TreeView& tree) {
  DisplayNode* focus = tree.FindFocus();
  std::string out = !focus ? "-" : focus->HasChildren() ? focus->GetName() : focus->GetPath();
  out += " [";
  for (DisplayNode* g = tree.GetFirstChild(); g; g = g->GetNext())
    if (g->GetSelection() == SelectionState::Selected)
      out += g->GetName() + " ";
    else
      for (DisplayNode* f = g->GetFirstChild(); f; f = f->GetNext()) out += f->IsSelected() ? f->GetPath() + " " : "";
  return out + "] " + std::to_string(tree.GetTopRow());
}

}  // namespace jb::test
