#include "config/CConfig.h"

#include "config/CJukebarCommandLineInfo.h"
#include "platform/FileSystem.h"
#include "platform/Prompt.h"
#include "platform/UserSettings.h"
#include "storage/CArchive.h"
#include "strings/StringTable.h"

namespace jb {

CConfig* g_pConfig = nullptr;

CConfig::CConfig(IPrompt& prompt) : m_prompt(prompt) {
  g_pConfig = this;
  SetDefaults();
}

CConfig::CConfig(IPrompt& prompt, const UserSettings& settings, const CJukebarCommandLineInfo& commandLine)
    : CConfig(prompt) {
  FindInstallation(settings);
  if (!installationValid) return;
  Load();
  std::string path;
  if (commandLine.GetEnvironmentOverride(path)) environmentPath = path;
}

CConfig::~CConfig() {
  if (g_pConfig == this) g_pConfig = nullptr;
}

void CConfig::FindInstallation(const UserSettings& settings) {
  std::optional<std::string> dir = settings.Get("InstallDir");
  if (!dir || dir->empty()) {
    m_prompt.ShowMessage(ids::InvalidInstallation);
    return;
  }
  std::string program = *dir;
  if (program.back() != '/') program += '/';
  program += kProgramFileName;
  if (!FileExists(program)) {
    m_prompt.ShowMessage(ids::InvalidInstallation);
    return;
  }
  installationValid = ChangeDirectory(*dir);
}

void CConfig::SetDefaults() {
  static_cast<ConfigSettings&>(*this) = ConfigSettings{};
  resourceTypes.SetDefaults();
}

void CConfig::Load() { Load(m_strFileName); }

void CConfig::Load(const std::string& path) {
  m_strFileName = path;
  SetDefaults();
  if (LoadArchiveFile(path, FileKind::Config, [this](CArchive& ar) { Serialize(ar); }) == LoadResult::BadFormat) {
    m_prompt.ShowMessage(ids::BadConfigFormat);
    SetDefaults();
  }
}

bool CConfig::Save() { return Save(m_strFileName); }

bool CConfig::Save(const std::string& path) {
  m_strFileName = path;
  auto body = [this](CArchive& ar) { Serialize(ar); };
  return SaveStoredFile(path, FileKind::Config, body, m_prompt, ids::CannotSaveConfig);
}

void CConfig::Serialize(CArchive& ar) {
  ar.Serial(environmentPath);
  ar.Serial(smallX);
  ar.Serial(smallY);
  ar.Serial(placementFlags);
  ar.Serial(largeX);
  ar.Serial(largeY);
  ar.Serial(largeWidth);
  ar.Serial(largeHeight);
  ar.Serial(scrollOptions);
  ar.Serial(wheelLines);
  ar.Serial(userTypeIcon);
  ar.Serial(folderIcon);
  ar.Serial(artistIcon);
  ar.Serial(albumIcon);
  ar.Serial(playListIcon);
  ar.Serial(fileGroupIcon);
  resourceTypes.Serialize(ar);
  ar.Serial(optionFlags);
  ar.Serial(reservedByte);
  ar.Serial(backgroundColour);
  ar.Serial(textColour);
  ar.Serial(selectionColour);
  ar.Serial(selectionTransparency);
  ar.Serial(backgroundImagePath);
  ar.Serial(imageTransparency);
}

void CConfig::SetEnvironmentPath(const std::string& path) {
  environmentPath = path;
  Save();
}

Rect CConfig::GetWindowRect(bool toggle) {
  if (toggle) placementFlags ^= kSmallForm;
  if (placementFlags & kSmallForm) return {smallX, smallY, smallX + kSmallWidth, smallY + kSmallHeight};
  return {largeX, largeY, largeX + largeWidth, largeY + largeHeight};
}

void CConfig::SetHorzAlignment(std::uint8_t a) {
  placementFlags = static_cast<std::uint8_t>((placementFlags & ~0x03) | (a & 0x03));
  Realign();
}

void CConfig::SetVertAlignment(std::uint8_t a) {
  placementFlags = static_cast<std::uint8_t>((placementFlags & ~0x0C) | (a & 0x0C));
  Realign();
}

void CConfig::Realign() {
  if (placementFlags & kSmallForm)
    MoveSmallForm(0, 0);
  else
    MoveLargeForm(0, 0, largeWidth, largeHeight);
}

void CConfig::MoveSmallForm(std::int32_t dx, std::int32_t dy) {
  placementFlags |= kSmallForm;
  smallX += dx;
  smallY += dy;
  if (placementFlags & kAlignLeft) largeX = smallX;
  if (placementFlags & kAlignRight) largeX = smallX + kSmallWidth - largeWidth;
  if (placementFlags & kAlignTop) largeY = smallY;
  if (placementFlags & kAlignBottom) largeY = smallY + kSmallHeight - largeHeight;
}

void CConfig::MoveLargeForm(std::int32_t dx, std::int32_t dy, std::int32_t width, std::int32_t height) {
  placementFlags &= static_cast<std::uint8_t>(~kSmallForm);
  largeX += dx;
  largeY += dy;
  largeWidth = width;
  largeHeight = height;
  if (placementFlags & kAlignLeft) smallX = largeX;
  if (placementFlags & kAlignRight) smallX = largeX + width - kSmallWidth;
  if (placementFlags & kAlignTop) smallY = largeY;
  if (placementFlags & kAlignBottom) smallY = largeY + height - kSmallHeight;
}

void CConfig::UpdateFromWindow(std::int32_t dx, std::int32_t dy, std::int32_t width, std::int32_t height) {
  if (height == kSmallHeight)
    MoveSmallForm(dx, dy);
  else
    MoveLargeForm(dx, dy, width, height);
}

}  // namespace jb
