#include "platform/Paths.h"

#include <string.h>

#include "platform/Text.h"

namespace jb {

std::string_view FileNamePart(std::string_view path) {
  // The tree's sort takes the name of every file: the C library's search,
  // which reads many bytes a step, where there is one.
#ifdef __GLIBC__
  const void* at = path.empty() ? nullptr : ::memrchr(path.data(), kPathSeparator, path.size());
  return at ? path.substr(static_cast<size_t>(static_cast<const char*>(at) - path.data()) + 1) : path;
#else
  size_t at = path.rfind(kPathSeparator);
  return at == std::string_view::npos ? path : path.substr(at + 1);
#endif
}

std::string_view DirectoryPart(std::string_view path) {
  size_t at = path.rfind(kPathSeparator);
  return at == std::string_view::npos ? std::string_view{} : path.substr(0, at + 1);
}

std::string_view NameWithoutExtension(std::string_view path) {
  std::string_view name = FileNamePart(path);
  size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? name : name.substr(0, dot);
}

std::string_view ExtensionOf(std::string_view path) {
  // Only the file's own name carries an extension: "/a.b/song" has none.
  std::string_view name = FileNamePart(path);
  size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string_view{} : name.substr(dot + 1);
}

std::string FileUrl(std::string_view path) {
  std::string encoded = PercentEncodePath(path);
  return !path.empty() && path[0] == kPathSeparator ? "file://" + encoded : encoded;
}

std::string WithTrailingSeparator(std::string_view dir) {
  std::string out(dir);
  if (out.empty() || out.back() != kPathSeparator) out += kPathSeparator;
  return out;
}

bool SamePath(std::string_view a, std::string_view b) { return a == b; }

std::string PathIn(std::string_view root, std::string_view name) {
  std::string path;
  path.reserve(root.size() + name.size());
  path.append(root).append(name);
  return path;
}

size_t PathHash::operator()(std::string_view path) const { return std::hash<std::string_view>()(path); }

}  // namespace jb
