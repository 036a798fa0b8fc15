#include "CollectionGenerator.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

namespace jb::gen {
namespace {

// splitmix64 and plain integer arithmetic: a seed gives the same tree with
// any compiler and standard library (the std distributions promise no such
// thing).
class Rng {
 public:
  explicit Rng(std::uint64_t seed) : m_state(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // 0 .. n-1
  std::uint32_t Below(std::uint32_t n) { return static_cast<std::uint32_t>(((Next() >> 32) * n) >> 32); }
  std::uint32_t Between(std::uint32_t lo, std::uint32_t hi) { return lo + Below(hi - lo + 1); }
  bool PerMille(std::uint32_t p) { return Below(1000) < p; }
  bool Percent(std::uint32_t p) { return Below(100) < p; }
  template <std::size_t N>
  const char* Pick(const char* const (&words)[N]) {
    return words[Below(N)];
  }

 private:
  std::uint64_t m_state;
};

constexpr const char* kAdjectives[] = {"Silent",    "Electric", "Broken", "Golden",  "Midnight", "Crimson", "Velvet",
                                       "Hollow",    "Wild",     "Lonely", "Burning", "Frozen",   "Distant", "Neon",
                                       "Paper",     "Iron",     "Glass",  "Secret",  "Endless",  "Quiet",   "Northern",
                                       "Lost",      "Bright",   "Dark",   "Sweet",   "Little",   "Final",   "Open",
                                       "Wandering", "Falling",  "Early",  "Blue"};
constexpr const char* kNouns[] = {"River",  "Heart",  "Machine", "Garden", "Ocean",  "Mirror",  "Train",   "Shadow",
                                  "Light",  "Road",   "Storm",   "Dream",  "Fire",   "City",    "Moon",    "Summer",
                                  "Engine", "Letter", "Window",  "Bridge", "Forest", "Echo",    "Sky",     "Radio",
                                  "Island", "Rain",   "Song",    "Stone",  "Wire",   "Harbour", "Morning", "Dance"};
constexpr const char* kFirstNames[] = {"Anna", "Tom",   "Lucy", "Marco", "Nina", "Oscar", "Ella",  "Jonas",
                                       "Maya", "Felix", "Rosa", "Hugo",  "Ida",  "Leon",  "Clara", "Sam"};
constexpr const char* kLastNames[] = {"Berg",   "Carter", "Dumont", "Evans",  "Fischer", "Garcia", "Hughes", "Ivanov",
                                      "Jensen", "Klein",  "Larsen", "Moreau", "Novak",   "Okafor", "Price",  "Quinn"};
// Written here in UTF-8; a name that gets one is stored either so or in
// Latin-1, the two encodings a real collection mixes.
constexpr const char* kAccented[] = {"Café",     "Björk", "Mötley", "Señor",  "Garçon", "Über",  "Noël",    "Zoë",
                                     "Ångström", "Déjà",  "Crème",  "Façade", "Naïve",  "Fjäll", "Smörgås", "Élan"};
// Album names that several artists use: the same album under two artists is
// what makes a compilation album in the tree.
constexpr const char* kSharedAlbums[] = {"Greatest Hits", "Live", "Best Of", "Unplugged", "Demos", "Singles"};
constexpr const char* kHiddenFolders[] = {".Trash-1000", ".sync", ".old"};

// Only the two-byte forms of U+0080..U+00FF occur in the lists above.
std::string Latin1FromUtf8(std::string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    auto c = static_cast<unsigned char>(s[i]);
    if ((c == 0xC2 || c == 0xC3) && i + 1 < s.size()) {
      out += static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(s[++i]) & 0x3F));
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::string Plural(std::string noun) {
  if (noun.ends_with("y") && !noun.ends_with("ey")) return noun.substr(0, noun.size() - 1) + "ies";
  return noun + (noun.ends_with("h") ? "es" : "s");
}

class Names {
 public:
  explicit Names(Rng& rng) : m_rng(rng) {}

