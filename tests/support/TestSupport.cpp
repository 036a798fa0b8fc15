#include "TestSupport.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "config/CArchive.h"
#include "platform/FileSystem.h"

namespace jb::test {

Answer RecordingPrompt::AskYesNoCancel(const std::string& text) {
  questions.push_back(text);
  if (answers.empty()) return Answer::Cancel;
  Answer a = answers.front();
  answers.pop_front();
  return a;
}

std::optional<std::string> RecordingPrompt::ChooseOpenFile(const FileDialogOptions& options) {
  dialogs.push_back(options);
  if (files.empty()) return std::nullopt;
  auto f = files.front();
  files.pop_front();
  return f;
}

std::optional<std::string> RecordingPrompt::ChooseSaveFile(const FileDialogOptions& options) {
  return ChooseOpenFile(options);
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
      std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ec);
  }
  std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(m_path, ec);
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

void WriteText(const std::string& path, const std::string& text) { WriteBytes(path, Bytes(text)); }

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

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

std::vector<std::uint8_t> Stored(const std::function<void(CArchive&)>& write) {
  CMemoryFile file;
  {
    CArchive ar(file, CArchive::store);
    write(ar);
    ar.Flush();
  }
  return file.Bytes();
}

}  // namespace jb::test
