#include "config/CJukebarCommandLineInfo.h"

namespace jb {

void CJukebarCommandLineInfo::ParseCommandLine(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    std::string param = argv[i];
    // On Linux "/" begins every absolute path; only "-" marks a flag here.
    bool flag = !param.empty() && param[0] == '-';
    ParseParam(flag ? param.substr(1) : param, flag);
  }
}

bool CJukebarCommandLineInfo::GetEnvironmentOverride(std::string& path) const {
  if (m_aParams.size() != 1 || m_aFlags[0]) return false;
  path = m_aParams[0];
  return true;
}

}  // namespace jb
