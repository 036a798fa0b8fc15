#pragma once
// PNG files of sprites: 8-bit RGBA, straight alpha.

#include <string>
#include <utility>
#include <vector>

#include "sprites/CQvSprite.h"

namespace jb {

// Text chunks are written as tEXt (cursor hot spots, for instance). Throws
// std::runtime_error when the file cannot be written.
void WritePng(const std::string& path, const CQvSprite& sprite,
              const std::vector<std::pair<std::string, std::string>>& text = {});

// Reads a PNG file of any colour type as the sprite's picture; false (and
// the sprite unchanged) when it cannot be read or is larger than
// CQvSprite::kMaxSide on a side.
bool ReadPng(const std::string& path, CQvSprite& sprite);

// The sprite enlarged by a whole factor, each pixel a square.
CQvSprite Scaled(const CQvSprite& sprite, int factor);

}  // namespace jb
