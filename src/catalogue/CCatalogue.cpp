#include "catalogue/CCatalogue.h"

#include "platform/Paths.h"
#include "storage/CArchive.h"
#include "types/CResourceTypeArray.h"

namespace jb {

void CCatalogueEntry::SetPath(std::string path) {
  m_strPath = std::move(path);
  m_strExtension = std::string(ExtensionOf(m_strPath));
}

void CCatalogueEntry::Describe(const CResourceTypeArray& types) {
  m_aNames.clear();
  m_aKinds.clear();
  m_aPaths.clear();
  const CResourceType* type = types.FindByExtension(m_strExtension);
  if (!type) return;
  // A file its type cannot describe (out of memory, say) is left out of the
  // tree like an unclaimed one, and the scan goes on with the next.
  try {
    type->Describe(m_strPath, m_nIcon, m_aNames, m_aKinds, m_aPaths);
  } catch (...) {
    StringList().swap(m_aNames);
    KindList().swap(m_aKinds);
    StringList().swap(m_aPaths);
  }
}

void CCatalogueEntry::Serialize(CArchive& ar) {
  ar.SerialVersion();
  if (ar.IsStoring()) {
    ar.PutString(m_strPath);
    ar.PutU8(m_nIcon);
    ar.PutU32(static_cast<std::uint32_t>(m_aNames.size()));
    for (size_t i = 0; i < m_aNames.size(); ++i) {
      ar.PutString(m_aNames[i]);
      ar.PutU8(KindByte(i < m_aKinds.size() ? m_aKinds[i] : NodeKind::File));
    }
    ar.PutU32(static_cast<std::uint32_t>(m_aPaths.size()));
    for (const std::string& p : m_aPaths) ar.PutString(p);
    return;
  }
  SetPath(ar.GetString());
  m_nIcon = ar.GetU8();
  std::uint32_t n = 0;
  ar.SerialCount(n, 2);  // a name of at least its length byte, and a kind
  m_aNames.clear();
  m_aKinds.clear();
  m_aNames.reserve(n);
  m_aKinds.reserve(n);
  size_t files = 0;
  for (std::uint32_t i = 0; i < n; ++i) {
    m_aNames.push_back(ar.GetString());
    std::uint8_t byte = ar.GetU8();
    if (byte > KindByte(NodeKind::Root)) CArchive::FormatError("Unknown element kind");
    NodeKind kind = static_cast<NodeKind>(byte);
    files += kind == NodeKind::File;
    m_aKinds.push_back(kind);
  }
  std::uint32_t m = 0;
  ar.SerialCount(m, 1);
  m_aPaths.clear();
  m_aPaths.reserve(m);
  // The tree hands out one path per File element: a file that breaks
  // that would make it read past the list.
  if (m != files) CArchive::FormatError("Paths do not match the files");
  for (std::uint32_t i = 0; i < m; ++i) m_aPaths.push_back(ar.GetString());
}

void CCatalogue::SerializeCatalogue(CArchive& ar) {
  if (ar.IsStoring()) {
    ar.SerialVersion();
    ar.PutU32(static_cast<std::uint32_t>(GetSize()));
    for (size_t i = 0; i < GetSize(); ++i) GetAt(i)->Serialize(ar);
    return;
  }
  RemoveAllEntries();
  try {
    ar.SerialVersion();
    std::uint32_t count = 0;
    // An entry body is at least 11 bytes: version, path, icon, two counts.
    ar.SerialCount(count, 11);
    Reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
      auto entry = std::make_unique<CCatalogueEntry>();
      entry->Serialize(ar);
      Add(std::move(entry));
    }
  } catch (...) {
    RemoveAllEntries();
    throw;
  }
}

}  // namespace jb
