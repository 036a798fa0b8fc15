// "Jukebar.skn" from anywhere: it loads, or shows message 2 and keeps the
// pictures the skin had. What loads saves and loads back unchanged.
#include "FuzzSupport.h"
#include "skin/SkinSet.h"
#include "strings/StringTable.h"

using namespace jb;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteScratch("in.skn", fuzz::Bytes(data, data + size));
  fuzz::RecordingPrompt prompt;
  SkinSet skin;
  skin.Frame(0).CreateBitmap(7, 3);
  if (!skin.Load(prompt, path)) {
    fuzz::Require(prompt.messages == std::vector<int>{ids::BadSkinFormat}, "a bad skin shows message 2 alone");
    fuzz::Require(skin.Frame(0).GetWidth() == 7 && skin.Frame(0).GetHeight() == 3, "a bad skin keeps the old pictures");
    return 0;
  }
  fuzz::Require(prompt.messages.empty(), "a skin that loads shows nothing");
  const std::string saved = fuzz::ScratchPath("out.skn");
  fuzz::Require(skin.Save(saved), "a loaded skin saves");
  const fuzz::Bytes first = fuzz::ReadFileBytes(saved);
  SkinSet again;
  fuzz::Require(again.Load(prompt, saved) && again.Save(saved), "a saved skin loads and saves");
  fuzz::Require(fuzz::ReadFileBytes(saved) == first, "a saved skin round-trips byte for byte");
  return 0;
}
