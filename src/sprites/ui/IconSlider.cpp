#include "sprites/ui/IconSlider.h"

#include <algorithm>

namespace jb {

IconSlider::IconSlider(const CQvSpriteArray& icons, const CQvSprite& sizeOf, int position, QWidget* parent,
                       std::function<void(int)> onMoved)
    : m_pSlider(new QSlider(Qt::Horizontal, parent)), m_pPreview(new CQvStaticSprite(parent)) {
  // Icon bytes are 0 to 255 whatever the skin holds.
  m_pSlider->setRange(0, std::clamp(icons.GetSize() - 1, 0, 255));
  m_pSlider->setValue(position);
  m_pSlider->setMinimumWidth(82);
  m_pPreview->CreateIconPreview(sizeOf);
  m_pPreview->ShowPreviewIcon(icons.GetAt(m_pSlider->value()));
  QObject::connect(m_pSlider, &QSlider::valueChanged, m_pPreview,
                   [&icons, preview = m_pPreview, onMoved = std::move(onMoved)](int value) {
                     preview->ShowPreviewIcon(icons.GetAt(value));
                     if (onMoved) onMoved(value);
                   });
}

}  // namespace jb
