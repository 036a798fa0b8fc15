#include "resources/ui/CFileResourceDlg.h"

#include <QCheckBox>

#include "platform/Prompt.h"
#include "platform/Text.h"
#include "platform/ui/QtText.h"
#include "resources/CResource.h"
#include "strings/StringTable.h"

namespace jb {

CFileResourceDlg::CFileResourceDlg(std::string& path, std::uint8_t& flags, const CResourceArray& all,
                                   const std::string& typeName, std::string filter, IPrompt& prompt, QWidget* parent)
    : CResourceDlg(path, flags, all, prompt, QStringLiteral("File to scan or to cloak :"),
                   QStringLiteral("&Cloak this file"), parent),
      m_strFilter(std::move(filter)) {
  setWindowTitle(ToQString(FormatOne(LoadString(ids::TypeDialogTitle), typeName)));
  AddButtons();
}

bool CFileResourceDlg::Browse(std::string& path) {
  std::optional<std::string> chosen = m_prompt.ChooseOpenFile({m_strFilter, path, {}});
  if (!chosen) return false;
  path = std::move(*chosen);
  return true;
}

void CFileResourceDlg::Store() { m_nFlags = m_pCloak->isChecked() ? CResource::kCloak : 0; }

}  // namespace jb
