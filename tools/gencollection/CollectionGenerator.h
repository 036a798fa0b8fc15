#pragma once
// Synthetic music collections for tests and benchmarks: artist/album/track
// folders whose files carry every kind of tag a scan meets (ID3 version 1,
// version 2 only, none, too short, a false marker), play-lists, other files,
// hidden files and folders, compilation albums and a symbolic-link loop.
// The same options always give the same tree, byte for byte.

#include <cstdint>
#include <string>

namespace jb::gen {

struct GeneratorOptions {
  std::string root;         // made if missing; must be empty if it exists
  std::uint64_t files = 0;  // regular files to write, exactly
  std::uint64_t seed = 1;
};

struct CollectionSummary {
  std::uint64_t files = 0;        // regular files
  std::uint64_t directories = 0;  // below the root
  std::uint64_t links = 0;        // symbolic links
  std::uint64_t bytes = 0;        // in regular files
  // Files named *.mp3 in any letter case, by what their bytes hold.
  std::uint64_t id3v1 = 0;      // ends with a "TAG" block (some also start with ID3v2)
  std::uint64_t id3v2Only = 0;  // starts with an ID3v2 header, no "TAG" block
  std::uint64_t untagged = 0;   // neither, including files under 128 bytes
  std::uint64_t playLists = 0;  // *.m3u in any letter case
  std::uint64_t hidden = 0;     // regular files named with "." or inside such a folder
};

// Writes the collection under options.root. Throws std::runtime_error that
// names the path when the file system refuses something, and when the root
// already holds anything (regenerating over old files would not give the
// same tree).
CollectionSummary GenerateCollection(const GeneratorOptions& options);

// "N files, N directories, N links, N bytes (...)" on one line.
std::string FormatSummary(const CollectionSummary& summary);

}  // namespace jb::gen
