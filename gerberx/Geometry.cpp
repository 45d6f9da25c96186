#include "gerberx/Geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "gerberx/PolygonSet.h"

namespace gerberx {

void Box::Add(Point p) {
  if (empty) {
    min = max = p;
    empty = false;
    return;
  }
  min.x = std::min(min.x, p.x);
  min.y = std::min(min.y, p.y);
  max.x = std::max(max.x, p.x);
  max.y = std::max(max.y, p.y);
}

void Box::Add(const Box& other) {
  if (other.empty) return;
  Add(other.min);
  Add(other.max);
}

bool Box::Overlaps(const Box& other) const {
  return !empty && !other.empty && min.x < other.max.x && other.min.x < max.x && min.y < other.max.y &&
         other.min.y < max.y;
}

Area Union(const Area& a, const Area& b) {
  PolygonSet set;
  AddArea(set, a);
  AddArea(set, b);
  return ToArea(set);
}

Area Union(const std::vector<Area>& areas) {
  PolygonSet set;
  for (const Area& a : areas) AddArea(set, a);
  return ToArea(set);
}

Area Difference(const Area& a, const Area& b) {
  PolygonSet left, right;
  AddArea(left, a);
  AddArea(right, b);
  using namespace boost::polygon::operators;
  left -= right;
  return ToArea(left);
}

Area Intersection(const Area& a, const Area& b) {
  PolygonSet left, right;
  AddArea(left, a);
  AddArea(right, b);
  using namespace boost::polygon::operators;
  left &= right;
  return ToArea(left);
}

Area Offset(const Area& a, Coord distance, double chordErrorUnits) {
  PolygonSet set;
  AddArea(set, a);
  if (distance == 0) return ToArea(set);
  // resize() rounds corners with `segments` per quarter circle: enough to stay within the error.
  const double r = std::abs(static_cast<double>(distance));
  int segments = 1;
  if (chordErrorUnits > 0 && chordErrorUnits < r) {
    const double step = 2 * std::acos(1 - chordErrorUnits / r);
    segments = std::clamp(static_cast<int>(std::ceil((std::numbers::pi / 2) / step)), 1, 1024);
  }
  set.resize(distance, true, static_cast<unsigned>(segments));
  return ToArea(set);
}

Box BoundingBox(const Area& a) {
  Box box;
  for (const Polygon& p : a)
    for (Point q : p.outer) box.Add(q);
  return box;
}

double RingArea(const Ring& ring) {
  // Shoelace in 64 bits per term, summed in double: exact for rings of up to millions of points.
  double sum = 0;
  const std::size_t n = ring.size();
  for (std::size_t i = 0; i < n; ++i) {
    const Point p = ring[i], q = ring[(i + 1) % n];
    sum += static_cast<double>(static_cast<std::int64_t>(p.x) * q.y - static_cast<std::int64_t>(q.x) * p.y);
  }
  return sum / 2;
}

double AreaOf(const Area& a) {
  double total = 0;
  for (const Polygon& p : a) {
    total += std::abs(RingArea(p.outer));
    for (const Ring& h : p.holes) total -= std::abs(RingArea(h));
  }
  return total;
}

bool Overlaps(const Area& a, const Area& b) {
  if (!BoundingBox(a).Overlaps(BoundingBox(b))) return false;
  return AreaOf(Intersection(a, b)) > 0;
}

std::size_t VertexCount(const Area& a) {
  std::size_t n = 0;
  for (const Polygon& p : a) {
    n += p.outer.size();
    for (const Ring& h : p.holes) n += h.size();
  }
  return n;
}

}  // namespace gerberx
