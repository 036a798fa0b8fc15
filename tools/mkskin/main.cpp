// mkskin: builds Jukebar.skn from the readable sources in res/skin, and the
// pictures of the dialogs and the tray (res/skin/extras) as PNG files.
//
//   mkskin SOURCE_DIR OUTPUT.skn [PNG_DIR]

#include <cstdio>
#include <exception>
#include <filesystem>

#include "SkinSource.h"
#include "skin/SkinSet.h"
#include "sprites/PngFile.h"

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: mkskin SOURCE_DIR OUTPUT.skn [PNG_DIR]\n");
    return 2;
  }
  try {
    std::string source = argv[1];
    jb::SkinSet skin;
    jb::skin::BuildSkin(source, skin);
    if (!skin.Save(argv[2])) {
      std::fprintf(stderr, "mkskin: cannot write %s\n", argv[2]);
      return 1;
    }
    if (argc == 4) {
      std::filesystem::create_directories(argv[3]);
      for (const std::string& path : jb::skin::ListFiles(source + "/extras", ".xpm")) {
        jb::skin::Picture picture = jb::skin::ReadXpm(path);
        std::vector<std::pair<std::string, std::string>> text;
        if (picture.hotX >= 0)
          text.emplace_back("HotSpot", std::to_string(picture.hotX) + " " + std::to_string(picture.hotY));
        std::string name = std::filesystem::path(path).stem().string();
        jb::WritePng(std::string(argv[3]) + "/" + name + ".png", picture.sprite, text);
      }
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "mkskin: %s\n", e.what());
    return 1;
  }
  return 0;
}
