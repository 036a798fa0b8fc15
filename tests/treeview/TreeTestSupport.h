#pragma once
// Catalogues built in memory, readable dumps of display trees, and a
// straightforward model of the tree build (lists searched front to back,
// insertion sort) that the fast build must agree with.

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/MessageTarget.h"
#include "scan/CCatalogue.h"
#include "treeview/DisplayNode.h"

namespace jb::test {

struct Level {
  std::uint8_t kind;
  std::string name;
};

std::unique_ptr<CCatalogueEntry> MakeEntry(std::initializer_list<Level> levels, std::vector<std::string> paths,
                                           std::uint8_t icon = 0);

// artist / album / title with a path; an empty artist leaves the level out.
std::unique_ptr<CCatalogueEntry> Track(const std::string& artist, const std::string& album, const std::string& title,
                                       const std::string& path, std::uint8_t icon = 0);

// The name with the separator byte shown as ">".
std::string Shown(const std::string& name);

// One line per node in pre-order: indentation by depth, the shown name, kind,
// flags, icon and path.
std::string Dump(const DisplayNode& root);
// The shown names of the children of node, "|"-separated.
std::string ChildNames(const DisplayNode& node);

// The tree the straightforward build gives for the catalogue (which it
// changes as the real build does), as a Dump.
std::string ReferenceBuild(CCatalogue& catalogue, const NodeIcons& icons);

// The bytes of an uncompressed 24-bit bitmap file (bottom-up rows) whose
// pixel (x, y) is rgbAt(x, y) as 0xRRGGBB.
std::vector<std::uint8_t> Bitmap24(int width, int height, const std::function<std::uint32_t(int, int)>& rgbAt);

// Counts refresh requests.
class RecordingWindow : public IMessageTarget {
 public:
  void Post(unsigned message, std::uintptr_t, std::intptr_t) override { posted.push_back(message); }
  void Send(unsigned message, std::uintptr_t, std::intptr_t) override {
    if (message == WM_TREE_REFRESH) ++refreshes;
  }
  int refreshes = 0;
  std::vector<unsigned> posted;
};

}  // namespace jb::test
