#include "treeview/TreeText.h"

#include <fnmatch.h>

#include <cstdint>

#include "platform/Text.h"

namespace jb {

std::string RowText(const DisplayNode& node) {
  std::string text = node.GetName();
  for (char& c : text)
    if (c == DisplayNode::kSeparator) c = '>';
  return text;
}

namespace {

// Pre-order over every node below root, skipping the subtrees of nodes
// deeper than maxDepth; visit gets the node and its depth.
template <class Visit>
void ForEachRow(DisplayNode& root, int maxDepth, Visit&& visit) {
  DisplayNode* n = root.GetFirstChild();
  int depth = 1;
  while (n) {
    visit(n, depth);
    if (n->HasChildren() && depth < maxDepth) {
      n = n->GetFirstChild();
      ++depth;
      continue;
    }
    while (n && !n->GetNext() && n != &root) {
      n = n->GetParent();
      --depth;
    }
    n = n && n != &root ? n->GetNext() : nullptr;
  }
}

bool Matches(const std::string& pattern, const std::string& path) {
  return path == pattern || ::fnmatch(pattern.c_str(), path.c_str(), 0) == 0;
}

}  // namespace

void WriteOutline(const DisplayNode& root, int maxDepth, const std::function<void(std::string_view)>& write) {
  std::string line;
  ForEachRow(const_cast<DisplayNode&>(root), maxDepth, [&](const DisplayNode* n, int depth) {
    line.assign(2 * static_cast<size_t>(depth - 1), ' ');
    line += EscapeControlBytes(RowText(*n));
    line += '\n';
    write(line);
  });
}

std::vector<DisplayNode*> FindRows(DisplayNode& root, const std::string& pattern) {
  std::vector<DisplayNode*> rows;
  std::vector<std::string> paths;  // the path of the current row's ancestors, by depth
  ForEachRow(root, INT32_MAX, [&](DisplayNode* n, int depth) {
    paths.resize(static_cast<size_t>(depth));
    std::string& path = paths.back();
    path = depth > 1 ? paths[static_cast<size_t>(depth) - 2] + "/" : std::string();
    path += RowText(*n);
    if (Matches(pattern, path) || Matches(pattern, EscapeControlBytes(path))) rows.push_back(n);
  });
  return rows;
}

}  // namespace jb
