#include "gerberx/BoxGroups.h"

#include <boost/geometry.hpp>
#include <boost/geometry/index/rtree.hpp>
#include <boost/iterator/function_output_iterator.hpp>
#include <boost/pending/disjoint_sets.hpp>
#include <utility>

namespace gerberx {

namespace {

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;
using BPoint = bg::model::point<Coord, 2, bg::cs::cartesian>;
using BBox = bg::model::box<BPoint>;
using Entry = std::pair<BBox, std::size_t>;

BBox ToBox(const Box& b) { return {{b.min.x, b.min.y}, {b.max.x, b.max.y}}; }

}  // namespace

struct BoxIndex::Tree {
  bgi::rtree<Entry, bgi::rstar<16>> Index;
};

BoxIndex::BoxIndex(const std::vector<Box>& boxes) : tree_(std::make_unique<Tree>()) {
  std::vector<Entry> entries;
  entries.reserve(boxes.size());
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    if (!boxes[i].empty) entries.emplace_back(ToBox(boxes[i]), i);
  }
  tree_->Index = bgi::rtree<Entry, bgi::rstar<16>>(entries.begin(), entries.end());  // packed at once
}

BoxIndex::~BoxIndex() = default;

void BoxIndex::ForEachTouching(const Box& box, const std::function<void(std::size_t)>& f) const {
  if (box.empty) return;
  tree_->Index.query(bgi::intersects(ToBox(box)),
                     boost::make_function_output_iterator([&](const Entry& e) { f(e.second); }));
}

std::vector<std::vector<std::size_t>> TouchingGroups(const std::vector<Box>& boxes) {
  const std::size_t n = boxes.size();
  std::vector<std::size_t> rank(n), parent(n);
  boost::disjoint_sets<std::size_t*, std::size_t*> sets(rank.data(), parent.data());
  for (std::size_t i = 0; i < n; ++i) sets.make_set(i);
  const BoxIndex index(boxes);
  for (std::size_t i = 0; i < n; ++i) {
    index.ForEachTouching(boxes[i], [&](std::size_t j) {
      if (j > i) sets.union_set(i, j);
    });
  }
  std::vector<std::vector<std::size_t>> groups;
  std::vector<std::size_t> groupOf(n, n);
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t root = sets.find_set(i);
    if (groupOf[root] == n) {
      groupOf[root] = groups.size();
      groups.emplace_back();
    }
    groups[groupOf[root]].push_back(i);
  }
  return groups;
}

long long TouchingPairs(const std::vector<Box>& boxes, const std::vector<std::size_t>& members, long long cap) {
  std::vector<std::size_t> order;
  for (const std::size_t i : members) {
    if (!boxes[i].empty) order.push_back(i);
  }
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return boxes[a].min.x < boxes[b].min.x; });
  long long pairs = 0, looked = 0;
  std::vector<std::size_t> open;  // boxes whose x range may still reach the next ones
  for (const std::size_t i : order) {
    const Box& b = boxes[i];
    std::size_t kept = 0;
    for (const std::size_t j : open) {
      const Box& o = boxes[j];
      if (o.max.x < b.min.x) continue;  // closed: it reaches no later box
      open[kept++] = j;
      if (++looked >= cap) return cap;
      if (o.min.y <= b.max.y && b.min.y <= o.max.y && ++pairs >= cap) return cap;
    }
    open.resize(kept);
    open.push_back(i);
  }
  return pairs;
}

}  // namespace gerberx
