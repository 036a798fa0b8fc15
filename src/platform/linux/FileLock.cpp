#include "platform/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <vector>

#include "platform/File.h"
#include "platform/Paths.h"

namespace jb {
namespace {

// The locks this thread holds, by the lock file's identity (two spellings
// of one path are one lock): taking one again only counts.
struct HeldLock {
  dev_t dev;
  ino_t ino;
  std::string path;
  int fd;
  int depth;
};
thread_local std::vector<HeldLock> t_held;

std::vector<HeldLock>::iterator FindHeld(dev_t dev, ino_t ino) {
  return std::find_if(t_held.begin(), t_held.end(), [&](const HeldLock& h) { return h.dev == dev && h.ino == ino; });
}

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Opens the lock file, replacing whatever else stands at its name (a link,
// a FIFO): nothing is ever opened through it.
int OpenLockFile(const std::string& path, struct stat& st) {
  for (int attempt = 0;; ++attempt) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0644);
    if (fd < 0 && errno != ELOOP) break;
    if (fd >= 0) {
      if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) return fd;
      ::close(fd);
    }
    if (attempt == 3) {
      errno = EEXIST;
      break;
    }
    if (::unlink(path.c_str()) != 0) break;
  }
  throw FileError::FromErrno("Cannot make the lock '" + path + "'");
}

// Waits for the lock on fd's file, and makes sure that it is still the one
// at its name (the holder before removes it as it lets go): if not, locks
// the one there now.
int LockFile(const std::string& path, int fd, struct stat& st) {
  for (;;) {
    int rc;
    do rc = ::flock(fd, LOCK_EX);
    while (rc != 0 && errno == EINTR);
    if (rc != 0) {
      FileError error = FileError::FromErrno("Cannot lock '" + path + "'");
      ::close(fd);
      throw error;
    }
    struct stat named;
    if (::lstat(path.c_str(), &named) == 0 && SameFile(st, named)) return fd;
    ::close(fd);
    fd = OpenLockFile(path, st);
  }
}

}  // namespace

CFileLock::CFileLock(const std::string& path) {
  std::string file = FollowLinks(path);
  std::string lockPath = std::string(DirectoryPart(file)) + SideFileStem(FileNamePart(file)) + ".lock";
  struct stat st;
  int fd = OpenLockFile(lockPath, st);
  auto held = FindHeld(st.st_dev, st.st_ino);
  if (held != t_held.end()) {
    ::close(fd);
    ++held->depth;
  } else {
    fd = LockFile(lockPath, fd, st);
    t_held.push_back({st.st_dev, st.st_ino, lockPath, fd, 1});
  }
  m_dev = st.st_dev;
  m_ino = st.st_ino;
}

CFileLock::~CFileLock() {
  auto held = FindHeld(m_dev, m_ino);
  if (held == t_held.end() || --held->depth > 0) return;
  ::unlink(held->path.c_str());  // before letting go, so no one waits on it in vain
  ::close(held->fd);
  t_held.erase(held);
}

std::string FollowLinks(const std::string& path) {
  std::string file = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st;
    if (::lstat(file.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return file;
    char target[PATH_MAX];
    ssize_t n = ::readlink(file.c_str(), target, PATH_MAX);
    if (n >= PATH_MAX) {  // cut short: no path the system could follow
      errno = ENAMETOOLONG;
      n = -1;
    }
    if (n < 0) throw FileError::FromErrno("Cannot read the link '" + file + "'");
    std::string text(target, static_cast<size_t>(n));
    file = text[0] == kPathSeparator ? text : std::string(DirectoryPart(file)) + text;
  }
  errno = ELOOP;
  throw FileError::FromErrno("Cannot follow '" + path + "'");
}

std::string SideFileStem(std::string_view fileName) {
  // Room for the "." and the longest ending, ".XXXXXX.tmp".
  constexpr size_t kRoom = NAME_MAX - 12;
  std::string stem(".");
  stem.append(fileName.substr(0, kRoom));
  return stem;
}

}  // namespace jb
