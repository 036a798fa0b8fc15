#pragma once
// PNG output for the skin tools: sprites become 8-bit RGBA files.

#include <string>
#include <utility>
#include <vector>

#include "sprites/CQvSprite.h"

namespace jb::skin {

// Text chunks are written as tEXt (cursor hot spots, for instance). Throws
// std::runtime_error when the file cannot be written.
void WritePng(const std::string& path, const CQvSprite& sprite,
              const std::vector<std::pair<std::string, std::string>>& text = {});

// The sprite enlarged by a whole factor, each pixel a square.
CQvSprite Scaled(const CQvSprite& sprite, int factor);

}  // namespace jb::skin
