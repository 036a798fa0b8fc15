#include "platform/UserSettings.h"

#include <glib.h>

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
    // A line ends at a zero byte, as it does for GLib, which rewrites the
    // file when a setting is stored: what is read here is what it keeps.
    line = Trim(line.substr(0, line.find('\0')));
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

bool UserSettings::Store(const std::string& path, const std::string& key, const std::string& value,
                         std::string& error) {
  if (value.find_first_of("\r\n") != std::string::npos || Trim(value) != value) {
    error = "the value has a line end or white space at an end";
    return false;
  }
  GKeyFile* file = g_key_file_new();
  GError* failure = nullptr;
  if (!g_key_file_load_from_file(file, path.c_str(), G_KEY_FILE_KEEP_COMMENTS, &failure) &&
      !g_error_matches(failure, G_FILE_ERROR, G_FILE_ERROR_NOENT)) {
    error = failure->message;
    g_error_free(failure);
    g_key_file_free(file);
    return false;
  }
  g_clear_error(&failure);
  // Stored as written: the reader takes values as they stand, unescaped.
  g_key_file_set_value(file, "General", key.c_str(), value.c_str());
  gchar* folder = g_path_get_dirname(path.c_str());
  bool stored = g_mkdir_with_parents(folder, 0700) == 0 && g_key_file_save_to_file(file, path.c_str(), &failure);
  if (!stored) error = failure ? failure->message : "cannot make the folder " + std::string(folder);
  g_clear_error(&failure);
  g_free(folder);
  g_key_file_free(file);
  return stored;
}

}  // namespace jb
