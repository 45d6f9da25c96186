#include "gerberx/ObjectOutlines.h"

#include <algorithm>
#include <cmath>

#include "gerberx/DrawnShapes.h"

namespace gerberx {

namespace {

void Add(Outline& out, Ring ring) {
  if (ring.size() < 3) return;
  if (RingArea(ring) < 0) std::reverse(ring.begin(), ring.end());
  out.push_back(std::move(ring));
}

void Disc(Outline& out, DPoint centre, double radius, double chordError) {
  if (radius > 0) Add(out, ToGrid(Circle(centre, radius, chordError), Affine{}));
}

// The band of half-width `half` along a path about `centre`: out along the path, back inside
// it. A full circle gives a ring with a seam, which fills as the annulus it is.
void Band(Outline& out, const DRing& path, DPoint centre, double half) {
  DRing ring;
  ring.reserve(2 * path.size());
  AppendRadialOffset(ring, path, centre, half, false);
  AppendRadialOffset(ring, path, centre, -half, true);
  Add(out, ToGrid(ring, Affine{}));
}

void ArcPieces(Outline& out, const DRing& path, DPoint centre, double half, double chordError) {
  if (half <= 0 || path.empty()) return;
  Band(out, path, centre, half);
  Disc(out, path.front(), half, chordError);
  Disc(out, path.back(), half, chordError);
}

DPoint D(Point p) { return {double(p.x), double(p.y)}; }

}  // namespace

void TrackOutline(Outline& out, Point a, Point b, double width, double chordError) {
  const double half = width / 2;
  if (half > 0) Add(out, RoundStrokeRing(a, b, half, chordError));
}

void ArcOutline(Outline& out, Point centre, double radius, double start, double sweep, double width,
                double chordError) {
  if (!(width > 0) || !(radius >= 0)) return;
  DRing path;
  AppendArc(path, D(centre), radius, start, sweep, chordError, true);
  ArcPieces(out, path, D(centre), width / 2, chordError);
}

void FillOutline(Outline& out, Point a, Point b, double degrees) {
  const double w = std::abs(double(b.x) - a.x), h = std::abs(double(b.y) - a.y);
  const Affine place = Affine::Translation((double(a.x) + b.x) / 2, (double(a.y) + b.y) / 2)
                           .After(Affine::Rotation(std::isfinite(degrees) ? degrees : 0.0));
  Add(out, ToGrid(Rectangle(w, h), place));
}

void PadOutline(Outline& out, Point centre, double w, double h, PadForm form, double degrees, double chordError) {
  w = std::abs(w);
  h = std::abs(h);
  if (!(w > 0) || !(h > 0)) return;
  const Affine place =
      Affine::Translation(centre.x, centre.y).After(Affine::Rotation(std::isfinite(degrees) ? degrees : 0.0));
  switch (form) {
    case PadForm::Round:
      Add(out, ToGrid(Obround(w, h, chordError), place));
      return;
    case PadForm::Rectangle:
      Add(out, ToGrid(Rectangle(w, h), place));
      return;
    case PadForm::Octagon: {
      const double c = std::min(w, h) / (2.0 + std::sqrt(2.0));
      const DRing ring{{-w / 2 + c, -h / 2}, {w / 2 - c, -h / 2}, {w / 2, -h / 2 + c}, {w / 2, h / 2 - c},
                       {w / 2 - c, h / 2},   {-w / 2 + c, h / 2}, {-w / 2, h / 2 - c}, {-w / 2, -h / 2 + c}};
      Add(out, ToGrid(ring, place));
      return;
    }
    case PadForm::Disc:
      Disc(out, D(centre), std::max(w, h) / 2, chordError);
      return;
  }
}

void ObjectOutline(Outline& out, const Object& object, double chordError) {
  const Aperture& a = object.aperture;
  if (object.area.empty() && object.IsPlain() && a.shape == ApertureShape::Circle) {
    if (object.kind == ObjectKind::Stroke) {
      TrackOutline(out, object.start, object.end, a.xSize, chordError);
      return;
    }
    if (object.kind == ObjectKind::Arc) {
      const double half = a.xSize / 2.0;
      const DRing path =
          ArcPath(object.start, object.end, object.centre, object.clockwise, object.fullCircle, chordError);
      if (RadialBandHolds(object.start, object.end, object.centre, object.clockwise, object.fullCircle, half,
                          chordError)) {
        ArcPieces(out, path, D(object.centre), half, chordError);
      } else {
        // As the reader draws it: the circle moved along each piece of the path.
        for (std::size_t i = 0; i + 1 < path.size(); ++i)
          TrackOutline(out, ToGrid(path[i]), ToGrid(path[i + 1]), a.xSize, chordError);
      }
      return;
    }
  }
  // Only a plain object may have been read without its area; any other's is empty because it
  // draws nothing (a hole wider than its aperture).
  const Area area = object.area.empty() && object.IsPlain() ? PlainArea(object, chordError) : Area();
  for (const Area* from : {&object.area, &area}) {
    for (const Polygon& polygon : *from) {
      out.push_back(polygon.outer);
      out.insert(out.end(), polygon.holes.begin(), polygon.holes.end());
    }
  }
}

}  // namespace gerberx
