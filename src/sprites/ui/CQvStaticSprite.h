#pragma once
// A control of a dialog that shows a sprite of its own and nothing else.
// The caller creates the sprite at a size, draws into it and has the
// control redrawn; the control takes exactly the sprite's size, one
// logical pixel per sprite pixel, drawn without smoothing so it stays crisp
// on dense screens too.
//
// Icon previews (the type dialogs, the Tree-view page) share one look: a
// raised 3-D frame in the palette's light and dark shadow colours, black
// inside, the icon at (2, 2).

#include <QWidget>

#include "sprites/CQvSprite.h"

namespace jb {

class CQvStaticSprite : public QWidget {
 public:
  explicit CQvStaticSprite(QWidget* parent = nullptr);

  // Gives the control a new black sprite of width x height and sizes the
  // control to it.
  void Create(int width, int height);
  // Replaces the sprite by a copy of picture, sized as above.
  void SetSprite(const CQvSprite& picture);
  // The member sprite to draw into; call update() after drawing.
  CQvSprite& Sprite() { return m_sprite; }
  const CQvSprite& Sprite() const { return m_sprite; }

  // Makes the control an icon preview for icons of sizeOf's size: the frame
  // over the whole control, black inside.
  void CreateIconPreview(const CQvSprite& sizeOf);
  // Blackens the preview's inside, draws icon at (2, 2) and redraws.
  void ShowPreviewIcon(const CQvSprite& icon);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  CQvSprite m_sprite;
};

}  // namespace jb
