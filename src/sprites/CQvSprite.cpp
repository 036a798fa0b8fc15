#include "sprites/CQvSprite.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/File.h"
#include "storage/CArchive.h"

namespace jb {

namespace {

constexpr std::uint32_t kOpaqueBlack = 0xFF000000u;

// A rectangle clipped against [0, limit) on one axis: moves the start and the
// matching source offset together.
bool ClipAxis(std::int64_t& start, std::int64_t& length, std::int64_t& sourceStart, std::int64_t limit) {
  if (start < 0) {
    length += start;
    sourceStart -= start;
    start = 0;
  }
  if (start + length > limit) length = limit - start;
  return length > 0;
}

std::uint32_t ReadLe(const std::uint8_t* p, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

// System colours of three-dimensional elements, by index; the desktop side
// overrides them from its palette.
std::array<std::uint32_t, 31>& SysColours() {
  static std::array<std::uint32_t, 31> colours = [] {
    std::array<std::uint32_t, 31> c{};
    c[15] = 0xC0C0C0;  // face
    c[16] = 0x808080;  // shadow
    c[20] = 0xFFFFFF;  // highlight
    c[21] = 0x000000;  // dark shadow
    c[22] = 0xC0C0C0;  // light
    return c;
  }();
  return colours;
}

}  // namespace

CQvSprite::CQvSprite(CQvSprite&& other) noexcept
    : m_width(other.m_width), m_height(other.m_height), m_pixels(std::move(other.m_pixels)) {
  other.m_width = other.m_height = 0;
  other.m_pixels.clear();
}

CQvSprite& CQvSprite::operator=(CQvSprite&& other) noexcept {
  if (this != &other) {
    m_width = other.m_width;
    m_height = other.m_height;
    m_pixels = std::move(other.m_pixels);
    other.m_width = other.m_height = 0;
    other.m_pixels.clear();
  }
  return *this;
}

Colour CQvSprite::GetColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue, std::uint8_t transparency) {
  return Colour(red) | (Colour(green) << 8) | (Colour(blue) << 16) | (Colour(transparency) << 24);
}

void CQvSprite::GetComponents(Colour colour, std::uint8_t& red, std::uint8_t& green, std::uint8_t& blue,
                              std::uint8_t& transparency) {
  red = static_cast<std::uint8_t>(colour);
  green = static_cast<std::uint8_t>(colour >> 8);
  blue = static_cast<std::uint8_t>(colour >> 16);
  transparency = static_cast<std::uint8_t>(colour >> 24);
}

Colour CQvSprite::GetSysColor(int index, std::uint8_t transparency) {
  auto& colours = SysColours();
  std::uint32_t rgb = (index >= 0 && index < static_cast<int>(colours.size())) ? colours[index] : 0;
  return (rgb & 0xFFFFFFu) | (Colour(transparency) << 24);
}

void CQvSprite::SetSysColor(int index, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  auto& colours = SysColours();
  if (index >= 0 && index < static_cast<int>(colours.size())) colours[index] = GetColor(red, green, blue);
}

std::uint32_t CQvSprite::ToArgb(Colour colour) {
  std::uint32_t alpha = 255u - (colour >> 24);
  return (alpha << 24) | ((colour & 0xFFu) << 16) | (colour & 0xFF00u) | ((colour >> 16) & 0xFFu);
}

Colour CQvSprite::FromArgb(std::uint32_t argb) {
  std::uint32_t transparency = 255u - (argb >> 24);
  return (transparency << 24) | ((argb >> 16) & 0xFFu) | (argb & 0xFF00u) | ((argb & 0xFFu) << 16);
}

// Straight-alpha "over". Over an opaque target (the usual case) this is
// c = (s * a + d * (255 - a) + 127) / 255 per channel.
void CQvSprite::Blend(std::uint32_t& target, std::uint32_t argb) {
  std::uint32_t sa = argb >> 24;
  if (sa == 0) return;
  if (sa == 255) {
    target = argb;
    return;
  }
  std::uint32_t da = target >> 24;
  if (da == 255) {
    // The same result with total = 255 * 255, without its divisions.
    const std::uint32_t ia = 255 - sa;
    std::uint32_t out = 0xFF000000u;
    for (int shift = 0; shift <= 16; shift += 8) {
      std::uint32_t s = (argb >> shift) & 0xFFu;
      std::uint32_t d = (target >> shift) & 0xFFu;
      out |= ((s * sa + d * ia + 127) / 255) << shift;
    }
    target = out;
    return;
  }
  std::uint32_t sw = sa * 255;         // source weight, scaled by 255
  std::uint32_t dw = da * (255 - sa);  // target weight, scaled by 255
  std::uint32_t total = sw + dw;       // resulting alpha, scaled by 255
  std::uint32_t out = ((total + 127) / 255) << 24;
  for (int shift = 0; shift <= 16; shift += 8) {
    std::uint32_t s = (argb >> shift) & 0xFFu;
    std::uint32_t d = (target >> shift) & 0xFFu;
    out |= ((s * sw + d * dw + total / 2) / total) << shift;
  }
  target = out;
}

void CQvSprite::CreateBitmap(std::int32_t width, std::int32_t height) {
  if (width <= 0 || height <= 0) {
    DestroyBitmap();
    return;
  }
  m_pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), kOpaqueBlack);
  m_width = width;
  m_height = height;
}

