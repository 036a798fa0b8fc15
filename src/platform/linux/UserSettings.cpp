#include "platform/UserSettings.h"

#include <cstdlib>
#include <fstream>

namespace jb {
namespace {

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r");
  if (b == std::string::npos) return {};
  size_t e = s.find_last_not_of(" \t\r");
  return s.substr(b, e - b + 1);
}

}  // namespace

UserSettings::UserSettings(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string line, section;
  while (std::getline(in, line)) {
    line = Trim(line);
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line.front() == '[' && line.back() == ']') {
      section = line.substr(1, line.size() - 2);
      continue;
    }
    size_t eq = line.find('=');
    if (section != "General" || eq == std::string::npos) continue;
    m_values[Trim(line.substr(0, eq))] = Trim(line.substr(eq + 1));
  }
}

std::string UserSettings::DefaultPath() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (xdg && *xdg) {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home ? home : "") + "/.config";
  }
  return base + "/Quorvel Software/Jukebar.conf";
}

UserSettings UserSettings::ForCurrentUser() { return UserSettings(DefaultPath()); }

std::optional<std::string> UserSettings::Get(const std::string& key) const {
  auto it = m_values.find(key);
  if (it == m_values.end()) return std::nullopt;
  return it->second;
}

}  // namespace jb
