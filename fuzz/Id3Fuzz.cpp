// MP3 files from anywhere, described as the scan does: a file that ends in
// an ID3 version 1 block gives its artist, album and title (each a field of
// at most 30 bytes, none empty, the title falling back to the file's name);
// any other gives the tag-less grouping by place. Either survives the
// environment file unchanged.
#include "FuzzSupport.h"
#include "catalogue/CCatalogue.h"
#include "strings/StringTable.h"

using namespace jb;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteScratch("Song name.Mp3", fuzz::Bytes(data, data + size));
  const CCatalogueEntry entry = fuzz::DescribeAsScan(path);
  const StringList& names = entry.m_aNames;
  const KindList& kinds = entry.m_aKinds;
  fuzz::Require(entry.m_aPaths == StringList{path}, "an MP3 plays its own path");
  const bool tagged = size >= 128 && data[size - 128] == 'T' && data[size - 127] == 'A' && data[size - 126] == 'G';
  if (!tagged) {
    fuzz::Require(entry.m_nIcon == 0 && names == StringList{LoadString(ids::TagLessName), fuzz::ScratchDir() + "/",
                                                            "Song name"},
                  "an untagged MP3 is grouped by place");
    fuzz::Require(kinds == KindList{NodeKind::UserType, NodeKind::Folder, NodeKind::File}, "tag-less kinds");
    return 0;
  }
  fuzz::Require(entry.m_nIcon == 4 && !names.empty() && names.size() <= 3 && kinds.back() == NodeKind::File,
                "a tagged MP3 ends in its title");
  const bool ordered = kinds.size() < 3 ? kinds.size() == 1 || kinds[0] == NodeKind::Artist ||
                                              kinds[0] == NodeKind::Album
                                        : kinds[0] == NodeKind::Artist && kinds[1] == NodeKind::Album;
  fuzz::Require(ordered, "artist before album before title");
  for (const std::string& name : names) {
    fuzz::Require(!name.empty() && name.size() <= 30 && name.find('\0') == std::string::npos,
                  "a tag field is at most 30 bytes and ends at its first zero");
    fuzz::Require(name.find_last_not_of(" \t\n\v\f\r") == name.size() - 1, "tag fields lose trailing blanks");
  }
  return 0;
}