  std::string Artist() {
    std::string name;
    switch (m_rng.Below(5)) {
      case 0:
        name = "The " + Plural(m_rng.Pick(kNouns));
        break;
      case 1:
        name = std::string(m_rng.Pick(kAdjectives)) + " " + m_rng.Pick(kNouns);
        break;
      case 2:
        name = std::string(m_rng.Pick(kFirstNames)) + " " + m_rng.Pick(kLastNames);
        break;
      case 3:
        name = m_rng.Pick(kNouns);
        break;
      default:
        name = std::string(m_rng.Pick(kFirstNames)) + " & The " + m_rng.Pick(kAdjectives) + " " +
               Plural(m_rng.Pick(kNouns));
    }
    return Accent(std::move(name));
  }

  std::string Album() {
    if (m_rng.Percent(3)) return m_rng.Pick(kSharedAlbums);
    std::string name = Phrase(m_rng.Between(1, 3));
    if (m_rng.Percent(5)) name += " Vol. " + std::to_string(m_rng.Between(2, 4));
    return Accent(std::move(name));
  }

  // Up to six words, so some titles run past the tag's 30 bytes.
  std::string Title() { return Accent(Phrase(m_rng.Between(1, 6))); }

 private:
  std::string Phrase(std::uint32_t words) {
    std::string s;
    for (std::uint32_t i = 0; i < words; ++i) {
      if (i) s += ' ';
      s += (i % 2 == 0 && i + 1 < words) ? m_rng.Pick(kAdjectives) : m_rng.Pick(kNouns);
    }
    return s;
  }

  std::string Accent(std::string name) {
    if (!m_rng.Percent(10)) return name;
    name = std::string(m_rng.Pick(kAccented)) + " " + name;
    return m_rng.Percent(50) ? Latin1FromUtf8(name) : name;
  }

