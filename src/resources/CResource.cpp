#include "resources/CResource.h"

#include <algorithm>
#include <set>
#include <unordered_map>
#include <utility>

#include "platform/DirectoryListing.h"
#include "platform/Paths.h"
#include "platform/Text.h"
#include "resources/CollectFiles.h"
#include "resources/DirectoryPrefetcher.h"
#include "storage/CArchive.h"
#include "types/CResourceTypeArray.h"

namespace jb {

namespace {

IResourceEditor* g_editor = nullptr;

bool IsHidden(std::string_view name) { return !name.empty() && name[0] == '.'; }

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
  // A name's extension (lower case) to the one pattern it matches; patterns
  // holding a dot match the name's ending instead.
  std::unordered_map<std::string, size_t> patternOf;
  for (size_t p = 0; p < patterns.size(); ++p)
    if (patterns[p].find('.') == std::string::npos) patternOf.emplace(ToLowerAscii(patterns[p]), p);
  const bool distinct = patternOf.size() == patterns.size();

  // Depth first without recursion, so deep trees cannot exhaust the stack.
  // A directory (device and inode) is walked once: links that lead back
  // into the tree are not followed again. Helpers list the directories
  // below ahead of the walk; the walk's order alone decides what is
  // collected.
  DirectoryPrefetcher prefetcher(subDirectories ? found.ListingHelpers() : 0, hidden, skip, found.Waits());
  std::set<DirectoryId> walked;
  struct Pending {
    std::string path;
    DirectoryPrefetcher::Node* node;  // null when no helper reached it by this path
  };
  std::vector<Pending> pending;
  pending.push_back({directory, prefetcher.Add(directory)});
  // Each directory is listed once and each name matches one extension, so
  // the walk offers no file twice, unless an extension holding a dot
  // overlaps another.
  if (distinct) found.BeginDistinctRun();
  std::vector<std::vector<std::uint32_t>> byPattern(patterns.size());
  std::string key;
  std::string file;  // a file's path, built in place
  bool skipHere = true;  // whether a name of the directory may be skipped
  auto offer = [&](const std::string& root, std::string_view name) {
    file.assign(root).append(name);
    if (!found.Contains(file) && !(skipHere && skip.Contains(file))) found.Append(file);
  };
  while (!pending.empty()) {
    Pending current = std::move(pending.back());
    pending.pop_back();
    DirectoryPrefetcher::Node* node = current.node ? current.node : prefetcher.Add(current.path);
    DirectoryPrefetcher::Node& listed = prefetcher.Listed(*node);
    if (!node->Opened() || !walked.insert(node->Id()).second) continue;  // gone, unreadable, or walked

    const DirectoryListing& listing = DirectoryPrefetcher::Listing(listed);
    const std::string root = WithTrailingSeparator(current.path);
    skipHere = skip.MayHoldIn(root);
    found.SetDirectory(DirectoryPrefetcher::TakeDirectory(listed));
    for (auto& files : byPattern) files.clear();
    for (size_t i = 0; i < listing.FileCount(); ++i) {
      std::string_view name = listing.File(i);
      size_t dot = name.rfind('.');
      if ((!hidden && IsHidden(name)) || dot == std::string_view::npos) continue;
      key.assign(name.substr(dot + 1));
      for (char& c : key)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      auto it = patternOf.find(key);
      if (it != patternOf.end()) byPattern[it->second].push_back(static_cast<std::uint32_t>(i));
    }
    for (size_t p = 0; p < patterns.size(); ++p) {
      if (patterns[p].find('.') == std::string::npos) {
        for (std::uint32_t i : byPattern[p]) offer(root, listing.File(i));
        continue;
      }
      const std::string ending = "." + patterns[p];
      for (size_t i = 0; i < listing.FileCount(); ++i) {
        std::string_view name = listing.File(i);
        if ((hidden || !IsHidden(name)) && EndsWithNoCase(name, ending)) offer(root, name);
      }
    }

    if (subDirectories) {
      for (size_t i = listing.DirectoryCount(); i-- > 0;) {
        std::string_view name = listing.Directory(i);
        if (!hidden && IsHidden(name)) continue;
        std::string sub = PathIn(root, name);
        if (!skipHere || !skip.Contains(sub)) pending.push_back({std::move(sub), DirectoryPrefetcher::Child(listed, i)});
      }
    }
    found.SetDirectory(nullptr);
    DirectoryPrefetcher::Release(listed);
  }
  if (distinct) found.EndDistinctRun();
}

}  // namespace jb
