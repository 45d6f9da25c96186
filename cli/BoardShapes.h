#pragma once

// The area each board object covers, as a polygon in the board's internal units (1/10000 mil),
// drawn as the editor draws it: tracks and arcs with round ends, fills as turned rectangles,
// pads by their top shape (a stadium for a round pad of two sizes, a regular octagon in its box,
// any other shape a circle as wide as its larger size). Curves are inscribed polygons with edges
// within kChordErrorMm of them, as the full reader makes its curves.

#include <boost/polygon/polygon.hpp>
#include <cstdint>
#include <vector>

#include "standin/ObjectStore.h"

namespace zzcli {

// 2.5 micrometres, a tenth of a pixel at 1000 dpi: finer costs the area comparison time and
// changes the shares by less than 0.1 %.
constexpr double kChordErrorMm = 0.0025;

using PolygonSet = boost::polygon::polygon_set_data<int32_t>;
using Ring = std::vector<boost::polygon::point_data<int32_t>>;

// Adds the object's area to the set (nothing for kinds without a shape, or an empty object).
void AddObjectShape(PolygonSet& set, const standin::ObjectStore& objects, zz::THandle handle);

// Shapes used for the objects, also by whoever draws with the same accuracy.
// A hole takes its area out of a shape inserted before it.
void AddCircle(PolygonSet& set, double cx, double cy, double diameter, bool hole = false);
void AddStroke(PolygonSet& set, double x1, double y1, double x2, double y2, double width);
void AddPolygon(PolygonSet& set, const std::vector<std::pair<double, double>>& points);

// The area of a set in square millimetres.
double AreaMm2(const PolygonSet& set);

// The outlines of a set (outer rings counter-clockwise, holes clockwise), for drawing.
std::vector<Ring> Outlines(const PolygonSet& set);

}  // namespace zzcli
