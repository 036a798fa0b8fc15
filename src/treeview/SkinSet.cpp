#include "treeview/SkinSet.h"

#include "config/CArchive.h"
#include "config/CConfig.h"
#include "platform/File.h"
#include "platform/Prompt.h"

namespace jb {

namespace {
constexpr int kCannotOpenSkin = 1;
constexpr int kBadSkinFormat = 2;
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
  std::unique_ptr<CReadFile> file = CReadFile::Open(path);
  if (!file) {
    prompt.ShowMessage(kCannotOpenSkin);
    return false;
  }
  try {
    CArchive ar(*file, CArchive::load);
    if (!ar.CheckHeader(FileKind::Skin)) {
      prompt.ShowMessage(kBadSkinFormat);
      return false;
    }
    SerializePictures(ar);
  } catch (const CArchiveException&) {
    prompt.ShowMessage(kBadSkinFormat);
    return false;
  }
  return true;
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

}  // namespace jb
