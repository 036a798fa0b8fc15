#pragma once
// The splash and the About sheet share the skin's splash picture: the
// splash shows it as it is, then darkens it in place, so the Credits page
// shows it darkened under the credits overlay.

#include "config/CConfig.h"
#include "sprites/CQvSprite.h"

namespace jb {

class SkinSet;

// The author's addresses that the About sheet's buttons open.
inline constexpr const char* kMailAddress = "mailto:jukebar@quorvel.org?subject=Jukebar%201.00";
inline constexpr const char* kWebAddress = "https://www.quorvel.org/jukebar/";

// How long the splash shows during start-up, in milliseconds.
inline constexpr int kSplashMilliseconds = 2500;

// Darkens the picture in place (black at transparency 148 over it).
void DarkenSplashPicture(CQvSprite& picture);

// The credits: the splash picture as it now is, the overlay on top.
CQvSprite CreditsPicture(SkinSet& skin);

// The credits' control, a picture of width x height with a one-pixel
// margin, centred in a client area; negative when the picture is larger.
Rect CreditsPlacement(int clientWidth, int clientHeight, int width, int height);

}  // namespace jb
