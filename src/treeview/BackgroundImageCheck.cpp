#include "treeview/BackgroundImageCheck.h"

#include <array>

#include "platform/File.h"

namespace jb {
namespace {

std::uint32_t ReadLe(const std::uint8_t* p, int width) {
  std::uint32_t value = 0;
  for (int i = width; i-- > 0;) value = (value << 8) | p[i];
  return value;
}

// (offset, width, required value) of each field the check fixes.
struct Field {
  int offset, width;
  std::uint32_t value;
};
constexpr Field kRequired[] = {
    {0, 2, 0x4D42},               // "BM"
    {10, 4, kBitmapHeadersSize},  // pixels right after the headers
    {14, 4, 40},                  // BITMAPINFOHEADER
    {26, 2, 1},                   // planes
    {28, 2, 24},                  // bits per pixel
    {30, 4, 0},                   // no compression
};

}  // namespace

BackgroundImageCheck CheckBackgroundImageHeaders(const std::uint8_t* bytes, std::size_t size) {
  if (size < kBitmapHeadersSize) return BackgroundImageCheck::Not24Bit;
  for (const Field& f : kRequired)
    if (ReadLe(bytes + f.offset, f.width) != f.value) return BackgroundImageCheck::Not24Bit;
  return BackgroundImageCheck::Accepted;
}

BackgroundImageCheck CheckBackgroundImageFile(const std::string& path) {
  std::unique_ptr<CReadFile> file = CReadFile::Open(path);
  if (!file) return BackgroundImageCheck::CannotOpen;
  std::array<std::uint8_t, kBitmapHeadersSize> headers{};
  std::size_t got = 0;
  try {
    while (got < headers.size()) {
      std::size_t n = file->Read(headers.data() + got, headers.size() - got);
      if (n == 0) break;
      got += n;
    }
  } catch (const FileError&) {
    return BackgroundImageCheck::CannotOpen;
  }
  return CheckBackgroundImageHeaders(headers.data(), got);
}

}  // namespace jb
