#pragma once

// Standard apertures flashed and stroked, as polygons whose vertices lie on the true outline and
// whose edges stay within a quarter of the tolerance of it.

#include <cstdint>

#include "gerberx/convert/Decompose.h"
#include "gerberx/convert/SourceLayer.h"

namespace zz::gerberx::convert {

// The flash of an aperture at a point; a hole is a hole of the shape.
IntShape FlashShape(const StandardAperture& aperture, IntPoint at, double tolerance);

// A linear stroke: a circle swept along it, or any other aperture's convex outline swept along it.
IntShape LineShape(const StandardAperture& aperture, IntPoint from, IntPoint to, double tolerance);

// A circular stroke of a circle of the aperture's size (other apertures are not allowed there).
IntShape ArcShape(int64_t width, IntPoint from, IntPoint to, IntPoint centre, bool clockwise, double tolerance);

// Chords per full turn for a circle of this radius.
int CircleSegments(double radius, double tolerance);

}  // namespace zz::gerberx::convert
