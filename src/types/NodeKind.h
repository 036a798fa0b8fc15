#pragma once
// The kinds of tree element a description names, and the lists a
// description is made of.

#include <cstdint>
#include <string>
#include <vector>

namespace jb {

enum class NodeKind : std::uint8_t {
  UserType = 0,  // a group named after a type
  Folder = 1,    // a directory path
  Artist = 2,
  Album = 3,
  PlayList = 4,
  FileGroup = 5,  // made by the display tree, never by a type
  File = 6,       // one playable file
  Root = 7,
};

using StringList = std::vector<std::string>;
using KindList = std::vector<NodeKind>;

// The kind's number, as stored and as kept in a node's flag byte.
constexpr std::uint8_t KindByte(NodeKind kind) { return static_cast<std::uint8_t>(kind); }

}  // namespace jb
