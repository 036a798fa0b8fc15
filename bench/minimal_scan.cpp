// minimal_scan [-j N] DIR: the least work a scan of DIR must do: list every
// directory, read the last 128 bytes of each *.mp3 and the whole of each
// *.m3u. With -j N (default 1), N threads share one queue of directories
// (the last queued is taken first, so the walk stays near depth first).
// The scan benchmark compares the real scan with it.
//
// Symbolic links are not followed, which is also what keeps it out of loops.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Counts {
  std::uint64_t directories = 0;
  std::uint64_t entries = 0;  // everything listed, less "." and ".."
  std::uint64_t mp3 = 0;
  std::uint64_t tagged = 0;
  std::uint64_t playLists = 0;
  std::uint64_t bytesRead = 0;

  void operator+=(const Counts& o) {
    directories += o.directories;
    entries += o.entries;
    mp3 += o.mp3;
    tagged += o.tagged;
    playLists += o.playLists;
    bytesRead += o.bytesRead;
  }
};

// Directories still to list, by path; a thread lists one at a time and
// queues the directories it finds.
class DirectoryQueue {
 public:
  explicit DirectoryQueue(std::string root) : m_paths{std::move(root)} {}

  // The next directory, false when every directory has been listed.
  bool Take(std::string& path) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_ready.wait(lock, [this] { return !m_paths.empty() || m_nBusy == 0; });
    if (m_paths.empty()) return false;
    path = std::move(m_paths.back());
    m_paths.pop_back();
    ++m_nBusy;
    return true;
  }
  // What listing the last directory taken found.
  void Done(std::vector<std::string>& found) {
    std::lock_guard<std::mutex> lock(m_mutex);
    --m_nBusy;
    for (auto it = found.rbegin(); it != found.rend(); ++it) m_paths.push_back(std::move(*it));
    found.clear();
    m_ready.notify_all();
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_ready;
  std::vector<std::string> m_paths;
  int m_nBusy = 0;
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

// Lists one directory: reads its files, adds its sub-directories to found.
void List(const std::string& path, Counts& counts, std::vector<std::string>& found) {
  int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
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
      found.push_back(path + "/" + name);
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

void Work(DirectoryQueue& queue, Counts& counts) {
  std::string path;
  std::vector<std::string> found;
  while (queue.Take(path)) {
    List(path, counts, found);
    queue.Done(found);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const char* usage = "usage: minimal_scan [-j N] DIR\n";
  int threads = 1;
  if (argc == 4 && std::strcmp(argv[1], "-j") == 0) {
    char* end = nullptr;
    long n = std::strtol(argv[2], &end, 10);
    if (*argv[2] == '\0' || *end != '\0' || n < 1 || n > 256) {
      std::fprintf(stderr, "minimal_scan: -j takes 1 to 256\n%s", usage);
      return 2;
    }
    threads = static_cast<int>(n);
    argv += 2;
    argc -= 2;
  }
  if (argc != 2) {
    std::fprintf(stderr, "%s", usage);
    return 2;
  }
  struct stat st;
  if (::stat(argv[1], &st) != 0 || !S_ISDIR(st.st_mode)) {
    std::fprintf(stderr, "minimal_scan: %s: not a directory\n", argv[1]);
    return 1;
  }
  auto start = std::chrono::steady_clock::now();
  DirectoryQueue queue(argv[1]);
  std::vector<Counts> perThread(static_cast<size_t>(threads));
  std::vector<std::thread> helpers;
  for (int t = 1; t < threads; ++t) helpers.emplace_back(Work, std::ref(queue), std::ref(perThread[t]));
  Work(queue, perThread[0]);
  for (std::thread& t : helpers) t.join();
  std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  Counts counts;
  for (const Counts& c : perThread) counts += c;
  std::printf(
      "%llu directories, %llu entries, %llu mp3 (%llu tagged), %llu play-lists, %llu bytes read on %d threads "
      "in %.3f s\n",
      static_cast<unsigned long long>(counts.directories), static_cast<unsigned long long>(counts.entries),
      static_cast<unsigned long long>(counts.mp3), static_cast<unsigned long long>(counts.tagged),
      static_cast<unsigned long long>(counts.playLists), static_cast<unsigned long long>(counts.bytesRead), threads,
      elapsed.count());
  return 0;
}
