#pragma once
// A picture in memory that the program draws into and shows.
//
// The surface is 32 bits per pixel, rows top to bottom, each pixel the native
// 32-bit value 0xAARRGGBB with straight (not premultiplied) alpha: exactly
// QImage::Format_ARGB32, so the desktop side wraps Bits()/BytesPerLine()
// in a QImage without copying and shows a sprite with one draw. Alpha 255 is
// opaque; pictures with transparent parts (icons, glyphs) keep alpha 0 there.
//
// Colours passed to the drawing operations are the program's own packing:
// red in bits 0-7, green 8-15, blue 16-23 and a transparency in bits 24-31
// (0 opaque, 255 leaves the target unchanged). Every drawing operation clips
// to this sprite and to its source; sizes of 0 or less draw nothing.

#include <cstdint>
#include <string>
#include <vector>

namespace jb {

class CArchive;

using Colour = std::uint32_t;

// Where Display puts a sprite: the desktop's paint device, or a test.
class ISpriteDisplay {
 public:
  virtual ~ISpriteDisplay() = default;
  // pixels: height rows of width 0xAARRGGBB values, bytesPerLine apart.
  virtual void ShowPixels(int x, int y, const std::uint32_t* pixels, int width, int height, int bytesPerLine) = 0;
};

class CQvSprite {
 public:
  // Results of Create.
  enum CreateResult : int { kCreated = 0, kCannotOpen = 1, kNotA24BitBitmap = 2 };

  // The largest side accepted from a file or a stream. A skin or a background
  // tile has no reason to be larger; the limit keeps hostile sizes harmless.
  static constexpr std::int32_t kMaxSide = 8192;

  CQvSprite() = default;
  CQvSprite(const CQvSprite&) = default;
  CQvSprite& operator=(const CQvSprite&) = default;
  CQvSprite(CQvSprite&& other) noexcept;
  CQvSprite& operator=(CQvSprite&& other) noexcept;

  // Reads or writes one picture: version byte 1, width and height (signed
  // 32-bit), then width x height pixels, rows top to bottom, each four bytes
  // red, green, blue, transparency. Reading checks the size against the bytes
  // left before allocating; any fault is the archive's format error and
  // leaves the sprite unchanged.
  void Serialize(CArchive& ar);

  // Loads an uncompressed 24-bit Windows bitmap (bottom-up or top-down) as an
  // opaque picture. kCreated on success; on failure the sprite is unchanged.
  int Create(const std::string& path);
  // Parses the bytes of a bitmap file; the same results as Create.
  int CreateFromBitmapBytes(const std::vector<std::uint8_t>& bytes);

  // A new opaque black surface; sizes of 0 or less leave the sprite empty.
  void CreateBitmap(std::int32_t width, std::int32_t height);
  void DestroyBitmap();
  bool IsBitmapCreated() const { return !m_pixels.empty(); }

  std::int32_t GetWidth() const { return m_width; }
  std::int32_t GetHeight() const { return m_height; }
  void GetSize(std::int32_t& width, std::int32_t& height) const {
    width = m_width;
    height = m_height;
  }

  // Copies source with its top-left corner at (x, y), blended by the
  // source's alpha.
  void DrawSprite(std::int32_t x, std::int32_t y, const CQvSprite& source);
  // Copies the part (sx, sy, width, height) of source to (x, y).
  void DrawSprite(std::int32_t x, std::int32_t y, std::int32_t sx, std::int32_t sy, std::int32_t width,
                  std::int32_t height, const CQvSprite& source);
  // Covers (x, y, width, height) with source: whole tiles, the strip left at
  // the right of each tile row, the strip left at the bottom, then the corner.
  void DrawTiled(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height, const CQvSprite& source);
  // filled: the whole rectangle; otherwise its one-pixel outline, each pixel
  // blended once.
  void DrawRect(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height, Colour colour, bool filled);
  // A one-pixel frame: top and left in light, bottom and right in dark.
  void Draw3DRect(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height, Colour light, Colour dark);
  // The glyph's alpha is its coverage: each pixel takes colour as far as the
  // glyph covers it (and the colour's own transparency lets it).
  void DrawChar(std::int32_t x, std::int32_t y, const CQvSprite& glyph, Colour colour);
  void Display(ISpriteDisplay& display, int x, int y) const;

  // The pixel surface, for the desktop side and for tests.
  const std::uint32_t* Bits() const { return m_pixels.data(); }
  std::uint32_t* Bits() { return m_pixels.data(); }
  int BytesPerLine() const { return m_width * 4; }
  // 0xAARRGGBB at (x, y); 0 outside the picture.
  std::uint32_t GetPixel(std::int32_t x, std::int32_t y) const;
  void SetPixel(std::int32_t x, std::int32_t y, std::uint32_t argb);

  static Colour GetColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue, std::uint8_t transparency = 0);
  static void GetComponents(Colour colour, std::uint8_t& red, std::uint8_t& green, std::uint8_t& blue,
                            std::uint8_t& transparency);
  // The desktop's colour of a system index (15 face, 16 shadow, 20 highlight,
  // 21 dark shadow of three-dimensional elements) with the given transparency.
  static Colour GetSysColor(int index, std::uint8_t transparency);
  // The desktop side sets these from its palette; unset ones keep the
  // classic grey look.
  static void SetSysColor(int index, std::uint8_t red, std::uint8_t green, std::uint8_t blue);

  // The same picture in both packings.
  static std::uint32_t ToArgb(Colour colour);
  static Colour FromArgb(std::uint32_t argb);

 private:
  // Blends one opaque-or-translucent pixel value over the target pixel.
  static void Blend(std::uint32_t& target, std::uint32_t argb);
  void FillSpan(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height, std::uint32_t argb);

  std::int32_t m_width = 0;
  std::int32_t m_height = 0;
  std::vector<std::uint32_t> m_pixels;
};

}  // namespace jb
