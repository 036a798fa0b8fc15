#pragma once
// The index of a long child list: the children by position and a Fenwick
// tree of their visible rows, so that finding the child a row falls on and
// summing the rows before a child take logarithmic time instead of a walk
// along the list. Only DisplayNode uses it.

#include <bit>
#include <cstddef>
#include <memory>
#include <vector>

#include "platform/Arena.h"
#include "treeview/DisplayNode.h"

namespace jb {

struct DisplayNode::ChildIndex {
  // Lists shorter than this are walked.
  static constexpr std::uint32_t kMinChildren = 32;

  // Indexes the children of parent and numbers them.
  explicit ChildIndex(const DisplayNode& parent) {
    nodes.reserve(parent.m_nChildCount);
    sums.assign(parent.m_nChildCount + 1, 0);
    std::uint32_t i = 0;
    for (DisplayNode* c = parent.m_pFirstChild; c; c = c->m_pNext, ++i) {
      c->m_nSiblingIndex = i;
      nodes.push_back(c);
      sums[i + 1] = c->OwnRows();
    }
    for (size_t k = 1; k < sums.size(); ++k) {
      size_t up = k + (k & (~k + 1));
      if (up < sums.size()) sums[up] += sums[k];
    }
  }

  void Add(size_t position, int delta) {
    for (size_t k = position + 1; k < sums.size(); k += k & (~k + 1)) sums[k] += delta;
  }

  // Rows of the first count children.
  int Prefix(size_t count) const {
    int s = 0;
    for (size_t k = count; k > 0; k -= k & (~k + 1)) s += sums[k];
    return s;
  }

  // The position of the child on which row offset r falls (r less than the
  // total); r becomes the offset within that child.
  size_t Find(int& r) const {
    size_t pos = 0;
    for (size_t step = std::bit_floor(sums.size() - 1); step > 0; step >>= 1) {
      if (pos + step < sums.size() && sums[pos + step] <= r) {
        pos += step;
        r -= sums[pos];
      }
    }
    return pos;
  }

  std::vector<DisplayNode*> nodes;
  std::vector<int> sums;  // 1-based
};

struct DisplayNode::Extras {
  std::unique_ptr<ChildIndex> index;  // long lists only, built on demand
  std::vector<DisplayNode*> marked;   // roots only
  // Roots only: the memory of the nodes a build made, freed once they are
  // all gone.
  Arena pool;
};

}  // namespace jb
