#include "types/Description.h"

namespace jb {

void Description::Clear() {
  m_bytes.clear();
  m_names.clear();
  m_kinds.clear();
  m_paths.clear();
}

Description::Span Description::Put(std::string_view text) {
  Span span{m_bytes.size(), text.size()};
  m_bytes.append(text);
  return span;
}

void Description::AddName(std::string_view name, NodeKind kind) {
  m_names.push_back(Put(name));
  m_kinds.push_back(kind);
}

void Description::AddPath(std::string_view path) { m_paths.push_back(Put(path)); }

void Description::AddPath(std::string_view directory, std::string_view name) {
  Span span = Put(directory);
  span.size += Put(name).size;
  m_paths.push_back(span);
}

void Description::ToLists(StringList& names, KindList& kinds, StringList& paths) const {
  names.clear();
  paths.clear();
  names.reserve(m_names.size());
  paths.reserve(m_paths.size());
  for (Span s : m_names) names.emplace_back(Text(s));
  kinds = m_kinds;
  for (Span s : m_paths) paths.emplace_back(Text(s));
}

void Description::Assign(const StringList& names, const KindList& kinds, const StringList& paths) {
  Clear();
  // A type may give fewer kinds than names: the lists stay as given.
  for (const std::string& n : names) m_names.push_back(Put(n));
  m_kinds = kinds;
  for (const std::string& p : paths) AddPath(p);
}

}  // namespace jb
