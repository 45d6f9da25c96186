#include "gerberx/DarkArea.h"

#include <algorithm>
#include <cstdint>

namespace gerberx {

namespace {

using namespace boost::polygon::operators;

// Interleaved bits of the two coordinates: near points get near keys.
std::uint64_t MortonKey(Point p) {
  const std::uint64_t x = static_cast<std::uint32_t>(p.x) ^ 0x80000000u, y = static_cast<std::uint32_t>(p.y) ^ 0x80000000u;
  std::uint64_t key = 0;
  for (int bit = 31; bit >= 0; --bit) key = (key << 2) | (((x >> bit) & 1) << 1) | ((y >> bit) & 1);
  return key;
}

constexpr std::size_t kGroup = 16;

// The union of many areas: neighbours first, so that each merge sees few edges that the next
// merge no longer needs (one sweep over everything at once is several times slower).
PolygonSet UnionOfMany(std::vector<Area>& areas) {
  std::vector<std::pair<std::uint64_t, std::size_t>> order;
  order.reserve(areas.size());
  for (std::size_t i = 0; i < areas.size(); ++i) {
    const Box b = BoundingBox(areas[i]);
    order.emplace_back(MortonKey({static_cast<Coord>(b.min.x / 2 + b.max.x / 2), static_cast<Coord>(b.min.y / 2 + b.max.y / 2)}), i);
  }
  std::sort(order.begin(), order.end());
  std::vector<PolygonSet> level;
  for (std::size_t i = 0; i < order.size(); i += kGroup) {
    PolygonSet set;
    for (std::size_t j = i; j < std::min(order.size(), i + kGroup); ++j) AddArea(set, areas[order[j].second]);
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
  return level.empty() ? PolygonSet() : std::move(level[0]);
}

}  // namespace

void DarkArea::Add(const Area& area, bool clear) {
  if (area.empty()) return;
  if (!run_.empty() && clear != runClear_) Flush();
  runClear_ = clear;
  run_.push_back(area);
}

void DarkArea::Flush() {
  if (run_.empty()) return;
  if (runClear_) {
    if (!darkEmpty_) dark_ -= UnionOfMany(run_);
  } else if (darkEmpty_) {
    dark_ = UnionOfMany(run_);
    darkEmpty_ = false;
  } else {
    dark_ += UnionOfMany(run_);
  }
  run_.clear();
}

Area DarkArea::Result() {
  Flush();
  return ToArea(dark_);
}

}  // namespace gerberx
