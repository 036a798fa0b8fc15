#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <new>
#include <numeric>
#include <stdexcept>

#include "TestSupport.h"
#include "catalogue/CCatalogue.h"
#include "resources/CResourceArray.h"
#include "resources/CreateResource.h"
#include "scan/CScanThread.h"
#include "types/BuiltinTypes.h"
#include "types/CResourceTypeArray.h"

namespace jb {
namespace {

using Message = test::RecordingTarget::Message;
using Rows = std::vector<std::vector<std::string>>;

class ScanThreadTest : public ::testing::Test {
 protected:
  ScanThreadTest() { types.SetDefaults(); }

  void AddFolder(const std::string& path, std::uint8_t flags = CResource::kSubDirectories | CResource::kHidden,
                 StringList excluded = {}) {
    auto r = CreateResource(types.FindById(kFolderTypeId));
    r->m_strPath = path;
    r->m_nFlags = flags;
    static_cast<CDirResource&>(*r).m_aExcludedExts = std::move(excluded);
    resources.Add(std::move(r));
  }
  void AddFiles(size_t count) {
    for (size_t i = 0; i < count; ++i)
      test::WriteText(dir / ("song" + std::to_string(10000 + i) + ".mp3"), i % 2 ? "short" : std::string(200, 'x'));
    AddFolder(dir.Path());
  }

  // One scan on threads: every stored detail of every entry in catalogue
  // order, and the messages; fails the test when the scan ended early.
  std::pair<Rows, std::vector<Message>> Scan(unsigned threads, std::string error = "") {
    test::RecordingTarget target;
    CCatalogue catalogue;
    catalogue.Add(std::make_unique<CCatalogueEntry>("/stale.mp3"));  // a scan starts afresh
    CScanThread scan(target, resources, catalogue, types, threads);
    scan.Run();
    EXPECT_EQ(scan.GetError(), error) << threads << " threads";
    Rows rows;
    for (size_t i = 0; i < catalogue.GetSize(); ++i) {
      const CCatalogueEntry& e = *catalogue.GetAt(i);
      rows.push_back({e.GetPath(), std::to_string(e.m_nIcon)});
      rows.back().insert(rows.back().end(), e.m_aNames.begin(), e.m_aNames.end());
      rows.back().insert(rows.back().end(), e.m_aPaths.begin(), e.m_aPaths.end());
      for (auto k : e.m_aKinds) rows.back().push_back(std::to_string(KindByte(k)));
    }
    return {rows, target.Messages()};
  }
  static std::vector<long> Ticks(const std::vector<Message>& messages) {
    std::vector<long> ticks;
    for (const Message& m : messages)
      if (m.message == WM_SCAN_PROGRESS) ticks.push_back(m.lParam);
    return ticks;
  }

  test::TempDir dir;
  CResourceTypeArray types;
  CResourceArray resources;
};

// Each tick once, sent (the scan waits for the window), and one posted done
// at the end; no entries, no ticks. Several description threads give the
// same scan, ticks included.
TEST_F(ScanThreadTest, TicksAreSentOncePerStepBeforeOneDoneOnAnyNumberOfThreads) {
  EXPECT_EQ(Scan(1), (std::pair{Rows{}, std::vector<Message>{{WM_SCAN_DONE, 0, false}}}));
  std::vector<long> all(120);
  std::iota(all.begin(), all.end(), 0);
  for (auto [files, ticks] : {std::pair{3, std::vector<long>{0, 40, 80}}, {500, all}}) {
    AddFiles(files);
    const auto one = Scan(1);
    EXPECT_EQ(one.first.size(), size_t(files));
    EXPECT_EQ(Ticks(one.second), ticks);
    EXPECT_TRUE(one.second.front().sent);
    EXPECT_EQ(std::count(one.second.begin(), one.second.end(), Message{WM_SCAN_DONE, 0, false}), 1);
    EXPECT_EQ(one.second.back(), (Message{WM_SCAN_DONE, 0, false}));
    for (unsigned threads : {2u, 8u}) EXPECT_EQ(Scan(threads), one) << files << " files, " << threads << " threads";
    resources.RemoveAll();
  }
}

// A collection where the walk's order decides what is collected: a link
// loop back to the top, an alias reached before the folder it names (so the
// alias's paths are the ones collected), a folder cloaked by its own path
// but not by the alias's, hidden names, an extension excluded by one
// resource and a directory resource inside another. Every thread count
// collects, describes and ticks as one thread does.
TEST_F(ScanThreadTest, SeveralThreadsWalkAsOneThreadWhereTheOrderMatters) {
  auto make = [this](const std::string& relative, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(dir / relative).parent_path());
    test::WriteText(dir / relative, text);
  };
  const std::string tag = std::string(200, 'x') + "TAG" + std::string(125, 'a');
  for (int a = 0; a < 12; ++a)
    for (int b = 0; b < 4; ++b) {
      std::string folder = "A" + std::to_string(a) + "/B" + std::to_string(b) + "/";
      make(folder + "t.mp3", tag);
      make(folder + "u.Mp3", "short");
      make(folder + ".h.mp3", tag);
      make(folder + "l.M3U", "t.mp3\n../B0/t.mp3\n");
      make(folder + ".hidden/v.mp3", tag);
    }
  ASSERT_EQ(::symlink("../..", (dir / "A0/B0/up").c_str()), 0);
  // Deep, so that helpers reach A7 by its own path first.
  make("A3/B3/deep/er/w.mp3", tag);
  ASSERT_EQ(::symlink("../../../../A7", (dir / "A3/B3/deep/er/alias").c_str()), 0);

