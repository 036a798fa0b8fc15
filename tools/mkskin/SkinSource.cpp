#include "SkinSource.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

#include "skin/SkinSet.h"
#include "sprites/PngFile.h"

namespace jb::skin {

namespace {

constexpr int kFontRows = 8;

[[noreturn]] void Fail(const std::string& where, const std::string& what) {
  throw std::runtime_error(where + ": " + what);
}

std::uint32_t ParseHex(const std::string& where, const std::string& text) {
  try {
    size_t used = 0;
    unsigned long v = std::stoul(text, &used, 16);
    if (used != text.size()) Fail(where, "bad number '" + text + "'");
    return static_cast<std::uint32_t>(v);
  } catch (const std::logic_error&) {
    Fail(where, "bad number '" + text + "'");
  }
}

// "#rrggbb" or "#rgb" as opaque 0xAARRGGBB; "None" transparent.
std::uint32_t ParseColour(const std::string& where, std::string text) {
  static const std::map<std::string, std::uint32_t> names = {
      {"none", 0}, {"black", 0xFF000000u}, {"white", 0xFFFFFFFFu}, {"red", 0xFFFF0000u}, {"magenta", 0xFFFF00FFu}};
  std::string lower = text;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  if (auto it = names.find(lower); it != names.end()) return it->second;
  if (text.size() == 4 && text[0] == '#') text = {'#', text[1], text[1], text[2], text[2], text[3], text[3]};
  if (text.size() != 7 || text[0] != '#') Fail(where, "unknown colour '" + text + "'");
  return 0xFF000000u | ParseHex(where, text.substr(1));
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> Lines(const std::string& path) {
  std::istringstream in(ReadAll(path));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

// The quoted strings of a C source, in order, with \" and \\ and \xNN.
std::vector<std::string> QuotedStrings(const std::string& path, const std::string& text) {
  std::vector<std::string> out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 2, "/*") == 0) {
      size_t end = text.find("*/", i + 2);
      if (end == std::string::npos) Fail(path, "unterminated comment");
      i = end + 1;
      continue;
    }
    if (text[i] != '"') continue;
    std::string s;
    for (++i; i < text.size() && text[i] != '"'; ++i) {
      if (text[i] == '\\' && i + 1 < text.size()) {
        ++i;
        if (text[i] == 'x' && i + 2 < text.size()) {
          s += char(ParseHex(path, text.substr(i + 1, 2)));
          i += 2;
          continue;
        }
      }
      s += text[i];
    }
    if (i >= text.size()) Fail(path, "unterminated string");
    out.push_back(s);
  }
  return out;
}

}  // namespace

std::vector<std::string> ListFiles(const std::string& dir, const std::string& extension) {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    if (entry.is_regular_file() && entry.path().extension() == extension) files.push_back(entry.path().string());
  std::sort(files.begin(), files.end());
  return files;
}

Picture ReadXpm(const std::string& path) {
  std::vector<std::string> s = QuotedStrings(path, ReadAll(path));
  if (s.empty()) Fail(path, "no XPM values");
  std::istringstream values(s[0]);
  int width = 0, height = 0, colours = 0, cpp = 0;
  Picture picture;
  values >> width >> height >> colours >> cpp;
  if (!values || width <= 0 || height <= 0 || colours <= 0 || cpp <= 0 || cpp > 2) Fail(path, "bad XPM values");
  if (!(values >> picture.hotX >> picture.hotY)) picture.hotX = picture.hotY = -1;
  if (s.size() < size_t(1 + colours + height)) Fail(path, "XPM cut short");
  std::map<std::string, std::uint32_t> table;
  for (int i = 0; i < colours; ++i) {
    const std::string& line = s[size_t(1 + i)];
    std::vector<std::string> w = Words(line.substr(size_t(cpp)));
    auto key = std::find(w.begin(), w.end(), "c");
    if (key == w.end() || key + 1 == w.end()) Fail(path, "colour without 'c': " + line);
    table[line.substr(0, size_t(cpp))] = ParseColour(path, *(key + 1));
  }
  picture.sprite.CreateBitmap(width, height);
  for (int y = 0; y < height; ++y) {
    const std::string& row = s[size_t(1 + colours + y)];
    if (row.size() != size_t(width * cpp)) Fail(path, "row " + std::to_string(y) + " has the wrong width");
    for (int x = 0; x < width; ++x) {
      auto it = table.find(row.substr(size_t(x * cpp), size_t(cpp)));
      if (it == table.end()) Fail(path, "unknown pixel in row " + std::to_string(y));
      picture.sprite.SetPixel(x, y, it->second);
    }
  }
  return picture;
}

