#include "TestSupport.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "platform/File.h"
#include "platform/FileSystem.h"
#include "storage/CArchive.h"

namespace jb::test {

Answer RecordingPrompt::AskYesNoCancel(const std::string& text) {
  questions.push_back(text);
  if (answers.empty()) return Answer::Cancel;
  Answer a = answers.front();
  answers.pop_front();
  return a;
}

std::optional<std::string> RecordingPrompt::NextFile() {
  if (files.empty()) return std::nullopt;
  auto f = files.front();
  files.pop_front();
  return f;
}

std::optional<std::string> RecordingPrompt::ChooseOpenFile(const FileDialogOptions& options) {
  dialogs.push_back(options);
  return NextFile();
}

std::optional<std::string> RecordingPrompt::ChooseSaveFile(const FileDialogOptions& options) {
  return ChooseOpenFile(options);
}

std::optional<std::string> RecordingPrompt::ChooseFolder(const FolderDialogOptions& options) {
  folderDialogs.push_back(options);
  return NextFile();
}

void RecordingTarget::Post(unsigned message, std::uintptr_t, std::intptr_t lParam) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_messages.push_back({message, lParam, false});
}

void RecordingTarget::Send(unsigned message, std::uintptr_t, std::intptr_t lParam) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_messages.push_back({message, lParam, true});
}

std::vector<RecordingTarget::Message> RecordingTarget::Messages() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_messages;
}

std::vector<long> RecordingTarget::Ticks() const {
  std::vector<long> ticks;
  for (const Message& m : Messages())
    if (m.message == WM_SCAN_PROGRESS) ticks.push_back(static_cast<long>(m.lParam));
  return ticks;
}

int RecordingTarget::Count(unsigned message) const {
  int n = 0;
  for (const Message& m : Messages()) n += m.message == message;
  return n;
}

MessageLoop::~MessageLoop() {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_bClosed = true;
  m_changed.notify_all();
}

void MessageLoop::Post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_queue.push_back({message, wParam, lParam, nullptr});
  m_changed.notify_all();
}

void MessageLoop::Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  bool handled = false;
  std::unique_lock<std::mutex> lock(m_mutex);
  m_queue.push_back({message, wParam, lParam, &handled});
  m_changed.notify_all();
  m_changed.wait(lock, [&] { return handled || m_bClosed; });
}

bool MessageLoop::RunUntil(unsigned last, const Handler& handler, std::chrono::steady_clock::duration timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  std::unique_lock<std::mutex> lock(m_mutex);
  for (;;) {
    if (!m_changed.wait_until(lock, deadline, [this] { return !m_queue.empty(); })) return false;
    Item item = m_queue.front();
    m_queue.pop_front();
    lock.unlock();
    handler(item.message, item.wParam, item.lParam);
    lock.lock();
    if (item.handled) {
      *item.handled = true;
      m_changed.notify_all();
    }
    if (item.message == last) return true;
  }
}

TempDir::TempDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "jukebar-test-XXXXXX").string();
  if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  m_path = tmpl;
}

