#include "resources/CResource.h"

#include <algorithm>
#include <set>
#include <unordered_map>
#include <utility>

#include "platform/DirectoryListing.h"
#include "platform/Paths.h"
#include "platform/Text.h"
#include "resources/CollectFiles.h"
#include "storage/CArchive.h"
#include "types/CResourceTypeArray.h"

namespace jb {

namespace {

IResourceEditor* g_editor = nullptr;

bool IsHidden(const std::string& name) { return !name.empty() && name[0] == '.'; }

// The extension a "*.ext" pattern sees: after the last "."; none without.
bool NameExtension(const std::string& name, std::string& key) {
  size_t dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  key = ToLowerAscii(std::string_view(name).substr(dot + 1));
  return true;
}

bool EndsWithNoCase(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && EqualsNoCase(s.substr(s.size() - suffix.size()), suffix);
}

}  // namespace

void SetResourceEditor(IResourceEditor* editor) { g_editor = editor; }

// --- CResource ------------------------------------------------------------

void CResource::Serialize(CArchive& ar) {
  ar.SerialVersion();
  ar.Serial(m_nFlags);
  ar.Serial(m_strPath);
}

std::uint8_t CResource::GetTypeId() const { return m_pType ? m_pType->GetTypeId() : 255; }

int CResource::GetIcon() const { return m_pType ? m_pType->GetIcon(m_nFlags & kCloak) : 0; }

bool CResource::Edit(CResourceArray& all) { return g_editor && g_editor->Edit(*this, all); }

void CResource::CollectFiles(const CResourceTypeArray&, const CSkipList& skip, CFoundFiles& found) const {
  if (!IsCloaked()) AddFile(m_strPath, skip, found);
}

void CResource::AddToSkipList(CSkipList& skip) const {
  if (IsCloaked()) skip.Add(m_strPath);
}

void CFileResource::Serialize(CArchive& ar) {
  ar.SerialVersion();
  CResource::Serialize(ar);
}

// --- CDirResource ---------------------------------------------------------

void CDirResource::Serialize(CArchive& ar) {
  ar.SerialVersion();
  std::uint32_t count = static_cast<std::uint32_t>(m_aExcludedExts.size());
  ar.SerialCount(count);
  if (ar.IsStoring()) {
    for (std::string& ext : m_aExcludedExts) ar.PutString(ext);
  } else {
    m_aExcludedExts.clear();
    for (std::uint32_t i = 0; i < count; ++i) m_aExcludedExts.push_back(ar.GetString());
  }
  CResource::Serialize(ar);
}

void CDirResource::Refresh(const CResourceTypeArray& types) {
  for (size_t i = m_aExcludedExts.size(); i-- > 0;)
    if (!types.FindByExtension(m_aExcludedExts[i]))
      m_aExcludedExts.erase(m_aExcludedExts.begin() + static_cast<long>(i));
}

void CDirResource::AddToSkipList(CSkipList& skip) const { skip.Add(m_strPath); }

void CDirResource::CollectFiles(const CResourceTypeArray& types, const CSkipList& skip, CFoundFiles& found) const {
  if (!IsCloaked()) Walk(m_strPath, types, skip, found);
}

void CDirResource::Walk(const std::string& directory, const CResourceTypeArray& types, const CSkipList& skip,
                        CFoundFiles& found) const {
  const bool hidden = (m_nFlags & kHidden) != 0;
  const bool subDirectories = (m_nFlags & kSubDirectories) != 0;

  // The extensions to look for, in the order files are collected: types from
  // the last to the first, each one's extensions from the last to the first.
  // An extension met again (two types claiming it) would only offer the same
  // files again, which are dropped as duplicates: it is looked for once.
  StringList patterns;
  StringList extensions;
  for (size_t t = types.GetSize(); t-- > 0;) {
    types.GetAt(t)->GetExtensions(extensions);
    for (size_t e = extensions.size(); e-- > 0;) {
      const std::string& ext = extensions[e];
      auto same = [&](const std::string& x) { return EqualsNoCase(x, ext); };
      bool excluded = std::any_of(m_aExcludedExts.begin(), m_aExcludedExts.end(), same);
      bool repeated = std::any_of(patterns.begin(), patterns.end(), same);
      if (!excluded && !repeated) patterns.push_back(ext);
    }
  }

  // Depth first without recursion, so deep trees cannot exhaust the stack.
  // A directory (device and inode) is walked once: links that lead back
  // into the tree are not followed again.
  std::set<DirectoryId> walked;
  std::vector<std::string> pending{directory};
  // Each directory is listed once and each name matches one extension, so
  // the walk offers no file twice, unless an extension holding a dot
  // overlaps another.
  const bool distinct = std::none_of(patterns.begin(), patterns.end(),
                                     [](const std::string& ext) { return ext.find('.') != std::string::npos; });
  if (distinct) found.BeginDistinctRun();
  std::unordered_map<std::string, std::vector<const std::string*>> byExtension;
  while (!pending.empty()) {
    std::string current = std::move(pending.back());
    pending.pop_back();
    std::unique_ptr<CDirectory> opened = CDirectory::Open(current);
    if (!opened || !walked.insert(opened->Id()).second) continue;  // gone, unreadable, or walked

    const std::string root = WithTrailingSeparator(current);
    DirectoryListing listing;
    if (!opened->List(listing)) continue;
    opened.reset();

    byExtension.clear();
    std::string key;
    for (const std::string& name : listing.files)
      if ((hidden || !IsHidden(name)) && NameExtension(name, key)) byExtension[key].push_back(&name);

    for (const std::string& ext : patterns) {
      if (ext.find('.') != std::string::npos) {
        // An extension holding a dot: match the whole name's ending.
        for (const std::string& name : listing.files)
          if ((hidden || !IsHidden(name)) && EndsWithNoCase(name, "." + ext)) AddFile(root + name, skip, found);
        continue;
      }
      auto it = byExtension.find(ToLowerAscii(ext));
      if (it == byExtension.end()) continue;
      for (const std::string* name : it->second) AddFile(root + *name, skip, found);
    }

    if (!subDirectories) continue;
    for (auto it = listing.directories.rbegin(); it != listing.directories.rend(); ++it) {
      if (!hidden && IsHidden(*it)) continue;
      std::string sub = root + *it;
      if (!skip.Contains(sub)) pending.push_back(std::move(sub));
    }
  }
  if (distinct) found.EndDistinctRun();
}

}  // namespace jb
