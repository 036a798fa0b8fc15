// Stored files come from anywhere: every mutation of a good file must load
// or be refused with the reader's message, never crash or run away.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "TestSupport.h"
#include "config/CConfig.h"
#include "environment/CEnvironment.h"
#include "resources/CreateResource.h"
#include "types/BuiltinTypes.h"

namespace jb {
namespace {

std::vector<std::uint8_t> Mutate(std::vector<std::uint8_t> bytes, std::mt19937& random) {
  std::uniform_int_distribution<int> what(0, 3);
  int edits = 1 + static_cast<int>(random() % 4);
  for (int i = 0; i < edits && !bytes.empty(); ++i) {
    size_t at = random() % bytes.size();
    switch (what(random)) {
      case 0: bytes[at] = static_cast<std::uint8_t>(random()); break;
      case 1: bytes[at] = 0xFF; break;
      case 2: bytes.resize(at); break;
      default: bytes.insert(bytes.begin() + static_cast<long>(at), static_cast<std::uint8_t>(random())); break;
    }
  }
  return bytes;
}

// Writes 2000 mutations of good to path, calling load after each.
void ForEachMutation(const std::vector<std::uint8_t>& good, const std::string& path, unsigned seed,
                     const std::function<void()>& load) {
  std::mt19937 random(seed);
  for (int i = 0; i < 2000; ++i) {
    test::WriteBytes(path, Mutate(good, random));
    load();
  }
}

TEST(HostileFilesTest, MutatedFilesLoadOrAreRefusedWithTheirMessage) {
  test::TempDir dir;
  test::RecordingPrompt prompt;
  CConfig config(prompt);
  config.resourceTypes.Add(std::make_unique<CUserType>("Midi", StringList{"mid", "rmi"}));
  config.environmentPath = "/home/me/music.jbe";
  ASSERT_TRUE(config.Save(dir / "good.cfg"));

  CEnvironment env(prompt, config.resourceTypes);
  auto r = CreateResource(config.resourceTypes.FindById(kFolderTypeId));
  r->m_strPath = dir / "music";
  env.Resources().Add(std::move(r));
  auto entry = std::make_unique<CCatalogueEntry>("/m/a.mp3");
  entry->m_aNames = {"Artist", "Album", "Title"};
  entry->m_aKinds = {NodeKind::Artist, NodeKind::Album, NodeKind::File};
  entry->m_aPaths = {"/m/a.mp3"};
  env.Add(std::move(entry));
  ASSERT_TRUE(env.SaveAs(dir / "good.jbe"));

  std::string path = dir / "bad";
  ForEachMutation(test::ReadBytes(dir / "good.cfg"), path, 99, [&] {
    prompt.messages.clear();
    CConfig loaded(prompt);
    loaded.Load(path);
    if (prompt.messages.empty()) return;
    EXPECT_EQ(prompt.messages, std::vector<int>{ids::BadConfigFormat});
    EXPECT_EQ(loaded.resourceTypes.GetSize(), 3u);
    EXPECT_EQ(loaded.environmentPath, "");
  });
  CResourceTypeArray types;
  types.SetDefaults();
  ForEachMutation(test::ReadBytes(dir / "good.jbe"), path, 1234, [&] {
    prompt.messages.clear();
    CEnvironment loaded(prompt, types);
    ASSERT_TRUE(loaded.Load(path));
    if (!prompt.messages.empty()) {
      EXPECT_EQ(prompt.messages, std::vector<int>{ids::BadEnvironmentFormat});
      EXPECT_EQ(loaded.GetSize() + loaded.Resources().GetSize(), 0u);
    }
    while (types.GetSize() > 3) types.RemoveAt(3);  // what relinking made
  });
}

}  // namespace
}  // namespace jb
