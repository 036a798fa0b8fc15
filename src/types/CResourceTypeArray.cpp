#include "types/CResourceTypeArray.h"

#include <unordered_set>
#include <utility>

#include "platform/Text.h"
#include "storage/CArchive.h"
#include "types/BuiltinTypes.h"

namespace jb {

void CResourceTypeArray::SetDefaults() {
  RemoveAll();
  Add(std::make_unique<CFolderType>());
  Add(std::make_unique<CMpegAudioType>());
  Add(std::make_unique<CPlayListType>());
}

const CResourceType* CResourceTypeArray::FindByExtension(std::string_view extension) const {
  size_t i = FindLast([extension](const CResourceType& t) { return t.MatchesExtension(extension); });
  return i < GetSize() ? GetAt(i) : nullptr;
}

CResourceType* CResourceTypeArray::FindByExtension(std::string_view extension) {
  return const_cast<CResourceType*>(std::as_const(*this).FindByExtension(extension));
}

bool CResourceTypeArray::IsNameUsed(std::string_view name) const {
  return FindLast([name](const CResourceType& t) { return t.IsNamed(name); }) < GetSize();
}

std::string CResourceTypeArray::ExtensionConflicts(const StringList& extensions, const CResourceType* edited) const {
  StringList conflicts;
  for (size_t t = GetSize(); t-- > 0;) {
    const CResourceType* type = GetAt(t);
    if (type == edited) continue;
    for (size_t e = extensions.size(); e-- > 0;)
      if (type->MatchesExtension(extensions[e])) conflicts.push_back(extensions[e]);
  }
  return JoinExtensions(conflicts);
}

const CResourceType* CResourceTypeArray::FindById(std::uint8_t id) const {
  size_t i = FindLast([id](const CResourceType& t) { return t.GetTypeId() == id; });
  return i < GetSize() ? GetAt(i) : nullptr;
}

CResourceType* CResourceTypeArray::FindById(std::uint8_t id) {
  return const_cast<CResourceType*>(std::as_const(*this).FindById(id));
}

void CResourceTypeArray::Serialize(CArchive& ar) {
  ar.SerialVersion();
  std::uint32_t count = static_cast<std::uint32_t>(GetSize());
  ar.SerialCount(count, 2);  // a kind byte and a version byte at least
  if (ar.IsStoring()) {
    for (size_t i = 0; i < GetSize(); ++i) {
      CResourceType* type = GetAt(i);
      ar.PutU8(type->GetTypeId());
      type->Serialize(ar);
    }
    return;
  }
  for (std::uint32_t i = 0; i < count; ++i) {
    std::uint8_t id = ar.GetU8();
    if (id >= kFolderTypeId && id <= kPlayListTypeId) {
      // Built-ins keep their place; the first with the id reads in place.
      CResourceType* builtin = nullptr;
      for (size_t t = 0; t < GetSize() && !builtin; ++t)
        if (GetAt(t)->GetTypeId() == id) builtin = GetAt(t);
      if (!builtin) CArchive::FormatError("Unknown built-in resource type");
      builtin->Serialize(ar);
    } else if (id == kUserTypeId) {
      auto user = std::make_unique<CUserType>();
      CUserType* raw = user.get();
      Add(std::move(user));
      raw->Serialize(ar);
    } else {
      CArchive::FormatError("Unknown resource type kind");
    }
  }
}

std::string JoinExtensions(const StringList& extensions) {
  std::string text;
  for (size_t i = 0; i < extensions.size(); ++i) {
    if (i > 0) text += '.';
    text += extensions[i];
  }
  return text;
}

StringList ParseExtensionText(std::string_view text) {
  StringList out;
  std::unordered_set<std::string> seen;
  size_t start = 0;
  while (start <= text.size()) {
    size_t dot = text.find('.', start);
    if (dot == std::string_view::npos) dot = text.size();
    std::string_view piece = text.substr(start, dot - start);
    if (!piece.empty() && seen.insert(ToLowerAscii(piece)).second) out.emplace_back(piece);
    start = dot + 1;
  }
  return out;
}

}  // namespace jb
