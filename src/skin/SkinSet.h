#pragma once
// Every picture of the main window, read once from "Jukebar.skn", plus the
// tree's background image, which comes from a bitmap the user chooses.
//
// The file: the skin header (01 61 66 42, version 1), then frame sprites 0
// to 19, the bottom ornament, progress empty and full, the icon array, the
// scroll track, up arrow, down arrow, thumb and pressed thumb, glyphs 0 to
// 255, and the extra pictures: large sample, small sample, splash and
// credits overlay. Each picture is a CQvSprite's stored form.
//
// The painter's contract: a loaded skin may hold pictures of any size
// (including empty ones, which draw nothing); Icon() of an index the skin
// lacks is empty; glyphs are drawn with their alpha as coverage.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "sprites/CQvSprite.h"
#include "sprites/CQvSpriteArray.h"

namespace jb {

class CArchive;
class CConfig;
class IPrompt;

class SkinSet {
 public:
  static constexpr const char* kFileName = "Jukebar.skn";
  static constexpr int kFrameCount = 20;
  static constexpr int kGlyphCount = 256;
  // The glyph drawn between merged names.
  static constexpr std::uint8_t kSeparatorGlyph = 16;

  // Frame sprites by index.
  enum FrameIndex : int {
    kTitleLeft = 0,
    kTitleFill,
    kTitleMiddle,
    kTitleRight,  // active window
    kTitleLeftInactive,
    kTitleFillInactive,
    kTitleMiddleInactive,
    kTitleRightInactive,
    kSmallTitle,
    kSmallTitleInactive,  // whole small-form title
    kMenuPressed,
    kFormPressed,
    kSmallFormPressed,
    kClosePressed,  // at (4,3), (w-21,3), (w-11,3)
    kLeftEdge,
    kRightEdge,
    kRightEdgeEnd,
    kBottomLeft,
    kBottomFill,
    kBottomRight,
  };

  SkinSet();
  ~SkinSet();
  SkinSet(const SkinSet&) = delete;
  SkinSet& operator=(const SkinSet&) = delete;

  // Reads the skin file. Message 1 when it cannot be opened, message 2 for a
  // wrong header or a picture that is short or malformed; false after either,
  // and the pictures already held stay as they were.
  bool Load(IPrompt& prompt, const std::string& path = kFileName);
  // Every picture in file order, both directions (the header is the
  // caller's). Reading is all or nothing.
  void SerializePictures(CArchive& ar);
  // Writes a whole skin file, header included; false when it cannot be saved.
  bool Save(const std::string& path);

  // Drops the background image and loads it again from a 24-bit bitmap, then
  // tints it once with colour (0x00BBGGRR) at transparency 255 - imageTransparency.
  // A file that cannot be loaded leaves no image.
  void RebuildBackgroundImage(const std::string& imagePath, std::uint32_t backgroundColour,
                              std::uint8_t imageTransparency);
  // The same from the configuration's backgroundImagePath,
  // backgroundColour and imageTransparency.
  void RebuildBackgroundImage(const CConfig& config);

  // Draws text with the glyphs from (x, y): each glyph then one pixel of
  // space; stops before the first glyph that would cross x + maxWidth (no
  // glyph is drawn partly). Returns the x after the last glyph drawn.
  std::int32_t DrawText(CQvSprite& target, std::int32_t x, std::int32_t y, std::int32_t maxWidth,
                        const std::string& text, Colour colour) const;
  // Width DrawText would use for the whole text, trailing space excluded.
  std::int32_t TextWidth(const std::string& text) const;
  // The glyph bytes to draw for a name: valid UTF-8 with non-ASCII
  // characters becomes Windows-1252 ('?' for characters without a glyph);
  // anything else is drawn byte by byte, unchanged.
  static std::string ToGlyphBytes(const std::string& text);

