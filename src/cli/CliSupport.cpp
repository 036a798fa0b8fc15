#include "CliSupport.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "CliCommand.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/UserSettings.h"
#include "strings/StringTable.h"

namespace jb::cli {

ArgParser::ArgParser(const std::vector<std::string>& args, std::vector<std::string> flags,
                     std::vector<std::string> valueOptions) {
  valueOptions.push_back("--config");  // every command takes it
  auto contains = [](const std::vector<std::string>& list, const std::string& s) {
    return std::find(list.begin(), list.end(), s) != list.end();
  };
  bool onlyPositionals = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (onlyPositionals || a.size() < 2 || a[0] != '-') {
      m_positionals.push_back(a);
    } else if (a == "--") {
      onlyPositionals = true;
    } else if (contains(flags, a)) {
      m_options.emplace_back(a, "");
    } else if (contains(valueOptions, a)) {
      if (i + 1 >= args.size()) throw UsageError{a + " needs a value"};
      m_options.emplace_back(a, args[++i]);
    } else {
      throw UsageError{"unknown option '" + a + "'"};
    }
  }
}

bool ArgParser::Has(const std::string& flag) const {
  return std::any_of(m_options.begin(), m_options.end(), [&](const auto& o) { return o.first == flag; });
}

std::optional<std::string> ArgParser::Value(const std::string& option) const {
  std::vector<std::string> all = Values(option);
  if (all.empty()) return std::nullopt;
  return all.back();
}

std::vector<std::string> ArgParser::Values(const std::string& option) const {
  std::vector<std::string> out;
  for (const auto& o : m_options)
    if (o.first == option) out.push_back(o.second);
  return out;
}

const std::vector<std::string>& ArgParser::Positionals(size_t min, size_t max) const {
  if (m_positionals.size() < min) throw UsageError{"missing arguments"};
  if (m_positionals.size() > max) throw UsageError{"too many arguments"};
  return m_positionals;
}

long ArgParser::Number(const std::string& option, long fallback, long min, long max) const {
  std::optional<std::string> text = Value(option);
  if (!text) return fallback;
  char* end = nullptr;
  errno = 0;
  long n = std::strtol(text->c_str(), &end, 10);
  if (text->empty() || *end != '\0' || errno != 0 || n < min || n > max)
    throw UsageError{option + " takes a whole number from " + std::to_string(min) + " to " + std::to_string(max)};
  return n;
}

void ConsolePrompt::ShowMessage(int stringId, const std::string& detail) {
  ShowText(LoadString(stringId));
  if (!detail.empty()) std::fprintf(stderr, "jukebar-cli: %s\n", detail.c_str());
}

void ConsolePrompt::ShowText(const std::string& text) {
  ++m_nShown;
  std::fprintf(stderr, "jukebar-cli: %s\n", text.c_str());
}

Answer ConsolePrompt::AskYesNoCancel(const std::string& text) {
  ShowText(text + " (no one to answer: cancelled)");
  return Answer::Cancel;
}

std::optional<std::string> ConsolePrompt::ChooseOpenFile(const FileDialogOptions&) { return std::nullopt; }
std::optional<std::string> ConsolePrompt::ChooseSaveFile(const FileDialogOptions&) { return std::nullopt; }

Session::Session(const ArgParser& args) : config(std::make_unique<CConfig>(prompt)) {
  std::optional<std::string> path = args.Value("--config");
  if (path) {
    if (!CReadFile::Open(*path)) throw CommandError{"cannot read the configuration '" + *path + "'"};
  } else if (std::optional<std::string> dir = UserSettings::ForCurrentUser().Get("InstallDir")) {
    std::string installed = CleanPath(*dir) + "/" + CConfig::kFileName;
    if (CReadFile::Open(installed)) path = installed;
  }
  if (path) {
    config->Load(*path);
    if (prompt.MessagesShown() > 0) throw CommandError{"bad configuration file '" + *path + "'"};
  }
  environment = std::make_unique<CEnvironment>(prompt, config->resourceTypes);
}

CEnvironment& Session::Load(const std::string& path) {
  if (!CReadFile::Open(path)) throw CommandError{"cannot read the environment '" + path + "'"};
  int before = prompt.MessagesShown();
  environment->Load(path);
  if (prompt.MessagesShown() > before) throw CommandError{"bad environment file '" + path + "'"};
  return *environment;
}

void Session::Lock(const std::string& path) {
  try {
    lock = std::make_unique<CFileLock>(path);
  } catch (const FileError& e) {
    throw CommandError{"cannot lock the environment '" + path + "': " + e.Reason()};
  }
}

CEnvironment& Session::Edit(const std::string& path) {
  Lock(path);
  return Load(path);
}

void Session::Save() {
  if (!environment->Save()) throw CommandError{"the environment was not saved"};
}

std::string CleanPath(const std::string& path) {
  std::string out = AbsolutePath(path);
  while (out.size() > 1 && out.back() == '/') out.pop_back();
  return out;
}

const char* KindName(NodeKind kind) {
  static const char* const kNames[] = {"UserType", "Folder",    "Artist", "Album",
                                       "PlayList", "FileGroup", "File",   "Root"};
  return KindByte(kind) < 8 ? kNames[KindByte(kind)] : "Unknown";
}

bool FlushOutput() {
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return true;
  std::fprintf(stderr, "jukebar-cli: cannot write the output: %s\n", std::strerror(errno ? errno : EIO));
  return false;
}

void EndAfterReading(int code) {
  if (!FlushOutput() && code == 0) code = 1;
  std::fflush(stderr);
  std::_Exit(code);
}

}  // namespace jb::cli
