#pragma once
// What a scan collects into: the skip list (paths no walk may collect or
// enter) and the found files (the catalogue being filled). Both answer
// "is this path here?" from a hash index, so collecting stays linear in the
// number of files.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "platform/Paths.h"

namespace jb {

class CCatalogue;
class CCatalogueEntry;
class CDirectory;
class DiskWaits;

class CSkipList {
 public:
  // Appends path unless an equal one is there. A trailing separator does not
  // make another path.
  void Add(std::string_view path);
  bool Contains(std::string_view path) const;
  // False when no path of the list is directly in directory (given with
  // its trailing separator): a walk then checks none of its names.
  bool MayHoldIn(std::string_view directory) const { return m_folders.count(directory) != 0; }
  const std::vector<std::string>& Paths() const { return m_paths; }

 private:
  std::vector<std::string> m_paths;
  std::unordered_set<std::string, PathHash, PathEqual> m_keys;     // paths less trailing separators
  std::unordered_set<std::string, PathHash, PathEqual> m_folders;  // the keys' directory parts
};

class CFoundFiles {
 public:
  // Told of each entry appended, right after it joins the catalogue, with
  // its directory when the walk has it open.
  using AppendListener = std::function<void(CCatalogueEntry*, const std::shared_ptr<const CDirectory>&)>;

  explicit CFoundFiles(CCatalogue& catalogue, AppendListener listener = {});
  bool Contains(std::string_view path);
  // Appends a new entry for path.
  void Append(std::string_view path);
  // Between these, the paths offered are known to differ from each other
  // (one directory walk offers each file once): they are checked against
  // the entries found before only, and the first walk of a scan costs no
  // look-up at all.
  void BeginDistinctRun();
  void EndDistinctRun() { m_nRunStart = kNoRun; }
  CCatalogue& Catalogue() { return m_catalogue; }
  // The open directory the files appended from now on are in, or null.
  void SetDirectory(std::shared_ptr<const CDirectory> dir) { m_pDirectory = std::move(dir); }
  // Threads that list directories ahead of a walk (none: the walk lists
  // every directory itself); with waits, most start once the disk is waited
  // for.
  void SetListingHelpers(unsigned helpers, DiskWaits* waits = nullptr) {
    m_nListingHelpers = helpers;
    m_pWaits = waits;
  }
  unsigned ListingHelpers() const { return m_nListingHelpers; }
  DiskWaits* Waits() const { return m_pWaits; }

 private:
  CCatalogue& m_catalogue;
  AppendListener m_listener;
  std::shared_ptr<const CDirectory> m_pDirectory;
  static constexpr size_t kNoRun = static_cast<size_t>(-1);
  // Views of the paths of the first m_nIndexed entries (indexed when a
  // look-up needs them): entries never move or change their path while the
  // catalogue is being filled.
  std::unordered_set<std::string_view, PathHash, PathEqual> m_paths;
  size_t m_nIndexed = 0;
  size_t m_nRunStart = kNoRun;
  unsigned m_nListingHelpers = 0;
  DiskWaits* m_pWaits = nullptr;
};

// Adds path to the found files unless it is skipped or already found.
void AddFile(std::string_view path, const CSkipList& skip, CFoundFiles& found);

}  // namespace jb
