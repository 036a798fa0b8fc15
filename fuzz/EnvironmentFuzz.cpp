// Environment files from anywhere: a file loads, or shows message 19 and
// leaves an empty environment. What loads builds a tree and stores a body
// that reads back and stores again unchanged.
#include "FuzzSupport.h"
#include "environment/CEnvironment.h"
#include "storage/CArchive.h"
#include "strings/StringTable.h"
#include "treeview/TreeView.h"
#include "types/CResourceTypeArray.h"

using namespace jb;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteScratch("in.jbe", fuzz::Bytes(data, data + size));
  fuzz::RecordingPrompt prompt;
  CResourceTypeArray types;  // fresh each run: loading may add user types
  types.SetDefaults();
  CEnvironment env(prompt, types);
  fuzz::Require(env.Load(path), "loading a file replaces the environment");
  if (!prompt.messages.empty()) {
    fuzz::Require(prompt.messages == std::vector<int>{ids::BadEnvironmentFormat}, "a bad file shows message 19 alone");
    fuzz::Require(env.GetSize() == 0 && env.Resources().GetSize() == 0, "a bad file leaves an empty environment");
    return 0;
  }
  TreeView tree;
  tree.Rebuild(env, NodeIcons{});

  const fuzz::Bytes first = StoreArchiveBytes([&](CArchive& ar) { env.SerializeBody(ar); });
  CEnvironment again(prompt, types);
  fuzz::Require(fuzz::LoadBytes(first, [&](CArchive& ar) { again.SerializeBody(ar); }), "a stored body reads back");
  fuzz::Require(StoreArchiveBytes([&](CArchive& ar) { again.SerializeBody(ar); }) == first,
                "a stored body round-trips byte for byte");
  return 0;
}
