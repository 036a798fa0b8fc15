#include "app/ui/CCreditsPage.h"

#include <QResizeEvent>

#include "app/About.h"
#include "sprites/ui/CQvStaticSprite.h"

namespace jb {
namespace {

// The page's template size, 362 x 227 dialog units, in pixels of the
// default font (a dialog unit is a quarter of its average character width
// and an eighth of its height).
constexpr int kPageWidth = 362 * 6 / 4;
constexpr int kPageHeight = 227 * 13 / 8;

}  // namespace

CCreditsPage::CCreditsPage(SkinSet& skin, QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("id159"));
  setMinimumSize(kPageWidth, kPageHeight);
  m_pPicture = new CQvStaticSprite(this);
  m_pPicture->setObjectName(QStringLiteral("id1004"));
  m_pPicture->SetSprite(CreditsPicture(skin));
}

QString CCreditsPage::Title() { return QStringLiteral("Credits"); }

void CCreditsPage::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const CQvSprite& picture = m_pPicture->Sprite();
  const Rect r = CreditsPlacement(width(), height(), picture.GetWidth(), picture.GetHeight());
  m_pPicture->setFixedSize(r.right - r.left, r.bottom - r.top);
  m_pPicture->move(r.left, r.top);
}

}  // namespace jb
