#include "gerberx/PolygonSet.h"

namespace gerberx {
namespace bp = boost::polygon;

namespace {

bp::point_data<Coord> ToLib(Point p) { return {p.x, p.y}; }

Ring FromLib(const auto& begin, const auto& end) {
  Ring ring;
  for (auto it = begin; it != end; ++it) ring.push_back(Point{bp::x(*it), bp::y(*it)});
  if (ring.size() > 1 && ring.front() == ring.back()) ring.pop_back();
  return ring;
}

}  // namespace

void AddRing(PolygonSet& set, const Ring& ring) {
  if (ring.size() < 3) return;
  std::vector<bp::point_data<Coord>> points;
  points.reserve(ring.size());
  for (Point p : ring) points.push_back(ToLib(p));
  bp::polygon_data<Coord> polygon;
  polygon.set(points.begin(), points.end());
  set.insert(polygon);
}

void AddArea(PolygonSet& set, const Area& area) {
  for (const Polygon& p : area) {
    std::vector<bp::point_data<Coord>> points;
    for (Point q : p.outer) points.push_back(ToLib(q));
    bp::polygon_with_holes_data<Coord> polygon;
    polygon.set(points.begin(), points.end());
    std::vector<bp::polygon_data<Coord>> holes;
    for (const Ring& h : p.holes) {
      std::vector<bp::point_data<Coord>> hp;
      for (Point q : h) hp.push_back(ToLib(q));
      holes.emplace_back().set(hp.begin(), hp.end());
    }
    polygon.set_holes(holes.begin(), holes.end());
    set.insert(polygon);
  }
}

Area ToArea(const PolygonSet& set) {
  std::vector<bp::polygon_with_holes_data<Coord>> polygons;
  set.get(polygons);
  Area area;
  area.reserve(polygons.size());
  for (const auto& p : polygons) {
    Polygon out;
    out.outer = FromLib(p.begin(), p.end());
    if (RingArea(out.outer) < 0) std::reverse(out.outer.begin(), out.outer.end());
    for (auto h = p.begin_holes(); h != p.end_holes(); ++h) {
      Ring ring = FromLib(h->begin(), h->end());
      if (RingArea(ring) > 0) std::reverse(ring.begin(), ring.end());
      out.holes.push_back(std::move(ring));
    }
    area.push_back(std::move(out));
  }
  return area;
}

}  // namespace gerberx
