#pragma once
// The dark area of an image built object by object: dark objects add, clear objects cut what
// came before them. Runs of one polarity are merged in one boolean each.

#include <vector>

#include "gerberx/Geometry.h"
#include "gerberx/PolygonSet.h"

namespace gerberx {

class DarkArea {
 public:
  void Add(const Area& area, bool clear);
  Area Result();

 private:
  void Flush();
  PolygonSet dark_;
  bool darkEmpty_ = true;
  std::vector<Area> run_;
  bool runClear_ = false;
};

}  // namespace gerberx
