#pragma once
// The environment's resources, in the order the user added them.

#include <memory>
#include <vector>

#include "resources/CResource.h"

namespace jb {

class CResourceArray {
 public:
  CResourceArray() = default;
  CResourceArray(const CResourceArray&) = delete;
  CResourceArray& operator=(const CResourceArray&) = delete;

  size_t GetSize() const { return m_resources.size(); }
  CResource* GetAt(size_t i) const { return m_resources[i].get(); }
  size_t Add(std::unique_ptr<CResource> resource);
  // Removes and deletes count resources from index.
  void RemoveAt(size_t index, size_t count = 1);
  void RemoveAll() { m_resources.clear(); }

  // The stored form: an object list with the kind byte before each body.
  // Reading binds resources to types's built-ins, then runs RelinkTypes; a
  // format error empties the list and passes on.
  void Serialize(CArchive& ar, CResourceTypeArray& types);

  // Binds file resources of user types (or of none) to the type that claims
  // their extension, making a user type where none does, then lets every
  // resource drop what no type backs.
  void RelinkTypes(CResourceTypeArray& types);

 private:
  std::vector<std::unique_ptr<CResource>> m_resources;
};

}  // namespace jb
