#pragma once
// A list of texts in one block: the views and their bytes in a single
// allocation (or in the catalogue's text store, which owns them), instead of
// a vector of strings with an allocation per element. It reads and writes
// like a StringList; its elements are TextViews.

#include <cstdint>
#include <initializer_list>
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

inline std::ostream& operator<<(std::ostream& out, const PackedStrings& list) {
  out << "{";
  for (size_t i = 0; i < list.size(); ++i) out << (i ? ", \"" : " \"") << list[i] << "\"";
  return out << " }";
}

}  // namespace jb
