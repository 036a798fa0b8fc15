#pragma once
// The Options sheet: the "Main window" and "Tree-view" pages, which change
// the live configuration control by control. There is no OK, Cancel or
// Apply, only "E&xit"; the configuration file is written when the sheet is
// destroyed, however it was closed.

#include "window/ui/QtSheet.h"

namespace jb {

class CConfig;
class IMessageTarget;
class IPrompt;
class SkinSet;

class CPShOptions : public QtSheet {
 public:
  // mainWindow receives the Tree-view page's refresh requests; prompt
  // shows its messages and file dialog.
  CPShOptions(CConfig& config, SkinSet& skin, IMessageTarget& mainWindow, IPrompt& prompt,
              QWidget* parent = nullptr);
  // Saves the configuration (a failure shows the configuration's message).
  ~CPShOptions() override;

 private:
  CConfig& m_config;
};

}  // namespace jb
