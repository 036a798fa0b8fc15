#pragma once
// The program's icon in the notification area, over QSystemTrayIcon. Mouse
// events on it reach the owner as its callback message, with the mouse
// message as the last parameter, as the window expects them. Where the
// desktop has no notification area, Create fails and nothing is shown.

#include <QObject>
#include <memory>
#include <string>

class QSystemTrayIcon;

namespace jb {

class IMessageTarget;
class QtPictures;

class CQvTrayIcon {
 public:
  explicit CQvTrayIcon(QtPictures& pictures);
  // Removes the icon.
  ~CQvTrayIcon();
  CQvTrayIcon(const CQvTrayIcon&) = delete;
  CQvTrayIcon& operator=(const CQvTrayIcon&) = delete;

  // menuId is menu 141's; the owner shows its own menu on the right button.
  bool Create(IMessageTarget& owner, unsigned callbackMessage, const std::string& toolTip, int iconId, int menuId);
  void SetIcon(int iconId);
  void SetToolTipText(const std::string& toolTip);
  void Remove();
  bool IsCreated() const { return m_pIcon != nullptr; }

 private:
  QtPictures& m_pictures;
  std::unique_ptr<QSystemTrayIcon> m_pIcon;
};

}  // namespace jb
