#pragma once
// An owning array of sprites (the skin's node icons). Stored as a version
// byte 1, a 32-bit count, then each sprite's own stored form.

#include <cstdint>
#include <memory>
#include <vector>

#include "sprites/CQvSprite.h"
#include "storage/OwningArray.h"

namespace jb {

class CQvSpriteArray {
 public:
  CQvSpriteArray() = default;
  CQvSpriteArray(const CQvSpriteArray& other);
  CQvSpriteArray& operator=(const CQvSpriteArray& other);
  CQvSpriteArray(CQvSpriteArray&&) noexcept = default;
  CQvSpriteArray& operator=(CQvSpriteArray&&) noexcept = default;

  std::int32_t GetSize() const { return static_cast<std::int32_t>(m_sprites.GetSize()); }
  // The sprite at index (from 0). Out-of-range indexes give an empty sprite,
  // which draws nothing: an icon byte from a stored file may name an icon
  // this skin does not have.
  const CQvSprite& GetAt(std::int32_t index) const;

  void Add(CQvSprite sprite);
  void RemoveAt(std::int32_t index);
  void RemoveAll() { m_sprites.RemoveAll(); }

  // Reading replaces the contents only when the whole array was read.
  void Serialize(CArchive& ar);

 private:
  OwningArray<CQvSprite> m_sprites;
};

}  // namespace jb
