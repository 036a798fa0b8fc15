#include "window/MainWindowPainter.h"

#include "skin/SkinSet.h"
#include "treeview/TreeScrollBar.h"
#include "treeview/TreeView.h"

namespace jb {

MainWindowPainter::MainWindowPainter(const SkinSet& skin, TreeView& tree, TreeScrollBar& scrollBar)
    : m_skin(skin), m_tree(tree), m_scrollBar(scrollBar) {
  m_tree.SetTarget(&m_backBuffer, &m_skin);
  m_tree.SetScrollBar(&m_scrollBar);
  m_scrollBar.SetTarget(&m_backBuffer, &m_skin);
}

MainWindowPainter::~MainWindowPainter() {
  m_tree.SetTarget(nullptr, nullptr);
  m_tree.SetScrollBar(nullptr);
  m_scrollBar.SetTarget(nullptr, nullptr);
}

void MainWindowPainter::OnSize(int width, int height) {
  m_nWidth = width;
  m_nHeight = height;
  m_backBuffer.DestroyBitmap();
  m_backBuffer.CreateBitmap(width, height);
  DrawTitleBar();
  DrawLeftEdge();
  DrawRightEdge();
  DrawBottomEdge();
  DrawProgress(true);
  m_scrollBar.SetGeometry(width - 15, 18, height - 37);
  m_tree.SetArea(11, 20, width - 30, height - 40);
  RefreshView();
}

void MainWindowPainter::SetActive(bool active) {
  m_bActive = active;
  if (!m_backBuffer.IsBitmapCreated()) return;
  DrawTitleBar();
  Invalidate();
}

void MainWindowPainter::SetPressedButton(int button) {
  m_nPressedButton = button;
  if (!m_backBuffer.IsBitmapCreated()) return;
  DrawTitleBar();
  Invalidate();
}

void MainWindowPainter::DrawTitleBar() {
  const int w = m_nWidth;
  if (IsSmallForm()) {
    m_backBuffer.DrawSprite(0, 0, m_skin.Frame(m_bActive ? SkinSet::kSmallTitle : SkinSet::kSmallTitleInactive));
  } else {
    const int base = m_bActive ? SkinSet::kTitleLeft : SkinSet::kTitleLeftInactive;
    const CQvSprite& fill = m_skin.Frame(base + 1);
    // An empty fill picture cannot tile.
    if (w - 25 > 22 && fill.GetWidth() > 0)
      for (int x = 22; x < w - 25; x += fill.GetWidth()) m_backBuffer.DrawSprite(x, 0, fill);
    m_backBuffer.DrawSprite(0, 0, m_skin.Frame(base));
    m_backBuffer.DrawSprite((w - 136) / 2 + 22, 0, m_skin.Frame(base + 2));
    m_backBuffer.DrawSprite(w - 25, 0, m_skin.Frame(base + 3));
  }
  switch (m_nPressedButton) {
    case kMenuButton:
      m_backBuffer.DrawSprite(4, 3, m_skin.Frame(SkinSet::kMenuPressed));
      break;
    case kFormButton:
      m_backBuffer.DrawSprite(w - 21, 3,
                              m_skin.Frame(IsSmallForm() ? SkinSet::kSmallFormPressed : SkinSet::kFormPressed));
      break;
    case kCloseButton:
      m_backBuffer.DrawSprite(w - 11, 3, m_skin.Frame(SkinSet::kClosePressed));
      break;
    default:
      break;
  }
}

void MainWindowPainter::DrawLeftEdge() {
  if (IsSmallForm()) return;
  const CQvSprite& edge = m_skin.Frame(SkinSet::kLeftEdge);
  const int h = m_nHeight, eh = edge.GetHeight();
  int ty = 20;
  if (eh > 0 && h - eh - 20 >= 20)
    for (; ty <= h - eh - 20; ty += eh) m_backBuffer.DrawSprite(0, ty, edge);
  if (ty != h - 20) m_backBuffer.DrawSprite(0, ty, 0, 0, edge.GetWidth(), h - ty - 20, edge);
}

void MainWindowPainter::DrawRightEdge() {
  if (IsSmallForm()) return;
  const CQvSprite& edge = m_skin.Frame(SkinSet::kRightEdge);
  const CQvSprite& end = m_skin.Frame(SkinSet::kRightEdgeEnd);
  const int h = m_nHeight, x = m_nWidth - 19, bh = end.GetHeight();
  if (edge.GetHeight() > 0 && h - bh - 20 > 20)
    for (int ty = 20; ty < h - bh - 20; ty += edge.GetHeight()) m_backBuffer.DrawSprite(x, ty, edge);
  m_backBuffer.DrawSprite(x, h - bh - 20, end);
}

void MainWindowPainter::DrawBottomEdge() {
  if (IsSmallForm()) return;
  const CQvSprite& left = m_skin.Frame(SkinSet::kBottomLeft);
  const CQvSprite& fill = m_skin.Frame(SkinSet::kBottomFill);
  const CQvSprite& right = m_skin.Frame(SkinSet::kBottomRight);
  const int w = m_nWidth, y = m_nHeight - 20, rw = right.GetWidth(), fw = fill.GetWidth();
  m_backBuffer.DrawSprite(0, y, left);
  int x = left.GetWidth();
  if (fw > 0)
    for (; x <= w - rw - fw; x += fw) m_backBuffer.DrawSprite(x, y, fill);
  m_backBuffer.DrawSprite(x, y, 0, 0, w - rw - x, fill.GetHeight(), fill);
  m_backBuffer.DrawSprite(w - rw, y, right);
  m_backBuffer.DrawSprite(w - 65, m_nHeight - 19, m_skin.BottomOrnament());
}

void MainWindowPainter::DrawProgress(bool withBackground) {
  if (IsSmallForm()) return;
  const int y = m_nHeight - 16;
  if (withBackground && m_nProgress >= 0) m_backBuffer.DrawSprite(10, y, m_skin.ProgressEmpty());
  if (m_nProgress > 0) {
    const CQvSprite& full = m_skin.ProgressFull();
    m_backBuffer.DrawSprite(10, y, 0, 0, m_nProgress + 1, full.GetHeight(), full);
  }
}

void MainWindowPainter::ShowProgress(int progress) {
  m_nProgress = progress;
  if (!m_backBuffer.IsBitmapCreated()) return;
  if (progress < 0)
    DrawBottomEdge();
  else
    DrawProgress(progress == 0);
  Invalidate();
}

void MainWindowPainter::RefreshView(int thumbOffset) {
  m_tree.Paint();
  m_scrollBar.Draw(thumbOffset);
  Invalidate();
}

void MainWindowPainter::Invalidate() const {
  if (m_invalidate) m_invalidate();
}

}  // namespace jb
