// Background images from anywhere, through the check a chosen file passes
// and the loader. The check of the file gives what the check of its bytes
// gives; a file loads as an opaque picture no larger than the limit, or is
// refused and leaves the picture there was; a file both accept is the size
// its header says. What loads, written again as a plain 24-bit bitmap,
// loads to the same pixels.
#include "FuzzSupport.h"
#include "sprites/CQvSprite.h"
#include "treeview/BackgroundImageCheck.h"

using namespace jb;

namespace {

bool SamePixels(const CQvSprite& a, const CQvSprite& b) {
  if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight()) return false;
  for (std::int32_t y = 0; y < a.GetHeight(); ++y)
    for (std::int32_t x = 0; x < a.GetWidth(); ++x)
      if (a.GetPixel(x, y) != b.GetPixel(x, y)) return false;
  return true;
}

std::int32_t Le32(const std::uint8_t* p) {
  return std::int32_t(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
                      std::uint32_t(p[3]) << 24);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  // Through the file, as the program reads it.
  const std::string path = fuzz::WriteScratch("in.bmp", fuzz::Bytes(data, data + size));
  const BackgroundImageCheck check = CheckBackgroundImageFile(path);
  fuzz::Require(check == CheckBackgroundImageHeaders(data, size), "the file's check is the check of its bytes");
  fuzz::Require(check != BackgroundImageCheck::CannotOpen, "a readable file opens");
  CQvSprite before;
  before.CreateBitmap(2, 3);
  before.SetPixel(1, 2, 0x80123456u);
  CQvSprite picture = before;
  const int result = picture.Create(path);
  if (result != CQvSprite::kCreated) {
    fuzz::Require(result == CQvSprite::kNotA24BitBitmap, "a readable file that fails is not a 24-bit bitmap");
    fuzz::Require(SamePixels(picture, before), "a refused bitmap leaves the picture");
    return 0;
  }
  const std::int32_t width = picture.GetWidth(), height = picture.GetHeight();
  fuzz::Require(width > 0 && height > 0 && width <= CQvSprite::kMaxSide && height <= CQvSprite::kMaxSide,
                "a loaded picture is within the limits");
  for (std::int32_t y = 0; y < height; ++y)
    for (std::int32_t x = 0; x < width; ++x)
      fuzz::Require(picture.GetPixel(x, y) >> 24 == 0xFF, "a loaded bitmap is opaque");
  if (check == BackgroundImageCheck::Accepted) {
    const std::int64_t storedHeight = Le32(data + 22);
    fuzz::Require(width == Le32(data + 18) && height == (storedHeight < 0 ? -storedHeight : storedHeight),
                  "the check and the loader read the same header");
  }
  CQvSprite again;
  fuzz::Require(again.CreateFromBitmapBytes(fuzz::BitmapBytes(picture)) == CQvSprite::kCreated,
                "a written bitmap loads");
  fuzz::Require(SamePixels(again, picture), "a written bitmap loads to the same pixels");
  return 0;
}
