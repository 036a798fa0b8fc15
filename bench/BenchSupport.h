#pragma once
// What the benchmark programs share: a prompt that shows nothing and
// answers every question with Cancel, and a generated collection.

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <random>
#include <string>

#include "catalogue/CCatalogue.h"
#include "platform/Prompt.h"

namespace jb::bench {

class SilentPrompt : public IPrompt {
 public:
  void ShowMessage(int, const std::string& = {}) override {}
  void ShowText(const std::string&) override {}
  Answer AskYesNoCancel(const std::string&) override { return Answer::Cancel; }
  std::optional<std::string> ChooseOpenFile(const FileDialogOptions&) override { return {}; }
  std::optional<std::string> ChooseSaveFile(const FileDialogOptions&) override { return {}; }
};

// The collection size JUKEBAR_BENCH_FILES asks for, else fallback.
inline size_t FilesFromEnvironment(size_t fallback) {
  const char* text = std::getenv("JUKEBAR_BENCH_FILES");
  if (!text || !*text) return fallback;
  char* end = nullptr;
  const unsigned long long files = std::strtoull(text, &end, 10);
  return *end == '\0' && files > 0 ? static_cast<size_t>(files) : fallback;
}

// A collection like a large real one: about ten tracks an album and eight
// albums an artist, one album in twenty a compilation shared by several
// artists, and one file in a hundred from a play-list of twenty tracks.
inline void GenerateCollection(CCatalogue& catalogue, size_t files) {
  std::mt19937 rng(42);
  char buf[160];
  size_t made = 0;
  for (size_t artist = 0; made < files; ++artist) {
    std::snprintf(buf, sizeof buf, "Artist %06zu", artist);
    std::string artistName = buf;
    for (int album = 0; album < 8 && made < files; ++album) {
      bool compilation = rng() % 20 == 0;
      if (compilation)
        std::snprintf(buf, sizeof buf, "Greatest Hits %03u", static_cast<unsigned>(rng() % 500));
      else
        std::snprintf(buf, sizeof buf, "Album %02d of %06zu", album, artist);
      std::string albumName = buf;
      for (int track = 0; track < 10 && made < files; ++track, ++made) {
        auto e = std::make_unique<CCatalogueEntry>();
        std::snprintf(buf, sizeof buf, "Song %02d of album %02d", track, album);
        e->m_aNames = {artistName, albumName, buf};
        e->m_aKinds = {NodeKind::Artist, NodeKind::Album, NodeKind::File};
        std::snprintf(buf, sizeof buf, "/home/user/Music/%s/%s/%02d - Song %02d.mp3", artistName.c_str(),
                      albumName.c_str(), track + 1, track);
        e->m_aPaths = {buf};
        e->m_nIcon = 4;
        catalogue.Add(std::move(e));
      }
    }
    if (artist % 100 == 99 && made + 20 <= files) {
      auto e = std::make_unique<CCatalogueEntry>();
      std::snprintf(buf, sizeof buf, "Mix %06zu", artist);
      e->m_aNames = {buf};
      e->m_aKinds = {NodeKind::PlayList};
      for (int t = 0; t < 20; ++t) {
        std::snprintf(buf, sizeof buf, "Mixed song %02d", t);
        e->m_aNames.push_back(buf);
        e->m_aKinds.push_back(NodeKind::File);
        std::snprintf(buf, sizeof buf, "/home/user/Music/Mixes/%06zu/%02d.mp3", artist, t);
        e->m_aPaths.push_back(buf);
      }
      catalogue.Add(std::move(e));
      made += 20;
    }
  }
}

}  // namespace jb::bench
