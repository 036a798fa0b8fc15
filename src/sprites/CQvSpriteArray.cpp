#include "sprites/CQvSpriteArray.h"

#include "storage/CArchive.h"

namespace jb {

namespace {
// A stored sprite is at least its version byte, width and height.
constexpr size_t kMinSpriteBytes = 9;
}  // namespace

CQvSpriteArray::CQvSpriteArray(const CQvSpriteArray& other) { *this = other; }

CQvSpriteArray& CQvSpriteArray::operator=(const CQvSpriteArray& other) {
  if (this == &other) return *this;
  OwningArray<CQvSprite> copy;
  copy.Reserve(other.m_sprites.GetSize());
  for (size_t i = 0; i < other.m_sprites.GetSize(); ++i)
    copy.Add(std::make_unique<CQvSprite>(*other.m_sprites.GetAt(i)));
  m_sprites = std::move(copy);
  return *this;
}

const CQvSprite& CQvSpriteArray::GetAt(std::int32_t index) const {
  static const CQvSprite empty;
  if (index < 0 || index >= GetSize()) return empty;
  return *m_sprites.GetAt(static_cast<size_t>(index));
}

void CQvSpriteArray::Add(CQvSprite sprite) { m_sprites.Add(std::make_unique<CQvSprite>(std::move(sprite))); }

void CQvSpriteArray::RemoveAt(std::int32_t index) {
  if (index >= 0 && index < GetSize()) m_sprites.RemoveAt(static_cast<size_t>(index));
}

void CQvSpriteArray::Serialize(CArchive& ar) {
  ar.SerialVersion();
  std::uint32_t count = static_cast<std::uint32_t>(m_sprites.GetSize());
  ar.SerialCount(count, kMinSpriteBytes);
  if (ar.IsStoring()) {
    for (size_t i = 0; i < m_sprites.GetSize(); ++i) m_sprites.GetAt(i)->Serialize(ar);
    return;
  }
  OwningArray<CQvSprite> loaded;
  loaded.Reserve(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    auto sprite = std::make_unique<CQvSprite>();
    sprite->Serialize(ar);
    loaded.Add(std::move(sprite));
  }
  m_sprites = std::move(loaded);
}

}  // namespace jb
