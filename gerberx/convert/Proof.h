#pragma once

// The proof of a conversion: the written file, read back, against the original's dark area.
// Area of the original the written objects leave uncovered, and area they cover that is not the
// original's, both without the band of the tolerance along the original's edges: the uncovered
// area is measured where a disc as wide as the tolerance lies within the original, the added area
// where it lies clear of it.
//
// Objects written exactly as the original draws them (a pad, track or arc kept as it was, and
// not cut by a later clear object) lie in both and cannot differ: they are matched and left out.
// The rest is swept in rows a quarter of the tolerance apart, exact along each row, as the
// original paints them (a clear object cuts what came before it) and as the written file does.

#include <cstddef>
#include <cstdint>

#include "gerberx/Layer.h"

namespace gerberx::convert {

struct ProofResult {
  double UncoveredMm2 = 0.0;     // of the original, deeper than the tolerance, not covered
  double AddedMm2 = 0.0;         // covered, farther than the tolerance from the original
  double ComparedDarkMm2 = 0.0;  // the original's dark area where it was compared
  std::size_t Identical = 0;     // objects written as the original draws them: not compared
  std::size_t Compared = 0;      // objects of either file compared by their areas
  // A difference piece counts when it is larger than a square as wide as the tolerance and
  // thicker than half of it: the original's curves are read as chords up to a quarter of the
  // tolerance inside them, and the converter may use the whole tolerance besides, so slivers that
  // thin along curved edges are the measurement's own.
  std::size_t Pieces = 0;
  Box Worst;  // the largest piece that counts (empty when none does)
  double WorstMm2 = 0.0;

  bool Exceeds() const { return Pieces > 0; }
};

// Row crossings by edges the sweep makes at most: a few seconds' work. A file whose outlines
// would cross more is swept in rows farther apart, its measurement coarser and no slower.
constexpr double kProofCrossings = 1.5e8;

// Both layers read without their dark area and without the areas of plain objects (the
// converter's reading, gerberx::convert::ReadingOptions); `written` is what the converter wrote,
// read back. `tolerance` in grid units.
ProofResult Prove(const Layer& original, const Layer& written, std::int64_t tolerance,
                  double maxCrossings = kProofCrossings);

}  // namespace gerberx::convert
