#pragma once
// A resource type: which files a scan collects (by extension), how one file
// becomes a catalogue description, which icons its files and resources show
// and what the user may do with it.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "types/NodeKind.h"

namespace jb {

class CArchive;
class Description;

class CResourceType {
 public:
  virtual ~CResourceType() = default;

  // Writes or reads the type's stored body (not its id).
  virtual void Serialize(CArchive& ar);

  virtual std::uint8_t GetTypeId() const { return 0; }
  virtual std::string GetName() const { return {}; }
  // Case-insensitive comparison of name with GetName.
  virtual bool IsNamed(std::string_view name) const;
  // Replaces the contents of extensions.
  virtual void GetExtensions(StringList& extensions) const { extensions.clear(); }
  // Image index in the type image strip; cloaked is 0 or 1.
  virtual std::uint8_t GetIcon(int cloaked) const {
    (void)cloaked;
    return 0;
  }
  virtual bool MatchesExtension(std::string_view extension) const {
    (void)extension;
    return false;
  }
  // Fills one catalogue description of the file at path.
  virtual void Describe(const std::string& path, std::uint8_t& icon, StringList& names, KindList& kinds,
                        StringList& paths) const;
  // The same into out (emptied first), as a scan asks for it. A type that
  // only fills lists is described through them.
  virtual void DescribeInto(const std::string& path, std::uint8_t& icon, Description& out) const;
  // How many bytes at the end of a file are all the type reads of it (0:
  // the type reads the file itself). A scan may read them for many files at
  // once and describe each with DescribeTail.
  virtual size_t TailBytes() const { return 0; }
  // DescribeInto with the file's last TailBytes() bytes read already: tail
  // holds them, or is null when the file has no such bytes to read.
  virtual void DescribeTail(const std::string& path, const char* tail, std::uint8_t& icon, Description& out) const {
    (void)tail;
    DescribeInto(path, icon, out);
  }
  // Bit 0: has a property dialog; bit 1: may be deleted.
  virtual std::uint8_t GetEditFlags() const { return 0; }
  // Runs the type's property dialog; true when the user confirmed.
  virtual bool EditProperties();
};

// Hands the property dialogs of the types to the front end. Without an
// editor (the command line, tests) EditProperties answers false.
class ITypePropertiesEditor {
 public:
  virtual ~ITypePropertiesEditor() = default;
  virtual bool Edit(CResourceType& type) = 0;
};
void SetTypePropertiesEditor(ITypePropertiesEditor* editor);
ITypePropertiesEditor* GetTypePropertiesEditor();

}  // namespace jb
