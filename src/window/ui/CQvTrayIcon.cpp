#include "window/ui/CQvTrayIcon.h"

#include <QSystemTrayIcon>

#include "platform/MessageTarget.h"
#include "platform/ui/QtText.h"
#include "window/ui/QtPictures.h"

namespace jb {
namespace {

// The mouse messages of the notification area.
constexpr std::intptr_t kLButtonUp = 0x0202;
constexpr std::intptr_t kLButtonDblClk = 0x0203;
constexpr std::intptr_t kRButtonUp = 0x0205;

std::intptr_t MouseMessage(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
    case QSystemTrayIcon::Trigger:
      return kLButtonUp;
    case QSystemTrayIcon::DoubleClick:
      return kLButtonDblClk;
    case QSystemTrayIcon::Context:
      return kRButtonUp;
    default:
      return 0;
  }
}

}  // namespace

CQvTrayIcon::CQvTrayIcon(QtPictures& pictures) : m_pictures(pictures) {}

CQvTrayIcon::~CQvTrayIcon() { Remove(); }

bool CQvTrayIcon::Create(IMessageTarget& owner, unsigned callbackMessage, const std::string& toolTip, int iconId,
                         int /*menuId*/) {
  Remove();
  if (!QSystemTrayIcon::isSystemTrayAvailable()) return false;
  m_pIcon = std::make_unique<QSystemTrayIcon>(m_pictures.Icon(iconId));
  m_pIcon->setToolTip(ToQString(toolTip));
  QObject::connect(m_pIcon.get(), &QSystemTrayIcon::activated,
                   [&owner, callbackMessage](QSystemTrayIcon::ActivationReason reason) {
                     if (std::intptr_t message = MouseMessage(reason)) owner.Send(callbackMessage, 0, message);
                   });
  m_pIcon->show();
  return true;
}

void CQvTrayIcon::SetIcon(int iconId) {
  if (m_pIcon) m_pIcon->setIcon(m_pictures.Icon(iconId));
}

void CQvTrayIcon::SetToolTipText(const std::string& toolTip) {
  if (m_pIcon) m_pIcon->setToolTip(ToQString(toolTip));
}

void CQvTrayIcon::Remove() {
  if (m_pIcon) m_pIcon->hide();
  m_pIcon.reset();
}

}  // namespace jb
