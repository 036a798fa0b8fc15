#include "resources/CollectFiles.h"

#include <memory>

#include "platform/Paths.h"
#include "scan/CCatalogue.h"

namespace jb {

namespace {
std::string SkipKey(std::string_view path) {
  while (path.size() > 1 && path.back() == kPathSeparator) path.remove_suffix(1);
  return PathKey(path);
}
}  // namespace

void CSkipList::Add(std::string_view path) {
  if (m_keys.insert(SkipKey(path)).second) m_paths.emplace_back(path);
}

bool CSkipList::Contains(std::string_view path) const { return m_keys.count(SkipKey(path)) != 0; }

CFoundFiles::CFoundFiles(CCatalogue& catalogue) : m_catalogue(catalogue) {
  for (size_t i = 0; i < catalogue.GetSize(); ++i) m_keys.insert(PathKey(catalogue.GetAt(i)->GetPath()));
}

bool CFoundFiles::Contains(std::string_view path) const { return m_keys.count(PathKey(path)) != 0; }

void CFoundFiles::Append(const std::string& path) {
  m_keys.insert(PathKey(path));
  m_catalogue.Add(std::make_unique<CCatalogueEntry>(path));
}

void AddFile(const std::string& path, const CSkipList& skip, CFoundFiles& found) {
  if (skip.Contains(path) || found.Contains(path)) return;
  found.Append(path);
}

}  // namespace jb