  Rng& m_rng;
};

class Fd {
 public:
  explicit Fd(int fd = -1) : m_fd(fd) {}
  Fd(Fd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
  Fd& operator=(Fd&& other) noexcept {
    if (this != &other) {
      Close();
      m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
  }
  ~Fd() { Close(); }
  int Get() const { return m_fd; }

 private:
  void Close() {
    if (m_fd >= 0) ::close(m_fd);
  }
  int m_fd;
};

[[noreturn]] void Fail(const std::string& what, const std::string& path) {
  throw std::runtime_error("cannot " + what + " " + path + ": " + std::strerror(errno));
}

struct Dir {
  Fd fd;
  std::string path;  // relative to the root, with a trailing "/"; empty for the root
  bool hidden = false;
};

struct TagText {
  std::string title, artist, album;
  std::uint32_t year = 0;
  std::uint32_t track = 0;
};

// ID3 version 1.1: "TAG", title, artist, album (30 bytes each), year (4),
// comment (28), a zero byte, the track number, the genre. Fields are padded
// with zero bytes, or with spaces as some taggers do.
std::array<char, 128> Id3v1Tag(const TagText& t, Rng& rng, bool trueMarker) {
  std::array<char, 128> tag{};
  std::memcpy(tag.data(), trueMarker ? "TAG" : "tag", 3);
  const char pad = rng.Percent(15) ? ' ' : '\0';
  auto put = [&](std::size_t at, std::string_view text, std::size_t width) {
    std::size_t n = std::min(text.size(), width);
    std::memcpy(tag.data() + at, text.data(), n);
    std::memset(tag.data() + at + n, pad, width - n);
  };
  put(3, rng.PerMille(20) ? "" : t.title, 30);
  put(33, rng.PerMille(10) ? "" : t.artist, 30);
  put(63, t.album, 30);
  put(93, std::to_string(t.year), 4);
  put(97, rng.Percent(30) ? "Ripped for the collection" : "", 28);
  tag[125] = 0;
  tag[126] = static_cast<char>(t.track);
  tag[127] = static_cast<char>(rng.Percent(10) ? 255 : rng.Below(148));
  return tag;
}

// An ID3 version 2.3 header with title, artist and album frames and some
// padding, as taggers write at the start of a file.
std::string Id3v2Tag(const TagText& t, Rng& rng) {
  std::string frames;
  auto frame = [&](const char* id, const std::string& text) {
    if (text.empty()) return;
    std::uint32_t size = static_cast<std::uint32_t>(text.size() + 1);
    frames += id;
    for (int shift : {24, 16, 8, 0}) frames += static_cast<char>((size >> shift) & 0xFF);
    frames += std::string(3, '\0');  // flags, then the Latin-1 encoding byte
    frames += text;
  };
  frame("TIT2", t.title);
  frame("TPE1", t.artist);
  frame("TALB", t.album);
  frames.append(rng.Between(0, 256), '\0');
  std::uint32_t size = static_cast<std::uint32_t>(frames.size());
  std::string header = "ID3\x03";
  header += '\0';                                                                        // revision
  header += '\0';                                                                        // flags
  for (int shift : {21, 14, 7, 0}) header += static_cast<char>((size >> shift) & 0x7F);  // sync-safe
  return header + frames;
}

// What a player shows for a track: its file name less the extension.
std::string Label(std::string_view path) {
  path = path.substr(path.rfind('/') + 1);
  return std::string(path.substr(0, path.rfind('.')));
}

std::string TwoDigits(std::uint32_t n) {
  char text[16];
  std::snprintf(text, sizeof text, "%02u", n);
  return text;
}

class Generator {
 public:
  explicit Generator(const GeneratorOptions& options) : m_rng(options.seed), m_names(m_rng) {
    // Byte by byte, so the bytes do not depend on the machine's byte order.
    m_pool.resize(64 * 1024);
    for (std::size_t i = 0; i < m_pool.size(); i += 8)
      for (std::uint64_t v = m_rng.Next(), k = 0; k < 8; ++k) m_pool[i + k] = static_cast<char>(v >> (8 * k));
    OpenRoot(options.root);
    for (const char* reserved : {"Various Artists", "Playlists", "Videos", "MIDI", "Shortcuts"})
      m_artistNames.insert(reserved);
    Plan(options.files);
  }

  CollectionSummary Run() {
    m_left = m_albumBudget;
    for (std::uint32_t artist = 0; m_left > 0; ++artist) {
      if (m_albums >= 3 && (!m_various || artist % 25 == 0)) MakeCompilation();
      if (m_left > 0) MakeArtist(artist);
    }
    m_left = m_otherBudget;
    MakeUserTypeFiles();
    m_left = m_playListBudget;
    MakePlayLists();
    if (m_albums > 0) MakeShortcuts();
    return m_summary;
  }

 private:
  void OpenRoot(const std::string& root) {
    std::error_code ec;
    std::filesystem::create_directories(root, ec);
    if (ec) throw std::runtime_error("cannot create " + root + ": " + ec.message());
    if (std::filesystem::directory_iterator(root, ec) != std::filesystem::directory_iterator() || ec)
      throw std::runtime_error(root + " is not an empty directory");
    m_root.fd = Fd(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (m_root.fd.Get() < 0) Fail("open", root);
    m_absRoot = std::filesystem::absolute(root).lexically_normal().string();
    while (m_absRoot.size() > 1 && m_absRoot.back() == '/') m_absRoot.pop_back();
  }

  // Small collections (for tests) are all albums; from 50 files on, some go
  // to user-type files and play-list folders.
  void Plan(std::uint64_t files) {
    if (files >= 50) {
      m_playListBudget = std::max<std::uint64_t>(3, files / 400);
      m_otherBudget = std::max<std::uint64_t>(4, files / 250);
    }
    m_albumBudget = files - m_playListBudget - m_otherBudget;
  }

  Dir SubDir(const Dir& parent, const std::string& name) {
    Dir dir;
    dir.path = parent.path + name + "/";
    dir.hidden = parent.hidden || name[0] == '.';
    if (::mkdirat(parent.fd.Get(), name.c_str(), 0755) != 0) Fail("create directory", dir.path);
    dir.fd = Fd(::openat(parent.fd.Get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.fd.Get() < 0) Fail("open", dir.path);
    ++m_summary.directories;
    return dir;
  }

  // One file from the budget: one open, one gathered write, one close.
  void WriteFile(const Dir& dir, const std::string& name, std::initializer_list<std::string_view> parts) {
    --m_left;
    std::array<iovec, 8> iov{};
    std::size_t n = 0;
    std::size_t total = 0;
    for (std::string_view part : parts) {
      iov[n++] = {const_cast<char*>(part.data()), part.size()};
      total += part.size();
    }
    Fd fd(::openat(dir.fd.Get(), name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
    if (fd.Get() < 0) Fail("create", dir.path + name);
    iovec* next = iov.data();
    std::size_t remaining = total;
    while (remaining > 0) {
      ssize_t written = ::writev(fd.Get(), next, static_cast<int>(n - (next - iov.data())));
      if (written < 0) {
        if (errno == EINTR) continue;
        Fail("write", dir.path + name);
      }
      remaining -= static_cast<std::size_t>(written);
      for (auto w = static_cast<std::size_t>(written); w > 0 && remaining > 0;) {
        std::size_t step = std::min(w, next->iov_len);
        next->iov_base = static_cast<char*>(next->iov_base) + step;
        next->iov_len -= step;
        w -= step;
        if (next->iov_len == 0) ++next;
      }
    }
    ++m_summary.files;
    m_summary.bytes += total;
    if (dir.hidden || name[0] == '.') ++m_summary.hidden;
  }

  void MakeLink(const Dir& dir, const std::string& name, const std::string& target) {
    if (::symlinkat(target.c_str(), dir.fd.Get(), name.c_str()) != 0) Fail("link", dir.path + name);
    ++m_summary.links;
  }

  // n bytes of the noise pool, taken at a random place.
  std::string_view Noise(std::size_t n) {
    n = std::min(n, m_pool.size());
    return std::string_view(m_pool).substr(m_rng.Below(static_cast<std::uint32_t>(m_pool.size() - n + 1)), n);
  }

  std::string UniqueArtistName() {
    const std::string base = m_names.Artist();
    std::string name = base;
    for (std::uint32_t i = 2; !m_artistNames.insert(name).second; ++i) name = base + " " + std::to_string(i);
    return name;
  }

  void MakeArtist(std::uint32_t index) {
    std::string name = UniqueArtistName();
    m_artists.push_back(name);
    Dir dir = SubDir(m_root, name);
    std::unordered_set<std::string> albums;
    for (std::uint32_t i = 0, n = m_rng.Between(1, 4); i < n && m_left > 0; ++i) {
      // Every tenth artist has a "Greatest Hits" or a "Live" like others.
      std::string album = i == 0 && index % 10 == 4 ? kSharedAlbums[index / 10 % 2] : m_names.Album();
      std::string folder = album;
      while (!albums.insert(folder).second) folder += " (2)";
      MakeAlbum(dir, folder, album, &name);
    }
    // Backups and trash beside the music: found only by scans of hidden files.
    if (index % 50 == 1 && m_left > 0) {
      Dir hidden = SubDir(dir, m_rng.Pick(kHiddenFolders));
      for (std::uint32_t i = 1, n = m_rng.Between(1, 3); i <= n && m_left > 0; ++i) {
        TagText t{m_names.Title(), name, m_names.Album(), m_rng.Between(1960, 2020), i};
        MakeTrack(hidden, TwoDigits(i) + " - " + t.title + ".mp3", t);
      }
    }
  }

  // An album under "Various Artists" whose tracks name several artists.
  void MakeCompilation() {
    if (!m_various) m_various = SubDir(m_root, "Various Artists");
    std::string album = m_names.Album();
    std::string folder = album;
    while (!m_compilations.insert(folder).second) folder += " (2)";
    MakeAlbum(*m_various, folder, album, nullptr);
  }

  void MakeAlbum(const Dir& parent, const std::string& folder, const std::string& album, const std::string* artist) {
    Dir dir = SubDir(parent, folder);
    if (m_albums++ == 0) MakeLink(dir, "parent", "..");  // a loop: the link names its own ancestor
    std::uint32_t year = m_rng.Between(1960, 2020);
    std::uint32_t discs = m_rng.Percent(3) ? 2 : 1;
    std::vector<std::string> listed;  // relative to the album folder
    for (std::uint32_t disc = 1; disc <= discs && m_left > 0; ++disc) {
      std::optional<Dir> cd;
      if (discs > 1) cd = SubDir(dir, "CD" + std::to_string(disc));
      for (std::uint32_t track = 1, n = m_rng.Between(5, 14); track <= n && m_left > 0; ++track) {
        std::string trackArtist = artist ? *artist : AnyArtist();
        TagText t{m_names.Title(), trackArtist, album, year, track};
        std::string name = TwoDigits(track) + " - " + (artist ? "" : trackArtist + " - ") + t.title;
        std::uint32_t ext = m_rng.Below(100);
        name += ext < 97 ? ".mp3" : ext < 99 ? ".MP3" : ".Mp3";
        MakeTrack(cd ? *cd : dir, name, t);
        listed.push_back(cd ? "CD" + std::to_string(disc) + "/" + name : name);
      }
    }
    MakeAlbumExtras(dir, folder, listed);
  }

  // Compilations come after a few artists, so there is always one to pick.
  const std::string& AnyArtist() { return m_artists[m_rng.Below(static_cast<std::uint32_t>(m_artists.size()))]; }

  void MakeAlbumExtras(const Dir& dir, const std::string& folder, const std::vector<std::string>& listed) {
    if (m_left > 0 && m_rng.Percent(50)) {
      WriteFile(dir, "cover.jpg",
                {std::string_view("\xFF\xD8\xFF\xE0\0\x10JFIF\0", 11), Noise(m_rng.Between(2048, 6144)), "\xFF\xD9"});
    }
    if (m_left > 0 && m_albums % 12 == 5) {
      std::string text = "Ripped from the original CD.\nFolder: " + folder + "\n";
      WriteFile(dir, "notes.txt", {text});
    }
    if (m_left > 0 && !listed.empty() && m_albums % 7 == 1) {
      std::vector<std::string> lines;
      bool extended = m_rng.Percent(50);
      if (extended) lines.push_back("#EXTM3U");
      for (const std::string& entry : listed) {
        if (extended) lines.push_back("#EXTINF:" + std::to_string(m_rng.Between(90, 420)) + "," + Label(entry));
        lines.push_back(entry);
      }
      WritePlayList(dir, folder + (m_albums % 20 == 15 ? ".M3U" : ".m3u"), lines, true);
    }
    if (m_left > 0 && !listed.empty() && m_albums % 40 == 2) {
      // A resource fork beside a track: hidden, named *.mp3, and no tag.
      std::string fork("\0\x05\x16\x07\0\x02\0\0", 8);
      std::string_view base = listed.front();
      base = base.substr(base.rfind('/') + 1);
      WriteFile(dir, "._" + std::string(base), {fork, std::string(4088, '\0')});
      ++m_summary.untagged;
    }
    if (m_left > 0 && m_albums % 40 == 22) WriteFile(dir, ".directory", {"[Desktop Entry]\nIcon=folder-sound\n"});
    if (m_left > 0 && m_albums % 40 == 12) MakeMidi(dir, m_names.Title() + ".mid");
  }

  void MakeTrack(const Dir& dir, const std::string& name, const TagText& t) {
    static constexpr std::string_view kFrameHeader("\xFF\xFB\x90\x64", 4);
    std::string v2;
    std::array<char, 128> v1{};
    std::string_view tail;
    std::size_t audio = m_rng.Between(1024, 3584);
    std::uint32_t kind = m_rng.Below(1000);
    if (kind < 800) {
      if (m_rng.Percent(20)) v2 = Id3v2Tag(t, m_rng);
      v1 = Id3v1Tag(t, m_rng, true);
      tail = std::string_view(v1.data(), v1.size());
      ++m_summary.id3v1;
    } else if (kind < 880) {
      v2 = Id3v2Tag(t, m_rng);
      ++m_summary.id3v2Only;
    } else if (kind < 985) {
      if (kind >= 970) audio = m_rng.Between(16, 123);  // too short to hold a tag
      ++m_summary.untagged;
    } else {
      v1 = Id3v1Tag(t, m_rng, false);  // "tag" in lower case is no marker
      tail = std::string_view(v1.data(), v1.size());
      ++m_summary.untagged;
    }
    WriteFile(dir, name, {v2, kFrameHeader, Noise(audio - kFrameHeader.size()), tail});
    if (!dir.hidden) m_tracks.push_back(dir.path + name);
  }

  void MakeMidi(const Dir& dir, const std::string& name) {
    WriteFile(dir, name, {std::string_view("MThd\0\0\0\x06\0\0\0\x01\0\x60MTrk", 18), Noise(m_rng.Between(200, 1500))});
  }

  // Files for user-defined types: videos and MIDI songs in folders of their
  // own, extensions in every case a user may have typed.
  void MakeUserTypeFiles() {
    if (m_left == 0) return;
    Dir videos = SubDir(m_root, "Videos");
    Dir live = SubDir(videos, "Live");
    Dir midi = SubDir(m_root, "MIDI");
    static constexpr const char* kMidiExtensions[] = {".mid", ".MID", ".rmi", ".mid"};
    for (std::uint32_t i = 1; m_left > 0; ++i) {
      std::string name = std::to_string(i) + " " + m_names.Title();
      if (i % 2) {
        const Dir& folder = m_rng.Percent(30) ? live : videos;
        name += i % 5 == 3 ? ".AVI" : ".avi";
        WriteFile(folder, name, {std::string_view("RIFF\0\0\0\0AVI LIST", 16), Noise(m_rng.Between(2048, 8192))});
      } else {
        MakeMidi(midi, name + kMidiExtensions[i / 2 % 4]);
      }
    }
  }

  // Lines joined with CR LF; sometimes the last line has no end.
  void WritePlayList(const Dir& dir, const std::string& name, const std::vector<std::string>& lines, bool endLast) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      text += lines[i];
      if (endLast || i + 1 < lines.size()) text += "\r\n";
    }
    WriteFile(dir, name, {text});
    ++m_summary.playLists;
  }

  // Mixes across the collection, by absolute paths and by paths relative to
  // the play-list's folder; a few name a file that is not there.
  void MakePlayLists() {
    if (m_left == 0) return;
    Dir dir = SubDir(m_root, "Playlists");
    WritePlayList(dir, "Empty.m3u", {}, true);
    for (std::uint32_t i = 1; m_left > 0; ++i) {
      std::vector<std::string> lines;
      bool extended = i % 2 == 1;
      if (extended) lines.push_back("#EXTM3U");
      for (std::uint32_t n = m_tracks.empty() ? 0 : m_rng.Between(3, 25); n > 0; --n) {
        const std::string& track = m_tracks[m_rng.Below(static_cast<std::uint32_t>(m_tracks.size()))];
        if (extended) lines.push_back("#EXTINF:" + std::to_string(m_rng.Between(90, 420)) + "," + Label(track));
        lines.push_back(m_rng.Percent(40) ? m_absRoot + "/" + track : "../" + track);
        if (m_rng.Percent(3)) lines.emplace_back();
      }
      if (i % 8 == 2) lines.push_back("../Missing/gone.mp3");
      std::string name = "Mix " + std::to_string(i) + " - " + m_names.Title();
      name += i % 20 == 4 ? ".M3U" : ".m3u";
      bool endLast = i % 5 != 0;
      WritePlayList(dir, name, lines, endLast);
    }
  }

  // A link back to the root (a loop for any walk that follows links) and one
  // whose target does not exist.
  void MakeShortcuts() {
    Dir dir = SubDir(m_root, "Shortcuts");
    MakeLink(dir, "collection", "..");
    MakeLink(dir, "dangling.mp3", "../Missing/dangling.mp3");
  }

  Rng m_rng;
  Names m_names;
  std::string m_pool;
  Dir m_root;
  std::string m_absRoot;
  CollectionSummary m_summary;
  std::uint64_t m_albumBudget = 0, m_otherBudget = 0, m_playListBudget = 0;
  std::uint64_t m_left = 0;  // files the current part may still write
  std::uint32_t m_albums = 0;
  std::optional<Dir> m_various;
  std::unordered_set<std::string> m_artistNames;
  std::unordered_set<std::string> m_compilations;
  std::vector<std::string> m_artists;
  std::vector<std::string> m_tracks;  // relative paths of visible tracks, for play-lists
};

}  // namespace

CollectionSummary GenerateCollection(const GeneratorOptions& options) { return Generator(options).Run(); }

std::string FormatSummary(const CollectionSummary& s) {
  return std::to_string(s.files) + " files, " + std::to_string(s.directories) + " directories, " +
         std::to_string(s.links) + " links, " + std::to_string(s.bytes) + " bytes (mp3: " + std::to_string(s.id3v1) +
         " with ID3v1, " + std::to_string(s.id3v2Only) + " ID3v2 only, " + std::to_string(s.untagged) + " untagged; " +
         std::to_string(s.playLists) + " play-lists; " + std::to_string(s.hidden) + " hidden)";
}

}  // namespace jb::gen
