#pragma once
// The parsed command line: each parameter and whether it was a flag (began
// with "-" or "/", which parsing strips). No switch is recognised.

#include <string>
#include <vector>

namespace jb {

class CJukebarCommandLineInfo {
 public:
  void ParseParam(const std::string& param, bool flag) {
    m_aParams.push_back(param);
    m_aFlags.push_back(flag ? 1 : 0);
  }
  // Parses argv[1..] the way the platform does.
  void ParseCommandLine(int argc, const char* const* argv);

  // The environment file named on the command line: set only when there is
  // exactly one parameter and it is not a flag.
  bool GetEnvironmentOverride(std::string& path) const;

  std::vector<std::string> m_aParams;
  std::vector<unsigned char> m_aFlags;
};

}  // namespace jb
