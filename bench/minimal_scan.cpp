// minimal_scan DIR: the least work a scan of DIR must do, on one thread:
// list every directory, read the last 128 bytes of each *.mp3 and the whole
// of each *.m3u. The scan benchmark compares the real scan with it.
//
// Symbolic links are not followed, which is also what keeps it out of loops.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

struct Counts {
  std::uint64_t directories = 0;
  std::uint64_t entries = 0;  // everything listed, less "." and ".."
  std::uint64_t mp3 = 0;
  std::uint64_t tagged = 0;
  std::uint64_t playLists = 0;
  std::uint64_t bytesRead = 0;
};

bool EndsWithNoCase(const char* name, std::size_t length, const char* lowerExt) {
  std::size_t n = std::strlen(lowerExt);
  if (length < n) return false;
  for (std::size_t i = 0; i < n; ++i)
    if (std::tolower(static_cast<unsigned char>(name[length - n + i])) != lowerExt[i]) return false;
  return true;
}

void ReadTail(int dir, const char* name, Counts& counts) {
  int fd = ::openat(dir, name, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  struct stat st;
  char tag[128];
  if (::fstat(fd, &st) == 0 && st.st_size >= 128) {
    ssize_t n = ::pread(fd, tag, sizeof tag, st.st_size - 128);
    if (n == 128) {
      counts.bytesRead += 128;
      counts.tagged += std::memcmp(tag, "TAG", 3) == 0;
    }
  }
  ::close(fd);
}

void ReadWhole(int dir, const char* name, Counts& counts) {
  int fd = ::openat(dir, name, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  char buffer[16384];
  for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) counts.bytesRead += static_cast<std::uint64_t>(n);
  ::close(fd);
}

// Takes ownership of fd.
void Walk(int fd, Counts& counts) {
  DIR* dir = ::fdopendir(fd);
  if (!dir) {
    ::close(fd);
    return;
  }
  ++counts.directories;
  while (const dirent* e = ::readdir(dir)) {
    const char* name = e->d_name;
    if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
    ++counts.entries;
    unsigned char type = e->d_type;
    if (type == DT_UNKNOWN) {
      struct stat st;
      if (::fstatat(::dirfd(dir), name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
      type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : DT_LNK;
    }
    if (type == DT_DIR) {
      int sub = ::openat(::dirfd(dir), name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      if (sub >= 0) Walk(sub, counts);
    } else if (type == DT_REG) {
      std::size_t length = std::strlen(name);
      if (EndsWithNoCase(name, length, ".mp3")) {
        ++counts.mp3;
        ReadTail(::dirfd(dir), name, counts);
      } else if (EndsWithNoCase(name, length, ".m3u")) {
        ++counts.playLists;
        ReadWhole(::dirfd(dir), name, counts);
      }
    }
  }
  ::closedir(dir);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: minimal_scan DIR\n");
    return 2;
  }
  int fd = ::open(argv[1], O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    std::perror(argv[1]);
    return 1;
  }
  Counts counts;
  auto start = std::chrono::steady_clock::now();
  Walk(fd, counts);
  std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  std::printf("%llu directories, %llu entries, %llu mp3 (%llu tagged), %llu play-lists, %llu bytes read in %.3f s\n",
              static_cast<unsigned long long>(counts.directories), static_cast<unsigned long long>(counts.entries),
              static_cast<unsigned long long>(counts.mp3), static_cast<unsigned long long>(counts.tagged),
              static_cast<unsigned long long>(counts.playLists), static_cast<unsigned long long>(counts.bytesRead),
              elapsed.count());
  return 0;
}
