#include <dirent.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/File.h"
#include "platform/FileLock.h"
#include "platform/Paths.h"

namespace jb {
namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& name) {
  throw FileError::FromErrno(what + " '" + name + "'");
}

constexpr char kTempEnd[] = ".tmp";
constexpr size_t kRandomLength = 6;
// Written bytes handed to the disk at a time.
constexpr std::uint64_t kWriteBackBytes = std::uint64_t(8) << 20;
constexpr char kRandomLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

// True for "<stem>.XXXXXX.tmp", the name of a temporary of the file with this stem.
bool IsTemporaryOf(std::string_view name, std::string_view stem) {
  constexpr size_t kEndLength = sizeof(kTempEnd) - 1;
  if (name.size() != stem.size() + 1 + kRandomLength + kEndLength || name.substr(0, stem.size()) != stem ||
      name[stem.size()] != '.' || name.substr(name.size() - kEndLength) != kTempEnd)
    return false;
  std::string_view random = name.substr(stem.size() + 1, kRandomLength);
  return random.find_first_not_of(std::string_view(kRandomLetters, sizeof(kRandomLetters) - 1)) ==
         std::string_view::npos;
}

// Removes the temporaries that killed saves of the file left (never what
// a link names: unlinkat removes the link).
void RemoveLeftovers(int dirFd, const std::string& stem) {
  int fd = ::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  DIR* dir = ::fdopendir(fd);
  if (!dir) {
    ::close(fd);
    return;
  }
  while (const dirent* entry = ::readdir(dir))
    if (IsTemporaryOf(entry->d_name, stem)) ::unlinkat(dirFd, entry->d_name, 0);
  ::closedir(dir);
}

std::string RandomLetters() {
  unsigned char bytes[kRandomLength];
  if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes))
    throw FileError::FromErrno("Cannot make a temporary name");
  std::string letters;
  for (unsigned char b : bytes) letters += kRandomLetters[b % (sizeof(kRandomLetters) - 1)];
  return letters;
}

}  // namespace

std::unique_ptr<CAtomicFile> CAtomicFile::Create(const std::string& target) {
  std::string file = FollowLinks(target);
  std::unique_ptr<CAtomicFile> atomic(new CAtomicFile());
  atomic->m_lock = std::make_unique<CFileLock>(file);
  atomic->m_name = FileNamePart(file);
  if (atomic->m_name.empty()) {
    errno = EISDIR;
    Fail("Cannot save to", file);
  }
  std::string dir(DirectoryPart(file));
  atomic->m_dirFd = ::open(dir.empty() ? "." : dir.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (atomic->m_dirFd < 0) Fail("Cannot open the folder of", file);
  std::string stem = SideFileStem(atomic->m_name);
  RemoveLeftovers(atomic->m_dirFd, stem);
  atomic->CreateTemporary(stem);
  return atomic;
}

void CAtomicFile::CreateTemporary(const std::string& stem) {
  struct stat old;
  bool replaces = ::fstatat(m_dirFd, m_name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(old.st_mode);
  // Unreadable to others until it has the old file's mode.
  const mode_t mode = replaces ? 0600 : 0666;
  for (int attempt = 0; m_fd < 0; ++attempt) {
    m_temp = stem + "." + RandomLetters() + kTempEnd;
    m_fd = ::openat(m_dirFd, m_temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, mode);
    if (m_fd < 0 && (errno != EEXIST || attempt == 100)) Fail("Cannot create a temporary for", m_name);
  }
  if (!replaces) return;
  // Only root may give a file away; anyone else's new file is theirs. File
  // systems without owners or modes (FAT) refuse these, and their own rule
  // stands.
  if (::geteuid() == 0) (void)!::fchown(m_fd, old.st_uid, old.st_gid);
  (void)!::fchmod(m_fd, old.st_mode & 07777);
}

CAtomicFile::~CAtomicFile() {
  if (m_fd >= 0) ::close(m_fd);
  if (!m_committed && !m_temp.empty() && m_dirFd >= 0) ::unlinkat(m_dirFd, m_temp.c_str(), 0);
  if (m_dirFd >= 0) ::close(m_dirFd);
}

size_t CAtomicFile::Read(void*, size_t) { throw FileError("File opened for writing"); }

void CAtomicFile::Write(const void* buffer, size_t n) {
  const char* in = static_cast<const char*>(buffer);
  while (n > 0) {
    ssize_t put = ::write(m_fd, in, n);
    if (put < 0) {
      if (errno == EINTR) continue;
      Fail("Cannot write", m_temp);
    }
    in += put;
    n -= static_cast<size_t>(put);
    m_nWritten += static_cast<std::uint64_t>(put);
  }
  // A large file starts going to the disk while the rest is still being
  // written, so the flush in Commit waits for its last part only. A system
  // that refuses the hint loses nothing: Commit flushes it all.
  if (m_nWritten - m_nStarted >= kWriteBackBytes) {
    ::sync_file_range(m_fd, static_cast<off_t>(m_nStarted), static_cast<off_t>(m_nWritten - m_nStarted),
                      SYNC_FILE_RANGE_WRITE);
    m_nStarted = m_nWritten;
  }
}

void CAtomicFile::Commit() {
  if (::fsync(m_fd) != 0) Fail("Cannot flush", m_temp);
  int fd = m_fd;
  m_fd = -1;
  if (::close(fd) != 0) Fail("Cannot close", m_temp);
  if (::renameat(m_dirFd, m_temp.c_str(), m_dirFd, m_name.c_str()) != 0) Fail("Cannot replace", m_name);
  m_committed = true;
}

}  // namespace jb
