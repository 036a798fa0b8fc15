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

  // Sets key in [General] of the file at path, keeping its other keys and
  // comments, making the file and its folder when missing; the file is
  // replaced whole. A value with a line end or with white space at either
  // end cannot be read back and is refused. False with the reason in error.
  static bool Store(const std::string& path, const std::string& key, const std::string& value, std::string& error);

 private:
  std::map<std::string, std::string> m_values;
};

}  // namespace jb
