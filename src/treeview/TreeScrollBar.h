#pragma once
// The tree's scroll bar as the scrolling logic sees it: the range of top rows
// and the current one. Drawing, geometry and the thumb drag belong to the
// painter.

namespace jb {

class TreeScrollBar {
 public:
  // The largest top row; a negative value is stored as 0.
  void SetRange(int range) { m_nRange = range < 0 ? 0 : range; }
  void SetPosition(int position) { m_nPosition = position; }
  int GetRange() const { return m_nRange; }
  int GetPosition() const { return m_nPosition; }

 private:
  int m_nRange = 0;
  int m_nPosition = 0;
};

}  // namespace jb
