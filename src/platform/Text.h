#pragma once
// Byte-string helpers shared by every layer. Texts are 8-bit byte strings;
// names, extensions and tag texts compare with ASCII letter-case folding.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace jb {

inline char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// True when a and b are equal ignoring ASCII letter case (as _stricmp does).
bool EqualsNoCase(std::string_view a, std::string_view b);

// Hashing and equality ignoring ASCII case, for hash containers of views.
struct NoCaseHash {
  size_t operator()(std::string_view s) const {
    std::uint64_t h = 1469598103934665603ull;  // FNV-1a
    for (char c : s) h = (h ^ static_cast<unsigned char>(FoldAscii(c))) * 1099511628211ull;
    return static_cast<size_t>(h);
  }
};
struct NoCaseEqual {
  bool operator()(std::string_view a, std::string_view b) const { return EqualsNoCase(a, b); }
};

// a copy of s with ASCII letters folded to lower case; used as a hash key
// for case-insensitive look-ups.
std::string ToLowerAscii(std::string_view s);

// s less trailing white space (space, tab, LF, VT, FF, CR).
std::string_view TrimRight(std::string_view s);

// printf-style replacement of the first "%s" of a string-table text.
std::string FormatOne(std::string_view format, std::string_view arg);

// s for one line of text output: the backslash and control bytes written as
// in C ("\\", "\n", "\r", "\t", "\xHH" for the other bytes below 0x20 and
// 0x7F); every other byte stays as it is.
std::string EscapeControlBytes(std::string_view s);

// s with every byte but the unreserved ones of RFC 3986 (letters, digits,
// "-", ".", "_", "~") and "/" written as "%HH".
std::string PercentEncodePath(std::string_view s);

}  // namespace jb
