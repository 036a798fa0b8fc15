#pragma once
// The splash shown during start-up: the skin's splash picture in a window
// of exactly its size, without a task-bar button, for a while; it ends by
// itself. When it goes it darkens the picture in place, so the Credits page
// shows it darkened from then on.

#include <QBasicTimer>
#include <QDialog>

namespace jb {

class CQvStaticSprite;
class SkinSet;

class CSplashDlg : public QDialog {
 public:
  // milliseconds: how long Run shows it (0 ends it at once).
  CSplashDlg(SkinSet& skin, int milliseconds, QWidget* parent = nullptr);
  ~CSplashDlg() override;

  // Shows the splash modally until its time is up; the cancel result.
  int Run();

  CQvStaticSprite* Picture() const { return m_pPicture; }

 protected:
  void timerEvent(QTimerEvent* event) override;

 private:
  SkinSet& m_skin;
  int m_nMilliseconds;
  QBasicTimer m_timer;
  CQvStaticSprite* m_pPicture = nullptr;
};

}  // namespace jb
