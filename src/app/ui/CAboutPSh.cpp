#include "app/ui/CAboutPSh.h"

#include <QPushButton>
#include <QTabWidget>

#include "app/About.h"
#include "app/ui/CCreditsPage.h"
#include "platform/Shell.h"
#include "platform/ui/QtText.h"
#include "strings/StringTable.h"

namespace jb {

CAboutPSh::CAboutPSh(SkinSet& skin, IShell& shell, QWidget* parent)
    : QtSheet(ToQString(LoadString(ids::AboutTitle)), parent), m_shell(shell) {
  setObjectName(QStringLiteral("CAboutPSh"));
  m_pCredits = new CCreditsPage(skin);
  Pages()->addTab(m_pCredits, CCreditsPage::Title());
  connect(AddButton(ids::MailButton), &QPushButton::clicked, this, [this] { Open(kMailAddress); });
  connect(AddButton(ids::UpdatesButton), &QPushButton::clicked, this, [this] { Open(kWebAddress); });
}

void CAboutPSh::Open(const char* address) {
  m_shell.OpenAddress(address);
  accept();
}

}  // namespace jb