  CQvSprite& Frame(int index) { return m_skin.m_aFrame.at(static_cast<size_t>(index)); }
  const CQvSprite& Frame(int index) const { return m_skin.m_aFrame.at(static_cast<size_t>(index)); }
  const CQvSprite& ProgressEmpty() const { return m_skin.m_progressEmpty; }
  const CQvSprite& ProgressFull() const { return m_skin.m_progressFull; }
  const CQvSprite& BottomOrnament() const { return m_skin.m_bottomOrnament; }
  const CQvSprite& ScrollTrack() const { return m_skin.m_scrollTrack; }
  const CQvSprite& ScrollUp() const { return m_skin.m_scrollUp; }
  const CQvSprite& ScrollDown() const { return m_skin.m_scrollDown; }
  const CQvSprite& ScrollThumb() const { return m_skin.m_scrollThumb; }
  const CQvSprite& ScrollThumbPressed() const { return m_skin.m_scrollThumbPressed; }
  const CQvSpriteArray& Icons() const { return m_skin.m_aIcons; }
  const CQvSprite& Icon(std::int32_t index) const { return m_skin.m_aIcons.GetAt(index); }
  const CQvSprite& Glyph(std::uint8_t byte) const { return m_skin.m_aGlyph[byte]; }
  // Null while no background image is loaded.
  const CQvSprite* BackgroundImage() const { return m_pBackgroundImage.get(); }
  const CQvSprite& LargeSample() const { return m_skin.m_largeSample; }
  const CQvSprite& SmallSample() const { return m_skin.m_smallSample; }
  // The splash window darkens its picture in place when it closes.
  CQvSprite& SplashPicture() { return m_skin.m_splashPicture; }
  const CQvSprite& CreditsOverlay() const { return m_skin.m_creditsOverlay; }

  // For the skin builder, which fills a SkinSet and saves it.
  CQvSprite& MutableProgressEmpty() { return m_skin.m_progressEmpty; }
  CQvSprite& MutableProgressFull() { return m_skin.m_progressFull; }
  CQvSprite& MutableBottomOrnament() { return m_skin.m_bottomOrnament; }
  CQvSprite& MutableScrollTrack() { return m_skin.m_scrollTrack; }
  CQvSprite& MutableScrollUp() { return m_skin.m_scrollUp; }
  CQvSprite& MutableScrollDown() { return m_skin.m_scrollDown; }
  CQvSprite& MutableScrollThumb() { return m_skin.m_scrollThumb; }
  CQvSprite& MutableScrollThumbPressed() { return m_skin.m_scrollThumbPressed; }
  CQvSpriteArray& MutableIcons() { return m_skin.m_aIcons; }
  CQvSprite& MutableGlyph(std::uint8_t byte) { return m_skin.m_aGlyph[byte]; }
  CQvSprite& MutableLargeSample() { return m_skin.m_largeSample; }
  CQvSprite& MutableSmallSample() { return m_skin.m_smallSample; }
  CQvSprite& MutableCreditsOverlay() { return m_skin.m_creditsOverlay; }

 private:
  // Everything the file holds, so a load can be all or nothing.
  struct Pictures {
    std::array<CQvSprite, kFrameCount> m_aFrame;
    CQvSprite m_progressEmpty;
    CQvSprite m_progressFull;
    CQvSprite m_bottomOrnament;
    CQvSprite m_scrollTrack;
    CQvSprite m_scrollUp;
    CQvSprite m_scrollDown;
    CQvSprite m_scrollThumb;
    CQvSprite m_scrollThumbPressed;
    CQvSpriteArray m_aIcons;
    std::array<CQvSprite, kGlyphCount> m_aGlyph;
    CQvSprite m_largeSample;
    CQvSprite m_smallSample;
    CQvSprite m_splashPicture;
    CQvSprite m_creditsOverlay;

    void Serialize(CArchive& ar);
  };

  Pictures m_skin;
  std::unique_ptr<CQvSprite> m_pBackgroundImage;
};

}  // namespace jb
