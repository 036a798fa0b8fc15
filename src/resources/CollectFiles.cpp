#include "resources/CollectFiles.h"

#include "catalogue/CCatalogue.h"
#include "platform/Paths.h"

namespace jb {

namespace {
std::string_view LessTrailingSeparators(std::string_view path) {
  while (path.size() > 1 && path.back() == kPathSeparator) path.remove_suffix(1);
  return path;
}
}  // namespace

void CSkipList::Add(std::string_view path) {
  const std::string_view key = LessTrailingSeparators(path);
  if (!m_keys.emplace(key).second) return;
  m_paths.emplace_back(path);
  m_folders.emplace(DirectoryPart(key));
}

bool CSkipList::Contains(std::string_view path) const {
  return m_keys.find(LessTrailingSeparators(path)) != m_keys.end();
}

CFoundFiles::CFoundFiles(CCatalogue& catalogue, AppendListener listener)
    : m_catalogue(catalogue), m_listener(std::move(listener)) {}

bool CFoundFiles::Contains(std::string_view path) {
  const size_t upTo = m_nRunStart == kNoRun ? m_catalogue.GetSize() : m_nRunStart;
  for (; m_nIndexed < upTo; ++m_nIndexed) m_paths.insert(m_catalogue.GetAt(m_nIndexed)->GetPath());
  return upTo > 0 && m_paths.count(path) != 0;
}

void CFoundFiles::BeginDistinctRun() { m_nRunStart = m_catalogue.GetSize(); }

void CFoundFiles::Append(std::string_view path) {
  CCatalogueEntry* added = m_catalogue.AddEntry(path);
  if (m_listener) m_listener(added, m_pDirectory);
}

void AddFile(std::string_view path, const CSkipList& skip, CFoundFiles& found) {
  if (found.Contains(path) || skip.Contains(path)) return;
  found.Append(path);
}

}  // namespace jb
