// jukebar-cli config: where the desktop program is installed and which
// environment it opens at start, for installers and set-up scripts.
#include <sys/stat.h>

#include <cstdio>

#include "CliCommand.h"
#include "CliSupport.h"
#include "platform/File.h"
#include "platform/UserSettings.h"

namespace jb::cli {
namespace {

bool IsDirectory(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// --config FILE, else "Jukebar.cfg" in the installation folder; empty when
// there is no installation.
std::string ConfigurationPath(const ArgParser& args) {
  if (std::optional<std::string> file = args.Value("--config")) return *file;
  std::optional<std::string> dir = UserSettings::ForCurrentUser().Get("InstallDir");
  if (!dir || dir->empty()) return {};
  return CleanPath(*dir) + "/" + CConfig::kFileName;
}

void StoreInstallDir(const std::string& dir) {
  const std::string clean = CleanPath(dir);
  if (!IsDirectory(clean)) throw CommandError{"'" + dir + "' is not a directory"};
  std::string error;
  if (!UserSettings::Store(UserSettings::DefaultPath(), "InstallDir", clean, error))
    throw CommandError{"cannot write '" + UserSettings::DefaultPath() + "': " + error};
}

// A missing configuration file starts from the defaults, as the program
// does; a bad one is left alone.
void StoreEnvironment(const std::string& configPath, const std::string& environment) {
  if (configPath.empty()) throw CommandError{"no installation: give the configuration with --config FILE"};
  const std::string path = environment.empty() ? environment : CleanPath(environment);
  if (!path.empty() && !CReadFile::Open(path)) throw CommandError{"cannot read the environment '" + environment + "'"};
  ConsolePrompt prompt;
  CConfig config(prompt);
  config.Load(configPath);
  if (prompt.MessagesShown() > 0) throw CommandError{"bad configuration file '" + configPath + "'"};
  config.environmentPath = path;
  if (!config.Save(configPath)) throw CommandError{"cannot write '" + configPath + "'"};
}

void PrintSettings(const std::string& configPath) {
  std::printf("settings: %s\n", UserSettings::DefaultPath().c_str());
  std::printf("install-dir: %s\n", UserSettings::ForCurrentUser().Get("InstallDir").value_or("").c_str());
  std::printf("configuration: %s\n", configPath.c_str());
  if (configPath.empty() || !CReadFile::Open(configPath)) return;
  ConsolePrompt prompt;
  CConfig config(prompt);
  config.Load(configPath);
  std::printf("environment: %s\n", config.environmentPath.c_str());
}

int RunConfig(std::vector<std::string>& argv) {
  ArgParser args(argv, {}, {"--install-dir", "--environment"});
  args.Positionals(0, 0);
  const std::optional<std::string> installDir = args.Value("--install-dir");
  const std::optional<std::string> environment = args.Value("--environment");
  if (installDir) StoreInstallDir(*installDir);
  if (environment) StoreEnvironment(ConfigurationPath(args), *environment);
  if (!installDir && !environment) PrintSettings(ConfigurationPath(args));
  return 0;
}

}  // namespace

JB_CLI_COMMAND("config", "config [--install-dir DIR] [--environment ENV]",
               "show or set the installation folder and the environment opened at start",
               "Without options it prints the per-user settings file, the installation\n"
               "folder, the configuration file and the environment it names.\n"
               "  --install-dir DIR  record DIR as the installation folder in the per-user\n"
               "                     settings (other settings there are kept)\n"
               "  --environment ENV  make the desktop program open ENV at its next start\n"
               "                     (\"\" for a new environment); the configuration is\n"
               "                     made with the defaults when there is none yet\n",
               RunConfig);

}  // namespace jb::cli