TempDir::~TempDir() {
  std::error_code ec;
  // Tests take permissions away; give them back so removal works.
  for (auto it = std::filesystem::recursive_directory_iterator(
           m_path, std::filesystem::directory_options::skip_permission_denied, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_directory(ec) && !it->is_symlink(ec))
      std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                   ec);
  }
  std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(m_path, ec);
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string ReadText(const std::string& path) {
  auto bytes = ReadBytes(path);
  return {bytes.begin(), bytes.end()};
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

void WriteText(const std::string& path, const std::string& text) { WriteBytes(path, Bytes(text)); }

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

std::string Id3v1Song(const std::string& title, const std::string& artist, const std::string& album) {
  std::string tag = "TAG";
  for (std::string f : {title, artist, album}) tag += f.append(30 - f.size(), '\0');
  tag.resize(128, '\0');
  return std::string(500, '\0') + tag;
}

std::vector<std::uint8_t> Hex(std::string_view hex) {
  std::vector<std::uint8_t> bytes;
  for (size_t i = 0; i < hex.size(); ++i) {
    if (hex[i] == '|') {
      const size_t end = hex.find('|', i + 1);
      bytes.insert(bytes.end(), hex.begin() + i + 1, hex.begin() + end);
      i = end;
    } else if (hex[i] != ' ') {
      bytes.push_back(static_cast<std::uint8_t>(std::stoi(std::string(hex.substr(i++, 2)), nullptr, 16)));
    }
  }
  return bytes;
}

std::vector<std::string> DirectoryNames(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

void LoadBytes(std::vector<std::uint8_t> bytes, const std::function<void(CArchive&)>& read) {
  CMemoryFile file(std::move(bytes));
  CArchive ar(file, CArchive::load);
  read(ar);
}

void WithFileSizeLimit(unsigned long limit, const std::function<void()>& body) {
  struct rlimit saved;
  if (getrlimit(RLIMIT_FSIZE, &saved) != 0) throw std::runtime_error("getrlimit failed");
  auto handler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = limit;
  if (setrlimit(RLIMIT_FSIZE, &small) != 0) throw std::runtime_error("setrlimit failed");
  body();
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, handler);
}

std::string BuildDir() { return JUKEBAR_BINARY_DIR; }

std::string SourceDir() { return JUKEBAR_SOURCE_DIR; }

ProgramResult RunProgram(const std::string& buildRelativePath, const std::vector<std::string>& args,
                         unsigned long addressSpaceKb) {
  return StartedProgram(buildRelativePath, args, addressSpaceKb).Wait();
}

StartedProgram::StartedProgram(const std::string& buildRelativePath, const std::vector<std::string>& args,
                               unsigned long addressSpaceKb) {
  std::string program = BuildDir() + "/" + buildRelativePath;
  std::vector<std::string> copies = args;
  if (addressSpaceKb != 0) {
    const std::string limit = "ulimit -v " + std::to_string(addressSpaceKb) + " && exec \"$@\"";
    copies.insert(copies.begin(), {"-c", limit, "sh", program});
    program = "/bin/sh";
  }
  std::vector<char*> argv;
  argv.push_back(program.data());
  for (std::string& a : copies) argv.push_back(a.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, (m_outputs / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, (m_outputs / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = 0;
  int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) throw std::runtime_error("cannot start " + program);
  m_pid = pid;
}

StartedProgram::~StartedProgram() {
  if (m_pid > 0) Wait();
}

ProgramResult StartedProgram::Wait() {
  int status = 0;
  ::waitpid(m_pid, &status, 0);
  m_pid = -1;
  ProgramResult result;
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  auto out = ReadBytes(m_outputs / "out");
  auto err = ReadBytes(m_outputs / "err");
  result.out.assign(out.begin(), out.end());
  result.err.assign(err.begin(), err.end());
  return result;
}

void WriteRecordingProgram(const std::string& path, const std::string& record, bool withName) {
  WriteText(path, std::string("#!/bin/sh\n{ ") + (withName ? "printf '%s\\n' \"$0\"; " : "") +
                      "for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > '" + record + ".tmp' && mv '" + record +
                      ".tmp' '" + record + "'\n");
  ::chmod(path.c_str(), 0755);
}

std::vector<std::string> TakeRecordedLines(const std::string& record) {
  for (int i = 0; i < 500 && ::access(record.c_str(), F_OK) != 0; ++i) ::usleep(20000);
  std::vector<std::string> lines;
  std::ifstream in(record);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  std::remove(record.c_str());
  return lines;
}

ScopedCurrentDir::ScopedCurrentDir(const std::string& dir) : m_old(CurrentDirectory()) {
  if (!ChangeDirectory(dir)) throw std::runtime_error("cannot enter " + dir);
}

ScopedCurrentDir::~ScopedCurrentDir() { ChangeDirectory(m_old); }

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : m_name(name) {
  if (const char* old = std::getenv(name)) m_old = old;
  ::setenv(name, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
  if (m_old)
    ::setenv(m_name.c_str(), m_old->c_str(), 1);
  else
    ::unsetenv(m_name.c_str());
}

}  // namespace jb::test
