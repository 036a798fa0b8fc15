#include "platform/DirectoryListing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace jb {

namespace {

// The kernel's record, read straight with getdents64: no DIR stream to
// allocate and no descriptor flags to query per directory.
struct KernelDirent {
  ino64_t d_ino;
  off64_t d_off;
  unsigned short d_reclen;
  unsigned char d_type;
  char d_name[];
};

}  // namespace

void DirectoryListing::Clear() {
  std::vector<unsigned char>().swap(m_names);
  std::vector<std::uint32_t>().swap(m_files);
  std::vector<std::uint32_t>().swap(m_directories);
}

std::unique_ptr<CDirectory> CDirectory::Open(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat st;
  if (::fstat(fd, &st) != 0) {
    ::close(fd);
    return nullptr;
  }
  return std::unique_ptr<CDirectory>(new CDirectory(fd, {st.st_dev, st.st_ino}));
}

CDirectory::~CDirectory() {
  if (m_fd >= 0) ::close(m_fd);
}

bool CDirectory::List(DirectoryListing& listing) {
  if (m_fd < 0) return false;
  alignas(KernelDirent) char buffer[32768];
  for (;;) {
    long got = ::syscall(SYS_getdents64, m_fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) break;
    // Each record holds its name and more: the names fit in got bytes.
    std::vector<unsigned char>& names = listing.m_names;
    if (names.capacity() - names.size() < static_cast<size_t>(got))
      names.reserve(std::max(names.size() + static_cast<size_t>(got), 2 * names.capacity()));
    for (long at = 0; at < got;) {
      const auto* e = reinterpret_cast<const KernelDirent*>(buffer + at);
      at += e->d_reclen;
      const char* name = e->d_name;
      if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
      unsigned char type = e->d_type;
      // The entry's type answers without a stat, except for links, which
      // are followed, and file systems that do not record it.
      if (type == DT_LNK || type == DT_UNKNOWN) {
        struct stat st;
        if (::fstatat(m_fd, name, &st, 0) != 0) continue;  // dangling or vanished
        type = S_ISREG(st.st_mode) ? DT_REG : S_ISDIR(st.st_mode) ? DT_DIR : DT_UNKNOWN;
      }
      if (type != DT_REG && type != DT_DIR) continue;
      size_t length = std::strlen(name);
      if (length > 255) continue;  // past NAME_MAX: no path could name it
      auto offset = static_cast<std::uint32_t>(listing.m_names.size());
      listing.m_names.push_back(static_cast<unsigned char>(length));
      listing.m_names.insert(listing.m_names.end(), name, name + length);
      (type == DT_REG ? listing.m_files : listing.m_directories).push_back(offset);
    }
  }
  auto byName = [&listing](std::uint32_t a, std::uint32_t b) { return listing.Name(a) < listing.Name(b); };
  std::sort(listing.m_files.begin(), listing.m_files.end(), byName);
  std::sort(listing.m_directories.begin(), listing.m_directories.end(), byName);
  return true;
}

}  // namespace jb
