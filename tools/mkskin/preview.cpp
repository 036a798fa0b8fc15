// skinpreview: lays a skin's pictures out as the main window (drawn by the
// window's own painter) and its neighbours would show them, to look at the
// artwork.
//
//   skinpreview SKIN.skn OUTPUT_PREFIX [EXTRAS_DIR]
//
// writes PREFIX-window-1x.png as shown, and PREFIX-window.png, -states,
// -icons, -font, -samples, -splash and -credits enlarged; with EXTRAS_DIR also PREFIX-extras.png, the dialogs'
// and tray's pictures on a light and a dark ground.

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "SkinSource.h"
#include "catalogue/CCatalogue.h"
#include "platform/Prompt.h"
#include "skin/SkinSet.h"
#include "sprites/PngFile.h"
#include "treeview/TreeScrollBar.h"
#include "treeview/TreeText.h"
#include "treeview/TreeView.h"
#include "window/MainWindowPainter.h"

namespace {

using jb::CQvSprite;
using jb::SkinSet;

class StderrPrompt : public jb::IPrompt {
 public:
  void ShowMessage(int id, const std::string& = {}) override { std::fprintf(stderr, "skinpreview: message %d\n", id); }
  void ShowText(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
  jb::Answer AskYesNoCancel(const std::string&) override { return jb::Answer::Cancel; }
  std::optional<std::string> ChooseOpenFile(const jb::FileDialogOptions&) override { return {}; }
  std::optional<std::string> ChooseSaveFile(const jb::FileDialogOptions&) override { return {}; }
};

const jb::Colour kText = jb::TreeView::kTextColour;

// The window as the main window draws it, by the program's own painter:
// dragOffset >= 0 shows the scroll-bar thumb held by the mouse.
void DrawWindow(CQvSprite& out, int ox, int oy, const SkinSet& skin, int w, int h, bool active, int pressed,
                int progress, int dragOffset, jb::TreeView& tree) {
  jb::TreeScrollBar bar;
  jb::MainWindowPainter painter(skin, tree, bar);
  painter.SetActive(active);
  painter.SetProgress(progress);
  painter.OnSize(w, h);
  painter.SetPressedButton(pressed);
  if (dragOffset >= 0) painter.RefreshView(dragOffset);
  out.DrawSprite(ox, oy, painter.BackBuffer());
}

void Add(jb::CCatalogue& catalogue, std::vector<std::pair<jb::NodeKind, std::string>> levels,
         std::vector<std::string> paths, std::uint8_t icon) {
  auto e = std::make_unique<jb::CCatalogueEntry>();
  for (auto& [kind, name] : levels) {
    e->m_aKinds.push_back(kind);
    e->m_aNames.push_back(name);
  }
  e->m_aPaths = std::move(paths);
  e->m_nIcon = icon;
  catalogue.Add(std::move(e));
}

// Every kind of row: artists, albums, merged names, a play-list, the
// tag-less group, a user type, names beyond ASCII, a name too long for the
// row, selection, partial selection and the focus.
void BuildSampleTree(jb::TreeView& tree) {
  using namespace jb;
  CCatalogue catalogue;
  int n = 0;
  auto track = [&](const std::string& artist, const std::string& album, const std::string& title) {
    Add(catalogue, {{NodeKind::Artist, artist}, {NodeKind::Album, album}, {NodeKind::File, title}},
        {"/m/" + std::to_string(++n) + ".mp3"}, 4);
  };
  for (const char* title : {"La Femme d'Argent", "Sexy Boy", "All I Need", "Kelly Watch the Stars"})
    track("Air", "Moon Safari", title);
  track("Bj\xC3\xB6rk", "Homogenic", "J\xC3\xB3ga");
  track("Caf\xC3\xA9 del Mar", "Volumen Uno", "Sunset");
  track("Caf\xC3\xA9 del Mar", "Volumen Uno", "Sunrise");
  track("Caf\xC3\xA9 del Mar", "Volumen Dos", "Noon");
  Add(catalogue,
      {{NodeKind::PlayList, "Road trip"}, {NodeKind::File, "Take it easy"}, {NodeKind::File, "Born to be wild"}},
      {"/m/a.mp3", "/m/b.mp3"}, 6);
  for (const char* title : {"track01", "A very long file name that does not fit in the row at all"})
    Add(catalogue,
        {{NodeKind::FileGroup, "\"Tag-less\" MP3s"},
         {NodeKind::Folder, "/home/ana/Music/incoming/"},
         {NodeKind::File, title}},
        {"/home/ana/Music/incoming/" + std::string(title) + ".mp3"}, 5);
  for (const char* title : {"holiday-2004", "birthday"})
    Add(catalogue, {{NodeKind::UserType, "Videos"}, {NodeKind::Folder, "/home/ana/Videos/"}, {NodeKind::File, title}},
        {"/home/ana/Videos/" + std::string(title) + ".avi"}, 9);
  Add(catalogue,
      {{NodeKind::File,
        "Quotes \xE2\x80\x9C"
        "fancy\xE2\x80\x9D \xE2\x82\xAC 20 \xE2\x80\x93 \xC2\xA9 \xC2\xBD \xC3\x9F \xC3\x85\xC3\x86\xC3\x98"}},
      {"/m/q.mp3"}, 4);
  for (std::uint8_t icon : {10, 11})
    Add(catalogue, {{NodeKind::FileGroup, "Spare icons"}, {NodeKind::File, "icon " + std::to_string(icon)}},
        {"/m/" + std::to_string(icon)}, icon);
  NodeIcons icons;
  const std::uint8_t groups[6] = {8, 1, 2, 3, 7, 0};
  std::copy(std::begin(groups), std::end(groups), icons.group);
  tree.Rebuild(catalogue, icons);
  tree.ExpandLevels(INT32_MAX);
  std::vector<DisplayNode*> selected = FindRows(tree, "Air > Moon Safari/[SAK]*");
  std::vector<DisplayNode*> uno = FindRows(tree, "Caf\xC3\xA9 del Mar/Volumen Uno");
  selected.insert(selected.end(), uno.begin(), uno.end());
  DisplayNode::SetSelectionOfEach(selected, SelectionState::Selected);
  tree.SetFocusMark(false);
  if (std::vector<DisplayNode*> focus = FindRows(tree, "Air > Moon Safari/All I Need"); !focus.empty())
    focus.front()->SetFocusMark(true);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: skinpreview SKIN.skn OUTPUT_PREFIX [EXTRAS_DIR]\n");
    return 2;
  }
  StderrPrompt prompt;
  SkinSet skin;
  if (!skin.Load(prompt, argv[1])) return 1;
  try {
    const std::string prefix = argv[2];
    auto save = [&](const std::string& name, const CQvSprite& picture, int scale) {
      jb::WritePng(prefix + "-" + name + ".png", scale > 1 ? jb::Scaled(picture, scale) : picture);
    };
    const jb::Colour backdrop = CQvSprite::GetColor(58, 62, 70);
    jb::TreeView rows, noRows;
    BuildSampleTree(rows);

    CQvSprite window;
    window.CreateBitmap(275, 319);
    DrawWindow(window, 0, 0, skin, 275, 319, true, 0, 70, -1, rows);
    save("window-1x", window, 1);
    save("window", window, 3);

    // The other states: inactive, small forms, pressed buttons.
    CQvSprite states;
    states.CreateBitmap(200, 310);
    states.DrawRect(0, 0, 200, 310, backdrop, true);
    DrawWindow(states, 4, 4, skin, 180, 120, false, 0, -1, 30, rows);
    int y = 130;
    for (int button : {0, 2, 3, 4}) {
      DrawWindow(states, 4, y, skin, 50, 14, true, button, -1, -1, noRows);
      DrawWindow(states, 60, y, skin, 50, 14, false, button, -1, -1, noRows);
      y += 18;
    }
    CQvSprite titles;
    titles.CreateBitmap(140, 4 * 22);
    titles.DrawRect(0, 0, 140, 4 * 22, backdrop, true);
    for (int button : {0, 2, 3, 4}) {
      CQvSprite title;
      title.CreateBitmap(136, 40);
      DrawWindow(title, 0, 0, skin, 136, 40, true, button, -1, -1, noRows);
      titles.DrawSprite(2, (button ? button - 1 : 0) * 22 + 1, 0, 0, 136, 20, title);
    }
    states.DrawSprite(4, y + 2, titles);  // large-form title with each button pressed
    save("states", states, 3);

    CQvSprite icons;
    int count = skin.Icons().GetSize();
    icons.CreateBitmap(count * 10 + 2, 11);
    icons.DrawRect(0, 0, icons.GetWidth(), 11, CQvSprite::GetColor(0, 0, 0), true);
    for (int i = 0; i < count; ++i) icons.DrawSprite(2 + i * 10, 1, skin.Icon(i));
    save("icons", icons, 6);

    CQvSprite glyphs;
    glyphs.CreateBitmap(32 * 9, 8 * 11);
    glyphs.DrawRect(0, 0, glyphs.GetWidth(), glyphs.GetHeight(), CQvSprite::GetColor(0, 0, 0), true);
    for (int c = 0; c < 256; ++c)
      glyphs.DrawChar((c % 32) * 9 + 2, (c / 32) * 11 + 2, skin.Glyph(std::uint8_t(c)), kText);
    save("font", glyphs, 4);

    CQvSprite samples;
    const CQvSprite& large = skin.LargeSample();
    const CQvSprite& small = skin.SmallSample();
    samples.CreateBitmap(large.GetWidth() + 8, large.GetHeight() + 8);
    samples.DrawRect(0, 0, samples.GetWidth(), samples.GetHeight(), CQvSprite::GetColor(192, 192, 192), true);
    samples.DrawSprite(4, 4, large);
    samples.DrawRect(4, 4, large.GetWidth(), large.GetHeight(), CQvSprite::GetSysColor(15, 128), true);
    samples.DrawSprite(4 + large.GetWidth() - small.GetWidth(), 4, small);
    save("samples", samples, 4);

    // The splash as shown, then the credits page: darkened splash and overlay.
    CQvSprite splash = skin.SplashPicture();
    save("splash", splash, 2);
    splash.DrawRect(0, 0, splash.GetWidth(), splash.GetHeight(), CQvSprite::GetColor(0, 0, 0, 148), true);
    splash.DrawSprite(0, 0, skin.CreditsOverlay());
    save("credits", splash, 2);

    if (argc == 4) {
      std::vector<std::string> files = jb::skin::ListFiles(argv[3], ".xpm");
      // Left to right in rows of 320 pixels, on a light and a dark ground.
      std::vector<CQvSprite> pictures;
      for (const std::string& file : files) pictures.push_back(jb::skin::ReadXpm(file).sprite);
      std::vector<std::pair<int, int>> places;
      int ex = 2, ey = 2, rowHeight = 0;
      for (const CQvSprite& picture : pictures) {
        if (ex + picture.GetWidth() > 320) {
          ex = 2;
          ey += rowHeight + 6;
          rowHeight = 0;
        }
        places.emplace_back(ex, ey);
        ex += std::max(picture.GetWidth(), 16) + 6;
        rowHeight = std::max(rowHeight, picture.GetHeight());
      }
      const int half = ey + rowHeight + 2;
      CQvSprite extras;
      extras.CreateBitmap(324, half * 2);
      extras.DrawRect(0, 0, 324, half, CQvSprite::GetColor(236, 233, 228), true);
      extras.DrawRect(0, half, 324, half, CQvSprite::GetColor(40, 44, 52), true);
      for (size_t i = 0; i < pictures.size(); ++i) {
        extras.DrawSprite(places[i].first, places[i].second, pictures[i]);
        extras.DrawSprite(places[i].first, places[i].second + half, pictures[i]);
      }
      save("extras", extras, 3);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skinpreview: %s\n", e.what());
    return 1;
  }
  return 0;
}
