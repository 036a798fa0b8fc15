// One stored picture (first byte even) or a picture array (odd) from
// anywhere: it reads, or raises the format error and leaves what was there.
// What reads stores and reads back unchanged.
#include "FuzzSupport.h"
#include "sprites/CQvSpriteArray.h"
#include "storage/CArchive.h"

using namespace jb;

namespace {

template <typename Picture>
fuzz::Bytes Store(Picture& picture) {
  return StoreArchiveBytes([&](CArchive& ar) { picture.Serialize(ar); });
}

// picture holds something already, which a refused read must leave.
template <typename Picture>
void ReadAndStoreBack(const fuzz::Bytes& bytes, Picture& picture) {
  const fuzz::Bytes before = Store(picture);
  if (!fuzz::LoadBytes(bytes, [&](CArchive& ar) { picture.Serialize(ar); })) {
    fuzz::Require(Store(picture) == before, "a refused picture leaves what was there");
    return;
  }
  const fuzz::Bytes first = Store(picture);
  Picture again;
  fuzz::Require(fuzz::LoadBytes(first, [&](CArchive& ar) { again.Serialize(ar); }), "a stored picture reads back");
  fuzz::Require(Store(again) == first, "a stored picture round-trips byte for byte");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const fuzz::Bytes bytes(data + 1, data + size);
  CQvSprite sprite;
  sprite.CreateBitmap(3, 2);
  if (data[0] % 2 == 0) {
    ReadAndStoreBack(bytes, sprite);
  } else {
    CQvSpriteArray array;
    array.Add(sprite);
    ReadAndStoreBack(bytes, array);
  }
  return 0;
}