void CQvSprite::DestroyBitmap() {
  m_pixels.clear();
  m_pixels.shrink_to_fit();
  m_width = m_height = 0;
}

std::uint32_t CQvSprite::GetPixel(std::int32_t x, std::int32_t y) const {
  if (x < 0 || y < 0 || x >= m_width || y >= m_height) return 0;
  return m_pixels[static_cast<size_t>(y) * m_width + x];
}

void CQvSprite::SetPixel(std::int32_t x, std::int32_t y, std::uint32_t argb) {
  if (x < 0 || y < 0 || x >= m_width || y >= m_height) return;
  m_pixels[static_cast<size_t>(y) * m_width + x] = argb;
}

void CQvSprite::DrawSprite(std::int32_t x, std::int32_t y, const CQvSprite& source) {
  DrawSprite(x, y, 0, 0, source.m_width, source.m_height, source);
}

void CQvSprite::DrawSprite(std::int32_t x, std::int32_t y, std::int32_t sx, std::int32_t sy, std::int32_t width,
                           std::int32_t height, const CQvSprite& source) {
  if (width <= 0 || height <= 0) return;
  std::int64_t dx = x, dy = y, w = width, h = height, srcX = sx, srcY = sy;
  // First to the source picture, then to this one.
  if (!ClipAxis(srcX, w, dx, source.m_width) || !ClipAxis(srcY, h, dy, source.m_height)) return;
  if (!ClipAxis(dx, w, srcX, m_width) || !ClipAxis(dy, h, srcY, m_height)) return;
  // Drawing a sprite into itself would read pixels already written.
  CQvSprite copy;
  const CQvSprite* from = &source;
  if (&source == this) {
    copy = source;
    from = &copy;
  }
  for (std::int64_t row = 0; row < h; ++row) {
    const std::uint32_t* in = from->m_pixels.data() + (srcY + row) * from->m_width + srcX;
    std::uint32_t* out = m_pixels.data() + (dy + row) * m_width + dx;
    // Opaque rows (whole tiles, frame pieces) are plain copies.
    std::uint32_t all = 0xFFFFFFFFu;
    for (std::int64_t col = 0; col < w; ++col) all &= in[col];
    if ((all >> 24) == 0xFFu)
      std::memcpy(out, in, static_cast<size_t>(w) * sizeof(std::uint32_t));
    else
      for (std::int64_t col = 0; col < w; ++col) Blend(out[col], in[col]);
  }
}

