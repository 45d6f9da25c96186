#pragma once

// Checks pieces against the polygons they stand for, by sampling: a point of the dark area
// farther than the tolerance from its edge must be covered, and a covered point must lie in the
// dark area or within the tolerance of it.

#include <cstddef>
#include <vector>

#include "gerberx/convert/Decompose.h"

namespace gerberx::convert::testing {

struct CoverageMiss {
  std::size_t Uncovered = 0;  // samples deep inside the dark area that no piece covers
  std::size_t Overshoot = 0;  // covered samples farther than the tolerance outside
  std::size_t Samples = 0;
};

CoverageMiss CheckCoverage(const std::vector<IntShape>& shapes, const Pieces& pieces, double tolerance,
                           std::size_t samplesPerSide);

// Rings for test shapes.
IntRing Box(int64_t x1, int64_t y1, int64_t x2, int64_t y2);
IntRing CirclePoints(int64_t cx, int64_t cy, int64_t radius, int count, double startDeg = 0.0);
// A rounded rectangle with `perCorner` chords on each corner.
IntRing RoundedBox(int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t radius, int perCorner);

}  // namespace gerberx::convert::testing
