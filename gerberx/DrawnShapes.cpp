#include "gerberx/DrawnShapes.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace gerberx {
namespace {

constexpr double kPi = std::numbers::pi;

}  // namespace

double ArcSweep(Point start, Point end, Point centre, bool clockwise, bool full) {
  const double cx = centre.x, cy = centre.y;
  const double a0 = std::atan2(double(start.y) - cy, double(start.x) - cx);
  const double a1 = std::atan2(double(end.y) - cy, double(end.x) - cx);
  double sweep;
  if (full) {
    sweep = 2 * kPi;
  } else {
    sweep = clockwise ? a0 - a1 : a1 - a0;
    while (sweep < 0) sweep += 2 * kPi;
    while (sweep >= 2 * kPi) sweep -= 2 * kPi;
  }
  return clockwise ? -sweep : sweep;
}

bool RadialBandHolds(Point from, Point to, Point centre, bool clockwise, bool full, double half, double chordError) {
  const double cx = centre.x, cy = centre.y;
  const double r0 = std::hypot(double(from.x) - cx, double(from.y) - cy);
  const double r1 = std::hypot(double(to.x) - cx, double(to.y) - cy);
  const double rMin = std::min(r0, r1);
  if (!(rMin > half)) return false;
  if (full || r0 == r1) return true;
  // Where the radius changes along the path, its normal leans off the radius: a point moved
  // `half` along the radius is only half * sin(lean) from the path.
  const double sweep = std::abs(ArcSweep(from, to, centre, clockwise, full));
  if (!(sweep > 0)) return false;
  const double k = std::abs(r1 - r0) / sweep;
  return half * (1 - rMin / std::hypot(rMin, k)) <= chordError;
}

DRing ArcPath(Point start, Point end, Point centre, bool clockwise, bool full, double chordError) {
  const double cx = centre.x, cy = centre.y;
  const double a0 = std::atan2(double(start.y) - cy, double(start.x) - cx);
  const double r0 = std::hypot(double(start.x) - cx, double(start.y) - cy);
  const double r1 = std::hypot(double(end.x) - cx, double(end.y) - cy);
  const double sweep = ArcSweep(start, end, centre, clockwise, full);
  const int n = SegmentsForArc(std::max(r0, r1), sweep, chordError);
  DRing points;
  points.push_back({double(start.x), double(start.y)});
  for (int i = 1; i < n; ++i) {
    const double t = a0 + sweep * i / n, r = r0 + (r1 - r0) * i / n;
    points.push_back({cx + r * std::cos(t), cy + r * std::sin(t)});
  }
  points.push_back({double(end.x), double(end.y)});
  return points;
}

Box ArcBox(Point start, Point end, Point centre, bool clockwise, bool full) {
  Box box;
  box.Add(start);
  box.Add(end);
  const double cx = centre.x, cy = centre.y;
  const double r = std::max(std::hypot(double(start.x) - cx, double(start.y) - cy),
                            std::hypot(double(end.x) - cx, double(end.y) - cy));
  // Counter-clockwise from a0 through the sweep.
  double a0 = std::atan2(double(start.y) - cy, double(start.x) - cx);
  double a1 = std::atan2(double(end.y) - cy, double(end.x) - cx);
  if (clockwise) std::swap(a0, a1);
  double sweep = a1 - a0;
  while (sweep < 0) sweep += 2 * kPi;
  if (full) sweep = 2 * kPi;
  constexpr double kAxes[4][2] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
  for (int k = 0; k < 4; ++k) {
    double from = k * kPi / 2 - a0;
    while (from < 0) from += 2 * kPi;
    while (from >= 2 * kPi) from -= 2 * kPi;
    if (from <= sweep) box.Add(ToGrid(DPoint{cx + r * kAxes[k][0], cy + r * kAxes[k][1]}));
  }
  // Rounding of the crossing points: one unit more on every side.
  return Box{Moved(box.min, {-1, -1}), Moved(box.max, {1, 1}), false};
}

Ring RoundStrokeRing(Point from, Point to, double half, double chordError) {
  const double dx = double(to.x) - from.x, dy = double(to.y) - from.y;
  const double theta = std::atan2(dy, dx);
  DRing ring;
  if (dx == 0 && dy == 0) {
    ring = Circle({double(from.x), double(from.y)}, half, chordError);
  } else {
    AppendArc(ring, {double(to.x), double(to.y)}, half, theta - kPi / 2, kPi, chordError, true);
    AppendArc(ring, {double(from.x), double(from.y)}, half, theta + kPi / 2, kPi, chordError, true);
  }
  return ToGrid(ring, Affine{});
}

Area RoundStroke(Point from, Point to, double half, double chordError) {
  if (half <= 0) return {};  // a zero-width aperture draws nothing
  return ConvexArea(RoundStrokeRing(from, to, half, chordError));
}

