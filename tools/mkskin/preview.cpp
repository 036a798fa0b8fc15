// skinpreview: lays a skin's pictures out as the main window and its
// neighbours would show them, to look at the artwork.
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

#include "sprites/PngFile.h"
#include "SkinSource.h"
#include "platform/Prompt.h"
#include "treeview/SkinSet.h"

namespace {

using jb::CQvSprite;
using jb::SkinSet;

class StderrPrompt : public jb::IPrompt {
 public:
  void ShowMessage(int id) override { std::fprintf(stderr, "skinpreview: message %d\n", id); }
  void ShowText(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
  jb::Answer AskYesNoCancel(const std::string&) override { return jb::Answer::Cancel; }
  std::optional<std::string> ChooseOpenFile(const jb::FileDialogOptions&) override { return {}; }
  std::optional<std::string> ChooseSaveFile(const jb::FileDialogOptions&) override { return {}; }
};

const jb::Colour kText = CQvSprite::GetColor(216, 208, 200);

struct Row {
  int depth;
  int icon;
  std::string text;
  int selection;  // 0 none, 1 partly, 2 fully
  bool focus;
};

// The window as the main window draws it: frame, title, progress, scroll
// bar and a page of rows.
void DrawWindow(CQvSprite& out, int ox, int oy, const SkinSet& skin, int w, int h, bool active, int pressed,
                int progress, int thumbOffset, const std::vector<Row>& rows) {
  CQvSprite b;
  b.CreateBitmap(w, h);
  auto frame = [&](int i) -> const CQvSprite& { return skin.Frame(i); };
  if (h == 14) {
    b.DrawSprite(0, 0, frame(active ? SkinSet::kSmallTitle : SkinSet::kSmallTitleInactive));
    if (pressed == 2) b.DrawSprite(4, 3, frame(SkinSet::kMenuPressed));
    if (pressed == 3) b.DrawSprite(w - 21, 3, frame(SkinSet::kSmallFormPressed));
    if (pressed == 4) b.DrawSprite(w - 11, 3, frame(SkinSet::kClosePressed));
    out.DrawSprite(ox, oy, b);
    return;
  }
  int base = active ? 0 : 4;
  for (int x = 22; x < w - 25; x += frame(base + 1).GetWidth()) b.DrawSprite(x, 0, frame(base + 1));
  b.DrawSprite(0, 0, frame(base));
  b.DrawSprite((w - 136) / 2 + 22, 0, frame(base + 2));
  b.DrawSprite(w - 25, 0, frame(base + 3));
  if (pressed == 2) b.DrawSprite(4, 3, frame(SkinSet::kMenuPressed));
  if (pressed == 3) b.DrawSprite(w - 21, 3, frame(SkinSet::kFormPressed));
  if (pressed == 4) b.DrawSprite(w - 11, 3, frame(SkinSet::kClosePressed));
  // Edges.
  const CQvSprite& left = frame(SkinSet::kLeftEdge);
  int ty = 20;
  for (; ty <= h - left.GetHeight() - 20; ty += left.GetHeight()) b.DrawSprite(0, ty, left);
  if (ty != h - 20) b.DrawSprite(0, ty, 0, 0, left.GetWidth(), h - ty - 20, left);
  const CQvSprite& right = frame(SkinSet::kRightEdge);
  const CQvSprite& rightEnd = frame(SkinSet::kRightEdgeEnd);
  for (ty = 20; ty < h - rightEnd.GetHeight() - 20; ty += right.GetHeight()) b.DrawSprite(w - 19, ty, right);
  b.DrawSprite(w - 19, h - rightEnd.GetHeight() - 20, rightEnd);
  const CQvSprite& bl = frame(SkinSet::kBottomLeft);
  const CQvSprite& bf = frame(SkinSet::kBottomFill);
  const CQvSprite& br = frame(SkinSet::kBottomRight);
  b.DrawSprite(0, h - 20, bl);
  int x = bl.GetWidth();
  for (; x <= w - br.GetWidth() - bf.GetWidth(); x += bf.GetWidth()) b.DrawSprite(x, h - 20, bf);
  b.DrawSprite(x, h - 20, 0, 0, w - br.GetWidth() - x, bf.GetHeight(), bf);
  b.DrawSprite(w - br.GetWidth(), h - 20, br);
  b.DrawSprite(w - 65, h - 19, skin.BottomOrnament());
  if (progress >= 0) b.DrawSprite(10, h - 16, skin.ProgressEmpty());
  if (progress > 0)
    b.DrawSprite(10, h - 16, 0, 0, progress + 1, skin.ProgressFull().GetHeight(), skin.ProgressFull());
  // Tree area.
  int ax = 11, ay = 20, aw = w - 30, ah = h - 40;
  if (const CQvSprite* image = skin.BackgroundImage())
    b.DrawTiled(ax, ay, aw, ah, *image);
  else
    b.DrawRect(ax, ay, aw, ah, CQvSprite::GetColor(0, 0, 0), true);
  int ry = ay;
  for (const Row& row : rows) {
    if (ry + 9 > ay + ah) break;
    if (row.selection) b.DrawRect(ax, ry, aw, 9, CQvSprite::GetColor(128, 64, 64, row.selection == 1 ? 144 : 72), true);
    if (row.focus) b.DrawRect(ax, ry, aw, 9, CQvSprite::GetColor(216, 208, 200, 128), false);
    int indent = (row.depth - 1) * 9;
    b.DrawSprite(ax + indent + 1, ry, skin.Icon(row.icon));
    skin.DrawText(b, ax + indent + 10, ry + 1, aw - indent - 10, row.text, kText);
    ry += 9;
  }
  // Scroll bar.
  int sx = w - 15, sy = 18, sh = h - 37;
  b.DrawSprite(sx, sy, skin.ScrollUp());
  int end = sy + sh - skin.ScrollDown().GetHeight();
  b.DrawSprite(sx, end, skin.ScrollDown());
  const CQvSprite& track = skin.ScrollTrack();
  for (ty = sy + skin.ScrollUp().GetHeight(); ty <= end - track.GetHeight(); ty += track.GetHeight())
    b.DrawSprite(sx, ty, track);
  if (ty < end) b.DrawSprite(sx, ty, 0, 0, track.GetWidth(), end - ty, track);
  b.DrawSprite(sx, sy + 8 + thumbOffset, thumbOffset > 40 ? skin.ScrollThumbPressed() : skin.ScrollThumb());
  out.DrawSprite(ox, oy, b);
}

std::vector<Row> SampleRows() {
  const std::string sep(1, '\x10');
  return {
      {1, 2, "Air", 0, false},
      {2, 3, "Moon Safari", 0, false},
      {3, 4, "La Femme d'Argent", 0, false},
      {3, 4, "Sexy Boy", 2, false},
      {3, 4, "All I Need", 2, true},
      {3, 4, "Kelly Watch the Stars", 2, false},
      {1, 2, "Bj\xf6rk" + sep + "Homogenic" + sep + "J\xf3ga", 0, false},
      {1, 2, "Caf\xe9 del Mar", 1, false},
      {2, 3, "Volumen Uno", 2, false},
      {2, 3, "Volumen Dos", 0, false},
      {1, 7, "Road trip.m3u", 0, false},
      {2, 6, "Take it easy", 0, false},
      {2, 6, "Born to be wild", 0, false},
      {1, 0, "\"Tag-less\" MP3s", 0, false},
      {2, 1, "/home/ana/Music/incoming/", 0, false},
      {3, 5, "track01", 0, false},
      {3, 5, "A very long file name that does not fit in the row at all", 0, false},
      {1, 8, "Videos", 0, false},
      {2, 1, "/home/ana/Videos/", 0, false},
      {3, 9, "holiday-2004.avi", 0, false},
      {1, 0, "Quotes \x93" "fancy\x94 \x80 20 \x96 \xa9 \xbd \xdf \xc5\xc6\xd8", 0, false},
      {1, 10, "Spare icons:", 0, false},
      {2, 11, "11", 0, false},
  };
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
    std::vector<Row> rows = SampleRows();

    CQvSprite window;
    window.CreateBitmap(275, 319);
    DrawWindow(window, 0, 0, skin, 275, 319, true, 0, 70, 20, rows);
    save("window-1x", window, 1);
    save("window", window, 3);

    // The other states: inactive, small forms, pressed buttons.
    CQvSprite states;
    states.CreateBitmap(200, 310);
    states.DrawRect(0, 0, 200, 310, backdrop, true);
    DrawWindow(states, 4, 4, skin, 180, 120, false, 0, -1, 50, rows);
    int y = 130;
    for (int button : {0, 2, 3, 4}) {
      DrawWindow(states, 4, y, skin, 50, 14, true, button, -1, 0, {});
      DrawWindow(states, 60, y, skin, 50, 14, false, button, -1, 0, {});
      y += 18;
    }
    CQvSprite titles;
    titles.CreateBitmap(140, 4 * 22);
    titles.DrawRect(0, 0, 140, 4 * 22, backdrop, true);
    for (int button : {0, 2, 3, 4}) {
      CQvSprite title;
      title.CreateBitmap(136, 40);
      DrawWindow(title, 0, 0, skin, 136, 40, true, button, -1, 0, {});
      titles.DrawSprite(2, (button ? button - 1 : 3) * 22 + 1, 0, 0, 136, 20, title);
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
