#pragma once
// Menu 141: the tray menu (also opened by the title bar's menu button) and
// the tree's context menu, with the command ids the window handles and the
// labels as the user sees them ("&" marks the mnemonic).

namespace jb {

inline constexpr int kMenuResource = 141;

enum MenuCommand : int {
  kCmdAbout = 32774,
  kCmdHelp = 32783,
  kCmdOptions = 32771,
  kCmdEnvNew = 32776,
  kCmdEnvLoad = 32777,
  kCmdEnvSave = 32778,
  kCmdEnvSaveAs = 32779,
  kCmdEnvSettings = 32780,
  kCmdScan = 32788,
  kCmdExit = 32773,
  kCmdPlaySelection = 32789,
  kCmdAddSelection = 32790,
};

// The "&Environment" sub-menu is enabled and greyed by its position in the
// tray menu; this stands for it where a command id is expected.
inline constexpr int kEnvironmentSubMenu = 4;

enum class MenuPopup { Tray, Tree };

struct MenuItem {
  enum Kind { kCommand, kSeparator, kSubMenu, kEndSubMenu };
  Kind kind;
  int id;             // the command, or kEnvironmentSubMenu for the sub-menu
  const char* label;  // null for separators and the end of a sub-menu
};

// Items in menu order; a kSubMenu item opens a sub-menu that runs to the
// next kEndSubMenu.
inline constexpr MenuItem kTrayMenuItems[] = {
    {MenuItem::kCommand, kCmdAbout, "&Jukebar..."},
    {MenuItem::kCommand, kCmdHelp, "&Help..."},
    {MenuItem::kSeparator, 0, nullptr},
    {MenuItem::kCommand, kCmdOptions, "&Options..."},
    {MenuItem::kSubMenu, kEnvironmentSubMenu, "&Environment"},
    {MenuItem::kCommand, kCmdEnvNew, "&New"},
    {MenuItem::kCommand, kCmdEnvLoad, "&Load..."},
    {MenuItem::kCommand, kCmdEnvSave, "&Save"},
    {MenuItem::kCommand, kCmdEnvSaveAs, "Save &As..."},
    {MenuItem::kSeparator, 0, nullptr},
    {MenuItem::kCommand, kCmdEnvSettings, "Settings..."},
    {MenuItem::kEndSubMenu, 0, nullptr},
    {MenuItem::kCommand, kCmdScan, "&Scan (update all)"},
    {MenuItem::kSeparator, 0, nullptr},
    {MenuItem::kCommand, kCmdExit, "E&xit"},
};

inline constexpr MenuItem kTreeMenuItems[] = {
    {MenuItem::kCommand, kCmdPlaySelection, "&Play selection"},
    {MenuItem::kCommand, kCmdAddSelection, "&Add selection to play-list"},
};

}  // namespace jb
