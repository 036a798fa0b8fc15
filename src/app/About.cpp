#include "app/About.h"

#include "skin/SkinSet.h"

namespace jb {

void DarkenSplashPicture(CQvSprite& picture) {
  picture.DrawRect(0, 0, picture.GetWidth(), picture.GetHeight(), CQvSprite::GetColor(0, 0, 0, 148), true);
}

CQvSprite CreditsPicture(SkinSet& skin) {
  const CQvSprite& splash = skin.SplashPicture();
  CQvSprite picture;
  picture.CreateBitmap(splash.GetWidth(), splash.GetHeight());
  picture.DrawSprite(0, 0, splash);
  picture.DrawSprite(0, 0, skin.CreditsOverlay());
  return picture;
}

Rect CreditsPlacement(int clientWidth, int clientHeight, int width, int height) {
  const int x = (clientWidth - width - 2) / 2;
  const int y = (clientHeight - height - 2) / 2;
  return {x, y, x + width + 2, y + height + 2};
}

}  // namespace jb
