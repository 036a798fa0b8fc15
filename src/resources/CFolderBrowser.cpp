#include "resources/CFolderBrowser.h"

#include "platform/Prompt.h"

namespace jb {

bool CFolderBrowser::Browse(std::string& path) {
  std::optional<std::string> chosen = m_prompt.ChooseFolder({m_strTitle, m_strPrompt, path, m_strIconFile});
  if (!chosen) return false;
  path = std::move(*chosen);
  return true;
}

}  // namespace jb
