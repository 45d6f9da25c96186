#include "gerberx/Overlaps.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "gerberx/DrawnShapes.h"

namespace gerberx {

namespace {

// A uniform grid over the clear objects' boxes; a clear object that would cover too many cells
// goes to a list that every object is checked against.
class ClearIndex {
 public:
  ClearIndex(const std::vector<Object>& objects, const std::vector<std::size_t>& clears) {
    Box all;
    for (std::size_t j : clears) all.Add(objects[j].box);
    origin_ = all.min;
    const double side = std::max(double(all.max.x) - all.min.x, double(all.max.y) - all.min.y) + 1;
    const double cells = std::clamp(std::sqrt(double(clears.size())), 1.0, 1024.0);
    cell_ = std::max(1.0, side / cells);
    for (std::size_t j : clears) {
      const Box& b = objects[j].box;
      const long long x0 = Cell(b.min.x, origin_.x), x1 = Cell(b.max.x, origin_.x);
      const long long y0 = Cell(b.min.y, origin_.y), y1 = Cell(b.max.y, origin_.y);
      if ((x1 - x0 + 1) * (y1 - y0 + 1) > 64) {
        big_.push_back(j);
        continue;
      }
      for (long long x = x0; x <= x1; ++x)
        for (long long y = y0; y <= y1; ++y) cells_[Key(x, y)].push_back(j);
    }
  }

  // Calls f(j) for each clear object whose box may overlap `box` (possibly more than once).
  template <typename F>
  void ForEachNear(const Box& box, F f) const {
    for (std::size_t j : big_) f(j);
    const long long x0 = Cell(box.min.x, origin_.x), x1 = Cell(box.max.x, origin_.x);
    const long long y0 = Cell(box.min.y, origin_.y), y1 = Cell(box.max.y, origin_.y);
    if ((x1 - x0 + 1) * (y1 - y0 + 1) > 4096) {
      for (const auto& [key, list] : cells_)
        for (std::size_t j : list) f(j);
      return;
    }
    for (long long x = x0; x <= x1; ++x)
      for (long long y = y0; y <= y1; ++y) {
        auto it = cells_.find(Key(x, y));
        if (it != cells_.end())
          for (std::size_t j : it->second) f(j);
      }
  }

 private:
  long long Cell(Coord v, Coord origin) const {
    return static_cast<long long>(std::floor((double(v) - origin) / cell_));
  }
  static long long Key(long long x, long long y) { return x * 4'000'003LL + y; }

  Point origin_;
  double cell_ = 1;
  std::unordered_map<long long, std::vector<std::size_t>> cells_;
  std::vector<std::size_t> big_;
};

}  // namespace

std::vector<bool> CutByLaterClear(const Layer& layer, double chordError) {
  const std::vector<Object>& objects = layer.objects;
  std::vector<bool> cut(objects.size(), false);
  std::vector<std::size_t> clears;
  for (std::size_t j = 0; j < objects.size(); ++j)
    if (objects[j].polarity == Polarity::Clear && !objects[j].box.empty) clears.push_back(j);
  if (clears.empty()) return cut;
  const ClearIndex index(objects, clears);
  for (std::size_t i = 0; i < objects.size(); ++i) {
    const Object& o = objects[i];
    if (o.polarity == Polarity::Clear || o.box.empty) continue;
    bool found = false;
    Area built;  // the plain object's area, once a clear object is near
    index.ForEachNear(o.box, [&](std::size_t j) {
      if (found || j <= i || !objects[j].box.Overlaps(o.box)) return;
      if (o.area.empty() && built.empty() && o.IsPlain()) built = PlainArea(o, chordError);
      found = Overlaps(o.area.empty() ? built : o.area, objects[j].area);
    });
    cut[i] = found;
  }
  return cut;
}

}  // namespace gerberx
