#pragma once
// The user's working set: the resources to scan or cloak and the catalogue
// their last scan built, stored together in an environment file (*.jbe).

#include <memory>
#include <string>

#include "catalogue/CCatalogue.h"
#include "resources/CResourceArray.h"
#include "scan/CScanThread.h"

namespace jb {

class IMessageTarget;
class IPrompt;
class CResourceTypeArray;

class CEnvironment : public CCatalogue {
 public:
  static constexpr const char* kExtension = "jbe";

  // types is the configuration's type list, which resources are bound to.
  CEnvironment(IPrompt& prompt, CResourceTypeArray& types);
  ~CEnvironment() override;

  // Empty path, not modified, no entries, no resources.
  void Reset();
  // Asks to save a modified environment. False when the user cancels, or
  // when a Yes does not end in a saved file (nothing is dropped unasked).
  bool SaveModified();
  bool New();
  // Asks for a file to open and loads it.
  bool Open();
  // Replaces the environment with the file at path (an empty path makes a
  // new one). True when the environment was replaced; a file that cannot be
  // opened gives a new environment silently, a bad one message 19.
  bool Load(const std::string& path);
  // True when the file was written; message 16 with the system's reason
  // otherwise. The file's lock is held while it is written (CFileLock).
  bool Save();
  bool SaveAs();
  // Saves to path and, once saved, takes it as the environment's path.
  bool SaveAs(const std::string& path);

  const std::string& GetPath() const { return m_strPath; }
  std::string GetFileName() const;
  void SetModified(bool modified = true) { m_bModified = modified; }
  bool IsModified() const { return m_bModified; }
  CResourceArray& Resources() { return m_aResources; }
  const CResourceArray& Resources() const { return m_aResources; }

  // Marks the environment modified and starts a scan whose messages go to
  // window. When the thread cannot start: message 3, then WM_SCAN_DONE so
  // the window leaves its scanning state. False in that case.
  bool StartScan(IMessageTarget& window, unsigned descriptionThreads = CScanThread::DefaultThreads(),
                 const CScanThread::Launcher& launcher = {});
  // Waits for the scan thread after WM_SCAN_DONE. Returns what ended the
  // scan early (see CScanThread::GetError), empty when it ran to its end.
  std::string EndScan();

  // The file's body after the header: catalogue, then resources.
  void SerializeBody(CArchive& ar);

 private:
  bool SaveTo(const std::string& path);

  IPrompt& m_prompt;
  CResourceTypeArray& m_types;
  std::string m_strPath;
  bool m_bModified = false;
  CResourceArray m_aResources;
  std::unique_ptr<CScanThread> m_pScanThread;
};

}  // namespace jb
