#pragma once
// Catalogues written as short strings, readable dumps of display trees,
// bitmaps and pictures.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/CCatalogue.h"
#include "sprites/CQvSprite.h"
#include "treeview/DisplayNode.h"
#include "treeview/TreeView.h"

namespace jb::test {

// Levels "|"-separated, each a kind letter and a name (u user type, f folder,
// a artist, b album, p play-list, g file group, t file): "aBand|bLive|tOne".
// Paths "|"-separated too.
std::unique_ptr<CCatalogueEntry> E(const std::string& levels, const std::string& paths, std::uint8_t icon = 0);

// The name with the separator byte shown as ">".
std::string Shown(const std::string& name);
// The children of node as "name[=path][(children)]", ","-separated.
std::string Shape(const DisplayNode& node);
// One line per node in pre-order: depth, shown name, flags, icon and path.
std::string Dump(const DisplayNode& root);

// The bytes of an uncompressed 24-bit bitmap file (bottom-up rows) whose
// pixel (x, y) is rgbAt(x, y) as 0xRRGGBB.
std::vector<std::uint8_t> Bitmap24(int width, int height, const std::function<std::uint32_t(int, int)>& rgbAt);

// A picture of one colour.
CQvSprite Flat(int width, int height, std::uint32_t argb);
// The pixels from (x, y) on, rightwards or down, as the letters legend gives
// their colours ('?' for others).
std::string Strip(const CQvSprite& s, int x, int y, int count,
                  const std::vector<std::pair<std::uint32_t, char>>& legend, bool down = false);
// The one row that path finds.
DisplayNode* FindRow(DisplayNode& root, const std::string& path);

// "focus [selection] top row" of a tree of groups of files: groups by name
// when wholly selected, else the selected files by path.
std::string FocusSelectionAndTop(TreeView& tree);

}  // namespace jb::test
