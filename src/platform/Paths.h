#pragma once
// Path rules of the program. Paths are byte strings with "/" as separator.
// Whether two paths name the same file is decided here alone, so a port to a
// case-insensitive file system changes one function.

#include <climits>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace jb {

inline constexpr char kPathSeparator = '/';
// The longest path the system accepts, in bytes.
inline constexpr size_t kMaxPathLength = PATH_MAX;

// The part after the last separator (the whole path when it has none).
std::string_view FileNamePart(std::string_view path);

// Everything up to and including the last separator (empty when none).
std::string_view DirectoryPart(std::string_view path);

// The file name part less its last "." and what follows; a name without
// "." stays whole.
std::string_view NameWithoutExtension(std::string_view path);

// The text after the last "." of the file's name (empty when the name holds
// no "."): the extension by which a type claims a file.
std::string_view ExtensionOf(std::string_view path);

// dir with a separator appended unless it already ends with one.
std::string WithTrailingSeparator(std::string_view dir);

// root (ending with a separator) followed by name, in one allocation.
std::string PathIn(std::string_view root, std::string_view name);

// The path as a percent-encoded address: "file://" and the path when it is
// absolute, a relative reference when it is not. Players read these in
// play-lists, and the address holds no line end whatever the path's bytes.
std::string FileUrl(std::string_view path);

// Path identity: exact bytes on Linux, whose names are case-sensitive.
bool SamePath(std::string_view a, std::string_view b);

// Hashing and equality of paths by SamePath, for hash containers.
// Both look up by std::string_view in a set of std::string.
struct PathHash {
  using is_transparent = void;
  size_t operator()(std::string_view path) const;
};
struct PathEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const { return SamePath(a, b); }
};

}  // namespace jb
