#include "sprites/ui/CQvStaticSprite.h"

#include <QImage>
#include <QPainter>

namespace jb {

namespace {
// The system colours of a raised 3-D element: highlight and dark shadow.
constexpr int kSysHighlight = 20;
constexpr int kSysDarkShadow = 21;
constexpr Colour kBlack = 0;
}  // namespace

CQvStaticSprite::CQvStaticSprite(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void CQvStaticSprite::Create(int width, int height) {
  m_sprite.CreateBitmap(width, height);
  setFixedSize(m_sprite.GetWidth(), m_sprite.GetHeight());
  update();
}

void CQvStaticSprite::SetSprite(const CQvSprite& picture) {
  m_sprite = picture;
  setFixedSize(m_sprite.GetWidth(), m_sprite.GetHeight());
  update();
}

void CQvStaticSprite::CreateIconPreview(const CQvSprite& sizeOf) {
  const int w = sizeOf.GetWidth() + 4;
  const int h = sizeOf.GetHeight() + 4;
  Create(w, h);
  m_sprite.Draw3DRect(0, 0, w, h, CQvSprite::GetSysColor(kSysHighlight, 0), CQvSprite::GetSysColor(kSysDarkShadow, 0));
  m_sprite.DrawRect(1, 1, w - 2, h - 2, kBlack, true);
}

void CQvStaticSprite::ShowPreviewIcon(const CQvSprite& icon) {
  m_sprite.DrawRect(2, 2, m_sprite.GetWidth() - 4, m_sprite.GetHeight() - 4, kBlack, true);
  m_sprite.DrawSprite(2, 2, icon);
  update();
}

QSize CQvStaticSprite::sizeHint() const { return {m_sprite.GetWidth(), m_sprite.GetHeight()}; }

void CQvStaticSprite::paintEvent(QPaintEvent*) {
  if (!m_sprite.IsBitmapCreated()) return;
  // The pixels are QImage's ARGB32 already: wrap them, no copy.
  const QImage image(reinterpret_cast<const uchar*>(m_sprite.Bits()), m_sprite.GetWidth(), m_sprite.GetHeight(),
                     m_sprite.BytesPerLine(), QImage::Format_ARGB32);
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(QRect(0, 0, m_sprite.GetWidth(), m_sprite.GetHeight()), image);
}

}  // namespace jb
