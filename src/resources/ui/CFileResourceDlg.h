#pragma once
// The file resource dialog: the file's path and whether it is cloaked. The
// title names the file's type; browsing offers the type's extensions.

#include "resources/ui/CResourceDlg.h"

namespace jb {

class CFileResourceDlg : public CResourceDlg {
 public:
  CFileResourceDlg(std::string& path, std::uint8_t& flags, const CResourceArray& all, const std::string& typeName,
                   std::string filter, IPrompt& prompt, QWidget* parent = nullptr);

 protected:
  bool Browse(std::string& path) override;
  void Store() override;

 private:
  std::string m_strFilter;
};

}  // namespace jb
