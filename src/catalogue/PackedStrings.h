#pragma once
// A list of texts in one block: the views and their bytes in a single
// allocation (or in the catalogue's text store, which owns them), instead of
// a vector of strings with an allocation per element. It reads and writes
// like a StringList; its elements are TextViews.

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <ostream>
#include <string_view>

#include "types/NodeKind.h"
#include "types/TextView.h"

namespace jb {

class PackedStrings {
 public:
  using value_type = TextView;
  using iterator = TextView*;
  using const_iterator = const TextView*;
  using size_type = size_t;

  PackedStrings() = default;
  PackedStrings(std::initializer_list<std::string_view> texts) { Assign(texts.begin(), texts.end()); }
  PackedStrings(const StringList& texts) { Assign(texts.begin(), texts.end()); }
  PackedStrings(const PackedStrings& other) { Assign(other.begin(), other.end()); }
  PackedStrings(PackedStrings&& other) noexcept { Take(other); }
  ~PackedStrings() { Free(); }

  PackedStrings& operator=(const PackedStrings& other);
  PackedStrings& operator=(PackedStrings&& other) noexcept;
  PackedStrings& operator=(const StringList& texts);
  PackedStrings& operator=(std::initializer_list<std::string_view> texts);

  size_t size() const { return m_nCount; }
  bool empty() const { return m_nCount == 0; }
  TextView* begin() { return m_pItems; }
  TextView* end() { return m_pItems + m_nCount; }
  const TextView* begin() const { return m_pItems; }
  const TextView* end() const { return m_pItems + m_nCount; }
  // Exchanging two elements (the tree's compilation pass does) exchanges
  // their views.
  TextView& operator[](size_t i) { return m_pItems[i]; }
  const TextView& operator[](size_t i) const { return m_pItems[i]; }

  // A copy as strings, for code that wants the plain list.
  operator StringList() const { return StringList(begin(), end()); }

  void clear() { Free(); }
  void reserve(size_t) {}
  void push_back(std::string_view text);

  // Views whose bytes the caller keeps alive for as long as the list holds
  // them: nothing is copied, nothing freed.
  void Borrow(TextView* items, size_t count);

  friend bool operator==(const PackedStrings& a, const StringList& b) { return Equal(a, b); }
  friend bool operator==(const PackedStrings& a, const PackedStrings& b) { return Equal(a, b); }

 private:
  // The owned block: this header, the views, then the bytes.
  struct Block {
    std::uint32_t itemCapacity;
    std::uint32_t byteCapacity;
    std::uint32_t bytesUsed;
    std::uint32_t unused;
  };

  template <class A, class B>
  static bool Equal(const A& a, const B& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
      if (std::string_view(a[i]) != std::string_view(b[i])) return false;
    return true;
  }
  template <class It>
  void Assign(It first, It last);
  Block* OwnBlock() const;
  char* Bytes(Block* block) const;
  // A new owned block with room for the given counts; the views kept point
  // into it.
  void Grow(size_t items, size_t bytes);
  void Take(PackedStrings& other) noexcept;
  void Free();

  TextView* m_pItems = nullptr;
  std::uint32_t m_nCount = 0;
  bool m_bOwned = false;
};

// The kinds of an entry's elements the same way: a 16-byte handle to an
// array of its own or to bytes in the catalogue's text store.
class PackedKinds {
 public:
  using value_type = NodeKind;
  using iterator = NodeKind*;
  using const_iterator = const NodeKind*;
  using reverse_iterator = std::reverse_iterator<NodeKind*>;
  using const_reverse_iterator = std::reverse_iterator<const NodeKind*>;
  using size_type = size_t;

  PackedKinds() = default;
  PackedKinds(std::initializer_list<NodeKind> kinds) { Assign(kinds.begin(), kinds.size()); }
  PackedKinds(const KindList& kinds) { Assign(kinds.data(), kinds.size()); }
  PackedKinds(const PackedKinds& other) { Assign(other.begin(), other.size()); }
  PackedKinds(PackedKinds&& other) noexcept { Take(other); }
  ~PackedKinds() { Free(); }
  PackedKinds& operator=(const PackedKinds& other) {
    if (this != &other) Assign(other.begin(), other.size());
    return *this;
  }
  PackedKinds& operator=(PackedKinds&& other) noexcept {
    if (this != &other) {
      Free();
      Take(other);
    }
    return *this;
  }
  PackedKinds& operator=(const KindList& kinds) {
    Assign(kinds.data(), kinds.size());
    return *this;
  }
  PackedKinds& operator=(std::initializer_list<NodeKind> kinds) {
    Assign(kinds.begin(), kinds.size());
    return *this;
  }

  size_t size() const { return m_nCount; }
  bool empty() const { return m_nCount == 0; }
  NodeKind* begin() { return m_pItems; }
  NodeKind* end() { return m_pItems + m_nCount; }
  const NodeKind* begin() const { return m_pItems; }
  const NodeKind* end() const { return m_pItems + m_nCount; }
  reverse_iterator rbegin() { return reverse_iterator(end()); }
  reverse_iterator rend() { return reverse_iterator(begin()); }
  const_reverse_iterator rbegin() const { return const_reverse_iterator(end()); }
  const_reverse_iterator rend() const { return const_reverse_iterator(begin()); }
  NodeKind& operator[](size_t i) { return m_pItems[i]; }
  const NodeKind& operator[](size_t i) const { return m_pItems[i]; }

  operator KindList() const { return KindList(begin(), end()); }

  void clear() { Free(); }
  void reserve(size_t) {}
  void push_back(NodeKind kind);
  // Kinds the caller keeps alive for as long as the list holds them.
  void Borrow(NodeKind* items, size_t count);

  friend bool operator==(const PackedKinds& a, const KindList& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
  }
  friend bool operator==(const PackedKinds& a, const PackedKinds& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
  }

 private:
  void Assign(const NodeKind* kinds, size_t count);
  void Take(PackedKinds& other) noexcept;
  void Free();

  NodeKind* m_pItems = nullptr;
  std::uint32_t m_nCount = 0;
  std::uint32_t m_nCapacity = 0;  // 0 while the kinds are borrowed
};

inline std::ostream& operator<<(std::ostream& out, const PackedKinds& list) {
  out << "{";
  for (size_t i = 0; i < list.size(); ++i) out << (i ? ", " : " ") << int(KindByte(list[i]));
  return out << " }";
}

inline std::ostream& operator<<(std::ostream& out, const PackedStrings& list) {
  out << "{";
  for (size_t i = 0; i < list.size(); ++i) out << (i ? ", \"" : " \"") << list[i] << "\"";
  return out << " }";
}

}  // namespace jb
