#pragma once
// The shapes of apertures, draws and macro primitives, built in floating point and rounded once
// onto the integer grid through an affine map (units, aperture transforms, placement).

#include <vector>

#include "gerberx/Geometry.h"

namespace gerberx {

struct DPoint {
  double x = 0;
  double y = 0;
};
using DRing = std::vector<DPoint>;

// x' = a x + b y + tx, y' = c x + d y + ty.
struct Affine {
  double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

  static Affine Translation(double x, double y) { return {1, 0, 0, 1, x, y}; }
  static Affine Scaling(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }
  static Affine Rotation(double degrees);
  // This map after `first`.
  Affine After(const Affine& first) const;
  DPoint Apply(DPoint p) const { return {a * p.x + b * p.y + tx, c * p.x + d * p.y + ty}; }
  DPoint ApplyLinear(DPoint p) const { return {a * p.x + b * p.y, c * p.x + d * p.y}; }
  double Determinant() const { return a * d - b * c; }
  bool Mirrors() const { return Determinant() < 0; }
  // How much lengths grow (exact for maps that keep angles).
  double LengthScale() const;
  bool KeepsAngles() const;
  bool IsIdentity() const { return a == 1 && b == 0 && c == 0 && d == 1 && tx == 0 && ty == 0; }
};

// Points of a polygon inscribed in a circle within `chordError` (all in the same unit).
int SegmentsForArc(double radius, double sweepRadians, double chordError);
DRing Circle(DPoint centre, double radius, double chordError);
// Appends the points of an arc from angle `start` through `sweep` radians (negative: clockwise),
// the end point included, the start point only when `withStart`.
void AppendArc(DRing& ring, DPoint centre, double radius, double start, double sweep, double chordError,
               bool withStart);
DRing Rectangle(double xSize, double ySize);  // centred on the origin
DRing Obround(double xSize, double ySize, double chordError);
DRing RegularPolygon(double diameter, int vertices, double rotationDegrees);

// Rounds the ring onto the grid through `map`; throws std::range_error beyond kCoordLimit.
Ring ToGrid(const DRing& ring, const Affine& map);
Point ToGrid(DPoint p);
// p + by; throws std::range_error beyond kCoordLimit.
Point Moved(Point p, Point by);

// The area a shape (one ring, possibly not convex) covers when its reference point moves
// straight from `from` to `to`.
Area Sweep(const Ring& shape, Point from, Point to);
// The union of the rings, each normalised to counter-clockwise.
Area AreaOfRings(const std::vector<Ring>& rings);
Area AreaOfRing(const Ring& ring);
// The area of a ring that is usually convex (an aperture, a capsule) without a boolean when it is.
Area ConvexArea(const Ring& ring);
Area Translated(const Area& area, Point by);
Area Transformed(const Area& area, const Affine& map);

}  // namespace gerberx
