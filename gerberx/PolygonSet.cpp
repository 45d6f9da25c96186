#include "gerberx/PolygonSet.h"

#include <algorithm>

namespace gerberx {

void AddRing(PolygonSet& set, const Ring& ring) {
  if (ring.size() < 3) return;
  set.insert(ring);
}

void AddArea(PolygonSet& set, const Area& area) {
  for (const Polygon& p : area) set.insert(p);
}

Area ToArea(const PolygonSet& set) {
  Area area;
  set.get(area);
  // Outer rings counter-clockwise, holes clockwise, whichever way the library gives them.
  for (Polygon& p : area) {
    if (RingArea(p.outer) < 0) std::reverse(p.outer.begin(), p.outer.end());
    for (Ring& ring : p.holes) {
      if (RingArea(ring) > 0) std::reverse(ring.begin(), ring.end());
    }
  }
  return area;
}

}  // namespace gerberx
