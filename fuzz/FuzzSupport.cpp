#include "FuzzSupport.h"

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "TreeTestSupport.h"
#include "catalogue/CCatalogue.h"
#include "platform/File.h"
#include "sprites/CQvSprite.h"
#include "storage/CArchive.h"
#include "types/CResourceTypeArray.h"

namespace jb::fuzz {
namespace {

// The folder lives as long as the process and goes with it.
struct Scratch {
  Scratch() {
    namespace fs = std::filesystem;
    fs::path base = std::getenv("TMPDIR") ? fs::temp_directory_path() : fs::path("/dev/shm");
    if (!fs::is_directory(base)) base = fs::temp_directory_path();
    dir = (base / "jukebar-fuzz-XXXXXX").string();
    Require(::mkdtemp(dir.data()) != nullptr, "no scratch folder could be made");
  }
  ~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
  }
  std::string dir;
};

}  // namespace

const std::string& ScratchDir() {
  static const Scratch scratch;
  return scratch.dir;
}

std::string ScratchPath(const std::string& name) { return ScratchDir() + "/" + name; }

std::string WriteScratch(const std::string& name, const Bytes& bytes) {
  std::string path = ScratchPath(name);
  WriteFileBytes(path, bytes);
  return path;
}

void WriteFileBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  Require(out.good(), "a file could not be written");
}

Bytes ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

bool LoadBytes(const Bytes& bytes, const std::function<void(CArchive&)>& read) {
  CMemoryFile file(bytes);
  CArchive ar(file, CArchive::load);
  try {
    read(ar);
    return true;
  } catch (const CArchiveException&) {
    return false;
  }
}

Bytes BitmapBytes(const CQvSprite& picture) {
  return test::Bitmap24(picture.GetWidth(), picture.GetHeight(),
                        [&](int x, int y) { return picture.GetPixel(x, y) & 0xFFFFFFu; });
}

CCatalogueEntry DescribeAsScan(const std::string& path) {
  static CResourceTypeArray types;
  if (types.GetSize() == 0) types.SetDefaults();
  CCatalogueEntry entry(path);
  entry.Describe(types);
  Require(entry.m_aNames.size() == entry.m_aKinds.size(), "one kind per name");
  const Bytes stored = StoreArchiveBytes([&](CArchive& ar) { entry.Serialize(ar); });
  CCatalogueEntry again;
  Require(LoadBytes(stored, [&](CArchive& ar) { again.Serialize(ar); }), "a described entry reads back");
  Require(again.GetPath() == path && again.m_nIcon == entry.m_nIcon && again.m_aNames == entry.m_aNames &&
              again.m_aKinds == entry.m_aKinds && again.m_aPaths == entry.m_aPaths,
          "a described entry reads back unchanged");
  return entry;
}

void Require(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "fuzz: %s\n", what);
  std::abort();
}

}  // namespace jb::fuzz
