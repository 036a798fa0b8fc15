#pragma once
// Files as the stored formats see them: byte sources and sinks that throw
// FileError when the system refuses. Readers open regular files only and
// never block; writers replace their target atomically.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace jb {

class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
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

// While one lives on a thread, CReadFile::Open on that thread opens files
// relative to a handle of the last directory it opened them in: a run of
// files in one directory then costs one look-up of the directory's path
// instead of one per file.
class ScopedDirectoryCache {
 public:
  ScopedDirectoryCache();
  ~ScopedDirectoryCache();
  ScopedDirectoryCache(const ScopedDirectoryCache&) = delete;
  ScopedDirectoryCache& operator=(const ScopedDirectoryCache&) = delete;
};

// Writes "<target>.tmp" and, on Commit, flushes it to the disk and renames it
// over the target. Destroyed without a Commit, it removes the temporary and
// the target stays as it was.
class CAtomicFile : public CFile {
 public:
  // Creates the temporary beside target; null when it cannot be created.
  static std::unique_ptr<CAtomicFile> Create(const std::string& target);
  ~CAtomicFile() override;

  size_t Read(void* buffer, size_t n) override;
  void Write(const void* buffer, size_t n) override;
  std::uint64_t BytesLeft() const override { return 0; }
  // fsync, close and rename; throws FileError on any failure.
  void Commit();

 private:
  CAtomicFile(int fd, std::string target, std::string temp)
      : m_fd(fd), m_target(std::move(target)), m_temp(std::move(temp)) {}
  int m_fd;
  std::string m_target;
  std::string m_temp;
  bool m_committed = false;
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
