#pragma once
// The per-user settings of the program: where it is installed and which
// commands hand play-lists to the player. On Linux an INI file,
// $XDG_CONFIG_HOME/Quorvel Software/Jukebar.conf, section [General].

#include <map>
#include <optional>
#include <string>

namespace jb {

class UserSettings {
 public:
  // Reads the settings file at path; a missing or unreadable file gives no
  // values.
  explicit UserSettings(const std::string& path);

  // The settings of the current user (the standard location).
  static UserSettings ForCurrentUser();
  // The standard location of the settings file.
  static std::string DefaultPath();

  // The value of key in [General], or nothing when absent.
  std::optional<std::string> Get(const std::string& key) const;

 private:
  std::map<std::string, std::string> m_values;
};

}  // namespace jb
