#pragma once

// Dark area given as polygons, remade from what the importer can create: axis-aligned boxes for
// the inside, round tracks along slanted edges, full-circle arcs around round holes and round
// discs for round shapes. Every point of the result lies within the tolerance of the dark area,
// and every point of the dark area farther than the tolerance from its edge is covered.

#include <cstdint>
#include <vector>

#include "gerberx/convert/Pieces.h"

namespace gerberx::convert {

// A closed ring without its closing point repeated; either orientation.
using IntRing = std::vector<IntPoint>;

// One polygon: its outer ring and its holes. The polygons of one call do not overlap.
struct IntShape {
  IntRing Outer;
  std::vector<IntRing> Holes;
};

struct DecomposeOptions {
  int64_t Tolerance = 1969;        // 0.005 mm in internal units
  int64_t MaxTrackWidth = 500000;  // 50 mil: wider tracks save little and reach past narrow parts
  // Polygon edges the cuts of clear objects may go through, all told: each cut goes through the
  // dark pieces it meets, so a file that changes polarity often over one place costs far more than
  // its objects. `zizozudu convert` allows 500,000 + 1 per 2 bytes of the file (CutEdgesFor).
  int64_t MaxCutEdges = 500'000;
};

Pieces Decompose(const std::vector<IntShape>& shapes, const DecomposeOptions& options);

// The widths Decompose gives its tracks and arcs: a fixed ladder, so that a file needs few apertures.
std::vector<int64_t> TrackWidthLadder(const DecomposeOptions& options);

}  // namespace gerberx::convert
