// Background images from anywhere: a file loads as an opaque picture no
// larger than the limit, or is refused and leaves the picture there was.
// What loads, written again as a plain 24-bit bitmap, loads to the same
// pixels.
#include "FuzzSupport.h"
#include "sprites/CQvSprite.h"

using namespace jb;

namespace {

bool SamePixels(const CQvSprite& a, const CQvSprite& b) {
  if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight()) return false;
  for (std::int32_t y = 0; y < a.GetHeight(); ++y)
    for (std::int32_t x = 0; x < a.GetWidth(); ++x)
      if (a.GetPixel(x, y) != b.GetPixel(x, y)) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  // Through the file, as the program reads it.
  const std::string path = fuzz::WriteScratch("in.bmp", fuzz::Bytes(data, data + size));
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
  CQvSprite again;
  fuzz::Require(again.CreateFromBitmapBytes(fuzz::BitmapBytes(picture)) == CQvSprite::kCreated,
                "a written bitmap loads");
  fuzz::Require(SamePixels(again, picture), "a written bitmap loads to the same pixels");
  return 0;
}
