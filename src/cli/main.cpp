// jukebar-cli: the program's environments, scans and play-lists from the
// command line, on the same core as the desktop program.
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0) {
    std::puts("usage: jukebar-cli COMMAND [ARGS...]");
    return argc < 2 ? 2 : 0;
  }
  std::fprintf(stderr, "jukebar-cli: unknown command '%s'\n", argv[1]);
  return 2;
}