namespace {

CQvSprite GlyphFromRows(const std::string& where, const std::vector<std::string>& rows) {
  CQvSprite glyph;
  int width = int(rows[0].size());
  glyph.CreateBitmap(width, kFontRows);
  for (int y = 0; y < kFontRows; ++y) {
    if (int(rows[size_t(y)].size()) != width) Fail(where, "ragged glyph");
    for (int x = 0; x < width; ++x) {
      char c = rows[size_t(y)][size_t(x)];
      std::uint32_t coverage = c == '#' ? 255 : c == '+' ? 128 : c == '.' ? 0 : 256;
      if (coverage == 256) Fail(where, std::string("bad glyph pixel '") + c + "'");
      glyph.SetPixel(x, y, (coverage << 24) | 0xFFFFFFu);
    }
  }
  return glyph;
}

// Base and mark centred over each other; drop removes a base row first.
CQvSprite Compose(const CQvSprite& base, const CQvSprite& mark, int drop) {
  CQvSprite lowered = base;
  if (drop > 0) {
    for (int y = drop; y > 0; --y)
      for (int x = 0; x < base.GetWidth(); ++x) lowered.SetPixel(x, y, base.GetPixel(x, y - 1));
    for (int x = 0; x < base.GetWidth(); ++x) lowered.SetPixel(x, 0, 0x00FFFFFFu);
  }
  int width = std::max(base.GetWidth(), mark.GetWidth());
  CQvSprite out;
  out.CreateBitmap(width, kFontRows);
  for (int y = 0; y < kFontRows; ++y)
    for (int x = 0; x < width; ++x) out.SetPixel(x, y, 0x00FFFFFFu);
  out.DrawSprite((width - base.GetWidth()) / 2, 0, lowered);
  out.DrawSprite((width - mark.GetWidth() + 1) / 2, 0, mark);
  return out;
}

}  // namespace

