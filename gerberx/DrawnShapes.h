#pragma once
// The areas of draws with an aperture, built from what describes them: the reader builds every
// draw's area here, and a caller that read a file without the areas of plain objects
// (Options::plainObjectAreas) builds the one it needs.

#include <cstddef>

#include "gerberx/Layer.h"
#include "gerberx/Shapes.h"

namespace gerberx {

// The points of an arc from `start` to `end` about `centre` (the radius going from the start's
// to the end's), within `chordError` grid units; both ends included.
DRing ArcPath(Point start, Point end, Point centre, bool clockwise, bool full, double chordError);

// The signed angle an arc turns through, counter-clockwise positive.
double ArcSweep(Point start, Point end, Point centre, bool clockwise, bool full);

// Whether a circle of radius `half` moved along the arc fills, within `chordError`, the band
// between the path's radial offsets by `half` (and its two end discs): not where the circle
// reaches over the centre, nor where the radius changes so fast along the path that its normal
// leans off the radius.
bool RadialBandHolds(Point from, Point to, Point centre, bool clockwise, bool full, double half, double chordError);

// A box around the arc's path (its ends and the points where it crosses the axes through the
// centre, at the larger of its two radii).
Box ArcBox(Point start, Point end, Point centre, bool clockwise, bool full);

// A circle of radius `half` moved straight from `from` to `to`: its outline, counter-clockwise,
// and its area.
Ring RoundStrokeRing(Point from, Point to, double half, double chordError);
Area RoundStroke(Point from, Point to, double half, double chordError);

// Appends the points of `path` (last first when `backwards`), each moved `grow` away from
// `centre` along its radius; a negative `grow` moves towards it and stops there. Going out, a
// point on the centre has no radius and is left out.
void AppendRadialOffset(DRing& ring, const DRing& path, DPoint centre, double grow, bool backwards);

// A convex `shape` moved along `path`. Throws std::length_error beyond `maxVertices` vertices.
Area SweptAlong(const Ring& shape, const DRing& path, long long maxVertices);

// A circle of radius `half` moved along an arc. Throws std::length_error beyond `maxVertices`.
Area RoundArc(Point from, Point to, Point centre, bool clockwise, bool full, double half, double chordError,
              long long maxVertices);

// The area of a plain object (Object::IsPlain) from its description.
Area PlainArea(const Object& object, double chordError);

}  // namespace gerberx
