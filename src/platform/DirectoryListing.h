#pragma once
// One directory's entries, as the directory walk reads them.

#include <compare>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
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
// left out. The names share one buffer: a large directory costs two
// allocations, not one per name.
class DirectoryListing {
 public:
  size_t FileCount() const { return m_files.size(); }
  size_t DirectoryCount() const { return m_directories.size(); }
  std::string_view File(size_t i) const { return Name(m_files[i]); }
  std::string_view Directory(size_t i) const { return Name(m_directories[i]); }
  // Frees the names.
  void Clear();

 private:
  friend class CDirectory;
  std::string_view Name(std::uint32_t at) const {
    return {reinterpret_cast<const char*>(m_names.data()) + at + 1, m_names[at]};
  }

  // Each name as a length byte (names are at most 255 bytes) and its bytes.
  std::vector<unsigned char> m_names;
  std::vector<std::uint32_t> m_files;  // offsets into m_names
  std::vector<std::uint32_t> m_directories;
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
  // The open directory, for opening its files relative to it.
  int Fd() const { return m_fd; }
  // Reads the entries once; false when the directory cannot be read.
  bool List(DirectoryListing& listing);

 private:
  CDirectory(int fd, DirectoryId id) : m_fd(fd), m_id(id) {}
  int m_fd;
  DirectoryId m_id;
};

}  // namespace jb
