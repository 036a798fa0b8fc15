#pragma once
// The About sheet's only page: the splash picture (darkened once the splash
// has been shown) with the credits overlay on top, centred in the page.
// A picture larger than the page is centred all the same, at negative
// offsets, and the page clips it.

#include <QWidget>

namespace jb {

class CQvStaticSprite;
class SkinSet;

class CCreditsPage : public QWidget {
 public:
  explicit CCreditsPage(SkinSet& skin, QWidget* parent = nullptr);

  static QString Title();
  CQvStaticSprite* Picture() const { return m_pPicture; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  CQvStaticSprite* m_pPicture = nullptr;
};

}  // namespace jb
