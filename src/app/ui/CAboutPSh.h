#pragma once
// The About sheet: the Credits page and, where the platform's buttons
// would be, "&Mail me...", "&Updates..." and "E&xit". The first two hand
// the author's mail and web addresses to the desktop and end the sheet
// (whether the desktop could open them or not).

#include "window/ui/QtSheet.h"

namespace jb {

class CCreditsPage;
class IShell;
class SkinSet;

class CAboutPSh : public QtSheet {
 public:
  CAboutPSh(SkinSet& skin, IShell& shell, QWidget* parent = nullptr);

  CCreditsPage* Credits() const { return m_pCredits; }

 private:
  void Open(const char* address);

  IShell& m_shell;
  CCreditsPage* m_pCredits = nullptr;
};

}  // namespace jb
