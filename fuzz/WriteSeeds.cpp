// Writes the fuzz targets' seed corpora: valid files made by the program's
// own writers, one folder per target. Usage: fuzz_seeds DIR
#include <cstdio>
#include <filesystem>

#include "FuzzSupport.h"
#include "config/CConfig.h"
#include "environment/CEnvironment.h"
#include "platform/UserSettings.h"
#include "resources/CreateResource.h"
#include "skin/SkinSet.h"
#include "sprites/CQvSpriteArray.h"
#include "storage/CArchive.h"
#include "types/BuiltinTypes.h"

using namespace jb;

namespace {

void ConfigSeeds(const std::string& dir) {
  fuzz::RecordingPrompt prompt;
  CConfig config(prompt);
  fuzz::Require(config.Save(dir + "/defaults.cfg"), "the default configuration saves");
  config.resourceTypes.Add(std::make_unique<CUserType>("Midi", StringList{"mid", "rmi"}, 1));
  config.environmentPath = "/home/me/Music/rock.jbe";
  config.backgroundImagePath = "/home/me/paper.bmp";
  config.optionFlags |= CConfig::kBackgroundImage;
  config.placementFlags = CConfig::kAlignRight | CConfig::kAlignBottom | CConfig::kSmallForm;
  fuzz::Require(config.Save(dir + "/custom.cfg"), "a custom configuration saves");
}

std::unique_ptr<CCatalogueEntry> Entry(const std::string& path, StringList names, KindList kinds, StringList paths) {
  auto entry = std::make_unique<CCatalogueEntry>(path);
  entry->m_aNames = std::move(names);
  entry->m_aKinds = std::move(kinds);
  entry->m_aPaths = std::move(paths);
  return entry;
}

void EnvironmentSeeds(const std::string& dir) {
  fuzz::RecordingPrompt prompt;
  CResourceTypeArray types;
  types.SetDefaults();
  CEnvironment env(prompt, types);
  fuzz::Require(env.SaveAs(dir + "/empty.jbe"), "an empty environment saves");
  for (auto [id, path] : {std::pair{kFolderTypeId, "/home/me/Music"},
                          {kMpegAudioTypeId, "/m/single.mp3"},
                          {kPlayListTypeId, "/m/Party.m3u"}}) {
    auto resource = CreateResource(types.FindById(id));
    resource->m_strPath = path;
    env.Resources().Add(std::move(resource));
  }
  auto user = std::make_unique<CFileResource>();
  user->m_strPath = "/m/tune.mid";
  user->m_nFlags = CResource::kCloak;
  env.Resources().Add(std::move(user));
  env.Add(Entry("/m/a.mp3", {"Artist", "Album", "Title"}, {NodeKind::Artist, NodeKind::Album, NodeKind::File},
                {"/m/a.mp3"}));
  env.Add(Entry("/m/Party.m3u", {"Party", "One", "Two"}, {NodeKind::PlayList, NodeKind::File, NodeKind::File},
                {"/m/1.mp3", "/m/2.mp3"}));
  env.Add(Entry("/m/tune.mid", {"Midi files", "/m/", "tune"}, {NodeKind::UserType, NodeKind::Folder, NodeKind::File},
                {"/m/tune.mid"}));
  fuzz::Require(env.SaveAs(dir + "/full.jbe"), "a full environment saves");
}

void SkinSeeds(const std::string& dir) {
  SkinSet skin;  // pictures left out stay empty, which a skin may hold
  for (int i = 0; i < SkinSet::kFrameCount; i += 2) skin.Frame(i).CreateBitmap(2, 2);
  for (CQvSprite* s : {&skin.MutableProgressFull(), &skin.MutableScrollThumb(), &skin.SplashPicture()})
    s->CreateBitmap(3, 1);
  CQvSprite icon;
  icon.CreateBitmap(1, 2);
  skin.MutableIcons().Add(icon);
  for (int b = 'a'; b <= 'c'; ++b) skin.MutableGlyph(std::uint8_t(b)).CreateBitmap(1, 2);
  fuzz::Require(skin.Save(dir + "/small.skn"), "a skin saves");
}

// The sprite target's input: the mode byte (0 one picture, 1 an array),
// then the stored form.
template <typename Picture>
fuzz::Bytes SpriteInput(std::uint8_t mode, Picture& picture) {
  return StoreArchiveBytes([&](CArchive& ar) {
    ar.PutU8(mode);
    picture.Serialize(ar);
  });
}

void SpriteSeeds(const std::string& dir) {
  CQvSprite sprite;
  fuzz::WriteFileBytes(dir + "/empty-sprite", SpriteInput(0, sprite));
  sprite.CreateBitmap(2, 2);
  sprite.SetPixel(1, 0, 0x80FF8000u);
  fuzz::WriteFileBytes(dir + "/sprite", SpriteInput(0, sprite));
  CQvSpriteArray array;
  array.Add(sprite);
  array.Add(CQvSprite());
  fuzz::WriteFileBytes(dir + "/array", SpriteInput(1, array));
}

void PlayListSeeds(const std::string& dir) {
  const char* const lists[] = {
      "#EXTM3U\r\n#EXTINF:123,Artist - One\r\nOne.mp3\r\n/m/Two.mp3\r\n",
      "sub/Three.mp3\n\n../Four.MP3\nFive",
  };
  int n = 0;
  for (const char* text : lists) {
    const std::string s(text);
    fuzz::WriteFileBytes(dir + "/list" + std::to_string(++n), fuzz::Bytes(s.begin(), s.end()));
  }
}

void BitmapSeeds(const std::string& dir) {
  CQvSprite picture;
  picture.CreateBitmap(3, 2);  // rows padded to four bytes
  for (std::uint32_t i = 0; i < 6; ++i) picture.SetPixel(std::int32_t(i % 3), std::int32_t(i / 3), 0xFF102030u * i);
  fuzz::Bytes bottomUp = fuzz::BitmapBytes(picture);
  fuzz::WriteFileBytes(dir + "/bottom-up.bmp", bottomUp);
  fuzz::Bytes topDown = bottomUp;
  const std::uint32_t negativeHeight = std::uint32_t(-picture.GetHeight());  // rows stored top first
  for (size_t i = 0; i < 4; ++i) topDown[22 + i] = std::uint8_t(negativeHeight >> (8 * i));
  fuzz::WriteFileBytes(dir + "/top-down.bmp", topDown);
  picture.CreateBitmap(1, 1);
  fuzz::WriteFileBytes(dir + "/one-pixel.bmp", fuzz::BitmapBytes(picture));
}

// An MP3 of a few frame bytes that ends in an ID3 version 1 block.
fuzz::Bytes Mp3(const std::string& title, const std::string& artist, const std::string& album) {
  fuzz::Bytes bytes(200, 0xFF);
  const size_t tag = bytes.size();
  bytes.resize(tag + 128, 0);
  auto put = [&](size_t at, const std::string& text) { std::copy(text.begin(), text.end(), bytes.begin() + long(at)); };
  put(tag, "TAG");
  put(tag + 3, title);
  put(tag + 33, artist);
  put(tag + 63, album);
  put(tag + 93, "1999");
  return bytes;
}

void Id3Seeds(const std::string& dir) {
  fuzz::WriteFileBytes(dir + "/full", Mp3("Title of thirty bytes exactly!", "Artist", "Album  "));
  fuzz::WriteFileBytes(dir + "/title-only", Mp3("", "", ""));
  fuzz::WriteFileBytes(dir + "/untagged", fuzz::Bytes(300, 0xFF));
}

void SettingsSeeds(const std::string& dir) {
  std::string error;
  const std::string path = dir + "/Jukebar.conf";
  for (auto [key, value] : {std::pair{"InstallDir", "/opt/jukebar"}, {"PlayCommand", "audacious %f"},
                            {"EnqueueCommand", "audacious -e %f"}})
    fuzz::Require(UserSettings::Store(path, key, value, error), "a setting stores");
}

void GlyphsSeeds(const std::string& dir) {
  const char* const names[] = {"Plain name", "Bj\xC3\xB6rk \xE2\x80\x93 J\xC3\xB3ga", "Bj\xF6rk",
                               "\xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x8E\xB5", "\xC2\x81\xC2\xA0\xC5\x92"};
  int n = 0;
  for (const std::string name : names)
    fuzz::WriteFileBytes(dir + "/name" + std::to_string(++n), fuzz::Bytes(name.begin(), name.end()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_seeds DIR\n");
    return 2;
  }
  const std::pair<const char*, void (*)(const std::string&)> targets[] = {
      {"config", ConfigSeeds}, {"environment", EnvironmentSeeds}, {"skin", SkinSeeds},
      {"sprite", SpriteSeeds}, {"playlist", PlayListSeeds},   {"bitmap", BitmapSeeds},
      {"id3", Id3Seeds},       {"settings", SettingsSeeds},   {"glyphs", GlyphsSeeds},
  };
  for (auto [name, write] : targets) {
    const std::string dir = std::string(argv[1]) + "/" + name;
    std::filesystem::create_directories(dir);
    write(dir);
  }
  return 0;
}
