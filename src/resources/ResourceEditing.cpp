#include "resources/ResourceEditing.h"

#include <algorithm>

#include "platform/Paths.h"
#include "platform/Text.h"
#include "resources/CResourceArray.h"
#include "types/BuiltinTypes.h"
#include "types/CResourceTypeArray.h"

namespace jb {

namespace {

bool LessNoCase(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(FoldAscii(x)) < static_cast<unsigned char>(FoldAscii(y));
  });
}

}  // namespace

bool TypeRowLess(const CResourceType& a, const CResourceType& b) {
  if (a.GetTypeId() != b.GetTypeId()) return a.GetTypeId() < b.GetTypeId();
  return LessNoCase(a.GetName(), b.GetName());
}

bool ResourceRowLess(const CResource& a, const CResource& b) { return LessNoCase(a.m_strPath, b.m_strPath); }

TypeButtons TypeButtonsFor(const CResourceType* selected) {
  if (!selected) return {};
  const std::uint8_t flags = selected->GetEditFlags();
  return {(flags & 1) != 0, (flags & 2) != 0};
}

int RowAfterRemoval(int removed, int count) { return count == 0 ? -1 : std::min(removed, count - 1); }

PathEdit CheckPathEdit(const std::string& current, const std::string& typed, const CResourceArray& all) {
  if (SamePath(current, typed)) return PathEdit::Unchanged;
  for (size_t i = all.GetSize(); i-- > 0;)
    if (SamePath(all.GetAt(i)->m_strPath, typed)) return PathEdit::Duplicate;
  return PathEdit::Changed;
}

bool ExtensionRowLess(const ExtensionRow& a, const ExtensionRow& b) { return LessNoCase(a.extension, b.extension); }

std::vector<ExtensionRow> ExtensionRows(const CResourceTypeArray& types, const StringList& excluded) {
  std::vector<ExtensionRow> rows;
  StringList extensions;
  for (size_t t = types.GetSize(); t-- > 0;) {
    const CResourceType& type = *types.GetAt(t);
    type.GetExtensions(extensions);
    for (size_t e = extensions.size(); e-- > 0;) {
      const std::string& ext = extensions[e];
      bool isExcluded =
          std::any_of(excluded.begin(), excluded.end(), [&](const std::string& x) { return EqualsNoCase(x, ext); });
      rows.push_back({ext, type.GetName(), !isExcluded});
    }
  }
  return rows;
}

StringList ExcludedExtensions(const std::vector<ExtensionRow>& rows) {
  StringList excluded;
  for (auto it = rows.rbegin(); it != rows.rend(); ++it)
    if (!it->scanned) excluded.push_back(it->extension);
  return excluded;
}

std::string FileResourceFilter(const CResourceType* type) {
  StringList extensions;
  if (type) type->GetExtensions(extensions);
  if (extensions.empty()) return "(*)|*||";
  std::string patterns;
  for (const std::string& ext : extensions) patterns += (patterns.empty() ? "*." : ";*.") + ext;
  return type->GetName() + " (" + JoinExtensions(extensions) + ")|" + patterns + "||";
}

void UnbindUserTypes(CResourceArray& resources) {
  for (size_t i = 0; i < resources.GetSize(); ++i) {
    CResource& resource = *resources.GetAt(i);
    if (resource.GetTypeId() == kUserTypeId) resource.m_pType = nullptr;
  }
}

}  // namespace jb
