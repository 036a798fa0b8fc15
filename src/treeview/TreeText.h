#pragma once
// The display tree as text, for jukebar-cli and scripts: a row's text with
// the separator of merged rows written as ">", a row's path of names from
// the top, an outline of every row, and finding rows by path or glob.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "treeview/DisplayNode.h"

namespace jb {

// The row's name with each separator byte written as ">".
std::string RowText(const DisplayNode& node);

// Every row of the fully expanded tree in display order, down to maxDepth
// (the top level is 1): two spaces per level below the top, the row's text
// with control bytes escaped, a line feed. Lines go to write one by one.
void WriteOutline(const DisplayNode& root, int maxDepth, const std::function<void(std::string_view)>& write);

// The rows whose path (the RowText of the row and its ancestors from the
// top, joined by "/"), as it is or escaped as the outline writes it, equals
// pattern or matches it as a glob ("*" and "?" match "/" too; "[...]" as in
// the shell), in pre-order.
std::vector<DisplayNode*> FindRows(DisplayNode& root, const std::string& pattern);

}  // namespace jb
