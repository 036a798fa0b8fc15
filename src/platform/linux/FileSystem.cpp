#include "platform/FileSystem.h"

#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace jb {

bool FileExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

bool ChangeDirectory(const std::string& dir) { return !dir.empty() && ::chdir(dir.c_str()) == 0; }

std::string CurrentDirectory() {
  std::vector<char> buf(4096);
  while (::getcwd(buf.data(), buf.size()) == nullptr) {
    if (buf.size() > (1u << 20)) return {};
    buf.resize(buf.size() * 2);
  }
  return buf.data();
}

std::string AbsolutePath(const std::string& path) {
  if (!path.empty() && path[0] == '/') return path;
  std::string cwd = CurrentDirectory();
  if (cwd.empty() || cwd.back() != '/') cwd += '/';
  return cwd + path;
}

}  // namespace jb
