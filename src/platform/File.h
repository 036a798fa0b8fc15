#pragma once
// Files as the stored formats see them: byte sources and sinks that throw
// FileError when the system refuses. Readers open regular files only and
// never block; writers replace their target atomically.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace jb {

class CDirectory;
class CFileLock;

class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  // what, with the system's words for errno as the reason.
  static FileError FromErrno(const std::string& what);
  // What a user is told of the failure: the system's words when the system
  // refused, else the whole message.
  std::string Reason() const { return m_reason.empty() ? what() : m_reason; }

 private:
  std::string m_reason;
};

class CFile {
 public:
  virtual ~CFile() = default;
  // Reads up to n bytes; returns how many were read, 0 at the end.
  virtual size_t Read(void* buffer, size_t n) = 0;
  // Writes all n bytes or throws FileError.
  virtual void Write(const void* buffer, size_t n) = 0;
  // Bytes between the read position and the end: the bound of every length
  // and count a reader accepts.
  virtual std::uint64_t BytesLeft() const = 0;
};

// A regular file opened for reading without blocking. Open gives null for a
// missing or unreadable file and for anything that is not a regular file
// (a FIFO named like a song must not hang a scan).
class CReadFile : public CFile {
 public:
  static std::unique_ptr<CReadFile> Open(const std::string& path);
  ~CReadFile() override;

  size_t Read(void* buffer, size_t n) override;
  void Write(const void* buffer, size_t n) override;
  std::uint64_t BytesLeft() const override;
  std::uint64_t Size() const { return m_size; }
  // Moves the read position to offset from the start.
  bool Seek(std::uint64_t offset);

 private:
  CReadFile(int fd, std::uint64_t size) : m_fd(fd), m_size(size) {}
  int m_fd;
  std::uint64_t m_size;
  std::uint64_t m_pos = 0;
};

// Reads the last n bytes of the regular file at path into buffer; false when
// it is missing, unreadable, not a regular file or shorter than n. No
// allocation: a scan reads one tail per song.
bool ReadFileTail(const std::string& path, void* buffer, size_t n);

// While one lives on a thread, CReadFile::Open and ReadFileTail on that thread opens files
// relative to a handle of the last directory it opened them in: a run of
// files in one directory then costs one look-up of the directory's path
// instead of one per file.
class ScopedDirectoryCache {
 public:
  ScopedDirectoryCache();
  ~ScopedDirectoryCache();
  // The files of directory (its path with the trailing separator) are
  // opened relative to dir, open already, until another takes its place: a
  // directory listed once need not be opened again to read its files.
  static void Use(std::shared_ptr<const CDirectory> dir, std::string_view directory);
  // A handle of directory (with the trailing separator) to open its files
  // relative to: the one in use, or one opened now; -1 when it cannot be
  // opened or no cache lives on the thread.
  static int DirectoryFd(std::string_view directory);
  ScopedDirectoryCache(const ScopedDirectoryCache&) = delete;
  ScopedDirectoryCache& operator=(const ScopedDirectoryCache&) = delete;
};

// Writes a temporary beside the file and, on Commit, flushes it to the disk
// and renames it over the file. Destroyed without a Commit, it removes the
// temporary and the file stays as it was.
//
// The file is the one target names, through symbolic links, so a link stays
// a link. Its lock (CFileLock) is held throughout. The temporary,
// ".<name>.XXXXXX.tmp", is made exclusively and never through a link, so no
// existing file is written through it; those a killed save left are removed.
// The new file keeps the old one's mode (and, for root, its owner).
class CAtomicFile : public CFile {
 public:
  // Throws FileError when the lock or the temporary cannot be made.
  static std::unique_ptr<CAtomicFile> Create(const std::string& target);
  ~CAtomicFile() override;

  size_t Read(void* buffer, size_t n) override;
  void Write(const void* buffer, size_t n) override;
  std::uint64_t BytesLeft() const override { return 0; }
  // fsync, close and rename; throws FileError on any failure.
  void Commit();

 private:
  CAtomicFile() = default;
  void CreateTemporary(const std::string& stem);

  std::unique_ptr<CFileLock> m_lock;
  int m_dirFd = -1;    // the file's folder, where every name below lives
  std::string m_name;  // the file's name in it
  std::string m_temp;
  int m_fd = -1;
  bool m_committed = false;
  std::uint64_t m_nWritten = 0;  // bytes written so far
  std::uint64_t m_nStarted = 0;  // of those, the bytes sent on their way to the disk
};

// A file held in memory, for building and parsing stored forms.
class CMemoryFile : public CFile {
 public:
  CMemoryFile() = default;
  explicit CMemoryFile(std::vector<std::uint8_t> bytes) : m_bytes(std::move(bytes)) {}

  size_t Read(void* buffer, size_t n) override;
  void Write(const void* buffer, size_t n) override;
  std::uint64_t BytesLeft() const override { return m_bytes.size() - m_pos; }
  const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }

 private:
  std::vector<std::uint8_t> m_bytes;
  size_t m_pos = 0;
};

}  // namespace jb
