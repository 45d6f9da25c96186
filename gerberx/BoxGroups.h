#pragma once
// Grouping by box, in one place: an index of boxes for the ones that touch a given box (an
// R-tree), and the groups that touching boxes make, directly or through others (disjoint sets).

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

#include "gerberx/Geometry.h"

namespace gerberx {

class BoxIndex {
 public:
  // Empty boxes are left out.
  explicit BoxIndex(const std::vector<Box>& boxes);
  ~BoxIndex();
  BoxIndex(const BoxIndex&) = delete;
  BoxIndex& operator=(const BoxIndex&) = delete;

  // Calls f(i) once for each indexed box that shares a point with `box`.
  void ForEachTouching(const Box& box, const std::function<void(std::size_t)>& f) const;

 private:
  struct Tree;
  std::unique_ptr<Tree> tree_;
};

// The groups of boxes that touch, directly or through others: each group ascending, the groups
// in the order of their first box. An empty box is a group of its own.
std::vector<std::vector<std::size_t>> TouchingGroups(const std::vector<Box>& boxes);

// The pairs among boxes[members] that share a point, counted up to `cap` (the count stops there,
// and so does the work of counting: pairs that share an x range are looked at no more than `cap`
// times).
long long TouchingPairs(const std::vector<Box>& boxes, const std::vector<std::size_t>& members, long long cap);

}  // namespace gerberx
