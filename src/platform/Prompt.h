#pragma once
// What the program asks of the user: message boxes by string id, questions,
// file dialogs and the wait cursor. The desktop answers with real dialogs,
// jukebar-cli on the terminal, tests with a recorder.

#include <optional>
#include <string>

namespace jb {

enum class Answer { Yes, No, Cancel };

struct FileDialogOptions {
  std::string filter;            // "Text (*.ext)|*.ext||"
  std::string initialPath;       // starting file name
  std::string defaultExtension;  // save dialogs: appended when none given
};

struct FolderDialogOptions {
  std::string title;        // the window's caption
  std::string prompt;       // the text above the folders
  std::string startFolder;  // shown first
  std::string iconFile;     // the window's icon; none when empty
};

class IPrompt {
 public:
  virtual ~IPrompt() = default;

  // An OK box with the string-table text of id. A detail says more, such as
  // the system's reason for a failure: the desktop shows it as the box's
  // detail text, jukebar-cli on the next line.
  virtual void ShowMessage(int stringId, const std::string& detail = {}) = 0;
  // An OK box with a text already built (formatted string-table texts).
  virtual void ShowText(const std::string& text) = 0;
  virtual Answer AskYesNoCancel(const std::string& text) = 0;
  // An existing file to open, or nothing when cancelled.
  virtual std::optional<std::string> ChooseOpenFile(const FileDialogOptions& options) = 0;
  // A file to save to (overwrite confirmed), or nothing when cancelled.
  virtual std::optional<std::string> ChooseSaveFile(const FileDialogOptions& options) = 0;
  // An existing folder, or nothing when cancelled. Without a folder chooser
  // (the command line) there is never a choice.
  virtual std::optional<std::string> ChooseFolder(const FolderDialogOptions& options) {
    (void)options;
    return std::nullopt;
  }
  virtual void BeginWaitCursor() {}
  virtual void EndWaitCursor() {}
  virtual void Beep() {}
};

// Shows the wait cursor for the lifetime of the object.
class WaitCursor {
 public:
  explicit WaitCursor(IPrompt& prompt) : m_prompt(prompt) { m_prompt.BeginWaitCursor(); }
  ~WaitCursor() { m_prompt.EndWaitCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  IPrompt& m_prompt;
};

}  // namespace jb
