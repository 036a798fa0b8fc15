#pragma once
// A view of text kept elsewhere that passes for a std::string wherever one is
// asked for. The catalogue and the display tree hand out their texts this
// way: a million entries and rows share one copy of each byte instead of
// holding a string object (and an allocation) per name and path.

#include <ostream>
#include <string>
#include <string_view>

namespace jb {

class TextView : public std::string_view {
 public:
  constexpr TextView() = default;
  constexpr TextView(std::string_view text) : std::string_view(text) {}
  TextView(const std::string& text) : std::string_view(text) {}
  constexpr TextView(const char* text) : std::string_view(text) {}
  constexpr TextView(const char* text, size_t size) : std::string_view(text, size) {}

  operator std::string() const { return std::string(data(), size()); }
};

// Joining with strings, as std::string would.
inline std::string operator+(const TextView& a, const TextView& b) {
  std::string out;
  out.reserve(a.size() + b.size());
  out.append(a).append(b);
  return out;
}
inline std::string operator+(const TextView& a, const std::string& b) { return a + TextView(b); }
inline std::string operator+(const TextView& a, const char* b) { return a + TextView(b); }
inline std::string operator+(const std::string& a, const TextView& b) { return TextView(a) + b; }
inline std::string operator+(const char* a, const TextView& b) { return TextView(a) + b; }

}  // namespace jb
