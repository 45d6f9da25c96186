#pragma once
// Integer plane geometry of the reader: points, polygons and areas in one fixed unit.
//
// The unit is the plug-in's internal length, 1/10000 mil (2.54 nm): what the reader gives
// compares exactly with the objects the plug-in creates, and 32 bits reach +-5.4 m. Polygon
// booleans are exact on this grid (intersections round to it).

#include <cstdint>
#include <vector>

namespace gerberx {

using Coord = std::int32_t;

constexpr Coord kUnitsPerInch = 10'000'000;
constexpr double kUnitsPerMm = kUnitsPerInch / 25.4;
// The reader refuses coordinates beyond this, so that differences and sums of two never overflow.
constexpr Coord kCoordLimit = Coord{1} << 30;

constexpr double ToMm(double units) { return units / kUnitsPerMm; }

struct Point {
  Coord x = 0;
  Coord y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Box {
  Point min;
  Point max;
  bool empty = true;
  void Add(Point p);
  void Add(const Box& other);
  bool Overlaps(const Box& other) const;
};

// A closed ring; the last point is not repeated. Outer rings run counter-clockwise, holes clockwise.
using Ring = std::vector<Point>;

struct Polygon {
  Ring outer;
  std::vector<Ring> holes;
};

// A set of polygons that neither overlap nor touch along an edge: a union already done.
// The reader's objects and the layer's dark area are Areas.
using Area = std::vector<Polygon>;

// Booleans on areas; every result is again an Area (disjoint polygons with holes).
Area Union(const Area& a, const Area& b);
Area Union(const std::vector<Area>& areas);
Area Difference(const Area& a, const Area& b);
Area Intersection(const Area& a, const Area& b);
// Grows (positive) or shrinks (negative) an area by `distance`, with round corners.
Area Offset(const Area& a, Coord distance, double chordErrorUnits);

Box BoundingBox(const Area& a);
// Signed area in square units (holes subtract); ringArea is positive for counter-clockwise rings.
double RingArea(const Ring& ring);
double AreaOf(const Area& a);
inline double AreaMm2(const Area& a) { return AreaOf(a) / (kUnitsPerMm * kUnitsPerMm); }
// True when the two areas share a region of positive size (not merely a touching edge or point).
bool Overlaps(const Area& a, const Area& b);
std::size_t VertexCount(const Area& a);

}  // namespace gerberx
