#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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

// Every stored detail of every entry, in catalogue order.
std::vector<std::vector<std::string>> Rows(const CCatalogue& catalogue) {
  std::vector<std::vector<std::string>> rows;
  for (size_t i = 0; i < catalogue.GetSize(); ++i) {
    const CCatalogueEntry& e = *catalogue.GetAt(i);
    std::vector<std::string> row = {e.GetPath(), std::to_string(e.m_nIcon)};
    row.insert(row.end(), e.m_aNames.begin(), e.m_aNames.end());
    row.insert(row.end(), e.m_aPaths.begin(), e.m_aPaths.end());
    for (auto k : e.m_aKinds) row.push_back(std::to_string(KindByte(k)));
    rows.push_back(row);
  }
  return rows;
}

class ScanThreadTest : public ::testing::Test {
 protected:
  ScanThreadTest() { types.SetDefaults(); }

  void AddFiles(size_t count) {
    for (size_t i = 0; i < count; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "/song%05zu.mp3", i);
      test::WriteText(dir.Path() + name, i % 2 ? "short" : std::string(200, 'x'));
    }
    auto r = CreateResource(types.FindById(kFolderTypeId));
    r->m_strPath = dir.Path();
    resources.Add(std::move(r));
  }

  // One scan into catalogue, its messages to target; what ended it early.
  std::string Scan(unsigned threads, CCatalogue& into, test::RecordingTarget& target) {
    CScanThread scan(target, resources, into, types, threads);
    if (!scan.Start()) return "not started";
    scan.Join();
    return scan.GetError();
  }
  void Scan(unsigned threads) { EXPECT_EQ(Scan(threads, catalogue, window), ""); }

  test::TempDir dir;
  CResourceTypeArray types;
  CResourceArray resources;
  CCatalogue catalogue;
  test::RecordingTarget window;
};

// Each tick once, sent (the scan waits for the window), and one posted done
// at the end; no entries, no ticks. Several description threads give the
// same scan, ticks included.
TEST_F(ScanThreadTest, TicksAreSentOncePerStepBeforeOneDoneOnAnyNumberOfThreads) {
  catalogue.Add(std::make_unique<CCatalogueEntry>("/stale.mp3"));
  Scan(1);
  EXPECT_EQ(catalogue.GetSize(), 0u);
  EXPECT_EQ(window.Messages(), (std::vector<test::RecordingTarget::Message>{{WM_SCAN_DONE, 0, false}}));
  std::vector<long> all(120);
  std::iota(all.begin(), all.end(), 0);
  for (auto [files, ticks] : {std::pair{3, std::vector<long>{0, 40, 80}}, {500, all}}) {
    AddFiles(files);
    CCatalogue one;
    for (unsigned threads : {1u, 2u, 8u}) {
      SCOPED_TRACE(testing::Message() << files << " files, " << threads << " threads");
      test::RecordingTarget target;
      CCatalogue scanned;
      EXPECT_EQ(Scan(threads, threads == 1 ? one : scanned, target), "");
      EXPECT_EQ(target.Ticks(), ticks);
      auto messages = target.Messages();
      EXPECT_TRUE(messages.front().sent);
      EXPECT_EQ(messages.back(), (test::RecordingTarget::Message{WM_SCAN_DONE, 0, false}));
      EXPECT_EQ(target.Count(WM_SCAN_DONE), 1);
      if (threads > 1) {
        EXPECT_EQ(Rows(scanned), Rows(one));
      }
    }
    EXPECT_EQ(one.GetSize(), static_cast<size_t>(files));
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
    std::string path = dir / relative;
    for (size_t at = path.find('/', dir.Path().size() + 1); at != std::string::npos; at = path.find('/', at + 1))
      ::mkdir(path.substr(0, at).c_str(), 0755);
    test::WriteText(path, text);
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

  struct Case {
    const char* name;
    std::uint8_t flags;
    StringList excluded;
  };
  const Case cases[] = {
      {"everything", CResource::kSubDirectories | CResource::kHidden, {}},
      {"no hidden names", CResource::kSubDirectories, {}},
      {"play-lists excluded", CResource::kSubDirectories | CResource::kHidden, {"m3u"}},
      {"top folder only", CResource::kHidden, {}},
  };
  for (const Case& c : cases) {
    resources.RemoveAll();
    auto add = [&](const std::string& path, std::uint8_t flags, StringList excluded) {
      auto r = CreateResource(types.FindById(kFolderTypeId));
      r->m_strPath = path;
      r->m_nFlags = flags;
      static_cast<CDirResource&>(*r).m_aExcludedExts = std::move(excluded);
      resources.Add(std::move(r));
    };
    add(dir.Path(), c.flags, c.excluded);
    add(dir / "A7/B1", CResource::kCloak | CResource::kSubDirectories, {});
    add(dir / "A5", CResource::kSubDirectories, {"mp3"});

    CCatalogue one;
    test::RecordingTarget oneTarget;
    ASSERT_EQ(Scan(1, one, oneTarget), "") << c.name;
    const auto expected = Rows(one);
    ASSERT_FALSE(expected.empty()) << c.name;
    if (c.flags & CResource::kSubDirectories) {
      auto viaAlias = [&](const std::vector<std::string>& row) {
        return row[0] == dir / "A3/B3/deep/er/alias/B1/t.mp3";
      };
      EXPECT_TRUE(std::any_of(expected.begin(), expected.end(), viaAlias)) << c.name;
    }
    for (unsigned threads : {2u, 16u}) {
      CCatalogue again;
      test::RecordingTarget target;
      EXPECT_EQ(Scan(threads, again, target), "");
      EXPECT_EQ(Rows(again), expected) << c.name << ", " << threads << " threads";
      EXPECT_EQ(target.Ticks(), oneTarget.Ticks()) << c.name << ", " << threads << " threads";
    }
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
    test::RecordingTarget target;
    CCatalogue scanned;
    EXPECT_EQ(Scan(threads, scanned, target), "");
    ASSERT_EQ(scanned.GetSize(), 300u);
    for (size_t i = 0; i < scanned.GetSize(); ++i) {
      const CCatalogueEntry& e = *scanned.GetAt(i);
      EXPECT_EQ(e.m_aNames.empty(), e.GetExtension() == "bad") << e.GetPath();
    }
    EXPECT_EQ(target.Ticks().size(), 120u);
    EXPECT_EQ(target.Count(WM_SCAN_DONE), 1);
  }

  resources.Add(std::make_unique<ThrowingResource>());
  EXPECT_EQ(Scan(4, catalogue, window), "walk failed");
  EXPECT_EQ(window.Messages(), (std::vector<test::RecordingTarget::Message>{{WM_SCAN_DONE, 0, false}}));
}

}  // namespace
}  // namespace jb