Font ReadFont(const std::string& path) {
  std::vector<std::string> lines = Lines(path);
  Font font;
  std::array<bool, 256> defined{};
  std::map<std::string, CQvSprite> marks;
  auto lookup = [&](const std::string& where, const std::string& name) -> const CQvSprite& {
    if (name.size() > 1 && name[0] == ':') {
      auto it = marks.find(name);
      if (it == marks.end()) Fail(where, "unknown mark " + name);
      return it->second;
    }
    unsigned char b = name.size() == 1 ? static_cast<unsigned char>(name[0])
                                       : static_cast<unsigned char>(ParseHex(where, name.substr(2)));
    if (!defined[b]) Fail(where, "glyph " + name + " used before it is drawn");
    return font[b];
  };
  auto define = [&](const std::string& where, const std::string& name, CQvSprite glyph) {
    if (name.size() > 1 && name[0] == ':') {
      marks[name] = std::move(glyph);
      return;
    }
    unsigned char b;
    if (name.size() == 1)
      b = static_cast<unsigned char>(name[0]);
    else if (name.rfind("0x", 0) == 0)
      b = static_cast<unsigned char>(ParseHex(where, name.substr(2)));
    else
      Fail(where, "bad glyph name " + name);
    if (defined[b]) Fail(where, "glyph " + name + " drawn twice");
    defined[b] = true;
    font[b] = std::move(glyph);
  };
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string where = path + ":" + std::to_string(i + 1);
    std::vector<std::string> w = Words(lines[i]);
    if (w.empty() || w[0][0] == '#') continue;
    if (w[0] == "strip") {
      std::vector<std::string> names(w.begin() + 1, w.end());
      std::vector<std::vector<std::string>> columns(names.size());
      for (int r = 0; r < kFontRows; ++r) {
        if (i + 1 + size_t(r) >= lines.size()) Fail(where, "strip cut short");
        std::vector<std::string> cells = Words(lines[i + 1 + size_t(r)]);
        if (cells.size() != names.size())
          Fail(path + ":" + std::to_string(i + 2 + size_t(r)), "wrong number of glyphs");
        for (size_t c = 0; c < cells.size(); ++c) columns[c].push_back(cells[c]);
      }
      for (size_t c = 0; c < names.size(); ++c) define(where, names[c], GlyphFromRows(where, columns[c]));
      i += kFontRows;
    } else if (w[0] == "dot") {
      for (size_t k = 1; k < w.size(); ++k) {
        std::vector<std::string> rows = {".", ".", ".", ".", ".", "+", ".", "."};
        define(where, w[k], GlyphFromRows(where, rows));
      }
    } else if (w[0] == "compose" && (w.size() == 4 || w.size() == 5)) {
      int drop = 0;
      if (w.size() == 5) {
        if (w[4].rfind("drop=", 0) != 0) Fail(where, "expected drop=ROW");
        drop = std::stoi(w[4].substr(5));
      }
      define(where, w[1], Compose(lookup(where, w[2]), lookup(where, w[3]), drop));
    } else {
      Fail(where, "unknown line");
    }
  }
  for (int b = 0; b < 256; ++b)
    if (!defined[size_t(b)]) Fail(path, "no glyph for byte " + std::to_string(b));
  return font;
}

int StringWidth(const Font& font, const std::string& text, bool bold, int scale) {
  int width = 0;
  for (unsigned char c : text) width += (font[c].GetWidth() + 1) * scale + (bold ? 1 : 0);
  return text.empty() ? 0 : width - scale;
}

int DrawString(CQvSprite& target, const Font& font, int x, int y, const std::string& text, std::uint32_t argb,
               bool bold, int scale) {
  Colour colour = CQvSprite::FromArgb(argb);
  int start = x;
  for (unsigned char c : text) {
    CQvSprite glyph = scale > 1 ? Scaled(font[c], scale) : font[c];
    target.DrawChar(x, y, glyph, colour);
    if (bold) target.DrawChar(x + 1, y, glyph, colour);
    x += (font[c].GetWidth() + 1) * scale + (bold ? 1 : 0);
  }
  return x - start;
}

