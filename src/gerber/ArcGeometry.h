#pragma once

// The two measurements of a circular draw: the direction of a point seen from the arc's
// centre and the distance between two points. Coordinates enter as single-precision floats;
// the arithmetic runs in extended precision with the single-precision steps the host's
// arcs have always been computed with.

namespace zz {

// Degrees of the direction from (cx, cy) to (px, py): -90 (exclusive) to 270 (inclusive);
// directions right of the centre and below it are negative. The centre itself gives 270.
float PointAngle(float cx, float cy, float px, float py);

// The distance from (ax, ay) to (bx, by).
float PointDistance(float ax, float ay, float bx, float by);

// x * 180 / pi, with pi in extended precision.
double RadiansToDegrees(double x);

}  // namespace zz
