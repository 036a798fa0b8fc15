#pragma once
// jukebar-cli's commands. Each command file registers its commands with
// JB_CLI_COMMAND; main() dispatches on the first argument.

#include <string>
#include <vector>

namespace jb::cli {

// A command's usage error: main prints it with the command's usage and
// exits with status 2.
struct UsageError {
  std::string message;
};

// Any other failure: main prints "jukebar-cli: <message>" and exits 1.
struct CommandError {
  std::string message;
};

struct CliCommand {
  const char* name;
  const char* usage;                           // "scan ENV"
  const char* summary;                         // one line for the command list
  const char* help;                            // the rest of --help
  int (*run)(std::vector<std::string>& args);  // args after the name
};

const std::vector<CliCommand>& Commands();

struct CommandRegistrar {
  explicit CommandRegistrar(const CliCommand& command);
};

#define JB_CLI_CONCAT2(a, b) a##b
#define JB_CLI_CONCAT(a, b) JB_CLI_CONCAT2(a, b)
#define JB_CLI_COMMAND(...)                                                        \
  static const ::jb::cli::CommandRegistrar JB_CLI_CONCAT(s_registrar_, __LINE__) { \
    ::jb::cli::CliCommand { __VA_ARGS__ }                                          \
  }

}  // namespace jb::cli
