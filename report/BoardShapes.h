#pragma once

// The area each board object covers, drawn as the editor draws it: tracks and arcs with round
// ends, fills as turned rectangles, pads by their top shape (a stadium for a round pad of two
// sizes, a regular octagon in its box, any other shape a circle as wide as its larger size).
// The outlines come from the reader's shapes module, with the reader's chord error.

#include "gerberx/ObjectOutlines.h"
#include "standin/ObjectStore.h"

namespace zzreport {

// 2.5 micrometres, a tenth of a pixel at 1000 dpi.
constexpr double kChordErrorMm = 0.0025;

// Adds the object's outline (nothing for kinds without a shape, or an empty object).
void AddObjectOutline(gerberx::Outline& out, const standin::ObjectStore& objects, zz::THandle handle);
// A y at or below everything the object covers: the bottom of its box on the board.
gerberx::Coord LowestY(const standin::ObjectStore& objects, zz::THandle handle);

}  // namespace zzreport
