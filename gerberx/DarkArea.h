#pragma once
// The dark area of an image built object by object: dark objects add, clear objects cut what
// came before them. Runs of one polarity are merged in one boolean each, and each boolean only
// over the groups of shapes whose boxes touch: the rest is kept as it is.

#include <vector>

#include "gerberx/Geometry.h"

namespace gerberx {

class DarkArea {
 public:
  void Add(const Area& area, bool clear);
  Area Result();

 private:
  void Flush();
  Area dark_;  // disjoint polygons, the image so far
  std::vector<Area> run_;
  bool runClear_ = false;
};

}  // namespace gerberx
