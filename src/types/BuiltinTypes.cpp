#include "types/BuiltinTypes.h"

#include <algorithm>
#include <array>

#include "platform/File.h"
#include "platform/Paths.h"
#include "platform/Text.h"
#include "storage/CArchive.h"
#include "types/Description.h"
#include "strings/StringTable.h"

namespace jb {

namespace {

// The grouping of a file that is shown by its place rather than by its
// contents: group name, directory, file name.
void DescribeByPlace(const std::string& path, std::string_view group, Description& out) {
  out.AddName(group, NodeKind::UserType);
  out.AddName(DirectoryPart(path), NodeKind::Folder);
  out.AddName(NameWithoutExtension(path), NodeKind::File);
  out.AddPath(path);
}

// A type's description as plain lists.
void DescribeToLists(const CResourceType& type, const std::string& path, std::uint8_t& icon, StringList& names,
                     KindList& kinds, StringList& paths) {
  Description out;
  type.DescribeInto(path, icon, out);
  out.ToLists(names, kinds, paths);
}

constexpr size_t kTagSize = CMpegAudioType::kTagSize;

// The last 128 bytes of the file, when it is a regular file that long.
bool ReadTag(const std::string& path, std::array<char, kTagSize>& tag) {
  return ReadFileTail(path, tag.data(), kTagSize);
}

// A tag field as "%.30s" formats it, less trailing white space.
std::string_view TagField(const char* tag, size_t offset) {
  std::string_view field(tag + offset, 30);
  size_t zero = field.find('\0');
  if (zero != std::string_view::npos) field = field.substr(0, zero);
  return TrimRight(field);
}

// Calls take(line) for each line of file, without its line end (CR or LF),
// until it answers false or maxBytes bytes were read. A line longer than any
// path is read past in chunks and never kept, so memory stays bounded
// whatever the file holds; so is a line the byte bound cuts.
template <class Take>
void ForEachLine(CReadFile& file, std::uint64_t maxBytes, Take&& take) {
  std::string line;
  line.reserve(kMaxPathLength);
  bool tooLong = false;
  char buffer[16384];
  try {
    for (size_t got; maxBytes > 0 && (got = file.Read(buffer, std::min<std::uint64_t>(sizeof buffer, maxBytes))) > 0;) {
      maxBytes -= got;
      for (const char *p = buffer, *end = buffer + got; p < end;) {
        const char* stop = p;
        while (stop < end && *stop != '\n' && *stop != '\r') ++stop;
        const size_t n = static_cast<size_t>(stop - p);
        tooLong = tooLong || line.size() + n > kMaxPathLength;
        if (!tooLong) line.append(p, n);
        if (stop == end) break;
        if (!tooLong && !take(std::string_view(line))) return;
        line.clear();
        tooLong = false;
        p = stop + 1;
      }
    }
    if (maxBytes == 0 && file.BytesLeft() > 0) return;
  } catch (const FileError&) {
    // What was read stands; an unreadable rest adds nothing.
  }
  if (!tooLong) take(std::string_view(line));
}

}  // namespace

// --- Folder ---------------------------------------------------------------

void CFolderType::Serialize(CArchive& ar) { ar.SerialVersion(); }

std::string CFolderType::GetName() const { return LoadString(ids::FolderTypeName); }

// --- MPEG Audio -----------------------------------------------------------

CMpegAudioType::CMpegAudioType() : m_strTagLessName(LoadString(ids::TagLessName)) {}

void CMpegAudioType::Serialize(CArchive& ar) {
  ar.SerialVersion();
  ar.Serial(m_strTagLessName);
  ar.Serial(m_nIcon);
  ar.Serial(m_nTagLessIcon);
}

std::string CMpegAudioType::GetName() const { return LoadString(ids::MpegAudioTypeName); }

bool CMpegAudioType::IsNamed(std::string_view name) const {
  return CResourceType::IsNamed(name) || EqualsNoCase(name, m_strTagLessName);
}

bool CMpegAudioType::MatchesExtension(std::string_view extension) const { return EqualsNoCase(extension, "Mp3"); }

void CMpegAudioType::Describe(const std::string& path, std::uint8_t& icon, StringList& names, KindList& kinds,
                              StringList& paths) const {
  DescribeToLists(*this, path, icon, names, kinds, paths);
}

void CMpegAudioType::DescribeInto(const std::string& path, std::uint8_t& icon, Description& out) const {
  std::array<char, kTagSize> tag;
  DescribeTail(path, ReadTag(path, tag) ? tag.data() : nullptr, icon, out);
}

void CMpegAudioType::DescribeTail(const std::string& path, const char* tag, std::uint8_t& icon,
                                  Description& out) const {
  out.Clear();
  if (!tag || tag[0] != 'T' || tag[1] != 'A' || tag[2] != 'G') {
    DescribeByPlace(path, m_strTagLessName, out);
    icon = m_nTagLessIcon;
    return;
  }
  std::string_view artist = TagField(tag, 33);
  std::string_view album = TagField(tag, 63);
  std::string_view title = TagField(tag, 3);
  if (!artist.empty()) out.AddName(artist, NodeKind::Artist);
  if (!album.empty()) out.AddName(album, NodeKind::Album);
  if (title.empty()) title = NameWithoutExtension(path);
  out.AddName(title, NodeKind::File);
  out.AddPath(path);
  icon = m_nIcon;
}

// --- Play-Lists -----------------------------------------------------------

void CPlayListType::Serialize(CArchive& ar) {
  ar.SerialVersion();
  ar.Serial(m_nIcon);
}

std::string CPlayListType::GetName() const { return LoadString(ids::PlayListTypeName); }

bool CPlayListType::MatchesExtension(std::string_view extension) const { return EqualsNoCase(extension, "M3U"); }

void CPlayListType::Describe(const std::string& path, std::uint8_t& icon, StringList& names, KindList& kinds,
                             StringList& paths) const {
  DescribeToLists(*this, path, icon, names, kinds, paths);
}

void CPlayListType::DescribeInto(const std::string& path, std::uint8_t& icon, Description& out) const {
  out.Clear();
  out.AddName(NameWithoutExtension(path), NodeKind::PlayList);

  const std::string_view dir = DirectoryPart(path);
  size_t entries = 0;
  auto takeLine = [&](std::string_view line) {
    // "#" lines are comments and extended-format directives, not songs.
    if (line.empty() || line[0] == '#') return true;
    out.AddName(NameWithoutExtension(line), NodeKind::File);
    // A relative entry names a file beside the play-list; the player is
    // handed a play-list written elsewhere, so store where it really is.
    if (line[0] == kPathSeparator || dir.empty())
      out.AddPath(line);
    else
      out.AddPath(dir, line);
    return ++entries < kMaxEntries;
  };
  if (std::unique_ptr<CReadFile> file = CReadFile::Open(path)) ForEachLine(*file, kMaxBytes, takeLine);

  if (out.NameCount() == 1) out.Clear();
  icon = m_nIcon;
}

// --- User types -----------------------------------------------------------

void CUserType::Serialize(CArchive& ar) {
  ar.SerialVersion();
  ar.Serial(m_strName);
  ar.Serial(m_nIcon);
  std::uint32_t count = static_cast<std::uint32_t>(m_aExtensions.size());
  ar.SerialCount(count);
  if (ar.IsStoring()) {
    for (std::string& ext : m_aExtensions) ar.PutString(ext);
  } else {
    for (std::uint32_t i = 0; i < count; ++i) m_aExtensions.push_back(ar.GetString());
  }
}

bool CUserType::MatchesExtension(std::string_view extension) const {
  for (auto it = m_aExtensions.rbegin(); it != m_aExtensions.rend(); ++it)
    if (EqualsNoCase(*it, extension)) return true;
  return false;
}

void CUserType::Describe(const std::string& path, std::uint8_t& icon, StringList& names, KindList& kinds,
                         StringList& paths) const {
  DescribeToLists(*this, path, icon, names, kinds, paths);
}

void CUserType::DescribeInto(const std::string& path, std::uint8_t& icon, Description& out) const {
  out.Clear();
  DescribeByPlace(path, m_strName, out);
  icon = m_nIcon;
}

}  // namespace jb
