#pragma once
// The program's lists of objects: an array that owns its elements, so that
// removing an element deletes it. A const array gives const elements.

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

namespace jb {

template <class T>
class OwningArray {
 public:
  OwningArray() = default;
  OwningArray(const OwningArray&) = delete;
  OwningArray& operator=(const OwningArray&) = delete;
  OwningArray(OwningArray&&) noexcept = default;
  OwningArray& operator=(OwningArray&&) noexcept = default;

  size_t GetSize() const { return m_items.size(); }
  T* GetAt(size_t i) { return m_items[i].get(); }
  const T* GetAt(size_t i) const { return m_items[i].get(); }

  // Appends; the array takes ownership. Returns the new index.
  size_t Add(std::unique_ptr<T> item) {
    m_items.push_back(std::move(item));
    return m_items.size() - 1;
  }
  // Removes and deletes count elements from index.
  void RemoveAt(size_t index, size_t count = 1) {
    auto first = m_items.begin() + static_cast<std::ptrdiff_t>(index);
    m_items.erase(first, first + static_cast<std::ptrdiff_t>(count));
  }
  void RemoveAll() { m_items.clear(); }
  void Reserve(size_t n) { m_items.reserve(n); }

 private:
  std::vector<std::unique_ptr<T>> m_items;
};

}  // namespace jb
