#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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
    for (size_t at = path.find('/', dir.Path().size() + 1); at != std::string::npos; at = path.find('/', at + 1))
      ::mkdir(path.substr(0, at).c_str(), 0755);
    test::WriteText(path, "x");
    return path;
  }
  std::string MakeDir(const std::string& relative) {
    std::string path = dir / relative;
    ::mkdir(path.c_str(), 0755);
    return path;
  }

  CDirResource* AddDir(const std::string& path, std::uint8_t flags = CResource::kSubDirectories | CResource::kHidden) {
    auto r = CreateResource(types.FindById(kFolderTypeId));
    r->m_strPath = path;
    r->m_nFlags = flags;
    auto* raw = static_cast<CDirResource*>(r.get());
    resources.Add(std::move(r));
    return raw;
  }
  CResource* AddFileResource(const std::string& path, std::uint8_t flags = 0) {
    auto r = std::make_unique<CFileResource>(types.FindByExtension(std::string(ExtensionOfName(path))));
    r->m_strPath = path;
    r->m_nFlags = flags;
    CResource* raw = r.get();
    resources.Add(std::move(r));
    return raw;
  }
  static std::string_view ExtensionOfName(std::string_view path) { return path.substr(path.rfind('.') + 1); }

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
  auto earlier = std::make_unique<CFileResource>();
  earlier->m_strPath = dir / "sub/d.mp3";
  resources.Add(std::move(earlier));
  AddDir(dir.Path());
  // Mine's mp3 first; then tar.gz, whose file gz offers again; the file
  // resource's own file is not collected twice by the walk.
  EXPECT_EQ(Collect(), (std::vector<std::string>{"sub/d.mp3", "a.mp3", "b.tar.gz", "c.gz"}));
}

TEST_F(WalkTest, HiddenFilesAndSubDirectoriesFollowTheFlags) {
  Make("top.mp3");
  Make(".hidden.mp3");
  Make(".secret/in.mp3");
  Make("sub/s.mp3");
  CDirResource* d = AddDir(dir.Path());
  EXPECT_EQ(Collect(), (std::vector<std::string>{".hidden.mp3", "top.mp3", ".secret/in.mp3", "sub/s.mp3"}));
  d->m_nFlags = CResource::kSubDirectories;
  EXPECT_EQ(Collect(), (std::vector<std::string>{"top.mp3", "sub/s.mp3"}));
  d->m_nFlags = 0;
  EXPECT_EQ(Collect(), (std::vector<std::string>{"top.mp3"}));
}

TEST_F(WalkTest, ADirectoryResourceInsideAnotherIsWalkedOnlyByItsOwn) {
  Make("a.mp3");
  Make("inner/b.mp3");
  Make("inner/c.m3u");
  Make("inner/.h.m3u");
  AddDir(dir.Path());
  CDirResource* inner = AddDir(dir / "inner", CResource::kSubDirectories);  // no hidden files
  inner->m_aExcludedExts = {"MP3"};
  EXPECT_EQ(Collect(), (std::vector<std::string>{"a.mp3", "inner/c.m3u"}));

  // Cloaked, it is walked by nobody.
  inner->m_nFlags |= CResource::kCloak;
  EXPECT_EQ(Collect(), (std::vector<std::string>{"a.mp3"}));
}

TEST_F(WalkTest, CloakedAndRepeatedFiles) {
  std::string kept = Make("keep.mp3");
  std::string cloaked = Make("hide.mp3");
  AddFileResource(kept);
  AddDir(dir.Path());
  AddFileResource(cloaked, CResource::kCloak);
  AddFileResource(dir / "gone.mp3");  // never checked for existence
  EXPECT_EQ(Collect(), (std::vector<std::string>{"keep.mp3", "gone.mp3"}));
}

TEST_F(WalkTest, ATrailingSeparatorDoesNotDefeatTheSkipList) {
  Make("a.mp3");
  Make("inner/b.mp3");
  AddDir(dir.Path() + "/");
  AddDir(dir / "inner/", CResource::kCloak | CResource::kSubDirectories);
  EXPECT_EQ(Collect(), (std::vector<std::string>{"a.mp3"}));
}

TEST_F(WalkTest, LinkLoopsFifosAndUnreadableFoldersAreSurvived) {
  Make("music/a.mp3");
  Make("music/sub/b.mp3");
  ASSERT_EQ(::symlink("..", (dir / "music/sub/up").c_str()), 0);
  ASSERT_EQ(::symlink("sub", (dir / "music/again").c_str()), 0);
  ASSERT_EQ(::symlink("a.mp3", (dir / "music/link.mp3").c_str()), 0);
  ASSERT_EQ(::symlink("nowhere.mp3", (dir / "music/dangling.mp3").c_str()), 0);
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

TEST_F(WalkTest, RefreshAndRelinkFollowTheTypes) {
  auto avi = std::make_unique<CUserType>("Videos", StringList{"avi"});
  CUserType* videos = avi.get();
  types.Add(std::move(avi));
  CDirResource* d = AddDir(dir.Path());
  d->m_aExcludedExts = {"avi", "mp3", "xyz"};
  d->Refresh(types);
  EXPECT_EQ(d->m_aExcludedExts, (StringList{"avi", "mp3"}));

  auto file = std::make_unique<CFileResource>();
  file->m_strPath = "/films/clip.avi";
  CResource* clip = file.get();
  resources.Add(std::move(file));
  resources.RelinkTypes(types);
  EXPECT_EQ(clip->m_pType, videos);

  // The type is deleted: relinking makes one named after the extension, and
  // the exclusion it backed goes.
  for (size_t i = 0; i < types.GetSize(); ++i)
    if (types.GetAt(i) == videos) types.RemoveAt(i);
  clip->m_pType = nullptr;
  resources.RelinkTypes(types);
  ASSERT_NE(clip->m_pType, nullptr);
  EXPECT_EQ(clip->m_pType->GetName(), "User's \".avi\" type.");
  StringList exts;
  clip->m_pType->GetExtensions(exts);
  EXPECT_EQ(exts, StringList{"avi"});
  EXPECT_EQ(clip->GetTypeId(), kUserTypeId);
  EXPECT_EQ(d->m_aExcludedExts, (StringList{"avi", "mp3"}));  // the new type claims avi again
}

}  // namespace
}  // namespace jb
