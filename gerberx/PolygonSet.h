#pragma once
// The polygon library behind the reader's areas (Boost.Polygon on the integer grid). The reader's
// own point, ring and polygon are registered with its traits, so sets take and give them as they
// are: one polygon type from the reader to the converter, the report and the drawing.

#include <boost/polygon/polygon.hpp>

#include "gerberx/Geometry.h"

namespace boost::polygon {

template <>
struct geometry_concept<gerberx::Point> {
  using type = point_concept;
};

template <>
struct point_traits<gerberx::Point> {
  using coordinate_type = gerberx::Coord;
  static coordinate_type get(const gerberx::Point& p, const orientation_2d& orient) {
    return orient == HORIZONTAL ? p.x : p.y;
  }
};

template <>
struct point_mutable_traits<gerberx::Point> {
  using coordinate_type = gerberx::Coord;
  static void set(gerberx::Point& p, const orientation_2d& orient, coordinate_type value) {
    (orient == HORIZONTAL ? p.x : p.y) = value;
  }
  static gerberx::Point construct(coordinate_type x, coordinate_type y) { return {x, y}; }
};

template <>
struct geometry_concept<gerberx::Ring> {
  using type = polygon_concept;
};

template <>
struct polygon_traits<gerberx::Ring> {
  using coordinate_type = gerberx::Coord;
  using iterator_type = gerberx::Ring::const_iterator;
  using point_type = gerberx::Point;
  static iterator_type begin_points(const gerberx::Ring& ring) { return ring.begin(); }
  static iterator_type end_points(const gerberx::Ring& ring) { return ring.end(); }
  static std::size_t size(const gerberx::Ring& ring) { return ring.size(); }
  static winding_direction winding(const gerberx::Ring&) { return unknown_winding; }
};

template <>
struct polygon_mutable_traits<gerberx::Ring> {
  // The library closes its rings by repeating the first point; the reader's rings do not.
  template <typename Iterator>
  static gerberx::Ring& set_points(gerberx::Ring& ring, Iterator begin, Iterator end) {
    ring.clear();
    for (Iterator it = begin; it != end; ++it) ring.push_back({x(*it), y(*it)});
    if (ring.size() > 1 && ring.front() == ring.back()) ring.pop_back();
    return ring;
  }
};

template <>
struct geometry_concept<gerberx::Polygon> {
  using type = polygon_with_holes_concept;
};

template <>
struct polygon_traits<gerberx::Polygon> {
  using coordinate_type = gerberx::Coord;
  using iterator_type = gerberx::Ring::const_iterator;
  using point_type = gerberx::Point;
  static iterator_type begin_points(const gerberx::Polygon& p) { return p.outer.begin(); }
  static iterator_type end_points(const gerberx::Polygon& p) { return p.outer.end(); }
  static std::size_t size(const gerberx::Polygon& p) { return p.outer.size(); }
  static winding_direction winding(const gerberx::Polygon&) { return unknown_winding; }
};

template <>
struct polygon_with_holes_traits<gerberx::Polygon> {
  using iterator_holes_type = std::vector<gerberx::Ring>::const_iterator;
  using hole_type = gerberx::Ring;
  static iterator_holes_type begin_holes(const gerberx::Polygon& p) { return p.holes.begin(); }
  static iterator_holes_type end_holes(const gerberx::Polygon& p) { return p.holes.end(); }
  static std::size_t size_holes(const gerberx::Polygon& p) { return p.holes.size(); }
};

template <>
struct polygon_mutable_traits<gerberx::Polygon> {
  template <typename Iterator>
  static gerberx::Polygon& set_points(gerberx::Polygon& p, Iterator begin, Iterator end) {
    polygon_mutable_traits<gerberx::Ring>::set_points(p.outer, begin, end);
    return p;
  }
};

template <>
struct polygon_with_holes_mutable_traits<gerberx::Polygon> {
  template <typename Iterator>
  static gerberx::Polygon& set_holes(gerberx::Polygon& p, Iterator begin, Iterator end) {
    p.holes.clear();
    for (Iterator hole = begin; hole != end; ++hole) {
      polygon_mutable_traits<gerberx::Ring>::set_points(p.holes.emplace_back(), begin_points(*hole), end_points(*hole));
    }
    return p;
  }
};

}  // namespace boost::polygon

namespace gerberx {

using PolygonSet = boost::polygon::polygon_set_data<Coord>;

void AddRing(PolygonSet& set, const Ring& ring);
void AddArea(PolygonSet& set, const Area& area);
Area ToArea(const PolygonSet& set);

}  // namespace gerberx
