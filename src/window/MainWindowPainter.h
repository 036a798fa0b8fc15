#pragma once
// The drawing half of the main window: it owns the back buffer, lays the
// window out on every size change and draws the frame (title bar, edges,
// bottom edge), the progress bar, the tree and its scroll bar into it. The
// desktop window only forwards sizes, focus and scan progress, asks for a
// view refresh when the tree changes, and shows BackBuffer() when it paints.

#include <functional>

#include "sprites/CQvSprite.h"

namespace jb {

class SkinSet;
class TreeScrollBar;
class TreeView;

class MainWindowPainter {
 public:
  // The title buttons, by the window's zone numbers; kNoButton when none is
  // held down.
  enum Button { kNoButton = 0, kMenuButton = 2, kFormButton = 3, kCloseButton = 4 };
  static constexpr int kSmallFormHeight = 14;
  static constexpr int kNoProgress = -1;

  // Attaches tree and scroll bar to the back buffer and the skin.
  MainWindowPainter(const SkinSet& skin, TreeView& tree, TreeScrollBar& scrollBar);
  // Leaves tree and scroll bar without a back buffer to draw into.
  ~MainWindowPainter();
  MainWindowPainter(const MainWindowPainter&) = delete;
  MainWindowPainter& operator=(const MainWindowPainter&) = delete;

  // Called after every change that reached the back buffer, for the window
  // to repaint itself at once (without erasing).
  void SetInvalidate(std::function<void()> invalidate) { m_invalidate = std::move(invalidate); }

  // A new client size: a new back buffer, the whole frame and progress bar,
  // the scroll bar's and tree area's places, then a view refresh.
  void OnSize(int width, int height);
  // Focus gained or lost: the title bar in its active or inactive pictures.
  void SetActive(bool active);
  // A title button pressed (drawn pressed) or released (kNoButton).
  void SetPressedButton(int button);
  // The progress value: kNoProgress while no scan runs, 0 when one starts,
  // then the last progress tick + 1. Only stored (for the next size change).
  void SetProgress(int progress) { m_nProgress = progress; }
  // The same for the scan messages, drawn at once in the large form: 0 the
  // empty bar, more the filled part over it, kNoProgress the bottom edge
  // over the whole bar. Then invalidates.
  void ShowProgress(int progress);

  // The pieces, each into the back buffer only (the edges and the progress
  // bar belong to the large form and draw nothing in the small one).
  void DrawTitleBar();
  void DrawLeftEdge();
  void DrawRightEdge();
  void DrawBottomEdge();
  void DrawProgress(bool withBackground);
  // Paints the tree and the scroll bar (thumb at thumbOffset while it is
  // dragged, else from the position), then invalidates.
  void RefreshView(int thumbOffset = -1);
  // Tells the window to repaint.
  void Invalidate() const;

  bool IsSmallForm() const { return m_nHeight == kSmallFormHeight; }
  bool IsActive() const { return m_bActive; }
  int GetPressedButton() const { return m_nPressedButton; }
  int GetProgress() const { return m_nProgress; }
  int GetWidth() const { return m_nWidth; }
  int GetHeight() const { return m_nHeight; }
  const CQvSprite& BackBuffer() const { return m_backBuffer; }

 private:
  const SkinSet& m_skin;
  TreeView& m_tree;
  TreeScrollBar& m_scrollBar;
  CQvSprite m_backBuffer;
  std::function<void()> m_invalidate;
  int m_nWidth = 0;
  int m_nHeight = 0;
  bool m_bActive = true;
  int m_nPressedButton = kNoButton;
  int m_nProgress = kNoProgress;
};

}  // namespace jb
