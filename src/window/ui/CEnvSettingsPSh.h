#pragma once
// The environment settings sheet: the Resources page, and two ways out.
// "E&xit" (or the close box) just closes it; "&Scan" closes it asking for
// a scan of the edited resources. The page changes the environment at once,
// so neither way has anything left to apply.

#include "resources/ui/ResourcePictures.h"
#include "window/ui/QtSheet.h"

namespace jb {

class CConfig;
class CEnvironment;
class CResourcesPage;

class CEnvSettingsPSh : public QtSheet {
 public:
  enum Result { kExit = 1, kScan = 2 };

  CEnvSettingsPSh(CEnvironment& environment, CConfig& config, const QString& pictureFolder,
                  QWidget* parent = nullptr);

  // Runs the sheet modally: kScan when "&Scan" closed it, else kExit.
  int Run();
  CResourcesPage* Page() const { return m_pPage; }

 private:
  ResourcePictures m_pictures;
  CResourcesPage* m_pPage;
  int m_nResult = kExit;
};

}  // namespace jb
