#include "storage/CArchive.h"

#include <cstring>

#include "platform/Prompt.h"

namespace jb {

namespace {
constexpr std::uint8_t kMagic[3] = {0x61, 0x66, 0x42};
}

CArchive::CArchive(CFile& file, Mode mode)
    : m_file(file), m_mode(mode), m_buffer(std::make_unique_for_overwrite<std::uint8_t[]>(kBufferSize)) {}

CArchive::~CArchive() {
  // A writer that is destroyed during a failure must not throw again; the
  // normal path flushes explicitly.
  if (m_mode == store && m_pos > 0) {
    try {
      Flush();
    } catch (const FileError&) {
    }
  }
}

void CArchive::FormatError(const char* what) { throw CArchiveException(what); }

void CArchive::PutRawSlow(const void* data, size_t n) {
  const auto* in = static_cast<const std::uint8_t*>(data);
  while (n > 0) {
    if (m_pos == kBufferSize) Flush();
    size_t take = std::min(n, kBufferSize - m_pos);
    std::memcpy(m_buffer.get() + m_pos, in, take);
    m_pos += take;
    in += take;
    n -= take;
  }
}

void CArchive::PutU16(std::uint16_t v) {
  std::uint8_t b[2] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
  PutRaw(b, 2);
}

void CArchive::PutU32(std::uint32_t v) {
  std::uint8_t b[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                       static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
  PutRaw(b, 4);
}

void CArchive::PutString(std::string_view s) {
  size_t n = s.size();
  if (n < 255) {
    PutU8(static_cast<std::uint8_t>(n));
  } else if (n < 0xFFFE) {
    PutU8(0xFF);
    PutU16(static_cast<std::uint16_t>(n));
  } else {
    if (n > 0xFFFFFFFFu) throw FileError("String too long to store");
    PutU8(0xFF);
    PutU16(0xFFFF);
    PutU32(static_cast<std::uint32_t>(n));
  }
  PutRaw(s.data(), n);
}

void CArchive::Flush() {
  if (m_mode != store || m_pos == 0) return;
  size_t n = m_pos;
  m_pos = 0;
  m_file.Write(m_buffer.get(), n);
}

std::uint64_t CArchive::BytesLeft() const { return (m_end - m_pos) + m_file.BytesLeft(); }

void CArchive::Require(std::uint64_t n) const {
  if (n > BytesLeft()) FormatError("Unexpected end of file");
}

void CArchive::Fill(size_t need) {
  // Keep the unread bytes, then top the buffer up from the file.
  size_t left = m_end - m_pos;
  std::memmove(m_buffer.get(), m_buffer.get() + m_pos, left);
  m_pos = 0;
  m_end = left;
  try {
    while (m_end < need) {
      size_t got = m_file.Read(m_buffer.get() + m_end, kBufferSize - m_end);
      if (got == 0) break;
      m_end += got;
    }
  } catch (const FileError& e) {
    throw CArchiveException(e.what());
  }
  if (m_end < need) FormatError("Unexpected end of file");
}

void CArchive::GetRawSlow(void* data, size_t n) {
  auto* out = static_cast<std::uint8_t*>(data);
  while (n > 0) {
    if (m_pos == m_end) Fill(1);
    size_t take = std::min(n, m_end - m_pos);
    std::memcpy(out, m_buffer.get() + m_pos, take);
    m_pos += take;
    out += take;
    n -= take;
  }
}

std::uint16_t CArchive::GetU16() {
  if (m_end - m_pos < 2) Fill(2);
  std::uint16_t v = static_cast<std::uint16_t>(m_buffer[m_pos] | (m_buffer[m_pos + 1] << 8));
  m_pos += 2;
  return v;
}

std::uint32_t CArchive::GetStringLengthSlow() {
  std::uint32_t n = GetU8();
  if (n == 0xFF) {
    n = GetU16();
    if (n == 0xFFFE) FormatError("Unknown string length form");
    if (n == 0xFFFF) n = GetU32();
  }
  Require(n);  // before allocating anything of that size
  return n;
}

std::string CArchive::GetString() {
  const std::uint32_t n = GetStringLength();
  std::string s(n, '\0');
  GetRaw(s.data(), n);
  return s;
}

void CArchive::SerialCount(std::uint32_t& count, size_t minElementBytes) {
  if (IsStoring()) {
    PutU32(count);
    return;
  }
  count = GetU32();
  // The buffered bytes answer for most counts without asking the file.
  if (minElementBytes > 0 && count > (m_end - m_pos) / minElementBytes && count > BytesLeft() / minElementBytes)
    FormatError("Count exceeds the file");
}

void CArchive::PutHeader(FileKind kind) {
  PutU8(static_cast<std::uint8_t>(kind));
  PutRaw(kMagic, 3);
  PutU8(1);
}

bool CArchive::CheckHeader(FileKind kind) {
  if (BytesLeft() < 5) return false;
  std::uint8_t b[5];
  GetRaw(b, 5);
  return b[0] == static_cast<std::uint8_t>(kind) && std::memcmp(b + 1, kMagic, 3) == 0 && b[4] == 1;
}

LoadResult LoadArchiveFile(const std::string& path, FileKind kind, const std::function<void(CArchive&)>& read) {
  std::unique_ptr<CReadFile> file = CReadFile::Open(path);
  if (!file) return LoadResult::Missing;
  try {
    CArchive ar(*file, CArchive::load);
    if (!ar.CheckHeader(kind)) return LoadResult::BadFormat;
    read(ar);
    return LoadResult::Loaded;
  } catch (const CArchiveException&) {
    return LoadResult::BadFormat;
  } catch (const FileError&) {
    return LoadResult::BadFormat;
  }
}

bool SaveArchiveFile(const std::string& path, const std::function<void(CArchive&)>& write, std::string* reason) {
  try {
    std::unique_ptr<CAtomicFile> file = CAtomicFile::Create(path);
    {
      CArchive ar(*file, CArchive::store);
      write(ar);
      ar.Flush();
    }
    file->Commit();
    return true;
  } catch (const FileError& e) {
    if (reason) *reason = e.Reason();
    return false;
  }
}

bool SaveStoredFile(const std::string& path, FileKind kind, const std::function<void(CArchive&)>& body, IPrompt& prompt,
                    int failureMessage) {
  std::string reason;
  auto write = [&](CArchive& ar) {
    ar.PutHeader(kind);
    body(ar);
  };
  if (SaveArchiveFile(path, write, &reason)) return true;
  prompt.ShowMessage(failureMessage, reason);
  return false;
}

std::vector<std::uint8_t> StoreArchiveBytes(const std::function<void(CArchive&)>& write) {
  CMemoryFile file;
  {
    CArchive ar(file, CArchive::store);
    write(ar);
    ar.Flush();
  }
  return file.Bytes();
}

}  // namespace jb
