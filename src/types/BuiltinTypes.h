#pragma once
// The three built-in resource types and the user-defined type.

#include <cstddef>

#include "types/CResourceType.h"

namespace jb {

enum TypeId : std::uint8_t { kFolderTypeId = 1, kMpegAudioTypeId = 2, kPlayListTypeId = 3, kUserTypeId = 255 };

// Directories: claims no extension and describes no file; makes directory
// resources.
class CFolderType : public CResourceType {
 public:
  void Serialize(CArchive& ar) override;
  std::uint8_t GetTypeId() const override { return kFolderTypeId; }
  std::string GetName() const override;
  std::uint8_t GetIcon(int cloaked) const override { return static_cast<std::uint8_t>(2 + cloaked); }
};

// MP3 files, described by their ID3 version 1 tag.
class CMpegAudioType : public CResourceType {
 public:
  CMpegAudioType();
  void Serialize(CArchive& ar) override;
  std::uint8_t GetTypeId() const override { return kMpegAudioTypeId; }
  std::string GetName() const override;
  bool IsNamed(std::string_view name) const override;
  void GetExtensions(StringList& extensions) const override { extensions.assign({"Mp3"}); }
  std::uint8_t GetIcon(int cloaked) const override { return static_cast<std::uint8_t>(4 + cloaked); }
  bool MatchesExtension(std::string_view extension) const override;
  void Describe(const std::string& path, std::uint8_t& icon, StringList& names, KindList& kinds,
                StringList& paths) const override;
  void DescribeInto(const std::string& path, std::uint8_t& icon, Description& out) const override;
  static constexpr size_t kTagSize = 128;  // the ID3 version 1 tag, at the end
  size_t TailBytes() const override { return kTagSize; }
  void DescribeTail(const std::string& path, const char* tag, std::uint8_t& icon, Description& out) const override;
  std::uint8_t GetEditFlags() const override { return 1; }

  std::uint8_t m_nIcon = 4;
  std::uint8_t m_nTagLessIcon = 0;
  std::string m_strTagLessName;
};

// M3U play-lists, described by their entries. Memory stays bounded whatever
// the file: a line longer than kMaxPathLength is skipped, and a play-list is
// read up to its first kMaxBytes bytes and kMaxEntries entries.
class CPlayListType : public CResourceType {
 public:
  static constexpr size_t kMaxEntries = size_t{1} << 20;                // 1,048,576
  static constexpr std::uint64_t kMaxBytes = std::uint64_t{256} << 20;  // 256 MiB

  void Serialize(CArchive& ar) override;
  std::uint8_t GetTypeId() const override { return kPlayListTypeId; }
  std::string GetName() const override;
  void GetExtensions(StringList& extensions) const override { extensions.assign({"M3U"}); }
  std::uint8_t GetIcon(int cloaked) const override { return static_cast<std::uint8_t>(6 + cloaked); }
  bool MatchesExtension(std::string_view extension) const override;
  void Describe(const std::string& path, std::uint8_t& icon, StringList& names, KindList& kinds,
                StringList& paths) const override;
  void DescribeInto(const std::string& path, std::uint8_t& icon, Description& out) const override;
  std::uint8_t GetEditFlags() const override { return 1; }

  std::uint8_t m_nIcon = 4;
};

// A type the user defines: a name, extensions and an icon. Its files are
// grouped under its name, then under their directory.
class CUserType : public CResourceType {
 public:
  CUserType() = default;
  CUserType(std::string name, StringList extensions, std::uint8_t icon = 0)
      : m_nIcon(icon), m_strName(std::move(name)), m_aExtensions(std::move(extensions)) {}

  void Serialize(CArchive& ar) override;
  std::uint8_t GetTypeId() const override { return kUserTypeId; }
  std::string GetName() const override { return m_strName; }
  void GetExtensions(StringList& extensions) const override { extensions = m_aExtensions; }
  std::uint8_t GetIcon(int cloaked) const override { return static_cast<std::uint8_t>(cloaked); }
  bool MatchesExtension(std::string_view extension) const override;
  void Describe(const std::string& path, std::uint8_t& icon, StringList& names, KindList& kinds,
                StringList& paths) const override;
  void DescribeInto(const std::string& path, std::uint8_t& icon, Description& out) const override;
  std::uint8_t GetEditFlags() const override { return 3; }

  void SetName(std::string name) { m_strName = std::move(name); }
  void SetExtensions(const StringList& extensions) { m_aExtensions = extensions; }

  std::uint8_t m_nIcon = 0;
  std::string m_strName;
  StringList m_aExtensions;
};

}  // namespace jb
