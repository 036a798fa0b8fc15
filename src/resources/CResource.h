#pragma once
// Scan roots: a directory or a file the user names, to scan or to cloak.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "types/NodeKind.h"

namespace jb {

class CArchive;
class CFoundFiles;
class CResourceArray;
class CResourceType;
class CResourceTypeArray;
class CSkipList;

class CResource {
 public:
  enum : std::uint8_t { kCloak = 0x01, kSubDirectories = 0x02, kHidden = 0x04 };

  virtual ~CResource() = default;
  // The body after the kind byte.
  virtual void Serialize(CArchive& ar);

  // The bound type's id; 255 when none is bound.
  virtual std::uint8_t GetTypeId() const;
  // The bound type's image, cloaked or not.
  virtual int GetIcon() const;
  // Runs the resource's property dialog; true when confirmed.
  virtual bool Edit(CResourceArray& all);
  // Drops settings that no type backs any more.
  virtual void Refresh(const CResourceTypeArray& types) { (void)types; }
  // Offers the resource's files to the scan.
  virtual void CollectFiles(const CResourceTypeArray& types, const CSkipList& skip, CFoundFiles& found) const;
  // Adds what no walk may collect or enter.
  virtual void AddToSkipList(CSkipList& skip) const;

  bool IsCloaked() const { return (m_nFlags & kCloak) != 0; }

  std::uint8_t m_nFlags = 0;
  std::string m_strPath;
  CResourceType* m_pType = nullptr;  // not owned
};

class CFileResource : public CResource {
 public:
  CFileResource() = default;
  explicit CFileResource(CResourceType* type) { m_pType = type; }
  void Serialize(CArchive& ar) override;
};

class CDirResource : public CResource {
 public:
  CDirResource() { m_nFlags = kSubDirectories | kHidden; }
  explicit CDirResource(CResourceType* type) : CDirResource() { m_pType = type; }

  void Serialize(CArchive& ar) override;
  void Refresh(const CResourceTypeArray& types) override;
  void CollectFiles(const CResourceTypeArray& types, const CSkipList& skip, CFoundFiles& found) const override;
  void AddToSkipList(CSkipList& skip) const override;

  // Collects the files of directory and, when set, of its sub-directories.
  void Walk(const std::string& directory, const CResourceTypeArray& types, const CSkipList& skip,
            CFoundFiles& found) const;

  StringList m_aExcludedExts;
};

// Hands the resource property dialogs to the front end; without one, Edit
// answers false.
class IResourceEditor {
 public:
  virtual ~IResourceEditor() = default;
  virtual bool Edit(CResource& resource, CResourceArray& all) = 0;
};
void SetResourceEditor(IResourceEditor* editor);

}  // namespace jb
