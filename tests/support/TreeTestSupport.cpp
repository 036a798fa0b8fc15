#include "TreeTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>

#include "platform/Paths.h"
#include "platform/Text.h"
#include "treeview/TreeText.h"

namespace jb::test {

namespace {
std::vector<std::string> Split(const std::string& s) {
  std::vector<std::string> out;
  std::istringstream in(s);
  for (std::string part; std::getline(in, part, '|');) out.push_back(part);
  return out;
}

std::string Line(int depth, const std::string& name, int flags, int icon, const std::string& path) {
  return std::string(2 * depth, ' ') + Shown(name) + " f" + std::to_string(flags) + " i" + std::to_string(icon) + " " +
         path + "\n";
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
    out += Line(n->Depth(), n->GetName(), n->GetFlags(), n->GetIcon(), n->GetPath());
  return out;
}

namespace {

// The build as described: entries added last to first, lists searched front
// to back, new children put first, chains merged, an insertion sort; files
// and folders matched as paths.
struct Ref {
  std::string name, path;
  int flags = DisplayNode::kRootFlags, icon = 0;
  Ref* parent = nullptr;
  std::vector<std::unique_ptr<Ref>> kids;
  NodeKind Kind() const { return static_cast<NodeKind>(flags & 0x0F); }
  // Files below a group go by file name, everything else by its text.
  std::string Key() const {
    return Kind() == NodeKind::File && parent->parent ? path.substr(path.rfind('/') + 1) : name;
  }
};

bool SortsAfter(const Ref& a, const Ref& b) {
  static const int kClass[8] = {0, 0, 1, 1, 1, 2, 3, 0};
  if (kClass[KindByte(a.Kind())] != kClass[KindByte(b.Kind())])
    return kClass[KindByte(a.Kind())] > kClass[KindByte(b.Kind())];
  return a.Key() > b.Key();  // char_traits compares bytes unsigned
}

// A file level names a child of the same file, a folder one of the same
// path, any other group one of the same name without case.
bool Names(const Ref& c, NodeKind kind, const std::string& name, const std::string& path) {
  if (c.Kind() != kind) return false;
  if (kind == NodeKind::File) return !path.empty() && SamePath(c.path, path);
  return kind == NodeKind::Folder ? SamePath(c.name, name) : EqualsNoCase(c.name, name);
}

void Add(Ref& root, const CCatalogueEntry& e, const NodeIcons& icons) {
  Ref* n = &root;
  size_t paths = 0;
  for (size_t l = 0; l < e.m_aNames.size(); ++l) {
    NodeKind kind = e.m_aKinds[l];
    std::string path = kind == NodeKind::File && paths < e.m_aPaths.size() ? e.m_aPaths[paths] : "";
    paths += kind == NodeKind::File;  // every file level takes its path
    auto it =
        std::find_if(n->kids.begin(), n->kids.end(), [&](auto& c) { return Names(*c, kind, e.m_aNames[l], path); });
    Ref* child = it == n->kids.end() ? nullptr : it->get();
    if (!child) {
      n->kids.insert(n->kids.begin(), std::make_unique<Ref>());
      child = n->kids.front().get();
      *child = {
          e.m_aNames[l], path, KindByte(kind) | 0x20, kind == NodeKind::File ? e.m_nIcon : icons.Group(kind), n, {}};
    }
    if (kind != NodeKind::File) n = child;  // the files of an entry are siblings
  }
}

void MergeAndSort(Ref& n) {
  for (auto& c : n.kids) MergeAndSort(*c);
  if (n.parent && n.kids.size() == 1) {
    std::unique_ptr<Ref> c = std::move(n.kids[0]);
    n = {n.name + " " + DisplayNode::kSeparator + " " + c->name,
         c->path,
         c->flags,
         c->icon,
         n.parent,
         std::move(c->kids)};
    for (auto& g : n.kids) g->parent = &n;
  }
  std::vector<std::unique_ptr<Ref>> sorted;
  for (auto& c : n.kids) {
    auto at = sorted.begin();
    while (at != sorted.end() && !SortsAfter(**at, *c)) ++at;
    sorted.insert(at, std::move(c));
  }
  n.kids = std::move(sorted);
}

// An album named with two different artists is a compilation: album level
// first; every other album goes below its artist.
void Compilations(std::vector<CCatalogueEntry>& entries) {
  std::map<std::string, std::string> artistOf;
  std::set<std::string> compilations;
  auto last = [](const CCatalogueEntry& e, NodeKind kind) {
    auto at = std::find(e.m_aKinds.rbegin(), e.m_aKinds.rend(), kind);
    return at == e.m_aKinds.rend() ? -1L : static_cast<long>(e.m_aKinds.rend() - at - 1);
  };
  for (int pass = 0; pass < 2; ++pass)
    for (CCatalogueEntry& e : entries) {
      long ar = last(e, NodeKind::Artist), al = last(e, NodeKind::Album);
      if (al < 0) continue;
      std::string album = ToLowerAscii(e.m_aNames[al]), artist = ar < 0 ? "" : ToLowerAscii(e.m_aNames[ar]);
      if (pass == 0 && !artistOf.try_emplace(album, artist).second && artistOf[album] != artist)
        compilations.insert(album);
      if (pass == 1 && ar >= 0 && (ar < al) == (compilations.count(album) > 0)) {
        std::swap(e.m_aNames[ar], e.m_aNames[al]);
        std::swap(e.m_aKinds[ar], e.m_aKinds[al]);
      }
    }
}

void DumpRef(const Ref& n, int depth, std::string& out) {
  if (depth > 0) out += Line(depth, n.name, n.flags, n.icon, n.path);
  for (const auto& c : n.kids) DumpRef(*c, depth + 1, out);
}

}  // namespace

std::string ReferenceBuild(const CCatalogue& catalogue, const NodeIcons& icons) {
  std::vector<CCatalogueEntry> entries;
  for (size_t i = 0; i < catalogue.GetSize(); ++i) entries.push_back(*catalogue.GetAt(i));
  Compilations(entries);
  Ref root;
  for (size_t i = entries.size(); i-- > 0;) Add(root, entries[i], icons);
  MergeAndSort(root);
  if (!root.kids.empty()) root.kids[0]->flags |= DisplayNode::kFocusMark;
  std::string out;
  DumpRef(root, 0, out);
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
