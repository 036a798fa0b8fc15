#include "platform/File.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/DirectoryListing.h"
#include "platform/DiskWaits.h"
#include "platform/linux/FileTail.h"

namespace jb {
namespace {

struct DirectoryCache {
  int depth = 0;
  int fd = -1;
  std::string directory;                   // with its trailing separator
  std::shared_ptr<const CDirectory> kept;  // owns fd when set, else fd is the cache's

  void Drop() {
    if (!kept && fd >= 0) ::close(fd);
    kept.reset();
    fd = -1;
  }
};
thread_local DirectoryCache t_cache;

// The cache's handle of directory (with its trailing separator), opened
// unless it is the one in use; -1 when it cannot be.
int CachedDirectory(std::string_view directory) {
  if (t_cache.fd < 0 || t_cache.directory != directory) {
    t_cache.Drop();
    t_cache.directory.assign(directory);
    t_cache.fd = ::open(t_cache.directory.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  }
  return t_cache.fd;
}

int OpenForReading(const std::string& path) {
  size_t slash = path.rfind('/');
  if (t_cache.depth == 0 || slash == std::string::npos || slash + 1 == path.size())
    return ::open(path.c_str(), kReadFlags);
  const int dir = CachedDirectory(std::string_view(path).substr(0, slash + 1));
  if (dir < 0) return ::open(path.c_str(), kReadFlags);
  return ::openat(dir, path.c_str() + slash + 1, kReadFlags);
}

}  // namespace

FileError FileError::FromErrno(const std::string& what) {
  const char* reason = std::strerror(errno);
  FileError error(what + ": " + reason);
  error.m_reason = reason;
  return error;
}

ScopedDirectoryCache::ScopedDirectoryCache() { ++t_cache.depth; }

ScopedDirectoryCache::~ScopedDirectoryCache() {
  if (--t_cache.depth > 0) return;
  t_cache.Drop();
  t_cache.directory.clear();
}

void ScopedDirectoryCache::Use(std::shared_ptr<const CDirectory> dir, std::string_view directory) {
  if (t_cache.depth == 0 || !dir) return;
  t_cache.Drop();
  t_cache.fd = dir->Fd();
  t_cache.kept = std::move(dir);
  t_cache.directory.assign(directory);
}

int ScopedDirectoryCache::DirectoryFd(std::string_view directory) {
  return t_cache.depth == 0 ? -1 : CachedDirectory(directory);
}

std::unique_ptr<CReadFile> CReadFile::Open(const std::string& path) {
  int fd = OpenForReading(path);
  if (fd < 0) return nullptr;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  return std::unique_ptr<CReadFile>(new CReadFile(fd, static_cast<std::uint64_t>(st.st_size)));
}

CReadFile::~CReadFile() { ::close(m_fd); }

bool ReadTailOfOpenFile(int fd, void* buffer, size_t n) {
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || static_cast<std::uint64_t>(st.st_size) < n) return false;
  return ReadTailAt(fd, static_cast<std::uint64_t>(st.st_size) - n, buffer, n);
}

bool ReadTailAt(int fd, std::uint64_t at, void* buffer, size_t n) {
  char* out = static_cast<char*>(buffer);
  size_t done = 0;
  if (DiskWaits* waits = DiskWaits::Current(); waits && !waits->Seen()) {
    // From the cache only: EAGAIN says the disk would be waited for. A
    // file system that cannot tell counts as one that waits.
    iovec part{out, n};
    ssize_t got = ::preadv2(fd, &part, 1, static_cast<off_t>(at), RWF_NOWAIT);
    if (got > 0)
      done = static_cast<size_t>(got);
    if (got < 0 && errno != EAGAIN && errno != EINTR)
      waits->Note();
    else
      waits->Count(got < 0 && errno == EAGAIN);
  }
  while (done < n) {
    ssize_t got = ::pread(fd, out + done, n - done, static_cast<off_t>(at + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<size_t>(got);
  }
  return done == n;
}

bool ReadFileTail(const std::string& path, void* buffer, size_t n) {
  int fd = OpenForReading(path);
  if (fd < 0) return false;
  const bool read = ReadTailOfOpenFile(fd, buffer, n);
  ::close(fd);
  return read;
}

size_t CReadFile::Read(void* buffer, size_t n) {
  char* out = static_cast<char*>(buffer);
  size_t done = 0;
  while (done < n) {
    ssize_t got = ::pread(m_fd, out + done, n - done, static_cast<off_t>(m_pos));
    if (got < 0) {
      if (errno == EINTR) continue;
      throw FileError(std::string("Cannot read: ") + std::strerror(errno));
    }
    if (got == 0) break;
    done += static_cast<size_t>(got);
    m_pos += static_cast<std::uint64_t>(got);
  }
  return done;
}

void CReadFile::Write(const void*, size_t) { throw FileError("File opened for reading"); }

std::uint64_t CReadFile::BytesLeft() const { return m_pos < m_size ? m_size - m_pos : 0; }

bool CReadFile::Seek(std::uint64_t offset) {
  if (offset > m_size) return false;
  m_pos = offset;
  return true;
}

}  // namespace jb
