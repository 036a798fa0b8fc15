// "Jukebar.cfg" from anywhere: it loads, or shows message 5 and keeps the
// defaults. What loads saves to bytes that load and save back unchanged.
#include "FuzzSupport.h"
#include "config/CConfig.h"
#include "strings/StringTable.h"

using namespace jb;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteScratch("in.cfg", fuzz::Bytes(data, data + size));
  const std::string saved = fuzz::ScratchPath("out.cfg");
  {
    fuzz::RecordingPrompt prompt;
    CConfig config(prompt);
    config.Load(path);
    if (!prompt.messages.empty()) {
      fuzz::Require(prompt.messages == std::vector<int>{ids::BadConfigFormat}, "a bad file shows message 5 alone");
      fuzz::Require(config.resourceTypes.GetSize() == 3 && config.environmentPath.empty() && config.wheelLines == 8,
                    "a bad file leaves the defaults");
    } else {
      fuzz::Require(config.Save(saved), "a loaded configuration saves");
      const fuzz::Bytes first = fuzz::ReadFileBytes(saved);
      CConfig again(prompt);
      again.Load(saved);
      fuzz::Require(prompt.messages.empty() && again.Save(saved), "a saved configuration loads and saves");
      fuzz::Require(fuzz::ReadFileBytes(saved) == first, "a saved configuration round-trips byte for byte");
    }
  }
  fuzz::Require(g_pConfig == nullptr, "no configuration outlives the run");
  return 0;
}
