#pragma once
// Reading the end of a file, shared by ReadFileTail and TailReader.

#include <fcntl.h>

#include <cstddef>
#include <cstdint>

namespace jb {

// How files are opened for reading: never blocking on a FIFO, never taking
// a terminal.
constexpr int kReadFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;

// The last n bytes of the open file fd into buffer; false unless it is a
// regular file of at least n bytes and they were read.
bool ReadTailOfOpenFile(int fd, void* buffer, size_t n);
// The n bytes at offset at of fd into buffer. On a thread with disk waits
// the page cache is asked first, and the answer counted.
bool ReadTailAt(int fd, std::uint64_t at, void* buffer, size_t n);

}  // namespace jb
