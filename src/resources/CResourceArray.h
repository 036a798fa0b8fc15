#pragma once
// The environment's resources, in the order the user added them.

#include <memory>
#include <vector>

#include "resources/CResource.h"
#include "storage/OwningArray.h"

namespace jb {

class CResourceArray : public OwningArray<CResource> {
 public:
  // The stored form: an object list with the kind byte before each body.
  // Reading binds resources to types's built-ins, then runs RelinkTypes; a
  // format error empties the list and passes on.
  void Serialize(CArchive& ar, CResourceTypeArray& types);

  // Binds file resources of user types (or of none) to the type that claims
  // their extension, making a user type where none does, then lets every
  // resource drop what no type backs.
  void RelinkTypes(CResourceTypeArray& types);
};

}  // namespace jb
