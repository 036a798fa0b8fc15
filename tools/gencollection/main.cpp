// gencollection DIR --files N [--seed S]: writes a synthetic music
// collection for tests and benchmarks and prints what it wrote.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "CollectionGenerator.h"

namespace {

constexpr const char* kUsage =
    "usage: gencollection DIR --files N [--seed S]\n"
    "Writes N files of a synthetic music collection under DIR (made if missing,\n"
    "else it must be empty). The same N and S always give the same tree.\n";

bool ParseCount(const char* text, std::uint64_t& value) {
  if (!text || !*text || *text == '-') return false;
  char* end = nullptr;
  errno = 0;
  value = std::strtoull(text, &end, 10);
  return errno == 0 && *end == '\0';
}

}  // namespace

int main(int argc, char** argv) {
  jb::gen::GeneratorOptions options;
  bool haveFiles = false;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (!std::strcmp(arg, "--help") || !std::strcmp(arg, "-h")) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    bool ok = true;
    if (!std::strcmp(arg, "--files")) {
      ok = haveFiles = ParseCount(i + 1 < argc ? argv[++i] : nullptr, options.files);
    } else if (!std::strcmp(arg, "--seed")) {
      ok = ParseCount(i + 1 < argc ? argv[++i] : nullptr, options.seed);
    } else if (arg[0] != '-' && options.root.empty()) {
      options.root = arg;
    } else {
      ok = false;
    }
    if (!ok) {
      std::fprintf(stderr, "gencollection: bad argument '%s'\n%s", arg, kUsage);
      return 2;
    }
  }
  if (options.root.empty() || !haveFiles) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  try {
    jb::gen::CollectionSummary summary = jb::gen::GenerateCollection(options);
    std::printf("%s: %s\n", options.root.c_str(), jb::gen::FormatSummary(summary).c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "gencollection: %s\n", e.what());
    return 1;
  }
  return 0;
}
