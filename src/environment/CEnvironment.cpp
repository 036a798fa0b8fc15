#include "environment/CEnvironment.h"

#include "platform/Paths.h"
#include "platform/Prompt.h"
#include "platform/Text.h"
#include "scan/ScanMessages.h"
#include "storage/CArchive.h"
#include "strings/StringTable.h"

namespace jb {

CEnvironment::CEnvironment(IPrompt& prompt, CResourceTypeArray& types) : m_prompt(prompt), m_types(types) {}

CEnvironment::~CEnvironment() { EndScan(); }

void CEnvironment::Reset() {
  m_strPath.clear();
  m_bModified = false;
  RemoveAllEntries();
  m_aResources.RemoveAll();
}

std::string CEnvironment::GetFileName() const { return std::string(FileNamePart(m_strPath)); }

bool CEnvironment::SaveModified() {
  if (!m_bModified) return true;
  std::string question = m_strPath.empty() ? LoadString(ids::SaveUnnamedEnvironment)
                                           : FormatOne(LoadString(ids::SaveNamedEnvironment), GetFileName());
  switch (m_prompt.AskYesNoCancel(question)) {
    case Answer::Cancel:
      return false;
    case Answer::Yes:
      if (!Save()) return false;
      break;
    case Answer::No:
      break;
  }
  m_bModified = false;
  return true;
}

bool CEnvironment::New() {
  if (!SaveModified()) return false;
  Reset();
  return true;
}

bool CEnvironment::Open() {
  if (!SaveModified()) return false;
  std::optional<std::string> chosen = m_prompt.ChooseOpenFile({LoadString(ids::EnvironmentFilter), m_strPath, ""});
  if (!chosen) return false;
  return Load(*chosen);
}

bool CEnvironment::Load(const std::string& path) {
  if (path.empty()) return New();
  if (!SaveModified()) return false;
  WaitCursor wait(m_prompt);
  Reset();
  switch (LoadArchiveFile(path, FileKind::Environment, [this](CArchive& ar) { SerializeBody(ar); })) {
    case LoadResult::Missing:
      return true;  // a new environment, without a word
    case LoadResult::BadFormat:
      m_prompt.ShowMessage(ids::BadEnvironmentFormat);
      Reset();
      return true;
    case LoadResult::Loaded:
      m_strPath = path;
      return true;
  }
  return true;
}

void CEnvironment::SerializeBody(CArchive& ar) {
  SerializeCatalogue(ar);
  m_aResources.Serialize(ar, m_types);
}

bool CEnvironment::SaveTo(const std::string& path) {
  WaitCursor wait(m_prompt);
  auto body = [this](CArchive& ar) { SerializeBody(ar); };
  if (!SaveStoredFile(path, FileKind::Environment, body, m_prompt, ids::CannotSaveEnvironment)) return false;
  m_bModified = false;
  return true;
}

bool CEnvironment::Save() {
  if (m_strPath.empty()) return SaveAs();
  return SaveTo(m_strPath);
}

bool CEnvironment::SaveAs() {
  std::optional<std::string> chosen =
      m_prompt.ChooseSaveFile({LoadString(ids::EnvironmentFilter), m_strPath, kExtension});
  return chosen && SaveAs(*chosen);
}

bool CEnvironment::SaveAs(const std::string& path) {
  // The environment takes the new name only once it is saved there.
  if (!SaveTo(path)) return false;
  m_strPath = path;
  return true;
}

bool CEnvironment::StartScan(IMessageTarget& window, unsigned descriptionThreads,
                             const CScanThread::Launcher& launcher) {
  m_bModified = true;
  EndScan();
  m_pScanThread = std::make_unique<CScanThread>(window, m_aResources, *this, m_types, descriptionThreads);
  if (m_pScanThread->Start(launcher)) return true;
  m_pScanThread.reset();
  m_prompt.ShowMessage(ids::CannotLaunchScan);
  window.Post(WM_SCAN_DONE, 0, 0);
  return false;
}

std::string CEnvironment::EndScan() {
  if (!m_pScanThread) return {};
  m_pScanThread->Join();
  std::string error = m_pScanThread->GetError();
  m_pScanThread.reset();
  return error;
}

}  // namespace jb
