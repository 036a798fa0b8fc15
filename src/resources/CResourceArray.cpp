#include "resources/CResourceArray.h"

#include "platform/Paths.h"
#include "platform/Text.h"
#include "resources/CreateResource.h"
#include "storage/CArchive.h"
#include "strings/StringTable.h"
#include "types/BuiltinTypes.h"
#include "types/CResourceTypeArray.h"

namespace jb {

void CResourceArray::Serialize(CArchive& ar, CResourceTypeArray& types) {
  if (ar.IsStoring()) {
    ar.SerialVersion();
    ar.PutU32(static_cast<std::uint32_t>(GetSize()));
    for (size_t i = 0; i < GetSize(); ++i) {
      CResource* resource = GetAt(i);
      ar.PutU8(resource->GetTypeId());
      resource->Serialize(ar);
    }
    return;
  }
  RemoveAll();
  try {
    ar.SerialVersion();
    std::uint32_t count = 0;
    ar.SerialCount(count, 5);  // kind, two versions, flags, path length
    for (std::uint32_t i = 0; i < count; ++i) {
      std::uint8_t kind = ar.GetU8();
      std::unique_ptr<CResource> resource;
      if (kind == kFolderTypeId || kind == kMpegAudioTypeId || kind == kPlayListTypeId) {
        CResourceType* builtin = types.FindById(kind);
        if (!builtin) CArchive::FormatError("Built-in type missing");
        resource = CreateResource(builtin);
      } else if (kind == kUserTypeId) {
        resource = std::make_unique<CFileResource>();
      } else {
        CArchive::FormatError("Unknown resource kind");
      }
      resource->Serialize(ar);
      Add(std::move(resource));
    }
  } catch (...) {
    RemoveAll();
    throw;
  }
  RelinkTypes(types);
}

void CResourceArray::RelinkTypes(CResourceTypeArray& types) {
  for (size_t i = GetSize(); i-- > 0;) {
    CResource& resource = *GetAt(i);
    if (resource.GetTypeId() != kUserTypeId) continue;
    // The extension of the file's name: a dot in a folder name is no
    // extension, and a name without one is claimed by no type.
    std::string_view name = FileNamePart(resource.m_strPath);
    size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) {
      resource.m_pType = nullptr;
      continue;
    }
    std::string ext(name.substr(dot + 1));
    CResourceType* type = types.FindByExtension(ext);
    if (!type) {
      auto user = std::make_unique<CUserType>(FormatOne(LoadString(ids::UserTypeName), ext), StringList{ext});
      type = user.get();
      types.Add(std::move(user));
    }
    // A path typed by hand into a user-type resource may carry a built-in
    // type's extension: bind it to that type, which is what it is.
    resource.m_pType = type;
  }
  for (size_t i = GetSize(); i-- > 0;) GetAt(i)->Refresh(types);
}

}  // namespace jb
