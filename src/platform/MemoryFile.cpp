#include <algorithm>
#include <cstring>

#include "platform/File.h"

namespace jb {

size_t CMemoryFile::Read(void* buffer, size_t n) {
  size_t take = std::min(n, m_bytes.size() - m_pos);
  if (take) std::memcpy(buffer, m_bytes.data() + m_pos, take);
  m_pos += take;
  return take;
}

void CMemoryFile::Write(const void* buffer, size_t n) {
  const auto* in = static_cast<const std::uint8_t*>(buffer);
  m_bytes.insert(m_bytes.end(), in, in + n);
}

}  // namespace jb
