#pragma once
// Reads the last bytes of many files of one open directory together: a
// scan reads one tag per song, and asking for a directory's tags at once
// costs a few calls into the system instead of four per file, where the
// system allows it (io_uring); elsewhere the files are read one by one.

#include <cstddef>
#include <memory>
#include <vector>

namespace jb {

class TailReader {
 public:
  // batched false reads file by file, as where the system has no io_uring.
  explicit TailReader(bool batched = true);
  ~TailReader();
  TailReader(const TailReader&) = delete;
  TailReader& operator=(const TailReader&) = delete;

  // For each of names (files of the open directory dirFd, NUL-terminated),
  // read[i] tells whether its last n bytes are now at out + i * n: what
  // ReadFileTail answers for its path, counting disk waits the same way.
  void Read(int dirFd, const std::vector<const char*>& names, size_t n, char* out, std::vector<bool>& read);

 private:
  struct Ring;
  std::unique_ptr<Ring> m_pRing;  // null until first used, or when the system has none
  bool m_bTried = false;
  bool m_bFailed = false;
};

}  // namespace jb
