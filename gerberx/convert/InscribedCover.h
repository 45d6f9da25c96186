#pragma once

// The usual shapes of pads, regular polygons and turned rectangles, drawn with few objects: a
// convex ring whose edges all touch one disc or one round track gets that disc or track, and
// rings of narrower tracks along its edges, each reaching further into the corners, until what
// is left uncovered lies within the tolerance of the edges.

#include <cstdint>
#include <optional>
#include <vector>

#include "gerberx/convert/Pieces.h"

namespace gerberx::convert {

// The widths of the rings of tracks along the edges of a shape whose edges all touch a core of
// `coreRadius`, where a disc touching both edges of a corner leaves points up to `shallow` times
// its radius deep uncovered; each ring reaches into what the one before leaves, until what is
// left lies within the tolerance. None when the ladder has no width that does.
std::optional<std::vector<int64_t>> RingWidths(double coreRadius, double shallow, double tolerance,
                                               const std::vector<int64_t>& ladder);

// `ring` runs counter-clockwise without its closing point repeated; `ladder` holds the track
// widths to choose from, widest first. Adds the pieces and answers true when the ring has that
// form; otherwise adds nothing.
bool CoverInscribed(const std::vector<IntPoint>& ring, double tolerance, const std::vector<int64_t>& ladder,
                    Pieces& pieces);

}  // namespace gerberx::convert
