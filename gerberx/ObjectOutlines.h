#pragma once
// Outlines of objects as rings to be filled by their winding (each ring counter-clockwise, a hole
// clockwise inside the ring it cuts), without the booleans that would make them one Area: the
// objects the importer creates (tracks, arcs, fills, pads) and the plain objects of the reader.
// What fills them (a sweep by winding) merges the overlapping pieces itself.

#include <vector>

#include "gerberx/Layer.h"
#include "gerberx/Shapes.h"

namespace gerberx {

using Outline = std::vector<Ring>;

// A round-ended stroke from a to b.
void TrackOutline(Outline& out, Point a, Point b, double width, double chordError);
// A round-ended arc of `radius` about `centre` from angle `start` through `sweep` (radians,
// negative clockwise).
void ArcOutline(Outline& out, Point centre, double radius, double start, double sweep, double width, double chordError);
// The box with corners a and b turned by `degrees` about its centre.
void FillOutline(Outline& out, Point a, Point b, double degrees);

enum class PadForm { Round, Rectangle, Octagon, Disc };  // Disc: a circle as wide as the larger size
// A pad of w x h centred on `centre`, turned by `degrees` (a round pad of two sizes is a stadium).
void PadOutline(Outline& out, Point centre, double w, double h, PadForm form, double degrees, double chordError);

// A plain object of the reader (Object::IsPlain), or the area it carries otherwise.
void ObjectOutline(Outline& out, const Object& object, double chordError);

}  // namespace gerberx
