#pragma once
// New resources by type: the folder type makes directory resources, every
// other type file resources.

#include <memory>

#include "resources/CResource.h"

namespace jb {

class CResourceType;

// A new resource bound to type (a file resource of no type when null).
std::unique_ptr<CResource> CreateResource(CResourceType* type);

}  // namespace jb
