#pragma once

// The proof of a conversion: the written file, read back, against the original's dark area.
// Area of the original the written objects leave uncovered, and area they cover that is not the
// original's, both without the band of the tolerance along the original's edges: the uncovered
// area is measured inside the original shrunk by the tolerance, the added area outside it grown
// by the tolerance.
//
// Objects written exactly as the original draws them (a pad, track or arc kept as it was, and
// not cut by a later clear object) lie in both and cannot differ: they are matched and left out,
// so that the polygon work is only where the converter remade something. That part is measured
// in groups of what touches, each within a window around it.

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
  // thicker than a tenth of it: polygons standing for curves leave slivers thinner than that.
  std::size_t Pieces = 0;
  Box Worst;  // the largest piece that counts (empty when none does)
  double WorstMm2 = 0.0;

  bool Exceeds() const { return Pieces > 0; }
};

// Both layers read without their dark area and without the areas of plain objects (the
// converter's reading, gerberx::convert::ReadingOptions); `written` is what the converter wrote,
// read back. `tolerance` in grid units.
ProofResult Prove(const Layer& original, const Layer& written, std::int64_t tolerance);

}  // namespace gerberx::convert
