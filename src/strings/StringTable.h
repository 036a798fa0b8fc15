#pragma once
// The program's string table: the texts the user sees, by id.

#include <string>

namespace jb {

// The text of id; empty when the table has no such id.
std::string LoadString(int id);

}  // namespace jb
