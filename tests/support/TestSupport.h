#pragma once
// Fakes and helpers shared by the tests: a prompt that records what the
// program shows and answers from a script, temporary folders, file bytes.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Prompt.h"
#include "scan/ScanMessages.h"
#include "strings/StringTable.h"

namespace jb {
class CArchive;
}

namespace jb::test {

class RecordingPrompt : public IPrompt {
 public:
  void ShowMessage(int stringId, const std::string& detail = {}) override {
    messages.push_back(stringId);
    details.push_back(detail);
  }
  void ShowText(const std::string& text) override { texts.push_back(text); }
  Answer AskYesNoCancel(const std::string& text) override;
  std::optional<std::string> ChooseOpenFile(const FileDialogOptions& options) override;
  std::optional<std::string> ChooseSaveFile(const FileDialogOptions& options) override;
  // Answers from files too.
  std::optional<std::string> ChooseFolder(const FolderDialogOptions& options) override;
  void BeginWaitCursor() override {
    ++waitDepth;
    ++waitCursors;
  }
  void EndWaitCursor() override { --waitDepth; }
  void Beep() override { ++beeps; }

  std::vector<int> messages;         // string ids shown, in order
  std::vector<std::string> details;  // the detail of each, empty when none
  std::vector<std::string> texts;    // formatted texts shown
  std::vector<std::string> questions;
  std::deque<Answer> answers;                    // scripted; Cancel when empty
  std::deque<std::optional<std::string>> files;  // dialog results; cancel when empty
  std::vector<FileDialogOptions> dialogs;
  std::vector<FolderDialogOptions> folderDialogs;
  int waitDepth = 0;
  int waitCursors = 0;
  int beeps = 0;

 private:
  std::optional<std::string> NextFile();
};

// A window that records the messages it is sent and posted.
class RecordingTarget : public IMessageTarget {
 public:
  struct Message {
    unsigned message;
    std::intptr_t lParam;
    bool sent;
    bool operator==(const Message&) const = default;
  };
  void Post(unsigned message, std::uintptr_t, std::intptr_t lParam) override;
  void Send(unsigned message, std::uintptr_t, std::intptr_t lParam) override;
  std::vector<Message> Messages() const;
  std::vector<long> Ticks() const;  // the WM_SCAN_PROGRESS values, in order
  int Count(unsigned message) const;

 private:
  mutable std::mutex m_mutex;
  std::vector<Message> m_messages;
};

// The window's thread as a test runs it: messages from other threads wait
// in a queue until RunUntil hands them, in order, to the handler on the
// calling thread; Send returns once its message was handled (or the loop
// is gone, so no sender waits forever).
class MessageLoop : public IMessageTarget {
 public:
  using Handler = std::function<void(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)>;
  ~MessageLoop() override;
  void Post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
  void Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
  // Handles messages until one numbered last was handled; false when none
  // came within timeout.
  bool RunUntil(unsigned last, const Handler& handler,
                std::chrono::steady_clock::duration timeout = std::chrono::seconds(120));

 private:
  struct Item {
    unsigned message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
    bool* handled;  // the sender's flag; null for a posted message
  };
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::deque<Item> m_queue;
  bool m_bClosed = false;
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
std::string ReadText(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
void WriteText(const std::string& path, const std::string& text);
std::vector<std::uint8_t> Bytes(const std::string& text);
// 500 zero bytes and an ID3 version 1 tag: a song as a scan reads it.
std::string Id3v1Song(const std::string& title, const std::string& artist, const std::string& album);
// Bytes written as hex pairs; spaces are ignored and text between bars
// stands for itself: Hex("0F |Tag-less| 00").
std::vector<std::uint8_t> Hex(std::string_view hex);
// The names in dir, sorted, without "." and "..".
std::vector<std::string> DirectoryNames(const std::string& dir);

// Reads bytes through an archive.
void LoadBytes(std::vector<std::uint8_t> bytes, const std::function<void(CArchive&)>& read);

// Runs body while the system refuses to let files grow past limit bytes,
// as a full disk would.
void WithFileSizeLimit(unsigned long limit, const std::function<void()>& body);

// Runs a program of the build (relative to the build folder) with args and
// no standard input, its address space limited to addressSpaceKb when that
// is not 0 (as "ulimit -v" does); returns its exit status (128 + the
// signal when one ended it) and what it printed.
struct ProgramResult {
  int status = -1;
  std::string out;
  std::string err;
};
ProgramResult RunProgram(const std::string& buildRelativePath, const std::vector<std::string>& args,
                         unsigned long addressSpaceKb = 0);

// The same, started now and waited for later, to run programs side by side.
class StartedProgram {
 public:
  StartedProgram(const std::string& buildRelativePath, const std::vector<std::string>& args,
                 unsigned long addressSpaceKb = 0);
  ~StartedProgram();
  StartedProgram(const StartedProgram&) = delete;
  StartedProgram& operator=(const StartedProgram&) = delete;
  ProgramResult Wait();

 private:
  TempDir m_outputs;
  int m_pid = -1;
};
std::string BuildDir();
std::string SourceDir();

// A shell script at path standing in for a program started elsewhere: it
// writes its arguments, one per line ($0 first when withName), to record.
void WriteRecordingProgram(const std::string& path, const std::string& record, bool withName);
// The lines of record once it exists (waiting up to 10 s, for a program
// started detached); the file is removed so the next call waits again.
std::vector<std::string> TakeRecordedLines(const std::string& record);

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
