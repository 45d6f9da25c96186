#pragma once

// The board drawn to scale for a browser: copper on a dark background, y up, the viewBox and
// the page size in millimetres with a small margin around the objects.
//
// Tracks are lines with round caps; arcs are paths with round caps, counter-clockwise from the
// start angle to the end angle (an end angle below the start angle has 360 added; a sweep of
// 360 or more is a whole circle); fills are rectangles; pads by their top shape: round (1) a
// circle, or a stadium when the sizes differ, rectangle (2) a rectangle, octagon (3) an
// octagon, any other shape a circle as wide as the larger size. A pad's hole shows dark.

#include <ostream>
#include <string>

#include "standin/Board.h"
#include "standin/ObjectStore.h"

namespace standin {

void WriteBoardSvg(std::ostream& out, const ObjectStore& objects, const Board& board);
std::string BoardSvg(const ObjectStore& objects, const Board& board);

// Internal units (1/10000 mil) in millimetres.
constexpr double kMillimetresPerUnit = 0.0254 / 10000.0;

}  // namespace standin
