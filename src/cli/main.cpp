// jukebar-cli: the program's environments, scans and play-lists from the
// command line, on the same core as the desktop program.
#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "CliSupport.h"

namespace jb::cli {

static std::vector<CliCommand>& Registry() {
  static std::vector<CliCommand> commands;
  return commands;
}

const std::vector<CliCommand>& Commands() { return Registry(); }

CommandRegistrar::CommandRegistrar(const CliCommand& command) { Registry().push_back(command); }

}  // namespace jb::cli

namespace {

void PrintCommandList(FILE* out) {
  std::fprintf(out, "usage: jukebar-cli COMMAND [ARGS...]\n\ncommands:\n");
  std::vector<jb::cli::CliCommand> sorted = jb::cli::Commands();
  std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return std::strcmp(a.name, b.name) < 0; });
  for (const auto& c : sorted) std::fprintf(out, "  %-44s %s\n", c.usage, c.summary);
  std::fprintf(out, "\n'jukebar-cli COMMAND --help' describes a command.\n");
}

int Dispatch(int argc, char** argv) {
  if (argc < 2) {
    PrintCommandList(stderr);
    return 2;
  }
  std::string name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") {
    PrintCommandList(stdout);
    return 0;
  }
  const auto& commands = jb::cli::Commands();
  auto it = std::find_if(commands.begin(), commands.end(), [&](const auto& c) { return name == c.name; });
  if (it == commands.end()) {
    std::fprintf(stderr, "jukebar-cli: unknown command '%s'\n", name.c_str());
    PrintCommandList(stderr);
    return 2;
  }
  std::vector<std::string> args(argv + 2, argv + argc);
  if (std::find(args.begin(), args.end(), "--help") != args.end()) {
    std::printf(
        "usage: jukebar-cli %s\n\n%s\n\n%s"
        "  --config FILE   read the resource types from FILE instead of the\n"
        "                  installation's Jukebar.cfg\n",
        it->usage, it->summary, it->help);
    return 0;
  }
  try {
    return it->run(args);
  } catch (const jb::cli::UsageError& e) {
    std::fprintf(stderr, "jukebar-cli %s: %s\nusage: jukebar-cli %s\n", it->name, e.message.c_str(), it->usage);
    return 2;
  } catch (const jb::cli::CommandError& e) {
    std::fprintf(stderr, "jukebar-cli %s: %s\n", it->name, e.message.c_str());
    return 1;
  }
}

}  // namespace

int main(int argc, char** argv) {
  // A scan makes a few allocations per file on its own thread: let the heap
  // grow in large steps rather than one system call per few pages.
  mallopt(M_TOP_PAD, 64 << 20);
  // Whatever a command did not foresee ends it with a message, not an abort.
  try {
    const int code = Dispatch(argc, argv);
    return jb::cli::FlushOutput() ? code : std::max(code, 1);
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "jukebar-cli: out of memory\n");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "jukebar-cli: unexpected error: %s\n", e.what());
  } catch (...) {
    std::fprintf(stderr, "jukebar-cli: unexpected error\n");
  }
  return 1;
}
