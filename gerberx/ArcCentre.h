#pragma once
// Where the centre of a circular draw (G02/G03) lies, from its ends and its I,J offset.

#include <string>

#include "gerberx/Geometry.h"

namespace gerberx {

struct ArcCentre {
  bool found = false;  // false: no arc of at most 90 degrees fits a single-quadrant draw
  Point centre;
  bool full = false;    // multi-quadrant with start == end: the whole circle
  std::string warning;  // what the draw's reader should be told, or empty
};

// multiQuadrant (G75): the offset is signed, from the start. Single quadrant (G74): the offset's
// signs are chosen.
ArcCentre FindArcCentre(Point start, Point end, Point offset, bool clockwise, bool multiQuadrant);

}  // namespace gerberx
