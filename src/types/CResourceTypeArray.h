#pragma once
// The owning list of resource types, with its stored form and look-ups.

#include <memory>
#include <string_view>
#include <vector>

#include "types/CResourceType.h"

namespace jb {

class CArchive;

class CResourceTypeArray {
 public:
  CResourceTypeArray() = default;
  CResourceTypeArray(const CResourceTypeArray&) = delete;
  CResourceTypeArray& operator=(const CResourceTypeArray&) = delete;

  size_t GetSize() const { return m_types.size(); }
  CResourceType* GetAt(size_t i) const { return m_types[i].get(); }
  // Appends; the list takes ownership. Returns the new index.
  size_t Add(std::unique_ptr<CResourceType> type);
  // Removes the type at i and deletes it.
  void RemoveAt(size_t i);
  // Takes the type at i out of the list without deleting it.
  std::unique_ptr<CResourceType> Detach(size_t i);
  void RemoveAll() { m_types.clear(); }

  // Empties the list and appends Folder, MPEG Audio and Play-Lists.
  void SetDefaults();

  // The last type whose MatchesExtension accepts extension; null for none.
  CResourceType* FindByExtension(std::string_view extension) const;
  // True when a type answers to name (searched from the last type).
  bool IsNameUsed(std::string_view name) const;
  // The last type with this id; null for none.
  CResourceType* FindById(std::uint8_t id) const;

  // The stored form: an object list with the type id before each body.
  // Loading runs on a list that holds the built-in types: stored built-ins
  // are read into them in place, user types are appended.
  void Serialize(CArchive& ar);

 private:
  std::vector<std::unique_ptr<CResourceType>> m_types;
};

// The extension text: the entries joined by ".".
std::string JoinExtensions(const StringList& extensions);
// Parses extension text: split at ".", drop empty pieces and repeats
// (ignoring case), keep the rest as typed and in order.
StringList ParseExtensionText(std::string_view text);

}  // namespace jb
