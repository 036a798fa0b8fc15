#pragma once
// One directory's entries, as the directory walk reads them.

#include <compare>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace jb {

// What makes a directory the same directory, whatever path reaches it.
struct DirectoryId {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  auto operator<=>(const DirectoryId&) const = default;
};

// The names in a directory, sorted by bytes so that a walk's order does not
// depend on the file system's hashing. Only regular files and directories
// count (links are followed); FIFOs, sockets, devices and dangling links are
// left out.
struct DirectoryListing {
  std::vector<std::string> files;
  std::vector<std::string> directories;
};

// An open directory.
class CDirectory {
 public:
  // Null when path is gone, unreadable or not a directory.
  static std::unique_ptr<CDirectory> Open(const std::string& path);
  ~CDirectory();
  CDirectory(const CDirectory&) = delete;
  CDirectory& operator=(const CDirectory&) = delete;

  DirectoryId Id() const { return m_id; }
  // Reads the entries once; false when the directory cannot be read.
  bool List(DirectoryListing& listing);

 private:
  CDirectory(int fd, DirectoryId id) : m_fd(fd), m_id(id) {}
  int m_fd;
  DirectoryId m_id;
};

}  // namespace jb
