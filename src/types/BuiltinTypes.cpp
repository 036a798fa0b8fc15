#include "types/BuiltinTypes.h"

#include <algorithm>
#include <array>

#include "platform/File.h"
#include "platform/Paths.h"
#include "platform/Text.h"
#include "storage/CArchive.h"
#include "strings/StringTable.h"

namespace jb {

namespace {

// Empties the outputs, with room for the usual three elements and one path
// (a scan describes every file: growing the lists one by one shows).
void ClearOutputs(StringList& names, KindList& kinds, StringList& paths) {
  names.clear();
  kinds.clear();
  paths.clear();
  names.reserve(3);
  kinds.reserve(3);
  paths.reserve(1);
}

void Append(StringList& names, KindList& kinds, std::string_view name, NodeKind kind) {
  names.emplace_back(name);
  kinds.push_back(kind);
}

// The grouping of a file that is shown by its place rather than by its
// contents: group name, directory, file name.
void DescribeByPlace(const std::string& path, const std::string& group, StringList& names, KindList& kinds,
                     StringList& paths) {
  Append(names, kinds, group, NodeKind::UserType);
  Append(names, kinds, DirectoryPart(path), NodeKind::Folder);
  Append(names, kinds, NameWithoutExtension(path), NodeKind::File);
  paths.push_back(path);
}

constexpr size_t kTagSize = 128;

// The last 128 bytes of the file, when it is a regular file that long.
bool ReadTag(const std::string& path, std::array<char, kTagSize>& tag) {
  std::unique_ptr<CReadFile> file = CReadFile::Open(path);
  if (!file || file->Size() < kTagSize) return false;
  try {
    if (!file->Seek(file->Size() - kTagSize)) return false;
    return file->Read(tag.data(), kTagSize) == kTagSize;
  } catch (const FileError&) {
    return false;
  }
}

// A tag field as "%.30s" formats it, less trailing white space.
std::string_view TagField(const std::array<char, kTagSize>& tag, size_t offset) {
  std::string_view field(tag.data() + offset, 30);
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
  ClearOutputs(names, kinds, paths);
  std::array<char, kTagSize> tag;
  if (!ReadTag(path, tag) || tag[0] != 'T' || tag[1] != 'A' || tag[2] != 'G') {
    DescribeByPlace(path, m_strTagLessName, names, kinds, paths);
    icon = m_nTagLessIcon;
    return;
  }
  std::string_view artist = TagField(tag, 33);
  std::string_view album = TagField(tag, 63);
  std::string_view title = TagField(tag, 3);
  if (!artist.empty()) Append(names, kinds, artist, NodeKind::Artist);
  if (!album.empty()) Append(names, kinds, album, NodeKind::Album);
  if (title.empty()) title = NameWithoutExtension(path);
  Append(names, kinds, title, NodeKind::File);
  paths.push_back(path);
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
  ClearOutputs(names, kinds, paths);
  Append(names, kinds, NameWithoutExtension(path), NodeKind::PlayList);

  const std::string_view dir = DirectoryPart(path);
  size_t entries = 0;
  auto takeLine = [&](std::string_view line) {
    // "#" lines are comments and extended-format directives, not songs.
    if (line.empty() || line[0] == '#') return true;
    Append(names, kinds, NameWithoutExtension(line), NodeKind::File);
    // A relative entry names a file beside the play-list; the player is
    // handed a play-list written elsewhere, so store where it really is.
    if (line[0] == kPathSeparator || dir.empty())
      paths.emplace_back(line);
    else
      paths.push_back(std::string(dir).append(line));
    return ++entries < kMaxEntries;
  };
  if (std::unique_ptr<CReadFile> file = CReadFile::Open(path)) ForEachLine(*file, kMaxBytes, takeLine);

  if (names.size() == 1) ClearOutputs(names, kinds, paths);
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
  ClearOutputs(names, kinds, paths);
  DescribeByPlace(path, m_strName, names, kinds, paths);
  icon = m_nIcon;
}

}  // namespace jb
