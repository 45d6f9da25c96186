#pragma once
// The polygon library behind the reader's areas (Boost.Polygon on the integer grid).

#include <boost/polygon/polygon.hpp>

#include "gerberx/Geometry.h"

namespace gerberx {

using PolygonSet = boost::polygon::polygon_set_data<Coord>;

void AddRing(PolygonSet& set, const Ring& ring);
void AddArea(PolygonSet& set, const Area& area);
Area ToArea(const PolygonSet& set);

}  // namespace gerberx
