#include "types/CResourceType.h"

#include "platform/Text.h"
#include "storage/CArchive.h"
#include "types/Description.h"

namespace jb {

namespace {
ITypePropertiesEditor* g_editor = nullptr;
}

void SetTypePropertiesEditor(ITypePropertiesEditor* editor) { g_editor = editor; }
ITypePropertiesEditor* GetTypePropertiesEditor() { return g_editor; }

void CResourceType::Serialize(CArchive&) {}

bool CResourceType::IsNamed(std::string_view name) const { return EqualsNoCase(name, GetName()); }

void CResourceType::Describe(const std::string&, std::uint8_t&, StringList&, KindList&, StringList&) const {}

void CResourceType::DescribeInto(const std::string& path, std::uint8_t& icon, Description& out) const {
  StringList names, paths;
  KindList kinds;
  Describe(path, icon, names, kinds, paths);
  out.Assign(names, kinds, paths);
}

bool CResourceType::EditProperties() {
  // Only types with a property dialog have one to run.
  if (!(GetEditFlags() & 1) || !g_editor) return false;
  return g_editor->Edit(*this);
}

}  // namespace jb