void Letter(CQvSprite& picture, const Font& font, const std::string& scriptPath, const CQvSpriteArray* icons) {
  std::vector<std::string> lines = Lines(scriptPath);
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string where = scriptPath + ":" + std::to_string(i + 1);
    std::string line = lines[i];
    size_t quote = line.find('"');
    std::string text;
    if (quote != std::string::npos) {
      std::vector<std::string> q = QuotedStrings(where, line.substr(quote));
      if (q.size() != 1) Fail(where, "expected one quoted string");
      text = q[0];
      line = line.substr(0, quote);
    }
    std::vector<std::string> w = Words(line);
    if (w.empty() || w[0][0] == '#') continue;
    auto option = [&](const std::string& name, const std::string& fallback) {
      for (const std::string& word : w)
        if (word.rfind(name + "=", 0) == 0) return word.substr(name.size() + 1);
      return fallback;
    };
    if (w[0] == "text" && w.size() >= 4) {
      bool bold = std::find(w.begin(), w.end(), "bold") != w.end();
      int scale = std::stoi(option("scale", "1"));
      int x = w[1] == "center" ? (picture.GetWidth() - StringWidth(font, text, bold, scale)) / 2 : std::stoi(w[1]);
      int y = std::stoi(w[2]);
      std::string shadow = option("shadow", "");
      if (!shadow.empty())
        DrawString(picture, font, x + scale, y + scale, text, ParseColour(where, shadow), bold, scale);
      DrawString(picture, font, x, y, text, ParseColour(where, w[3]), bold, scale);
    } else if (w[0] == "fill" && w.size() >= 6) {
      std::uint32_t argb = ParseColour(where, w[5]);
      std::uint32_t alpha = std::uint32_t(std::stoi(option("alpha", "255")));
      picture.DrawRect(std::stoi(w[1]), std::stoi(w[2]), std::stoi(w[3]), std::stoi(w[4]),
                       CQvSprite::FromArgb((alpha << 24) | (argb & 0xFFFFFFu)), true);
    } else if (w[0] == "icon" && w.size() == 4 && icons) {
      int index = std::stoi(w[3]);
      if (index < 0 || index >= icons->GetSize()) Fail(where, "no icon " + w[3]);
      picture.DrawSprite(std::stoi(w[1]), std::stoi(w[2]), icons->GetAt(index));
    } else {
      Fail(where, "unknown lettering line");
    }
  }
}

namespace {

CQvSprite Xpm(const std::string& dir, const std::string& name) { return ReadXpm(dir + "/" + name).sprite; }

}  // namespace

void BuildSkin(const std::string& sourceDir, SkinSet& skin) {
  std::vector<std::string> frames = ListFiles(sourceDir + "/frame", ".xpm");
  if (frames.size() != size_t(SkinSet::kFrameCount))
    Fail(sourceDir + "/frame", "expected " + std::to_string(SkinSet::kFrameCount) + " pictures");
  for (size_t i = 0; i < frames.size(); ++i) skin.Frame(int(i)) = ReadXpm(frames[i]).sprite;
  skin.MutableBottomOrnament() = Xpm(sourceDir, "bottom-ornament.xpm");
  skin.MutableProgressEmpty() = Xpm(sourceDir, "progress-empty.xpm");
  skin.MutableProgressFull() = Xpm(sourceDir, "progress-full.xpm");
  skin.MutableIcons().RemoveAll();
  for (const std::string& icon : ListFiles(sourceDir + "/icons", ".xpm")) skin.MutableIcons().Add(ReadXpm(icon).sprite);
  skin.MutableScrollTrack() = Xpm(sourceDir, "scroll-track.xpm");
  skin.MutableScrollUp() = Xpm(sourceDir, "scroll-up.xpm");
  skin.MutableScrollDown() = Xpm(sourceDir, "scroll-down.xpm");
  skin.MutableScrollThumb() = Xpm(sourceDir, "scroll-thumb.xpm");
  skin.MutableScrollThumbPressed() = Xpm(sourceDir, "scroll-thumb-pressed.xpm");
  Font font = ReadFont(sourceDir + "/font.txt");
  for (int b = 0; b < 256; ++b) skin.MutableGlyph(std::uint8_t(b)) = font[size_t(b)];
  skin.MutableLargeSample() = Xpm(sourceDir, "sample-large.xpm");
  skin.MutableSmallSample() = Xpm(sourceDir, "sample-small.xpm");
  CQvSprite splash = Xpm(sourceDir, "splash.xpm");
  Letter(splash, font, sourceDir + "/splash.txt", &skin.Icons());
  skin.SplashPicture() = splash;
  CQvSprite credits;
  credits.CreateBitmap(splash.GetWidth(), splash.GetHeight());
  // Clear: only the lettering covers the splash.
  for (int y = 0; y < credits.GetHeight(); ++y)
    for (int x = 0; x < credits.GetWidth(); ++x) credits.SetPixel(x, y, 0);
  Letter(credits, font, sourceDir + "/credits.txt", &skin.Icons());
  skin.MutableCreditsOverlay() = credits;
}

}  // namespace jb::skin
