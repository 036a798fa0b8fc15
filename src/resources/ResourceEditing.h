#pragma once
// The rules of the dialogs that edit resources and resource types, kept out
// of the widgets: row orders, which buttons a selection enables, the path
// check of Ok, the directory dialog's extension rows and the file filter.

#include <optional>
#include <string>
#include <vector>

#include "types/NodeKind.h"

namespace jb {

class CResource;
class CResourceArray;
class CResourceType;
class CResourceTypeArray;

// The type lists: by type id (Folder, MPEG Audio, Play-Lists, then user
// types), types of one id by name ignoring case.
bool TypeRowLess(const CResourceType& a, const CResourceType& b);

// The Resources page: by path ignoring case.
bool ResourceRowLess(const CResource& a, const CResource& b);

// What a selected type allows; nothing without a selection.
struct TypeButtons {
  bool properties = false;
  bool remove = false;
  bool operator==(const TypeButtons&) const = default;
};
TypeButtons TypeButtonsFor(const CResourceType* selected);

// The row to select once row removed is gone from a list that now holds
// count rows: the one that moved into its place, else the new last one;
// -1 when the list is empty.
int RowAfterRemoval(int removed, int count);

// Ok's path rule. A text that names the current path is kept as it is;
// another one is refused when a resource of all already has it.
enum class PathEdit { Unchanged, Changed, Duplicate };
PathEdit CheckPathEdit(const std::string& current, const std::string& typed, const CResourceArray& all);

// One row of the directory dialog's extension list.
struct ExtensionRow {
  std::string extension;
  std::string typeName;
  bool scanned = true;
};
// The extension list's order: by extension, ignoring case.
bool ExtensionRowLess(const ExtensionRow& a, const ExtensionRow& b);
// Every extension of every type (last type first, last extension first),
// unticked when excluded (ignoring case).
std::vector<ExtensionRow> ExtensionRows(const CResourceTypeArray& types, const StringList& excluded);
// The exclusion list the rows give: the unticked ones, last row first.
StringList ExcludedExtensions(const std::vector<ExtensionRow>& rows);

// The open-file filter of a file resource: "Name (ext1.ext2)|*.ext1;*.ext2||";
// every file for a resource without a type or a type without extensions.
std::string FileResourceFilter(const CResourceType* type);

// Before the types edition: file resources of user types let go of their
// type, which the dialog may delete; RelinkTypes binds them again after.
void UnbindUserTypes(CResourceArray& resources);

}  // namespace jb
