#pragma once

// The usual shapes of pads, regular polygons and turned rectangles, drawn with few objects: a
// convex ring whose edges all touch one disc or one round track gets that disc or track, and
// rings of narrower tracks along its edges, each reaching further into the corners, until what
// is left uncovered lies within the tolerance of the edges.

#include <cstdint>
#include <vector>

#include "gerberx/convert/Pieces.h"

namespace gerberx::convert {

// `ring` runs counter-clockwise without its closing point repeated; `ladder` holds the track
// widths to choose from, widest first. Adds the pieces and answers true when the ring has that
// form; otherwise adds nothing.
bool CoverInscribed(const std::vector<IntPoint>& ring, double tolerance, const std::vector<int64_t>& ladder,
                    Pieces& pieces);

}  // namespace gerberx::convert
