#include "TreeTestSupport.h"

#include <cstdio>
#include <functional>

#include "platform/Text.h"

namespace jb::test {

std::unique_ptr<CCatalogueEntry> MakeEntry(std::initializer_list<Level> levels, std::vector<std::string> paths,
                                           std::uint8_t icon) {
  auto entry = std::make_unique<CCatalogueEntry>();
  for (const Level& level : levels) {
    entry->m_aNames.push_back(level.name);
    entry->m_aKinds.push_back(level.kind);
  }
  entry->m_aPaths = std::move(paths);
  entry->m_nIcon = icon;
  return entry;
}

std::unique_ptr<CCatalogueEntry> Track(const std::string& artist, const std::string& album, const std::string& title,
                                       const std::string& path, std::uint8_t icon) {
  if (artist.empty()) return MakeEntry({{Album, album}, {File, title}}, {path}, icon);
  return MakeEntry({{Artist, artist}, {Album, album}, {File, title}}, {path}, icon);
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

std::string Shown(const std::string& name) {
  std::string out;
  for (char c : name) out += c == DisplayNode::kSeparator ? '>' : c;
  return out;
}

namespace {

std::string Line(int depth, const std::string& name, int kind, int flags, int icon, const std::string& path) {
  char tail[64];
  std::snprintf(tail, sizeof tail, " k%d f%02X i%d p", kind, flags, icon);
  return std::string(2 * (depth - 1), ' ') + Shown(name) + tail + path + "\n";
}

}  // namespace

std::string Dump(const DisplayNode& root) {
  std::string out;
  for (const DisplayNode* n = root.GetFirstChild(); n; n = DisplayNode::PreOrderNext(n, &root))
    out += Line(n->Depth(), n->GetName(), n->GetKind(), n->GetFlags(), n->GetIcon(), n->GetPath());
  return out;
}

std::string ChildNames(const DisplayNode& node) {
  std::string out;
  for (const DisplayNode* c = node.GetFirstChild(); c; c = c->GetNext()) out += (out.empty() ? "" : "|") + Shown(c->GetName());
  return out;
}

namespace {

// The build as the behaviour is described: lists searched front to back,
// new children put first, an insertion sort.
struct RefNode {
  std::string name;
  int kind = Root;
  int flags = 0xA7;
  int icon = 0;
  std::string path;
  RefNode* parent = nullptr;
  std::vector<std::unique_ptr<RefNode>> children;
};

int SortClass(int kind) {
  static const int classes[8] = {0, 0, 1, 1, 1, 2, 3, 0};
  return kind < 8 ? classes[kind] : 0;
}

std::string FileName(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool Greater(const std::string& a, const std::string& b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i)
    if (a[i] != b[i]) return static_cast<unsigned char>(a[i]) > static_cast<unsigned char>(b[i]);
  return a.size() > b.size();
}

bool SortsAfter(const RefNode& a, const RefNode& b) {
  if (SortClass(a.kind) != SortClass(b.kind)) return SortClass(a.kind) > SortClass(b.kind);
  if (a.kind != File || a.parent->parent == nullptr) return Greater(a.name, b.name);
  return Greater(FileName(a.path), FileName(b.path));
}

void AddEntry(RefNode& n, const CCatalogueEntry& e, size_t level, size_t& pathPos, const NodeIcons& icons) {
  if (level >= e.m_aNames.size()) return;
  int kind = e.m_aKinds[level];
  RefNode* child = nullptr;
  for (auto& c : n.children)
    if (c->kind == kind && EqualsNoCase(c->name, e.m_aNames[level])) {
      child = c.get();
      break;
    }
  if (!child) {
    auto made = std::make_unique<RefNode>();
    made->name = e.m_aNames[level];
    made->kind = kind;
    made->flags = kind | 0x20;
    made->parent = &n;
    if (kind < File) made->icon = icons.group[kind];
    if (kind == File) {
      made->icon = e.m_nIcon;
      made->path = pathPos < e.m_aPaths.size() ? e.m_aPaths[pathPos] : "";
      ++pathPos;
    }
    child = made.get();
    n.children.insert(n.children.begin(), std::move(made));
  }
  if (level + 1 == e.m_aNames.size()) return;
  AddEntry(kind == File ? n : *child, e, level + 1, pathPos, icons);
}

void Merge(RefNode& n) {
  for (auto& c : n.children) Merge(*c);
  if (n.kind == Root || n.children.size() != 1) return;
  std::unique_ptr<RefNode> child = std::move(n.children[0]);
  n.flags = child->flags;
  n.kind = child->kind;
  n.icon = child->icon;
  n.name = n.name + " " + DisplayNode::kSeparator + " " + child->name;
  n.path = child->path;
  n.children = std::move(child->children);
  for (auto& g : n.children) g->parent = &n;
}

void Sort(RefNode& n) {
  for (auto& c : n.children) Sort(*c);
  std::vector<std::unique_ptr<RefNode>> sorted;
  for (auto& c : n.children) {
    auto at = sorted.begin();
    while (at != sorted.end() && !SortsAfter(**at, *c)) ++at;
    sorted.insert(at, std::move(c));
  }
  n.children = std::move(sorted);
}

void Compilations(CCatalogue& cat) {
  std::vector<std::string> seenAlbums, seenArtists, compilations;
  auto inList = [](const std::vector<std::string>& list, const std::string& s) {
    for (const auto& x : list)
      if (EqualsNoCase(x, s)) return true;
    return false;
  };
  auto last = [](const CCatalogueEntry& e, int kind) {
    long at = -1;
    for (size_t i = 0; i < e.m_aKinds.size(); ++i)
      if (e.m_aKinds[i] == kind) at = static_cast<long>(i);
    return at;
  };
  for (size_t i = cat.GetSize(); i-- > 0;) {
    const CCatalogueEntry& e = *cat.GetAt(i);
    long al = last(e, Album);
    if (al < 0 || inList(compilations, e.m_aNames[al])) continue;
    long ar = last(e, Artist);
    std::string artist = ar < 0 ? "" : e.m_aNames[ar];
    long k = static_cast<long>(seenAlbums.size()) - 1;
    while (k >= 0 && !EqualsNoCase(seenAlbums[k], e.m_aNames[al])) --k;
    if (k < 0) {
      seenAlbums.push_back(e.m_aNames[al]);
      seenArtists.push_back(artist);
    } else if (!EqualsNoCase(seenArtists[k], artist)) {
      compilations.push_back(e.m_aNames[al]);
      seenAlbums.erase(seenAlbums.begin() + k);
      seenArtists.erase(seenArtists.begin() + k);
    }
  }
  for (size_t i = cat.GetSize(); i-- > 0;) {
    CCatalogueEntry& e = *cat.GetAt(i);
    long ar = last(e, Artist), al = last(e, Album);
    if (ar < 0 || al < 0) continue;
    bool comp = inList(compilations, e.m_aNames[al]);
    if ((comp && ar < al) || (!comp && ar > al)) {
      std::swap(e.m_aNames[ar], e.m_aNames[al]);
      std::swap(e.m_aKinds[ar], e.m_aKinds[al]);
    }
  }
}

void DumpRef(const RefNode& n, int depth, std::string& out) {
  if (depth > 0) out += Line(depth, n.name, n.kind, n.flags, n.icon, n.path);
  for (const auto& c : n.children) DumpRef(*c, depth + 1, out);
}

}  // namespace

std::string ReferenceBuild(CCatalogue& catalogue, const NodeIcons& icons) {
  Compilations(catalogue);
  RefNode root;
  for (size_t i = catalogue.GetSize(); i-- > 0;) {
    size_t pathPos = 0;
    AddEntry(root, *catalogue.GetAt(i), 0, pathPos, icons);
  }
  Merge(root);
  Sort(root);
  if (!root.children.empty()) root.children[0]->flags |= 0x10;
  std::string out;
  DumpRef(root, 0, out);
  return out;
}

}  // namespace jb::test
