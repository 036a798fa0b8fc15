#include "strings/StringTable.h"

#include <utility>

namespace jb {
namespace {

struct Entry {
  int id;
  const char* text;
};

constexpr Entry kStrings[] = {
#define JB_STRING(name, id, text) {id, text},
#include "Strings.inc"
#undef JB_STRING
};

}  // namespace

std::string LoadString(int id) {
  for (const Entry& e : kStrings)
    if (e.id == id) return e.text;
  return {};
}

}  // namespace jb
