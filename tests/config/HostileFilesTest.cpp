// Stored files come from anywhere: every mutation of a good file must load
// or be refused with the reader's message, never crash or run away.
#include <gtest/gtest.h>

#include <random>

#include "TestSupport.h"
#include "config/CConfig.h"
#include "config/CEnvironment.h"
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

TEST(HostileFilesTest, MutatedEnvironmentsLoadOrAreRefused) {
  test::TempDir dir;
  test::RecordingPrompt prompt;
  CResourceTypeArray types;
  types.SetDefaults();
  CEnvironment env(prompt, types);
  for (const char* name : {"a.mp3", "b.m3u"}) {
    auto r = std::unique_ptr<CResource>(types.FindById(kFolderTypeId)->CreateResource());
    r->m_strPath = dir / name;
    env.Resources().Add(std::move(r));
  }
  auto entry = std::make_unique<CCatalogueEntry>("/m/a.mp3");
  entry->m_aNames = {"Artist", "Album", "Title"};
  entry->m_aKinds = {Artist, Album, File};
  entry->m_aPaths = {"/m/a.mp3"};
  env.Add(std::move(entry));
  std::string path = dir / "good.jbe";
  ASSERT_TRUE(env.SaveAs(path));
  const std::vector<std::uint8_t> good = test::ReadBytes(path);

  std::mt19937 random(1234);
  for (int i = 0; i < 3000; ++i) {
    test::WriteBytes(path, Mutate(good, random));
    prompt.messages.clear();
    CEnvironment loaded(prompt, types);
    ASSERT_TRUE(loaded.Load(path));
    if (!prompt.messages.empty()) {
      EXPECT_EQ(prompt.messages, std::vector<int>{19});
      EXPECT_EQ(loaded.GetSize(), 0u);
      EXPECT_EQ(loaded.Resources().GetSize(), 0u);
    }
    while (types.GetSize() > 3) types.RemoveAt(3);  // types relinking may have made
  }
}

TEST(HostileFilesTest, MutatedConfigurationsLoadOrFallBackToDefaults) {
  test::TempDir dir;
  test::RecordingPrompt prompt;
  CConfig config(prompt);
  config.resourceTypes.Add(std::make_unique<CUserType>("Midi", StringList{"mid", "rmi"}));
  config.environmentPath = "/home/me/music.jbe";
  std::string path = dir / "Jukebar.cfg";
  ASSERT_TRUE(config.Save(path));
  const std::vector<std::uint8_t> good = test::ReadBytes(path);

  std::mt19937 random(99);
  for (int i = 0; i < 3000; ++i) {
    test::WriteBytes(path, Mutate(good, random));
    prompt.messages.clear();
    CConfig loaded(prompt);
    loaded.Load(path);
    if (!prompt.messages.empty()) {
      EXPECT_EQ(prompt.messages, std::vector<int>{5});
      EXPECT_EQ(loaded.resourceTypes.GetSize(), 3u);
      EXPECT_EQ(loaded.environmentPath, "");
    }
  }
}

}  // namespace
}  // namespace jb
