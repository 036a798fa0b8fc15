#include "resources/CreateResource.h"

#include "types/BuiltinTypes.h"

namespace jb {

std::unique_ptr<CResource> CreateResource(CResourceType* type) {
  if (type && type->GetTypeId() == kFolderTypeId) return std::make_unique<CDirResource>(type);
  return std::make_unique<CFileResource>(type);
}

}  // namespace jb
