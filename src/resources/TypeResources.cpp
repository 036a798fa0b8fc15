// The resources each type makes; here rather than with the types because
// resources sit above types.
#include "resources/CResource.h"
#include "types/BuiltinTypes.h"

namespace jb {

CResource* CFolderType::CreateResource() { return new CDirResource(this); }
CResource* CMpegAudioType::CreateResource() { return new CFileResource(this); }
CResource* CPlayListType::CreateResource() { return new CFileResource(this); }
CResource* CUserType::CreateResource() { return new CFileResource(this); }

}  // namespace jb
