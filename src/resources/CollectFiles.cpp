#include "resources/CollectFiles.h"

#include <memory>

#include "platform/Paths.h"
#include "scan/CCatalogue.h"

namespace jb {

namespace {
std::string_view LessTrailingSeparators(std::string_view path) {
  while (path.size() > 1 && path.back() == kPathSeparator) path.remove_suffix(1);
  return path;
}
}  // namespace

void CSkipList::Add(std::string_view path) {
  if (m_keys.insert(PathKey(LessTrailingSeparators(path))).second) m_paths.emplace_back(path);
}

bool CSkipList::Contains(std::string_view path) const {
  // Most scans skip nothing: no key to build then.
  return !m_keys.empty() && m_keys.count(PathKey(LessTrailingSeparators(path))) != 0;
}

CFoundFiles::CFoundFiles(CCatalogue& catalogue, AppendListener listener)
    : m_catalogue(catalogue), m_listener(std::move(listener)) {
  for (size_t i = 0; i < catalogue.GetSize(); ++i) m_paths.insert(catalogue.GetAt(i)->GetPath());
}

bool CFoundFiles::Contains(std::string_view path) const { return m_paths.count(path) != 0; }

void CFoundFiles::Append(std::string path) {
  auto entry = std::make_unique<CCatalogueEntry>(std::move(path));
  CCatalogueEntry* added = entry.get();
  m_paths.insert(entry->GetPath());
  m_catalogue.Add(std::move(entry));
  if (m_listener) m_listener(added);
}

void AddFile(std::string path, const CSkipList& skip, CFoundFiles& found) {
  if (found.Contains(path) || skip.Contains(path)) return;
  found.Append(std::move(path));
}

}  // namespace jb
