#pragma once
// A slider over the skin's icons with its preview, as the type dialogs and
// the Tree-view page show them: the slider runs from 0 to the icon count
// minus 1, and moving it draws the chosen icon in the preview.

#include <QSlider>
#include <functional>

#include "sprites/CQvSpriteArray.h"
#include "sprites/ui/CQvStaticSprite.h"

namespace jb {

class IconSlider {
 public:
  // preview becomes an icon preview sized for sizeOf, showing the icon at
  // position; onMoved (may be empty) runs after each move has redrawn it.
  IconSlider(const CQvSpriteArray& icons, const CQvSprite& sizeOf, int position, QWidget* parent,
             std::function<void(int)> onMoved = {});

  QSlider* Slider() const { return m_pSlider; }
  CQvStaticSprite* Preview() const { return m_pPreview; }
  int Position() const { return m_pSlider->value(); }
  // The position as the icon byte the configuration and the types store.
  std::uint8_t Icon() const { return static_cast<std::uint8_t>(Position()); }

 private:
  QSlider* m_pSlider;
  CQvStaticSprite* m_pPreview;
};

}  // namespace jb
