#pragma once
// The buffered byte stream under every stored file: little-endian integers,
// length-prefixed 8-bit strings, the file header and object lists. A stream
// either reads or writes; objects store themselves with one Serialize that
// asks the stream which.

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/File.h"

namespace jb {

class IPrompt;

// The format error: a wrong version or kind, or a value the bytes left cannot
// hold. It aborts the whole read; the file's reader reports it.
class CArchiveException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class FileKind : std::uint8_t { Config = 0x00, Skin = 0x01, Environment = 0x02 };

class CArchive {
 public:
  enum Mode { load, store };
  // Large enough that a stored environment of tens of megabytes goes out in
  // a few dozen writes rather than thousands.
  static constexpr size_t kBufferSize = 1 << 20;

  CArchive(CFile& file, Mode mode);
  ~CArchive();
  CArchive(const CArchive&) = delete;
  CArchive& operator=(const CArchive&) = delete;

  bool IsLoading() const { return m_mode == load; }
  bool IsStoring() const { return m_mode == store; }

  void PutU8(std::uint8_t v) { PutRaw(&v, 1); }
  void PutU16(std::uint16_t v);
  void PutU32(std::uint32_t v);
  void PutI32(std::int32_t v) { PutU32(static_cast<std::uint32_t>(v)); }
  void PutString(std::string_view s);
  void PutRaw(const void* data, size_t n) {
    // Most writes are a few bytes that fit the buffer.
    if (n <= kBufferSize - m_pos) {
      if (n) std::memcpy(m_buffer.get() + m_pos, data, n);
      m_pos += n;
      return;
    }
    PutRawSlow(data, n);
  }

  // A loaded environment reads ten million fields: reads from the buffer
  // are inline, topping it up is not.
  std::uint8_t GetU8() {
    if (m_pos == m_end) Fill(1);
    return m_buffer[m_pos++];
  }
  std::uint16_t GetU16();
  std::uint32_t GetU32() {
    if (m_end - m_pos < 4) Fill(4);
    const std::uint8_t* b = m_buffer.get() + m_pos;
    m_pos += 4;
    return std::uint32_t(b[0]) | (std::uint32_t(b[1]) << 8) | (std::uint32_t(b[2]) << 16) | (std::uint32_t(b[3]) << 24);
  }
  std::int32_t GetI32() { return static_cast<std::int32_t>(GetU32()); }
  std::string GetString();
  // The length prefix of a string, checked against the bytes left; its
  // bytes follow (GetRaw).
  std::uint32_t GetStringLength() {
    // Nearly every string: a one-byte length, with its bytes buffered.
    if (m_pos < m_end) {
      const std::uint32_t n = m_buffer[m_pos];
      if (n < 0xFF && n < m_end - m_pos) {
        ++m_pos;
        return n;
      }
    }
    return GetStringLengthSlow();
  }
  void GetRaw(void* data, size_t n) {
    if (n <= m_end - m_pos) {
      if (n) std::memcpy(data, m_buffer.get() + m_pos, n);
      m_pos += n;
      return;
    }
    GetRawSlow(data, n);
  }

  // Both directions: write v, or read into v.
  void Serial(std::uint8_t& v) { IsStoring() ? PutU8(v) : void(v = GetU8()); }
  void Serial(std::uint32_t& v) { IsStoring() ? PutU32(v) : void(v = GetU32()); }
  void Serial(std::int32_t& v) { IsStoring() ? PutI32(v) : void(v = GetI32()); }
  void Serial(std::string& v) { IsStoring() ? PutString(v) : void(v = GetString()); }

  // The version byte that opens every stored body: writes 1, or reads it and
  // raises the format error for anything else.
  void SerialVersion() {
    if (IsStoring()) {
      PutU8(1);
    } else if (GetU8() != 1) {
      FormatError("Unknown version");
    }
  }

  // Object-list count. Reading refuses a count whose elements, each at least
  // minElementBytes long, cannot fit in the bytes left.
  void SerialCount(std::uint32_t& count, size_t minElementBytes = 1);

  // The 5-byte file header: kind, 61 66 42, version 1.
  void PutHeader(FileKind kind);
  // True when the next 5 bytes are exactly the header of kind.
  bool CheckHeader(FileKind kind);

  // Bytes not yet read (buffered and in the file).
  std::uint64_t BytesLeft() const;
  // Writes the buffer out (writing streams).
  void Flush();
  [[noreturn]] static void FormatError(const char* what);

 private:
  void PutRawSlow(const void* data, size_t n);
  std::uint32_t GetStringLengthSlow();
  void GetRawSlow(void* data, size_t n);
  void Fill(size_t need);
  void Require(std::uint64_t n) const;

  CFile& m_file;
  Mode m_mode;
  std::unique_ptr<std::uint8_t[]> m_buffer;  // kBufferSize bytes, not cleared
  size_t m_pos = 0;                          // next byte to read, or bytes buffered for writing
  size_t m_end = 0;                          // end of buffered bytes when reading
};

// How a stored file read: whole, not there at all (or not a regular file),
// or refused for its format (or a read error): the caller shows its own
// message and falls back.
enum class LoadResult { Loaded, Missing, BadFormat };

// Reads a whole file of kind through an archive: the header is checked,
// then read reads the body.
LoadResult LoadArchiveFile(const std::string& path, FileKind kind, const std::function<void(CArchive&)>& read);

// Writes a whole file through an archive, atomically: nothing replaces path
// unless every byte reached the disk. False on any failure, whose reason
// (the system's words) goes to reason when given.
bool SaveArchiveFile(const std::string& path, const std::function<void(CArchive&)>& write,
                     std::string* reason = nullptr);

// The same for the program's own stored files: the header of kind, then
// body. A failure shows message failureMessage with the system's reason.
bool SaveStoredFile(const std::string& path, FileKind kind, const std::function<void(CArchive&)>& body, IPrompt& prompt,
                    int failureMessage);

// The bytes a writer produces, held in memory.
std::vector<std::uint8_t> StoreArchiveBytes(const std::function<void(CArchive&)>& write);

}  // namespace jb
