#pragma once
// The readable sources of the default skin and the pictures beside it:
// XPM pixel art, the glyph font in text form, and small text scripts that
// letter the splash and the credits. Errors are std::runtime_error with the
// file and line.

#include <array>
#include <string>
#include <vector>

#include "sprites/CQvSprite.h"
#include "sprites/CQvSpriteArray.h"

namespace jb {
class SkinSet;
}

namespace jb::skin {

struct Picture {
  CQvSprite sprite;
  int hotX = -1, hotY = -1;  // XPM hot spot, -1 when none
};

// An XPM 3 file: colours "#rrggbb", "#rgb", "None" and a few names.
Picture ReadXpm(const std::string& path);

using Font = std::array<CQvSprite, 256>;

// The font file (see res/skin/font.txt). Every byte value must end up with a
// glyph; a missing one is an error.
Font ReadFont(const std::string& path);

// Runs a lettering script over picture: "text X Y COLOUR [bold] [scale=N]
// [shadow=COLOUR] \"string\"" (X may be "center"), "fill X Y W H COLOUR
// [alpha=N]" and "icon X Y INDEX" (a node icon of icons).
void Letter(CQvSprite& picture, const Font& font, const std::string& scriptPath, const CQvSpriteArray* icons = nullptr);

// Draws text with the font; returns the width used.
int DrawString(CQvSprite& target, const Font& font, int x, int y, const std::string& text, std::uint32_t argb,
               bool bold, int scale);
int StringWidth(const Font& font, const std::string& text, bool bold, int scale);

// Fills skin from the source folder (res/skin).
void BuildSkin(const std::string& sourceDir, SkinSet& skin);

// Files of a folder with the given extension, sorted by name.
std::vector<std::string> ListFiles(const std::string& dir, const std::string& extension);

}  // namespace jb::skin