void CQvSprite::DrawTiled(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                          const CQvSprite& source) {
  std::int32_t tw = source.m_width, th = source.m_height;
  if (tw <= 0 || th <= 0 || width <= 0 || height <= 0) return;
  std::int32_t cols = width / tw, rows = height / th;
  std::int32_t restW = width - cols * tw, restH = height - rows * th;
  for (std::int32_t r = 0; r < rows; ++r) {
    for (std::int32_t k = 0; k < cols; ++k) DrawSprite(x + k * tw, y + r * th, source);
    DrawSprite(x + cols * tw, y + r * th, 0, 0, restW, th, source);
  }
  for (std::int32_t k = 0; k < cols; ++k) DrawSprite(x + k * tw, y + rows * th, 0, 0, tw, restH, source);
  DrawSprite(x + cols * tw, y + rows * th, 0, 0, restW, restH, source);
}

void CQvSprite::FillSpan(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height, std::uint32_t argb) {
  if (width <= 0 || height <= 0 || (argb >> 24) == 0) return;
  std::int64_t dx = x, dy = y, w = width, h = height, unused = 0;
  if (!ClipAxis(dx, w, unused, m_width) || !ClipAxis(dy, h, unused, m_height)) return;
  for (std::int64_t row = 0; row < h; ++row) {
    std::uint32_t* out = m_pixels.data() + (dy + row) * m_width + dx;
    for (std::int64_t col = 0; col < w; ++col) Blend(out[col], argb);
  }
}

void CQvSprite::DrawRect(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height, Colour colour,
                         bool filled) {
  if (width <= 0 || height <= 0) return;
  std::uint32_t argb = ToArgb(colour);
  if (filled || width <= 2 || height <= 2) {
    FillSpan(x, y, width, height, argb);
    return;
  }
  FillSpan(x, y, width, 1, argb);
  FillSpan(x, y + height - 1, width, 1, argb);
  FillSpan(x, y + 1, 1, height - 2, argb);
  FillSpan(x + width - 1, y + 1, 1, height - 2, argb);
}

void CQvSprite::Draw3DRect(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height, Colour light,
                           Colour dark) {
  if (width <= 0 || height <= 0) return;
  std::uint32_t lightArgb = ToArgb(light), darkArgb = ToArgb(dark);
  FillSpan(x, y, width - 1, 1, lightArgb);
  FillSpan(x, y + 1, 1, height - 2, lightArgb);
  FillSpan(x + width - 1, y, 1, height, darkArgb);
  FillSpan(x, y + height - 1, width - 1, 1, darkArgb);
}

void CQvSprite::DrawChar(std::int32_t x, std::int32_t y, const CQvSprite& glyph, Colour colour) {
  std::uint32_t rgb = ToArgb(colour) & 0xFFFFFFu;
  std::uint32_t strength = 255u - (colour >> 24);
  std::int64_t dx = x, dy = y, w = glyph.m_width, h = glyph.m_height, gx = 0, gy = 0;
  if (!ClipAxis(dx, w, gx, m_width) || !ClipAxis(dy, h, gy, m_height)) return;
  for (std::int64_t row = 0; row < h; ++row) {
    const std::uint32_t* in = glyph.m_pixels.data() + (gy + row) * glyph.m_width + gx;
    std::uint32_t* out = m_pixels.data() + (dy + row) * m_width + dx;
    for (std::int64_t col = 0; col < w; ++col) {
      const std::uint32_t coverage = in[col] >> 24;
      if (coverage == 0) continue;
      const std::uint32_t alpha = strength == 255 ? coverage : (coverage * strength + 127) / 255;
      Blend(out[col], (alpha << 24) | rgb);
    }
  }
}

void CQvSprite::Display(ISpriteDisplay& display, int x, int y) const {
  if (!IsBitmapCreated()) return;
  display.ShowPixels(x, y, m_pixels.data(), m_width, m_height, BytesPerLine());
}

