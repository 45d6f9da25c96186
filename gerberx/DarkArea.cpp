#include "gerberx/DarkArea.h"

#include <algorithm>
#include <cstdint>

#include "gerberx/BoxGroups.h"
#include "gerberx/PolygonSet.h"

namespace gerberx {

namespace {

using namespace boost::polygon::operators;

// Interleaved bits of the two coordinates: near points get near keys.
std::uint64_t MortonKey(Point p) {
  const std::uint64_t x = static_cast<std::uint32_t>(p.x) ^ 0x80000000u,
                      y = static_cast<std::uint32_t>(p.y) ^ 0x80000000u;
  std::uint64_t key = 0;
  for (int bit = 31; bit >= 0; --bit) key = (key << 2) | (((x >> bit) & 1) << 1) | ((y >> bit) & 1);
  return key;
}

constexpr std::size_t kGroup = 16;
constexpr long long kCrossingsPerPair = 8;  // two quadrilaterals cross at most so often
// Pairs looked at, at most, in one flush: a fraction of a second, and a charge past any budget.
constexpr long long kMaxPairs = 100'000'000;

// The union of many areas: neighbours first, so that each merge sees few edges that the next
// merge no longer needs (one sweep over everything at once is several times slower).
PolygonSet UnionOfMany(const std::vector<const Area*>& areas, const std::vector<Box>& boxes) {
  std::vector<std::pair<std::uint64_t, std::size_t>> order;
  order.reserve(areas.size());
  for (std::size_t i = 0; i < areas.size(); ++i) {
    const Box& b = boxes[i];
    order.emplace_back(
        MortonKey({static_cast<Coord>(b.min.x / 2 + b.max.x / 2), static_cast<Coord>(b.min.y / 2 + b.max.y / 2)}), i);
  }
  std::sort(order.begin(), order.end());
  std::vector<PolygonSet> level;
  for (std::size_t i = 0; i < order.size(); i += kGroup) {
    PolygonSet set;
    for (std::size_t j = i; j < std::min(order.size(), i + kGroup); ++j) AddArea(set, *areas[order[j].second]);
    set.clean();
    level.push_back(std::move(set));
  }
  while (level.size() > 1) {
    std::vector<PolygonSet> next;
    for (std::size_t i = 0; i < level.size(); i += kGroup) {
      PolygonSet set;
      for (std::size_t j = i; j < std::min(level.size(), i + kGroup); ++j) set.insert(level[j]);
      set.clean();
      next.push_back(std::move(set));
    }
    level.swap(next);
  }
  return level.empty() ? PolygonSet() : level[0];  // the set has no move constructor
}

void Append(Area& to, const Area& from) { to.insert(to.end(), from.begin(), from.end()); }

}  // namespace

void DarkArea::Add(const Area& area, bool clear) {
  if (area.empty()) return;
  if (!run_.empty() && clear != runClear_) Flush();
  runClear_ = clear;
  run_.push_back(area);
}

// The image so far (each polygon a shape of its own) and the run, grouped by touching boxes: a
// group without a shape of the run keeps its polygon; a group of one dark object keeps its area
// (an object's area is already a union); the rest go through the polygon library.
void DarkArea::Flush() {
  if (run_.empty()) return;
  if (runClear_ && dark_.empty()) {
    run_.clear();
    return;
  }
  std::vector<Area> old;
  old.reserve(dark_.size());
  for (Polygon& p : dark_) old.push_back(Area{std::move(p)});
  dark_.clear();
  std::vector<const Area*> shapes;
  std::vector<Box> boxes;
  for (const Area& a : old) shapes.push_back(&a);
  for (const Area& a : run_) shapes.push_back(&a);
  for (const Area* a : shapes) boxes.push_back(BoundingBox(*a));
  const std::size_t firstOfRun = old.size();
  const std::vector<std::vector<std::size_t>> groups = TouchingGroups(boxes);
  if (charge_) {
    // Counted before any of it is done: the groups that go through the polygon library below.
    long long work = 0;
    for (const std::vector<std::size_t>& group : groups) {
      const bool hasRun = group.back() >= firstOfRun, hasBefore = group.front() < firstOfRun;
      if (group.size() == 1 || !hasRun || (runClear_ && !hasBefore)) continue;
      for (std::size_t i : group) work += static_cast<long long>(VertexCount(*shapes[i]));
      // Each pair of shapes that meet may cross: their crossings are vertices too, and a grid of
      // strokes makes as many as the square of its strokes.
      work += kCrossingsPerPair * TouchingPairs(boxes, group, kMaxPairs);
    }
    if (work > 0) charge_(work);
  }
  for (const std::vector<std::size_t>& group : groups) {
    if (group.size() == 1) {
      if (group[0] < firstOfRun || !runClear_) Append(dark_, *shapes[group[0]]);
      continue;
    }
    std::vector<const Area*> before, run;
    std::vector<Box> beforeBoxes, runBoxes;
    for (std::size_t i : group) {
      (i < firstOfRun ? before : run).push_back(shapes[i]);
      (i < firstOfRun ? beforeBoxes : runBoxes).push_back(boxes[i]);
    }
    if (run.empty()) {
      for (const Area* a : before) Append(dark_, *a);
      continue;
    }
    if (runClear_ && before.empty()) continue;
    PolygonSet result;
    if (runClear_) {
      // The image's polygons are disjoint already: no union needed before the cut.
      for (const Area* a : before) AddArea(result, *a);
      result -= UnionOfMany(run, runBoxes);
    } else {
      for (const Area* a : before) run.push_back(a);
      for (const Box& b : beforeBoxes) runBoxes.push_back(b);
      result = UnionOfMany(run, runBoxes);
    }
    Append(dark_, ToArea(result));
  }
  run_.clear();
}

Area DarkArea::Result() {
  Flush();
  return std::move(dark_);
}

}  // namespace gerberx
