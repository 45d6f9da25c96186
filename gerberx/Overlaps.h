#pragma once
// Which objects a later clear object cuts: those the converter cannot keep as they are.

#include <vector>

#include "gerberx/Layer.h"

namespace gerberx {

// For each object of the layer (same order), whether a clear object drawn after it overlaps it
// by a positive area, so that part of its own shape is not dark in the final image. Clear
// objects themselves are never marked. Needs the objects' areas (Options::keepObjectAreas); a
// plain object read without its area is given one within `chordError` grid units when a clear
// object comes near it.
std::vector<bool> CutByLaterClear(const Layer& layer, double chordError = 0.001 * kUnitsPerMm);

}  // namespace gerberx