void CQvSprite::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar.SerialVersion();
    ar.PutI32(m_width);
    ar.PutI32(m_height);
    std::vector<std::uint8_t> bytes(m_pixels.size() * 4);
    for (size_t i = 0; i < m_pixels.size(); ++i) {
      Colour c = FromArgb(m_pixels[i]);
      for (int b = 0; b < 4; ++b) bytes[i * 4 + b] = static_cast<std::uint8_t>(c >> (8 * b));
    }
    ar.PutRaw(bytes.data(), bytes.size());
    return;
  }
  ar.SerialVersion();
  std::int32_t width = ar.GetI32();
  std::int32_t height = ar.GetI32();
  if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide || ((width == 0) != (height == 0)))
    CArchive::FormatError("Bad picture size");
  std::uint64_t count = std::uint64_t(width) * std::uint64_t(height);
  if (count * 4 > ar.BytesLeft()) CArchive::FormatError("Picture larger than the file");
  std::vector<std::uint8_t> bytes(count * 4);
  ar.GetRaw(bytes.data(), bytes.size());
  std::vector<std::uint32_t> pixels(count);
  for (size_t i = 0; i < count; ++i) pixels[i] = ToArgb(ReadLe(&bytes[i * 4], 4));
  m_width = width;
  m_height = height;
  m_pixels = std::move(pixels);
}

int CQvSprite::Create(const std::string& path) {
  std::unique_ptr<CReadFile> file = CReadFile::Open(path);
  if (!file) return kCannotOpen;
  // Header, largest picture and row padding.
  constexpr std::uint64_t kMaxFile = 4096 + std::uint64_t(kMaxSide) * (kMaxSide * 3 + 3);
  if (file->Size() > kMaxFile) return kNotA24BitBitmap;
  std::vector<std::uint8_t> bytes(file->Size());
  size_t got = 0;
  try {
    while (got < bytes.size()) {
      size_t n = file->Read(bytes.data() + got, bytes.size() - got);
      if (n == 0) break;
      got += n;
    }
  } catch (const FileError&) {
    return kCannotOpen;
  }
  bytes.resize(got);
  return CreateFromBitmapBytes(bytes);
}

int CQvSprite::CreateFromBitmapBytes(const std::vector<std::uint8_t>& bytes) {
  const std::uint8_t* b = bytes.data();
  if (bytes.size() < 26 || b[0] != 'B' || b[1] != 'M') return kNotA24BitBitmap;
  std::uint64_t offset = ReadLe(b + 10, 4);
  std::uint32_t headerSize = ReadLe(b + 14, 4);
  std::int64_t width, height;
  std::uint32_t planes, bits, compression = 0;
  if (headerSize == 12) {  // the old core header
    width = ReadLe(b + 18, 2);
    height = ReadLe(b + 20, 2);
    planes = ReadLe(b + 22, 2);
    bits = ReadLe(b + 24, 2);
  } else if (headerSize >= 40 && bytes.size() >= 14u + 40u) {
    width = static_cast<std::int32_t>(ReadLe(b + 18, 4));
    height = static_cast<std::int32_t>(ReadLe(b + 22, 4));
    planes = ReadLe(b + 26, 2);
    bits = ReadLe(b + 28, 2);
    compression = ReadLe(b + 30, 4);
  } else {
    return kNotA24BitBitmap;
  }
  if (planes != 1 || bits != 24 || compression != 0) return kNotA24BitBitmap;
  bool topDown = height < 0;
  height = topDown ? -height : height;
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return kNotA24BitBitmap;
  std::uint64_t stride = (std::uint64_t(width) * 3 + 3) & ~std::uint64_t(3);
  // The last row's padding may be missing; its pixels may not.
  if (offset + stride * std::uint64_t(height - 1) + std::uint64_t(width) * 3 > bytes.size()) return kNotA24BitBitmap;
  std::vector<std::uint32_t> pixels(static_cast<size_t>(width * height));
  for (std::int64_t row = 0; row < height; ++row) {
    std::int64_t fileRow = topDown ? row : height - 1 - row;
    const std::uint8_t* in = b + offset + std::uint64_t(fileRow) * stride;
    std::uint32_t* out = pixels.data() + row * width;
    for (std::int64_t col = 0; col < width; ++col, in += 3)
      out[col] = kOpaqueBlack | (std::uint32_t(in[2]) << 16) | (std::uint32_t(in[1]) << 8) | in[0];
  }
  m_width = static_cast<std::int32_t>(width);
  m_height = static_cast<std::int32_t>(height);
  m_pixels = std::move(pixels);
  return kCreated;
}

}  // namespace jb
