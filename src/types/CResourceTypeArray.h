#pragma once
// The owning list of resource types, with its stored form and look-ups.

#include <memory>
#include <string_view>
#include <vector>

#include "storage/OwningArray.h"
#include "types/CResourceType.h"

namespace jb {

class CArchive;

class CResourceTypeArray : public OwningArray<CResourceType> {
 public:
  // Empties the list and appends Folder, MPEG Audio and Play-Lists.
  void SetDefaults();

  // The last type whose MatchesExtension accepts extension; null for none.
  CResourceType* FindByExtension(std::string_view extension);
  const CResourceType* FindByExtension(std::string_view extension) const;
  // True when a type answers to name (searched from the last type).
  bool IsNameUsed(std::string_view name) const;
  // The extensions that a type other than edited already claims, joined by
  // "." in the order found: types from the last to the first, and for each
  // type the extensions from the last to the first. Empty when none is
  // claimed.
  std::string ExtensionConflicts(const StringList& extensions, const CResourceType* edited) const;
  // The last type with this id; null for none.
  CResourceType* FindById(std::uint8_t id);
  const CResourceType* FindById(std::uint8_t id) const;

  // The stored form: an object list with the type id before each body.
  // Loading runs on a list that holds the built-in types: stored built-ins
  // are read into them in place, user types are appended.
  void Serialize(CArchive& ar);

 private:
  // The index of the last type that pred accepts; GetSize() for none.
  template <class Pred>
  size_t FindLast(Pred pred) const {
    for (size_t i = GetSize(); i-- > 0;)
      if (pred(*GetAt(i))) return i;
    return GetSize();
  }
};

// The extension text: the entries joined by ".".
std::string JoinExtensions(const StringList& extensions);
// Parses extension text: split at ".", drop empty pieces and repeats
// (ignoring case), keep the rest as typed and in order.
StringList ParseExtensionText(std::string_view text);

}  // namespace jb
