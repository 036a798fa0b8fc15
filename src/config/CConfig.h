#pragma once
// Every setting that is not part of an environment: tree-view options, the
// option flags, the placement of the window's two forms, the resource types
// and the environment in use. One instance, reached through g_pConfig, stored
// in "Jukebar.cfg" in the installation folder.

#include <cstdint>
#include <string>

#include "types/CResourceTypeArray.h"

namespace jb {

class CArchive;
class CJukebarCommandLineInfo;
class IPrompt;
class UserSettings;

// The program file that marks an installation folder.
inline constexpr const char* kProgramFileName = "jukebar";

struct Rect {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const Rect&) const = default;
};

// The stored settings with their defaults, in one place: SetDefaults
// restores exactly these.
struct ConfigSettings {
  std::uint8_t scrollOptions = 0x01;
  std::uint8_t wheelLines = 8;
  std::uint8_t userTypeIcon = 0;
  std::uint8_t folderIcon = 1;
  std::uint8_t artistIcon = 2;
  std::uint8_t albumIcon = 3;
  std::uint8_t playListIcon = 7;
  std::uint8_t fileGroupIcon = 0;
  std::uint32_t optionFlags = 3;
  std::uint8_t reservedByte = 10;
  std::uint32_t backgroundColour = 0x00000000;
  std::uint32_t textColour = 0x00C8D0D8;
  std::uint32_t selectionColour = 0x00404080;
  std::uint8_t selectionTransparency = 144;
  std::string backgroundImagePath;
  std::uint8_t imageTransparency = 128;
  std::uint8_t placementFlags = 6;
  std::int32_t smallX = 100, smallY = 100;
  std::int32_t largeX = 100, largeY = 100;
  std::int32_t largeWidth = 275, largeHeight = 319;
  std::string environmentPath;
};

class CConfig : public ConfigSettings {
 public:
  static constexpr const char* kFileName = "Jukebar.cfg";
  static constexpr std::int32_t kSmallWidth = 50;
  static constexpr std::int32_t kSmallHeight = 14;

  enum : std::uint8_t {
    kAlignLeft = 0x01,
    kAlignRight = 0x02,
    kAlignTop = 0x04,
    kAlignBottom = 0x08,
    kSmallForm = 0x10,
  };
  enum : std::uint32_t { kAutoLoadPlayer = 0x01, kBackgroundImage = 0x08 };

  // The start-up sequence: finds the installation folder in the per-user
  // settings, checks it holds the program file, makes it the current
  // directory, loads the file and takes the environment named on the
  // command line. Failures show messages 7 and leave the installation not
  // valid.
  CConfig(IPrompt& prompt, const UserSettings& settings, const CJukebarCommandLineInfo& commandLine);
  // A configuration with the defaults and no installation, for tools that
  // load a file of their choosing (Load with a path).
  explicit CConfig(IPrompt& prompt);
  ~CConfig();
  CConfig(const CConfig&) = delete;
  CConfig& operator=(const CConfig&) = delete;

  void SetDefaults();
  // Reads the file (defaults first). A missing file leaves the defaults
  // silently; a bad one shows message 5 and restores them.
  void Load();
  void Load(const std::string& path);
  // Writes the file atomically; message 4 with the system's reason and
  // false on any failure.
  bool Save();
  bool Save(const std::string& path);

  void SetEnvironmentPath(const std::string& path);  // and saves
  std::string GetEnvironmentPath() const { return environmentPath; }
  bool IsInstallationValid() const { return installationValid; }
  std::uint8_t GetPlacementFlags() const { return placementFlags; }
  bool IsBackgroundImageOn() const { return (optionFlags & kBackgroundImage) != 0; }

  // The rectangle of the current form, after switching forms when toggle.
  Rect GetWindowRect(bool toggle);
  void SetHorzAlignment(std::uint8_t a);  // 0 None, 1 Left, 2 Right
  void SetVertAlignment(std::uint8_t a);  // 0 None, 4 Top, 8 Bottom
  void MoveSmallForm(std::int32_t dx, std::int32_t dy);
  void MoveLargeForm(std::int32_t dx, std::int32_t dy, std::int32_t width, std::int32_t height);
  void UpdateFromWindow(std::int32_t dx, std::int32_t dy, std::int32_t width, std::int32_t height);

  CResourceTypeArray resourceTypes;  // the three built-ins by default
  bool installationValid = false;    // not stored

 private:
  void FindInstallation(const UserSettings& settings);
  void Serialize(CArchive& ar);
  void Realign();

  IPrompt& m_prompt;
  std::string m_strFileName = kFileName;
};

// The one configuration, set by its constructor.
extern CConfig* g_pConfig;

}  // namespace jb
