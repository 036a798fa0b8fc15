#include "catalogue/PackedStrings.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>

namespace jb {
namespace {
constexpr size_t kMaxCount = UINT32_MAX;
}

PackedStrings& PackedStrings::operator=(const PackedStrings& other) {
  if (this != &other) Assign(other.begin(), other.end());
  return *this;
}

PackedStrings& PackedStrings::operator=(PackedStrings&& other) noexcept {
  if (this != &other) {
    Free();
    Take(other);
  }
  return *this;
}

PackedStrings& PackedStrings::operator=(const StringList& texts) {
  Assign(texts.begin(), texts.end());
  return *this;
}

PackedStrings& PackedStrings::operator=(std::initializer_list<std::string_view> texts) {
  Assign(texts.begin(), texts.end());
  return *this;
}

PackedStrings::Block* PackedStrings::OwnBlock() const {
  return reinterpret_cast<Block*>(reinterpret_cast<char*>(m_pItems) - sizeof(Block));
}

char* PackedStrings::Bytes(Block* block) const {
  return reinterpret_cast<char*>(block + 1) + sizeof(TextView) * block->itemCapacity;
}

template <class It>
void PackedStrings::Assign(It first, It last) {
  // Built beside the old block, which the texts may come from.
  const size_t count = static_cast<size_t>(last - first);
  size_t bytes = 0;
  for (It it = first; it != last; ++it) bytes += std::string_view(*it).size();
  if (count > kMaxCount || bytes > kMaxCount) throw std::length_error("Too many texts for a list");
  PackedStrings built;
  if (count > 0) {
    built.Grow(count, bytes);
    Block* block = built.OwnBlock();
    char* out = built.Bytes(block);
    for (It it = first; it != last; ++it) {
      std::string_view text(*it);
      if (!text.empty()) std::memcpy(out + block->bytesUsed, text.data(), text.size());
      built.m_pItems[built.m_nCount++] = TextView(out + block->bytesUsed, text.size());
      block->bytesUsed += static_cast<std::uint32_t>(text.size());
    }
  }
  Free();
  Take(built);
}

void PackedStrings::Grow(size_t items, size_t bytes) {
  // Every view of the new block points into it: the texts held so far are
  // copied along, whether they were owned or borrowed.
  size_t held = 0;
  for (const TextView& t : *this) held += t.size();
  items = std::max(items, static_cast<size_t>(m_nCount));
  bytes = std::max(bytes, held);
  if (items > kMaxCount || bytes > kMaxCount) throw std::length_error("Too many texts for a list");
  void* memory = ::operator new(sizeof(Block) + sizeof(TextView) * items + bytes);
  Block* block = new (memory) Block{static_cast<std::uint32_t>(items), static_cast<std::uint32_t>(bytes), 0, 0};
  auto* newItems = reinterpret_cast<TextView*>(block + 1);
  char* out = Bytes(block);
  for (std::uint32_t i = 0; i < m_nCount; ++i) {
    const TextView& t = m_pItems[i];
    if (!t.empty()) std::memcpy(out + block->bytesUsed, t.data(), t.size());
    new (newItems + i) TextView(out + block->bytesUsed, t.size());
    block->bytesUsed += static_cast<std::uint32_t>(t.size());
  }
  const std::uint32_t count = m_nCount;
  Free();
  m_pItems = newItems;
  m_nCount = count;
  m_bOwned = true;
}

void PackedStrings::push_back(std::string_view text) {
  Block* block = m_bOwned ? OwnBlock() : nullptr;
  std::string kept;
  if (!block || m_nCount == block->itemCapacity || block->byteCapacity - block->bytesUsed < text.size()) {
    // The text may be one of this list's own: keep a copy across the move.
    kept.assign(text);
    text = kept;
    size_t held = 0;
    for (const TextView& t : *this) held += t.size();
    Grow(std::max<size_t>(4, 2 * static_cast<size_t>(m_nCount)), std::max(2 * held, held + text.size()));
    block = OwnBlock();
  }
  char* out = Bytes(block);
  if (!text.empty()) std::memcpy(out + block->bytesUsed, text.data(), text.size());
  m_pItems[m_nCount++] = TextView(out + block->bytesUsed, text.size());
  block->bytesUsed += static_cast<std::uint32_t>(text.size());
}

void PackedStrings::Borrow(TextView* items, size_t count) {
  if (count > kMaxCount) throw std::length_error("Too many texts for a list");
  Free();
  m_pItems = count ? items : nullptr;
  m_nCount = static_cast<std::uint32_t>(count);
}

void PackedStrings::Take(PackedStrings& other) noexcept {
  m_pItems = other.m_pItems;
  m_nCount = other.m_nCount;
  m_bOwned = other.m_bOwned;
  other.m_pItems = nullptr;
  other.m_nCount = 0;
  other.m_bOwned = false;
}

void PackedStrings::Free() {
  if (m_bOwned) ::operator delete(OwnBlock());
  m_pItems = nullptr;
  m_nCount = 0;
  m_bOwned = false;
}

void PackedKinds::Assign(const NodeKind* kinds, size_t count) {
  if (count > kMaxCount) throw std::length_error("Too many kinds for a list");
  NodeKind* items = count ? new NodeKind[count] : nullptr;
  std::copy(kinds, kinds + count, items);
  Free();
  m_pItems = items;
  m_nCount = m_nCapacity = static_cast<std::uint32_t>(count);
}

void PackedKinds::push_back(NodeKind kind) {
  if (m_nCount == m_nCapacity) {
    const size_t capacity = std::max<size_t>(4, 2 * size_t(m_nCount));
    if (capacity > kMaxCount) throw std::length_error("Too many kinds for a list");
    NodeKind* items = new NodeKind[capacity];
    std::copy(begin(), end(), items);
    const std::uint32_t count = m_nCount;
    Free();
    m_pItems = items;
    m_nCount = count;
    m_nCapacity = static_cast<std::uint32_t>(capacity);
  }
  m_pItems[m_nCount++] = kind;
}

void PackedKinds::Borrow(NodeKind* items, size_t count) {
  if (count > kMaxCount) throw std::length_error("Too many kinds for a list");
  Free();
  m_pItems = count ? items : nullptr;
  m_nCount = static_cast<std::uint32_t>(count);
}

void PackedKinds::Take(PackedKinds& other) noexcept {
  m_pItems = other.m_pItems;
  m_nCount = other.m_nCount;
  m_nCapacity = other.m_nCapacity;
  other.m_pItems = nullptr;
  other.m_nCount = other.m_nCapacity = 0;
}

void PackedKinds::Free() {
  if (m_nCapacity) delete[] m_pItems;
  m_pItems = nullptr;
  m_nCount = m_nCapacity = 0;
}

}  // namespace jb
