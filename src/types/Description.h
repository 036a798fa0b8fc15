#pragma once
// One file's description as a type writes it: the tree elements, their
// kinds and the paths to play, with every text in one buffer. A scan keeps
// one per thread and clears it for each file, so describing a collection
// allocates only while the buffer still grows.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "types/NodeKind.h"

namespace jb {

class Description {
 public:
  void Clear();
  void AddName(std::string_view name, NodeKind kind);
  void AddPath(std::string_view path);
  // The path directory + name, without building it elsewhere first.
  void AddPath(std::string_view directory, std::string_view name);

  size_t NameCount() const { return m_names.size(); }
  std::string_view Name(size_t i) const { return Text(m_names[i]); }
  // One kind per name, as the built-in types write them.
  const KindList& Kinds() const { return m_kinds; }
  size_t PathCount() const { return m_paths.size(); }
  std::string_view Path(size_t i) const { return Text(m_paths[i]); }
  // The bytes of every name and path together.
  size_t TextBytes() const { return m_bytes.size(); }

  void ToLists(StringList& names, KindList& kinds, StringList& paths) const;
  void Assign(const StringList& names, const KindList& kinds, const StringList& paths);

 private:
  struct Span {
    size_t at;
    size_t size;
  };
  std::string_view Text(Span s) const { return std::string_view(m_bytes).substr(s.at, s.size); }
  Span Put(std::string_view text);

  std::string m_bytes;
  std::vector<Span> m_names;
  KindList m_kinds;
  std::vector<Span> m_paths;
};

}  // namespace jb
