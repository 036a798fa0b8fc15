#include "platform/DirectoryListing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <utility>

namespace jb {

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
  DIR* dir = ::fdopendir(m_fd);
  if (!dir) return false;
  int fd = m_fd;
  m_fd = -1;  // closedir closes it
  while (struct dirent* e = ::readdir(dir)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    unsigned char type = e->d_type;
    if (type == DT_LNK || type == DT_UNKNOWN) {
      struct stat st;
      if (::fstatat(fd, e->d_name, &st, 0) != 0) continue;  // dangling or vanished
      type = S_ISREG(st.st_mode) ? DT_REG : S_ISDIR(st.st_mode) ? DT_DIR : DT_UNKNOWN;
    }
    if (type == DT_REG)
      listing.files.push_back(std::move(name));
    else if (type == DT_DIR)
      listing.directories.push_back(std::move(name));
  }
  ::closedir(dir);
  std::sort(listing.files.begin(), listing.files.end());
  std::sort(listing.directories.begin(), listing.directories.end());
  return true;
}

}  // namespace jb
