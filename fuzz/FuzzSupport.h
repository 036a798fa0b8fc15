#pragma once
// What the fuzz targets share: a scratch folder for readers that take a
// path, a prompt that records what the program shows, and a check that stops
// the run (so libFuzzer keeps the input) when a reader breaks a promise.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Prompt.h"

namespace jb {
class CArchive;
class CCatalogueEntry;
class CQvSprite;
}

namespace jb::fuzz {

using Bytes = std::vector<std::uint8_t>;

// A folder of this process's own, in memory where the system offers it (the
// round trips save with fsync), removed when the process exits.
const std::string& ScratchDir();
// ScratchDir()/name.
std::string ScratchPath(const std::string& name);
// Writes the bytes to ScratchDir()/name and gives the path.
std::string WriteScratch(const std::string& name, const Bytes& bytes);
void WriteFileBytes(const std::string& path, const Bytes& bytes);
Bytes ReadFileBytes(const std::string& path);

// Reads the bytes through an archive; false when the reader raised the
// format error.
bool LoadBytes(const Bytes& bytes, const std::function<void(CArchive&)>& read);

// An uncompressed 24-bit bitmap file of the picture, bottom-up, with the
// 54-byte header; the pictures' alpha is left out.
Bytes BitmapBytes(const CQvSprite& picture);

// Describes the file at path the way a scan does, with the default types,
// and requires that the description survives the environment file: stored
// and read back, the entry is the same.
CCatalogueEntry DescribeAsScan(const std::string& path);

class RecordingPrompt : public IPrompt {
 public:
  void ShowMessage(int stringId, const std::string&) override { messages.push_back(stringId); }
  void ShowText(const std::string&) override {}
  Answer AskYesNoCancel(const std::string&) override { return Answer::No; }
  std::optional<std::string> ChooseOpenFile(const FileDialogOptions&) override { return std::nullopt; }
  std::optional<std::string> ChooseSaveFile(const FileDialogOptions&) override { return std::nullopt; }

  std::vector<int> messages;
};

// Aborts with what when ok is false.
void Require(bool ok, const char* what);

}  // namespace jb::fuzz
