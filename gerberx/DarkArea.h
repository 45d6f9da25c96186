#pragma once
// The dark area of an image built object by object: dark objects add, clear objects cut what
// came before them. Runs of one polarity are merged in one boolean each, and each boolean only
// over the groups of shapes whose boxes touch: the rest is kept as it is.

#include <functional>
#include <utility>
#include <vector>

#include "gerberx/Geometry.h"

namespace gerberx {

class DarkArea {
 public:
  // Told the vertices a flush puts through the polygon library (of the run and of the image so far
  // that it touches) before it does: it may throw to stop the work. The image goes through again
  // at each change of polarity, so a file that changes often over a large image costs far more
  // than its objects.
  using Charge = std::function<void(long long vertices)>;

  explicit DarkArea(Charge charge = {}) : charge_(std::move(charge)) {}
  void Add(const Area& area, bool clear);
  Area Result();

 private:
  void Flush();
  Charge charge_;
  Area dark_;  // disjoint polygons, the image so far
  std::vector<Area> run_;
  bool runClear_ = false;
};

}  // namespace gerberx
