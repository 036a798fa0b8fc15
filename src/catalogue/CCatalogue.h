#pragma once
// The catalogue: what a scan found. One entry per collected file, with the
// chain of tree elements the file is shown under and the paths to play.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "storage/OwningArray.h"
#include "types/NodeKind.h"

namespace jb {

class CArchive;
class CResourceTypeArray;

class CCatalogueEntry {
 public:
  CCatalogueEntry() = default;
  explicit CCatalogueEntry(std::string path) { SetPath(std::move(path)); }

  void SetPath(std::string path);
  const std::string& GetPath() const { return m_strPath; }
  // The text after the last "." of the path (the whole path without one).
  const std::string& GetExtension() const { return m_strExtension; }

  // Lets the type that claims the extension fill the description; an entry
  // no type claims, or whose type throws, stays undescribed (empty lists).
  void Describe(const CResourceTypeArray& types);

  void Serialize(CArchive& ar);

  std::uint8_t m_nIcon = 0;
  StringList m_aNames;  // tree elements, top first
  KindList m_aKinds;    // one NodeKind per name
  StringList m_aPaths;  // one path per File element

 private:
  std::string m_strPath;
  std::string m_strExtension;
};

class CCatalogue : public OwningArray<CCatalogueEntry> {
 public:
  CCatalogue() = default;
  virtual ~CCatalogue() = default;

  void RemoveAllEntries() { RemoveAll(); }

  // The stored form: an object list of entry bodies. A format error empties
  // the catalogue and passes on.
  void SerializeCatalogue(CArchive& ar);
};

}  // namespace jb
