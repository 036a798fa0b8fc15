#pragma once
// Asks the user for a directory through the desktop's folder chooser, with
// a title, a prompt above the folders and an icon.

#include <string>

namespace jb {

class IPrompt;

class CFolderBrowser {
 public:
  CFolderBrowser(IPrompt& prompt, std::string iconFile, std::string title, std::string promptText)
      : m_prompt(prompt), m_strIconFile(std::move(iconFile)), m_strTitle(std::move(title)),
        m_strPrompt(std::move(promptText)) {}

  // path is the folder shown first; it becomes the chosen one on true.
  bool Browse(std::string& path);

 private:
  IPrompt& m_prompt;
  std::string m_strIconFile;
  std::string m_strTitle;
  std::string m_strPrompt;
};

}  // namespace jb