void AppendRadialOffset(DRing& ring, const DRing& path, DPoint centre, double grow, bool backwards) {
  const auto add = [&](DPoint p) {
    const double r = std::hypot(p.x - centre.x, p.y - centre.y);
    if (grow >= 0 ? r <= 0 : r <= -grow) {
      if (grow < 0) ring.push_back(centre);
      return;
    }
    ring.push_back({centre.x + (p.x - centre.x) * (r + grow) / r, centre.y + (p.y - centre.y) * (r + grow) / r});
  };
  if (backwards) {
    for (auto p = path.rbegin(); p != path.rend(); ++p) add(*p);
  } else {
    for (const DPoint p : path) add(p);
  }
}

Area SweptAlong(const Ring& shape, const DRing& path, long long maxVertices) {
  if (static_cast<long long>(path.size()) * static_cast<long long>(shape.size()) > maxVertices)
    throw std::length_error("an arc of " + std::to_string(path.size()) + " segments with an aperture of " +
                            std::to_string(shape.size()) + " vertices: more than " + std::to_string(maxVertices) +
                            " vertices");
  std::vector<Area> pieces;
  for (std::size_t i = 0; i + 1 < path.size(); ++i)
    pieces.push_back(Sweep(shape, ToGrid(path[i]), ToGrid(path[i + 1])));
  // Neighbours along the path overlap heavily: merged pairwise, each merge sees two simple
  // outlines instead of one sweep over every crossing at once.
  while (pieces.size() > 1) {
    std::vector<Area> next;
    for (std::size_t i = 0; i + 1 < pieces.size(); i += 2) next.push_back(Union(pieces[i], pieces[i + 1]));
    if (pieces.size() % 2) next.push_back(std::move(pieces.back()));
    pieces.swap(next);
  }
  return pieces.empty() ? Area{} : std::move(pieces[0]);
}

Area RoundArc(Point from, Point to, Point centre, bool clockwise, bool full, double half, double chordError,
              long long maxVertices) {
  if (half <= 0) return {};  // a zero-width aperture draws nothing
  const DRing path = ArcPath(from, to, centre, clockwise, full, chordError);
  const double cx = centre.x, cy = centre.y;
  const double r0 = std::hypot(double(from.x) - cx, double(from.y) - cy);
  if (!RadialBandHolds(from, to, centre, clockwise, full, half, chordError)) {
    // The circle reaches over the centre, or the radius changes too fast along the path for
    // the band: the circle swept along the path.
    return SweptAlong(ToGrid(Circle({0, 0}, half, chordError), Affine{}), path, maxVertices);
  }
  if (full) {
    Ring outer = ToGrid(Circle({cx, cy}, r0 + half, chordError), Affine{});
    Ring inner = ToGrid(Circle({cx, cy}, r0 - half, chordError), Affine{});
    return Difference(AreaOfRing(outer), AreaOfRing(inner));
  }
  // The outline of the band: outer edge, end cap, inner edge back, start cap.
  DRing ring;
  const double a0 = std::atan2(double(from.y) - cy, double(from.x) - cx);
  const double a1 = std::atan2(double(to.y) - cy, double(to.x) - cx);
  const double dir = clockwise ? -1 : 1;
  AppendRadialOffset(ring, path, {cx, cy}, half, false);
  AppendArc(ring, {double(to.x), double(to.y)}, half, a1, dir * kPi, chordError, false);
  AppendRadialOffset(ring, path, {cx, cy}, -half, true);
  AppendArc(ring, {double(from.x), double(from.y)}, half, a0 + kPi, dir * kPi, chordError, false);
  return AreaOfRing(ToGrid(ring, Affine{}));
}

Area PlainArea(const Object& object, double chordError) {
  const Aperture& a = object.aperture;
  const bool across = QuarterTurns(a.rotation) % 2 == 1;
  const double w = across ? a.ySize : a.xSize, h = across ? a.xSize : a.ySize;
  switch (object.kind) {
    case ObjectKind::Flash: {
      const Point at = object.end;
      DRing ring = a.shape == ApertureShape::Circle    ? Circle({0, 0}, a.xSize / 2.0, chordError)
                   : a.shape == ApertureShape::Obround ? Obround(w, h, chordError)
                                                       : Rectangle(w, h);
      return ConvexArea(ToGrid(ring, Affine::Translation(at.x, at.y)));
    }
    case ObjectKind::Stroke:
      if (a.shape == ApertureShape::Circle) return RoundStroke(object.start, object.end, a.xSize / 2.0, chordError);
      return Sweep(ToGrid(Rectangle(w, h), Affine{}), object.start, object.end);
    case ObjectKind::Arc:
      return RoundArc(object.start, object.end, object.centre, object.clockwise, object.fullCircle, a.xSize / 2.0,
                      chordError, 100'000);
    default:
      return object.area;
  }
}

}  // namespace gerberx
