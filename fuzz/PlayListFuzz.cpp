// Play-lists from anywhere, described as the scan does: the play-list's
// name and one File element per entry line, each with a path beside the
// play-list or the absolute one it gives; a play-list without entries
// describes nothing. The description survives the environment file.
#include <algorithm>

#include "FuzzSupport.h"
#include "catalogue/CCatalogue.h"

using namespace jb;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteScratch("Mix.m3u", fuzz::Bytes(data, data + size));
  const CCatalogueEntry entry = fuzz::DescribeAsScan(path);
  const StringList& names = entry.m_aNames;
  const KindList& kinds = entry.m_aKinds;
  const StringList& paths = entry.m_aPaths;
  if (names.empty()) {
    fuzz::Require(kinds.empty() && paths.empty(), "an empty description has no kinds or paths");
    return 0;
  }
  fuzz::Require(paths.size() + 1 == names.size(), "one path per entry");
  fuzz::Require(names[0] == "Mix" && kinds[0] == NodeKind::PlayList, "the play-list's own name comes first");
  fuzz::Require(std::all_of(kinds.begin() + 1, kinds.end(), [](NodeKind k) { return k == NodeKind::File; }),
                "every entry is a File element");
  for (const std::string& p : paths)
    fuzz::Require(!p.empty() && p[0] == '/' && p.find_first_of("\r\n") == std::string::npos,
                  "entry paths are absolute single lines");
  return 0;
}