  // Everything, no hidden names, play-lists excluded, the top folder only.
  const std::pair<std::uint8_t, StringList> cases[] = {{CResource::kSubDirectories | CResource::kHidden, {}},
                                                       {CResource::kSubDirectories, {}},
                                                       {CResource::kSubDirectories | CResource::kHidden, {"m3u"}},
                                                       {CResource::kHidden, {}}};
  for (const auto& [flags, excluded] : cases) {
    SCOPED_TRACE(testing::Message() << "flags " << int(flags) << ", " << excluded.size() << " excluded");
    resources.RemoveAll();
    AddFolder(dir.Path(), flags, excluded);
    AddFolder(dir / "A7/B1", CResource::kCloak | CResource::kSubDirectories);
    AddFolder(dir / "A5", CResource::kSubDirectories, {"mp3"});
    const auto one = Scan(1);
    ASSERT_FALSE(one.first.empty());
    const bool viaAlias = std::any_of(one.first.begin(), one.first.end(), [&](const std::vector<std::string>& row) {
      return row[0] == dir / "A3/B3/deep/er/alias/B1/t.mp3";
    });
    EXPECT_EQ(viaAlias, (flags & CResource::kSubDirectories) != 0);
    for (unsigned threads : {2u, 16u}) EXPECT_EQ(Scan(threads), one) << threads << " threads";
  }
}

// Claims ".bad" files and fails to describe every one of them.
struct ThrowingType : CResourceType {
  void GetExtensions(StringList& extensions) const override { extensions = {"bad"}; }
  bool MatchesExtension(std::string_view extension) const override { return extension == "bad"; }
  void Describe(const std::string&, std::uint8_t&, StringList& names, KindList&, StringList&) const override {
    names.push_back("half");
    throw std::bad_alloc();
  }
};

// A resource whose walk fails.
struct ThrowingResource : CResource {
  void CollectFiles(const CResourceTypeArray&, const CSkipList&, CFoundFiles&) const override {
    throw std::runtime_error("walk failed");
  }
};

TEST_F(ScanThreadTest, AFileThatCannotBeDescribedIsSkippedAndAFailingScanStillEnds) {
  types.Add(std::make_unique<ThrowingType>());
  for (int i = 0; i < 150; ++i) test::WriteText(dir / ("x" + std::to_string(i) + ".bad"), "");
  AddFiles(150);
  for (unsigned threads : {1u, 4u}) {
    const auto [rows, messages] = Scan(threads);
    ASSERT_EQ(rows.size(), 300u);
    for (const auto& row : rows) EXPECT_EQ(row.size() == 2, row[0].ends_with(".bad")) << row[0];
    EXPECT_EQ(Ticks(messages).size(), 120u);
    EXPECT_EQ(messages.back(), (Message{WM_SCAN_DONE, 0, false}));
  }
  resources.Add(std::make_unique<ThrowingResource>());
  EXPECT_EQ(Scan(4, "walk failed").second, (std::vector<Message>{{WM_SCAN_DONE, 0, false}}));
}

}  // namespace
}  // namespace jb
