#pragma once
// The program's string table: the texts the user sees, by id.

#include <string>

namespace jb {

// The ids of the string table, by name: ids::CannotSaveEnvironment. They
// convert to int, the form in which prompts take them.
namespace ids {
enum StringId : int {
#define JB_STRING(name, id, text) name = id,
#include "Strings.inc"
#undef JB_STRING
};
}  // namespace ids

// The text of id; empty when the table has no such id.
std::string LoadString(int id);

}  // namespace jb
