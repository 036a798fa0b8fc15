#pragma once
// File-system services the program calls by name.

#include <string>

namespace jb {

// True when path names an existing file (of any kind).
bool FileExists(const std::string& path);
// Makes dir the current directory; false when that fails.
bool ChangeDirectory(const std::string& dir);
std::string CurrentDirectory();
// path made absolute against the current directory (no resolution of links).
std::string AbsolutePath(const std::string& path);

}  // namespace jb
