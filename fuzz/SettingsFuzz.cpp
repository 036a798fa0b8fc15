// The per-user settings file from anywhere: every value read is trimmed and
// on one line. Storing a setting into the file either fails with a reason
// or reads back as stored; in a file of plain text (printable ASCII, tabs
// and line ends) every other setting stays as it was. Garbage elsewhere is
// read by GLib and by the reader each in its own way.
#include <algorithm>
#include <optional>

#include "FuzzSupport.h"
#include "platform/UserSettings.h"

using namespace jb;

namespace {

// The keys the program reads, and one more.
const char* const kKeys[] = {"InstallDir", "PlayCommand", "EnqueueCommand", "Other"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteScratch("Jukebar.conf", fuzz::Bytes(data, data + size));
  const UserSettings before(path);
  for (const char* key : kKeys)
    if (std::optional<std::string> value = before.Get(key))
      fuzz::Require(value->find('\n') == std::string::npos &&
                        (value->empty() || (value->find_first_not_of(" \t\r") == 0 &&
                                            value->find_last_not_of(" \t\r") == value->size() - 1)),
                    "a value is trimmed and on one line");

  const std::string stored = "/opt/player/bin/play --enqueue";
  std::string error;
  if (!UserSettings::Store(path, "PlayCommand", stored, error)) {
    fuzz::Require(!error.empty(), "a failed store gives its reason");
    return 0;
  }
  const UserSettings after(path);
  fuzz::Require(after.Get("PlayCommand") == stored, "a stored setting reads back");
  const auto plain = [](std::uint8_t b) { return (b >= 0x20 && b < 0x7F) || b == '\t' || b == '\n'; };
  if (!std::all_of(data, data + size, plain)) return 0;
  for (const char* key : kKeys)
    if (std::string(key) != "PlayCommand")
      fuzz::Require(after.Get(key) == before.Get(key), "storing one setting keeps the others");
  return 0;
}
