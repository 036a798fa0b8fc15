#include "types/CResourceTypeArray.h"

#include <unordered_set>

#include "storage/CArchive.h"
#include "platform/Text.h"
#include "types/BuiltinTypes.h"

namespace jb {

size_t CResourceTypeArray::Add(std::unique_ptr<CResourceType> type) {
  m_types.push_back(std::move(type));
  return m_types.size() - 1;
}

void CResourceTypeArray::RemoveAt(size_t i) { m_types.erase(m_types.begin() + static_cast<long>(i)); }

std::unique_ptr<CResourceType> CResourceTypeArray::Detach(size_t i) {
  std::unique_ptr<CResourceType> type = std::move(m_types[i]);
  m_types.erase(m_types.begin() + static_cast<long>(i));
  return type;
}

void CResourceTypeArray::SetDefaults() {
  RemoveAll();
  Add(std::make_unique<CFolderType>());
  Add(std::make_unique<CMpegAudioType>());
  Add(std::make_unique<CPlayListType>());
}

CResourceType* CResourceTypeArray::FindByExtension(std::string_view extension) const {
  for (auto it = m_types.rbegin(); it != m_types.rend(); ++it)
    if ((*it)->MatchesExtension(extension)) return it->get();
  return nullptr;
}

bool CResourceTypeArray::IsNameUsed(std::string_view name) const {
  for (auto it = m_types.rbegin(); it != m_types.rend(); ++it)
    if ((*it)->IsNamed(name)) return true;
  return false;
}

CResourceType* CResourceTypeArray::FindById(std::uint8_t id) const {
  for (auto it = m_types.rbegin(); it != m_types.rend(); ++it)
    if ((*it)->GetTypeId() == id) return it->get();
  return nullptr;
}

void CResourceTypeArray::Serialize(CArchive& ar) {
  ar.SerialVersion();
  std::uint32_t count = static_cast<std::uint32_t>(m_types.size());
  ar.SerialCount(count, 2);  // a kind byte and a version byte at least
  if (ar.IsStoring()) {
    for (auto& type : m_types) {
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
      for (auto& type : m_types)
        if (type->GetTypeId() == id) {
          builtin = type.get();
          break;
        }
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
