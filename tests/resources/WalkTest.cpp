#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "TestSupport.h"
#include "catalogue/CCatalogue.h"
#include "resources/CResourceArray.h"
#include "resources/CollectFiles.h"
#include "resources/CreateResource.h"
#include "types/BuiltinTypes.h"
#include "types/CResourceTypeArray.h"

namespace jb {
namespace {

class WalkTest : public ::testing::Test {
 protected:
  WalkTest() { types.SetDefaults(); }

  // Creates the file (and its folders) below the test folder.
  std::string Make(const std::string& relative) {
    std::string path = dir / relative;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    test::WriteText(path, "x");
    return path;
  }
  CResource* Add(CResourceType* type, const std::string& path, std::uint8_t flags) {
    auto r = CreateResource(type);
    r->m_strPath = path;
    r->m_nFlags = flags;
    return resources.GetAt(resources.Add(std::move(r)));
  }
  CDirResource* AddDir(const std::string& path, std::uint8_t flags = CResource::kSubDirectories | CResource::kHidden) {
    return static_cast<CDirResource*>(Add(types.FindById(kFolderTypeId), path, flags));
  }
  CResource* AddMp3(const std::string& path, std::uint8_t flags = 0) {
    return Add(types.FindByExtension("mp3"), path, flags);
  }

  // What the scan collects, as paths relative to the test folder.
  std::vector<std::string> Collect() {
    CSkipList skip;
    for (size_t i = 0; i < resources.GetSize(); ++i) resources.GetAt(i)->AddToSkipList(skip);
    CCatalogue catalogue;
    CFoundFiles found(catalogue);
    for (size_t i = 0; i < resources.GetSize(); ++i) resources.GetAt(i)->CollectFiles(types, skip, found);
    std::vector<std::string> paths;
    for (size_t i = 0; i < catalogue.GetSize(); ++i) {
      std::string p = catalogue.GetAt(i)->GetPath();
      paths.push_back(p.rfind(dir.Path() + "/", 0) == 0 ? p.substr(dir.Path().size() + 1) : p);
    }
    return paths;
  }

  test::TempDir dir;
  CResourceTypeArray types;
  CResourceArray resources;
};

TEST_F(WalkTest, OneDirectoryIsCollectedByTypeFromTheLastThenSubDirectories) {
  types.Add(std::make_unique<CUserType>("Midi", StringList{"mid", "RMI"}));
  for (const char* name :
       {"b.mp3", "a.MP3", "c.m3u", "d.rmi", "e.mid", "f.txt", "noext", "sub/z.mp3", "sub/deeper/y.mid", "a-sub/x.m3u"})
    Make(name);
  AddDir(dir.Path());
  EXPECT_EQ(Collect(), (std::vector<std::string>{"d.rmi", "e.mid", "c.m3u", "a.MP3", "b.mp3", "a-sub/x.m3u",
                                                 "sub/z.mp3", "sub/deeper/y.mid"}));
}

TEST_F(WalkTest, ExtensionsClaimedTwiceOrOverlappingOfferAFileOnce) {
  types.Add(std::make_unique<CUserType>("Archives", StringList{"gz", "tar.gz"}));
  types.Add(std::make_unique<CUserType>("Mine", StringList{"MP3"}));
  for (const char* name : {"a.mp3", "b.tar.gz", "c.gz", "sub/d.mp3"}) Make(name);
  AddMp3(dir / "sub/d.mp3");
  AddDir(dir.Path());
  // Mine's mp3 first; then tar.gz, whose file gz offers again; the file
  // resource's own file is not collected twice by the walk.
  EXPECT_EQ(Collect(), (std::vector<std::string>{"sub/d.mp3", "a.mp3", "b.tar.gz", "c.gz"}));
}

// Trailing separators must not defeat the skip list.
TEST_F(WalkTest, ADirectoryResourceInsideAnotherIsWalkedOnlyByItsOwn) {
  for (const char* name : {"a.mp3", "inner/b.mp3", "inner/c.m3u", "inner/.h.m3u"}) Make(name);
  AddDir(dir.Path() + "/");
  CDirResource* inner = AddDir(dir / "inner/", CResource::kSubDirectories);  // no hidden files
  inner->m_aExcludedExts = {"MP3"};
  EXPECT_EQ(Collect(), (std::vector<std::string>{"a.mp3", "inner/c.m3u"}));
  inner->m_nFlags |= CResource::kCloak;  // walked by nobody
  EXPECT_EQ(Collect(), (std::vector<std::string>{"a.mp3"}));
}

TEST_F(WalkTest, LinkLoopsFifosAndUnreadableFoldersAreSurvived) {
  Make("music/a.mp3");
  Make("music/sub/b.mp3");
  for (auto [target, link] :
       {std::pair{"..", "sub/up"}, {"sub", "again"}, {"a.mp3", "link.mp3"}, {"nowhere.mp3", "dangling.mp3"}})
    ASSERT_EQ(::symlink(target, (dir / "music/" + link).c_str()), 0);
  ASSERT_EQ(::mkfifo((dir / "music/pipe.mp3").c_str(), 0644), 0);
  AddDir(dir / "music");
  AddDir(dir / "missing");
  // The link to a file is a file; "again" leads into "sub", walked once.
  EXPECT_EQ(Collect(), (std::vector<std::string>{"music/a.mp3", "music/link.mp3", "music/again/b.mp3"}));
}

TEST_F(WalkTest, NamesAreCollectedByteForByteInByteOrder) {
  for (const char* name : {"a b.mp3", "\"q\".mp3", "-lead.mp3", "line\nend.mp3", "\xff\xfe.mp3", "Case.mp3", "case.mp3",
                           "-d\n/x.mp3", "\xc3(/y.mp3"})
    Make(name);
  AddDir(dir.Path());
  EXPECT_EQ(Collect(), (std::vector<std::string>{"\"q\".mp3", "-lead.mp3", "Case.mp3", "a b.mp3", "case.mp3",
                                                 "line\nend.mp3", "\xff\xfe.mp3", "-d\n/x.mp3", "\xc3(/y.mp3"}));
}

}  // namespace
}  // namespace jb
