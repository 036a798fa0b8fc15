#pragma once
// Fakes and helpers shared by the tests: a prompt that records what the
// program shows and answers from a script, temporary folders, file bytes.

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Prompt.h"

namespace jb {
class CArchive;
}

namespace jb::test {

class RecordingPrompt : public IPrompt {
 public:
  void ShowMessage(int stringId) override { messages.push_back(stringId); }
  void ShowText(const std::string& text) override { texts.push_back(text); }
  Answer AskYesNoCancel(const std::string& text) override;
  std::optional<std::string> ChooseOpenFile(const FileDialogOptions& options) override;
  std::optional<std::string> ChooseSaveFile(const FileDialogOptions& options) override;
  void BeginWaitCursor() override { ++waitDepth; ++waitCursors; }
  void EndWaitCursor() override { --waitDepth; }
  void Beep() override { ++beeps; }

  std::vector<int> messages;         // string ids shown, in order
  std::vector<std::string> texts;    // formatted texts shown
  std::vector<std::string> questions;
  std::deque<Answer> answers;        // scripted; Cancel when empty
  std::deque<std::optional<std::string>> files;  // dialog results; cancel when empty
  std::vector<FileDialogOptions> dialogs;
  int waitDepth = 0;
  int waitCursors = 0;
  int beeps = 0;
};

// A fresh directory under the system's temporary folder, removed with its
// contents when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return m_path; }
  // path/name
  std::string operator/(const std::string& name) const { return m_path + "/" + name; }

 private:
  std::string m_path;
};

std::vector<std::uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
void WriteText(const std::string& path, const std::string& text);
std::vector<std::uint8_t> Bytes(const std::string& text);
// The bytes an archive writes.
std::vector<std::uint8_t> Stored(const std::function<void(CArchive&)>& write);

// Runs the body from dir as the current directory, restoring the old one.
class ScopedCurrentDir {
 public:
  explicit ScopedCurrentDir(const std::string& dir);
  ~ScopedCurrentDir();

 private:
  std::string m_old;
};

// Sets an environment variable for the object's lifetime.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value);
  ~ScopedEnv();

 private:
  std::string m_name;
  std::optional<std::string> m_old;
};

}  // namespace jb::test
