// Play-lists from anywhere: the description is the play-list's name and one
// File element per entry line, each with a path beside the play-list or the
// absolute one it gives; a play-list without entries describes nothing.
#include <algorithm>

#include "FuzzSupport.h"
#include "types/BuiltinTypes.h"

using namespace jb;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteScratch("Mix.m3u", fuzz::Bytes(data, data + size));
  CPlayListType type;
  std::uint8_t icon = 0;
  StringList names, paths;
  KindList kinds;
  type.Describe(path, icon, names, kinds, paths);
  if (names.empty()) {
    fuzz::Require(kinds.empty() && paths.empty(), "an empty description has no kinds or paths");
    return 0;
  }
  fuzz::Require(names.size() == kinds.size() && paths.size() + 1 == names.size(), "one path per entry");
  fuzz::Require(names[0] == "Mix" && kinds[0] == NodeKind::PlayList, "the play-list's own name comes first");
  fuzz::Require(std::all_of(kinds.begin() + 1, kinds.end(), [](NodeKind k) { return k == NodeKind::File; }),
                "every entry is a File element");
  for (const std::string& p : paths)
    fuzz::Require(!p.empty() && p[0] == '/' && p.find_first_of("\r\n") == std::string::npos,
                  "entry paths are absolute single lines");
  return 0;
}
