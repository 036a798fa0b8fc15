#pragma once
// The tree's scroll bar: the range of top rows and the current one, which
// the scrolling logic keeps, and its picture in the back buffer: the two
// arrows, the track tiled between them and the thumb.

#include <cstdint>

namespace jb {

class CQvSprite;
class SkinSet;

class TreeScrollBar {
 public:
  static constexpr int kArrowHeight = 8;
  // Hit-test zones of the bar (the window's zone numbers).
  enum Zone { kZoneNone = 0, kZoneUp = 10, kZoneDown = 11, kZoneTrack = 12 };

  // Where the bar draws and with which pictures.
  void SetTarget(CQvSprite* target, const SkinSet* skin, int arrowHeight = kArrowHeight);
  // Stores the corner and the height (a negative one as 0) and recomputes
  // the track length from the thumb picture.
  void SetGeometry(int x, int y, int height);

  // The largest top row; a negative value is stored as 0.
  void SetRange(int range) { m_nRange = range < 0 ? 0 : range; }
  void SetPosition(int position) { m_nPosition = position; }
  int GetRange() const { return m_nRange; }
  int GetPosition() const { return m_nPosition; }

  int GetX() const { return m_nX; }
  int GetY() const { return m_nY; }
  int GetHeight() const { return m_nHeight; }
  int GetArrowHeight() const { return m_nArrowHeight; }
  // How far the thumb travels: the height less both arrow zones and the thumb.
  int GetTrackLength() const { return m_nTrackLength; }
  // The zone at client point (x, y): the arrow zones at both ends, the
  // track between them, none outside the bar (as wide as the track picture).
  int HitTest(int x, int y) const;
  // The thumb's offset below the up-arrow zone for the current position.
  int ThumbOffset() const;

  // Draws arrows, track and thumb. kThumbAtPosition places the resting thumb
  // from the position; any other offset draws the pressed thumb there (a
  // drag in progress). Nothing is drawn while the height is 0.
  static constexpr int kThumbAtPosition = -1;
  void Draw(int thumbOffset = kThumbAtPosition) const;

 private:
  CQvSprite* m_pTarget = nullptr;
  const SkinSet* m_pSkin = nullptr;
  int m_nArrowHeight = kArrowHeight;
  int m_nX = 0;
  int m_nY = 0;
  int m_nHeight = 0;
  int m_nTrackLength = 0;
  int m_nRange = 0;
  int m_nPosition = 0;
};

}  // namespace jb
