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
  std::vector<std::unique_ptr<CQvSprite>> copy;
  copy.reserve(other.m_sprites.size());
  for (const auto& sprite : other.m_sprites) copy.push_back(std::make_unique<CQvSprite>(*sprite));
  m_sprites = std::move(copy);
  return *this;
}

const CQvSprite& CQvSpriteArray::GetAt(std::int32_t index) const {
  static const CQvSprite empty;
  if (index < 0 || index >= GetSize()) return empty;
  return *m_sprites[static_cast<size_t>(index)];
}

void CQvSpriteArray::Add(CQvSprite sprite) { m_sprites.push_back(std::make_unique<CQvSprite>(std::move(sprite))); }

void CQvSpriteArray::RemoveAt(std::int32_t index) {
  if (index >= 0 && index < GetSize()) m_sprites.erase(m_sprites.begin() + index);
}

void CQvSpriteArray::Serialize(CArchive& ar) {
  ar.SerialVersion();
  std::uint32_t count = static_cast<std::uint32_t>(m_sprites.size());
  ar.SerialCount(count, kMinSpriteBytes);
  if (ar.IsStoring()) {
    for (auto& sprite : m_sprites) sprite->Serialize(ar);
    return;
  }
  std::vector<std::unique_ptr<CQvSprite>> loaded;
  loaded.reserve(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    loaded.push_back(std::make_unique<CQvSprite>());
    loaded.back()->Serialize(ar);
  }
  m_sprites = std::move(loaded);
}

}  // namespace jb
