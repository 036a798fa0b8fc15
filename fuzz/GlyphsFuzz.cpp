// Display names from anywhere (file names and tags): text that is not UTF-8,
// or is plain ASCII, is drawn byte for byte; UTF-8 is drawn one glyph byte a
// character, the Windows-1252 byte of that character or "?" when the code
// page has none. The C library's converters are the reference.
#include <iconv.h>

#include <map>
#include <optional>

#include "FuzzSupport.h"
#include "skin/SkinSet.h"

using namespace jb;

namespace {

// The converters, opened once and closed with the process.
struct Converters {
  ~Converters() {
    for (auto& [names, cd] : open) iconv_close(cd);
  }
  std::map<std::pair<const char*, const char*>, iconv_t> open;
};

// What iconv makes of text from one encoding to another; nothing when it
// refuses a byte.
std::optional<std::string> Convert(const char* to, const char* from, const std::string& text) {
  static Converters converters;
  iconv_t& cd = converters.open[{to, from}];
  if (cd == iconv_t{}) cd = iconv_open(to, from);
  fuzz::Require(cd != iconv_t(-1), "the C library converts between these encodings");
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  std::string in = text, out(text.size() * 4 + 16, '\0');
  char* inp = in.data();
  char* outp = out.data();
  size_t inLeft = in.size(), outLeft = out.size();
  if (iconv(cd, &inp, &inLeft, &outp, &outLeft) == size_t(-1)) return std::nullopt;
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string glyphs = SkinSet::ToGlyphBytes(text);
  const std::optional<std::string> utf32 = Convert("UTF-32LE", "UTF-8", text);
  if (!utf32 || *utf32 == Convert("UTF-32LE", "ISO-8859-1", text)) {
    fuzz::Require(glyphs == text, "text that is not UTF-8 or is ASCII is drawn byte for byte");
    return 0;
  }
  fuzz::Require(glyphs.size() * 4 == utf32->size(), "one glyph byte a character");
  for (size_t i = 0; i < glyphs.size(); ++i) {
    const std::string character = utf32->substr(i * 4, 4);
    const std::optional<std::string> byte = Convert("WINDOWS-1252", "UTF-32LE", character);
    fuzz::Require(glyphs[i] == (byte ? *byte : std::string("?"))[0], "each character's Windows-1252 byte or ?");
  }
  return 0;
}
