#include "gerberx/ArcCentre.h"

#include <algorithm>
#include <cmath>

#include "gerberx/Shapes.h"

namespace gerberx {

namespace {

constexpr double kPi = 3.14159265358979323846;

}  // namespace

ArcCentre FindArcCentre(Point start, Point end, Point offset, bool clockwise, bool multiQuadrant) {
  ArcCentre arc;
  if (multiQuadrant) {
    arc.found = true;
    arc.centre = Moved(start, offset);
    arc.full = start == end;
    const Point centre = arc.centre;
    // Writers round the ends onto their grid, so the radii differ a little; by much, the arc is
    // not an arc of any circle.
    const double r0 = std::hypot(double(start.x) - centre.x, double(start.y) - centre.y);
    const double r1 = std::hypot(double(end.x) - centre.x, double(end.y) - centre.y);
    if (std::abs(r0 - r1) > 0.01 * kUnitsPerMm + 0.01 * std::max(r0, r1))
      arc.warning = "arc whose centre is " + std::to_string(ToMm(r0)) + " mm from its start and " +
                    std::to_string(ToMm(r1)) + " mm from its end: drawn as a spiral";
    return arc;
  }
  // Single quadrant: the offsets are unsigned; the signs are those that give an arc of at most
  // 90 degrees in the given direction, the one whose radii at both ends agree best.
  double best = 0;
  for (int sx : {1, -1}) {
    for (int sy : {1, -1}) {
      const Point c = Moved(start, {sx * std::abs(offset.x), sy * std::abs(offset.y)});
      const double a0 = std::atan2(double(start.y) - c.y, double(start.x) - c.x);
      const double a1 = std::atan2(double(end.y) - c.y, double(end.x) - c.x);
      double sweep = clockwise ? a0 - a1 : a1 - a0;
      while (sweep < 0) sweep += 2 * kPi;
      while (sweep >= 2 * kPi) sweep -= 2 * kPi;
      if (sweep > kPi / 2 + 1e-6) continue;
      const double r0 = std::hypot(double(start.x) - c.x, double(start.y) - c.y);
      const double r1 = std::hypot(double(end.x) - c.x, double(end.y) - c.y);
      const double err = std::abs(r0 - r1);
      if (!arc.found || err < best) {
        arc.found = true;
        best = err;
        arc.centre = c;
      }
    }
  }
  if (!arc.found) arc.warning = "single-quadrant arc longer than 90 degrees: drawn as a straight line";
  return arc;
}

}  // namespace gerberx
