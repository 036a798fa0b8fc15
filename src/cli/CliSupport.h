#pragma once
// What jukebar-cli's commands share: argument parsing, the terminal as the
// program's prompt, and opening the configuration and an environment.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "config/CConfig.h"
#include "environment/CEnvironment.h"
#include "platform/FileLock.h"
#include "platform/Prompt.h"

namespace jb::cli {

// Splits a command's arguments into options and positional arguments.
// Options may stand anywhere; unknown ones are usage errors.
class ArgParser {
 public:
  ArgParser(const std::vector<std::string>& args, std::vector<std::string> flags,
            std::vector<std::string> valueOptions);

  bool Has(const std::string& flag) const;
  std::optional<std::string> Value(const std::string& option) const;  // the last one given
  std::vector<std::string> Values(const std::string& option) const;
  const std::vector<std::string>& Positionals() const { return m_positionals; }
  // The positionals, requiring between min and max of them.
  const std::vector<std::string>& Positionals(size_t min, size_t max) const;
  // A whole number option within [min, max], or fallback when absent.
  long Number(const std::string& option, long fallback, long min, long max) const;

 private:
  std::vector<std::pair<std::string, std::string>> m_options;
  std::vector<std::string> m_positionals;
};

// Messages go to standard error; questions are answered Cancel and
// dialogs cancelled, since nobody is there to answer them.
class ConsolePrompt : public IPrompt {
 public:
  void ShowMessage(int stringId, const std::string& detail = {}) override;
  void ShowText(const std::string& text) override;
  Answer AskYesNoCancel(const std::string& text) override;
  std::optional<std::string> ChooseOpenFile(const FileDialogOptions& options) override;
  std::optional<std::string> ChooseSaveFile(const FileDialogOptions& options) override;

  int MessagesShown() const { return m_nShown; }

 private:
  int m_nShown = 0;
};

// The configuration and one environment, opened for a command.
class Session {
 public:
  // Reads the resource types from --config FILE, else from the
  // installation's "Jukebar.cfg", else takes the defaults.
  explicit Session(const ArgParser& args);

  // Holds the lock of the environment file at path for the rest of the
  // command, waiting for any other command that holds it.
  void Lock(const std::string& path);
  // Loads an existing environment file; a missing or bad one is an error.
  CEnvironment& Load(const std::string& path);
  // Locks, then loads: for commands that change the environment and save
  // it, so that no change made meanwhile is lost.
  CEnvironment& Edit(const std::string& path);
  // Saves the environment to its file, atomically.
  void Save();

  ConsolePrompt prompt;
  std::unique_ptr<CFileLock> lock;  // released after the environment goes
  std::unique_ptr<CConfig> config;
  std::unique_ptr<CEnvironment> environment;
};

// The --help paragraph of the commands whose lines pass through
// EscapeControlBytes.
#define JB_CLI_ESCAPE_HELP                                                     \
  "Backslashes and control bytes in paths and names are escaped as in C:\n"    \
  "\\\\ for a backslash, \\n, \\r, \\t, and \\xHH for the other bytes below\n" \
  "0x20 and 0x7F, so each one stays on its line.\n"

// path made absolute, without trailing separators (the root stays "/").
std::string CleanPath(const std::string& path);

// The names of the node kinds, for printing.
const char* KindName(NodeKind kind);

// Writes out what the command printed; false, with a message, when it could
// not be written (a full disk, a device that refuses).
bool FlushOutput();
// Ends the process once the output is out, with code (1 when the output
// could not be written). A command that only read what it loaded leaves it
// to the system, which takes the memory back at once: a million-entry
// catalogue and tree take a tenth of a second to free piece by piece.
[[noreturn]] void EndAfterReading(int code);

}  // namespace jb::cli
