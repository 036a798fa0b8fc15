#include "treeview/TreeScrollBar.h"

#include <algorithm>

#include "skin/SkinSet.h"
#include "sprites/CQvSprite.h"

namespace jb {

void TreeScrollBar::SetTarget(CQvSprite* target, const SkinSet* skin, int arrowHeight) {
  m_pTarget = target;
  m_pSkin = skin;
  m_nArrowHeight = arrowHeight;
}

void TreeScrollBar::SetGeometry(int x, int y, int height) {
  m_nX = x;
  m_nY = y;
  m_nHeight = std::max(height, 0);
  const int thumb = m_pSkin ? m_pSkin->ScrollThumb().GetHeight() : 0;
  m_nTrackLength = m_nHeight - 2 * m_nArrowHeight - thumb;
}

int TreeScrollBar::HitTest(int x, int y) const {
  const int width = m_pSkin ? m_pSkin->ScrollTrack().GetWidth() : 0;
  if (x < m_nX || x >= m_nX + width || y < m_nY || y >= m_nY + m_nHeight) return kZoneNone;
  if (y < m_nY + m_nArrowHeight) return kZoneUp;
  if (y >= m_nY + m_nHeight - m_nArrowHeight) return kZoneDown;
  return kZoneTrack;
}

int TreeScrollBar::ThumbOffset() const {
  if (m_nRange == 0) return 0;
  return static_cast<int>(static_cast<double>(m_nPosition) * m_nTrackLength / m_nRange);
}

void TreeScrollBar::Draw(int thumbOffset) const {
  if (!m_pTarget || !m_pSkin || m_nHeight == 0) return;
  CQvSprite& target = *m_pTarget;
  const CQvSprite& up = m_pSkin->ScrollUp();
  const CQvSprite& down = m_pSkin->ScrollDown();
  const CQvSprite& track = m_pSkin->ScrollTrack();
  const int end = m_nY + m_nHeight - down.GetHeight();
  target.DrawSprite(m_nX, m_nY, up);
  target.DrawSprite(m_nX, end, down);
  int ty = m_nY + up.GetHeight();
  // An empty track picture cannot tile; the remainder below covers nothing then.
  if (track.GetHeight() > 0)
    for (; ty <= end - track.GetHeight(); ty += track.GetHeight()) target.DrawSprite(m_nX, ty, track);
  if (ty < end) target.DrawSprite(m_nX, ty, 0, 0, track.GetWidth(), end - ty, track);
  const bool resting = thumbOffset == kThumbAtPosition;
  const int offset = resting ? ThumbOffset() : thumbOffset;
  target.DrawSprite(m_nX, m_nY + m_nArrowHeight + offset,
                    resting ? m_pSkin->ScrollThumb() : m_pSkin->ScrollThumbPressed());
}

}  // namespace jb
