#include "skin/SkinSet.h"

#include <algorithm>

#include "config/CConfig.h"
#include "platform/Prompt.h"
#include "storage/CArchive.h"
#include "strings/StringTable.h"

namespace jb {

namespace {

// Windows-1252 bytes 0x80 to 0x9F; 0 where the code page has no character.
constexpr char32_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char GlyphByteOf(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (int i = 0; i < 32; ++i)
    if (kCp1252High[i] == c) return static_cast<char>(0x80 + i);
  return '?';
}

// Decodes strict UTF-8 (no overlong forms, surrogates or values past
// U+10FFFF); false when text is not UTF-8.
bool DecodeUtf8(const std::string& text, std::u32string& out) {
  for (size_t i = 0; i < text.size();) {
    unsigned char b = static_cast<unsigned char>(text[i]);
    int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || text.size() - i <= size_t(extra)) return false;
    char32_t c = extra == 0 ? b : b & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
      unsigned char next = static_cast<unsigned char>(text[i + size_t(k)]);
      if ((next & 0xC0) != 0x80) return false;
      c = (c << 6) | (next & 0x3F);
    }
    static constexpr char32_t kSmallest[4] = {0, 0x80, 0x800, 0x10000};
    if (c < kSmallest[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    out.push_back(c);
    i += size_t(extra) + 1;
  }
  return true;
}
}  // namespace

SkinSet::SkinSet() = default;
SkinSet::~SkinSet() = default;

void SkinSet::Pictures::Serialize(CArchive& ar) {
  for (CQvSprite& sprite : m_aFrame) sprite.Serialize(ar);
  m_bottomOrnament.Serialize(ar);
  m_progressEmpty.Serialize(ar);
  m_progressFull.Serialize(ar);
  m_aIcons.Serialize(ar);
  m_scrollTrack.Serialize(ar);
  m_scrollUp.Serialize(ar);
  m_scrollDown.Serialize(ar);
  m_scrollThumb.Serialize(ar);
  m_scrollThumbPressed.Serialize(ar);
  for (CQvSprite& glyph : m_aGlyph) glyph.Serialize(ar);
  m_largeSample.Serialize(ar);
  m_smallSample.Serialize(ar);
  m_splashPicture.Serialize(ar);
  m_creditsOverlay.Serialize(ar);
}

void SkinSet::SerializePictures(CArchive& ar) {
  if (ar.IsStoring()) {
    m_skin.Serialize(ar);
    return;
  }
  auto loaded = std::make_unique<Pictures>();
  loaded->Serialize(ar);
  m_skin = std::move(*loaded);
}

bool SkinSet::Load(IPrompt& prompt, const std::string& path) {
  switch (LoadArchiveFile(path, FileKind::Skin, [this](CArchive& ar) { SerializePictures(ar); })) {
    case LoadResult::Missing:
      prompt.ShowMessage(ids::CannotOpenSkin);
      return false;
    case LoadResult::BadFormat:
      prompt.ShowMessage(ids::BadSkinFormat);
      return false;
    case LoadResult::Loaded:
      return true;
  }
  return false;
}

bool SkinSet::Save(const std::string& path) {
  return SaveArchiveFile(path, [this](CArchive& ar) {
    ar.PutHeader(FileKind::Skin);
    SerializePictures(ar);
  });
}

void SkinSet::RebuildBackgroundImage(const std::string& imagePath, std::uint32_t backgroundColour,
                                     std::uint8_t imageTransparency) {
  m_pBackgroundImage.reset();
  auto image = std::make_unique<CQvSprite>();
  if (image->Create(imagePath) != CQvSprite::kCreated) return;
  std::uint8_t red, green, blue, unused;
  CQvSprite::GetComponents(backgroundColour, red, green, blue, unused);
  Colour tint = CQvSprite::GetColor(red, green, blue, static_cast<std::uint8_t>(255 - imageTransparency));
  image->DrawRect(0, 0, image->GetWidth(), image->GetHeight(), tint, true);
  m_pBackgroundImage = std::move(image);
}

void SkinSet::RebuildBackgroundImage(const CConfig& config) {
  RebuildBackgroundImage(config.backgroundImagePath, config.backgroundColour, config.imageTransparency);
}

std::int32_t SkinSet::DrawText(CQvSprite& target, std::int32_t x, std::int32_t y, std::int32_t maxWidth,
                               const std::string& text, Colour colour) const {
  std::int64_t limit = std::int64_t(x) + maxWidth;
  for (char c : text) {
    const CQvSprite& glyph = Glyph(static_cast<std::uint8_t>(c));
    if (std::int64_t(x) + glyph.GetWidth() > limit) break;
    target.DrawChar(x, y, glyph, colour);
    x += glyph.GetWidth() + 1;
  }
  return x;
}

std::int32_t SkinSet::TextWidth(const std::string& text) const {
  std::int32_t width = 0;
  for (char c : text) width += Glyph(static_cast<std::uint8_t>(c)).GetWidth() + 1;
  return text.empty() ? 0 : width - 1;
}

std::string SkinSet::ToGlyphBytes(const std::string& text) {
  bool ascii = std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  std::u32string decoded;
  if (ascii || !DecodeUtf8(text, decoded)) return text;
  std::string out;
  out.reserve(decoded.size());
  for (char32_t c : decoded) out.push_back(GlyphByteOf(c));
  return out;
}

}  // namespace jb
