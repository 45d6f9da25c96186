#include "gerberx/Shapes.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "gerberx/PolygonSet.h"

namespace gerberx {

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr int kMaxSegmentsPerCircle = 4096;
}  // namespace

Affine Affine::Rotation(double degrees) {
  // Quarter turns exactly, so that rotated rectangles stay on the grid.
  const double r = std::fmod(degrees, 360.0);
  double s = std::sin(r * kPi / 180), c = std::cos(r * kPi / 180);
  if (std::fmod(r, 90.0) == 0) {
    s = std::round(s);
    c = std::round(c);
  }
  return {c, -s, s, c, 0, 0};
}

Affine Affine::After(const Affine& f) const {
  return {a * f.a + b * f.c, a * f.b + b * f.d,        c * f.a + d * f.c,
          c * f.b + d * f.d, a * f.tx + b * f.ty + tx, c * f.tx + d * f.ty + ty};
}

double Affine::LengthScale() const { return std::sqrt(std::abs(Determinant())); }

bool Affine::KeepsAngles() const {
  const double s = std::abs(Determinant());
  const double tol = 1e-9 * std::max(1.0, s);
  return std::abs(a * a + c * c - s) <= tol && std::abs(b * b + d * d - s) <= tol && std::abs(a * b + c * d) <= tol;
}

int SegmentsForArc(double radius, double sweep, double chordError) {
  sweep = std::abs(sweep);
  if (!(radius > 0) || !(sweep > 0)) return 1;
  double step = kPi / 2;
  if (chordError > 0 && chordError < radius) step = std::min(step, 2 * std::acos(1 - chordError / radius));
  const double n = std::ceil(sweep / step);
  const double limit = std::ceil(kMaxSegmentsPerCircle * sweep / (2 * kPi));
  return static_cast<int>(std::clamp(n, 1.0, std::max(1.0, limit)));
}

DRing Circle(DPoint centre, double radius, double chordError) {
  DRing ring;
  const int n = std::max(8, SegmentsForArc(radius, 2 * kPi, chordError));
  ring.reserve(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    const double t = 2 * kPi * i / n;
    ring.push_back({centre.x + radius * std::cos(t), centre.y + radius * std::sin(t)});
  }
  return ring;
}

void AppendArc(DRing& ring, DPoint centre, double radius, double start, double sweep, double chordError,
               bool withStart) {
  const int n = SegmentsForArc(radius, sweep, chordError);
  for (int i = withStart ? 0 : 1; i <= n; ++i) {
    const double t = start + sweep * i / n;
    ring.push_back({centre.x + radius * std::cos(t), centre.y + radius * std::sin(t)});
  }
}

DRing Rectangle(double w, double h) { return {{-w / 2, -h / 2}, {w / 2, -h / 2}, {w / 2, h / 2}, {-w / 2, h / 2}}; }

DRing Obround(double w, double h, double chordError) {
  if (w == h) return Circle({0, 0}, w / 2, chordError);
  DRing ring;
  if (w > h) {
    const double r = h / 2, dx = w / 2 - r;
    AppendArc(ring, {dx, 0}, r, -kPi / 2, kPi, chordError, true);
    AppendArc(ring, {-dx, 0}, r, kPi / 2, kPi, chordError, true);
  } else {
    const double r = w / 2, dy = h / 2 - r;
    AppendArc(ring, {0, dy}, r, 0, kPi, chordError, true);
    AppendArc(ring, {0, -dy}, r, kPi, kPi, chordError, true);
  }
  return ring;
}

DRing RegularPolygon(double diameter, int vertices, double rotationDegrees) {
  DRing ring;
  for (int i = 0; i < vertices; ++i) {
    const double t = (rotationDegrees + 360.0 * i / vertices) * kPi / 180;
    ring.push_back({diameter / 2 * std::cos(t), diameter / 2 * std::sin(t)});
  }
  return ring;
}

Point ToGrid(DPoint p) {
  const double limit = static_cast<double>(kCoordLimit);
  if (!(std::abs(p.x) <= limit && std::abs(p.y) <= limit))
    throw std::range_error("coordinate beyond the reader's range of +-2.7 m");
  return {static_cast<Coord>(std::llround(p.x)), static_cast<Coord>(std::llround(p.y))};
}

Ring ToGrid(const DRing& ring, const Affine& map) {
  Ring out;
  out.reserve(ring.size());
  for (DPoint p : ring) {
    Point q = ToGrid(map.Apply(p));
    if (out.empty() || !(out.back() == q)) out.push_back(q);
  }
  while (out.size() > 1 && out.front() == out.back()) out.pop_back();
  return out;
}

namespace {
void Normalise(Ring& ring) {
  if (RingArea(ring) < 0) std::reverse(ring.begin(), ring.end());
}
}  // namespace

Area AreaOfRings(const std::vector<Ring>& rings) {
  PolygonSet set;
  for (Ring r : rings) {
    Normalise(r);
    AddRing(set, r);
  }
  return ToArea(set);
}

Area AreaOfRing(const Ring& ring) { return AreaOfRings({ring}); }

Point Moved(Point p, Point by) {
  const std::int64_t x = std::int64_t{p.x} + by.x, y = std::int64_t{p.y} + by.y;
  if (x > kCoordLimit || x < -kCoordLimit || y > kCoordLimit || y < -kCoordLimit)
    throw std::range_error("coordinate beyond the reader's range of +-2.7 m");
  return {static_cast<Coord>(x), static_cast<Coord>(y)};
}

namespace {

std::int64_t Cross(Point o, Point a, Point b) {
  return (std::int64_t{a.x} - o.x) * (std::int64_t{b.y} - o.y) - (std::int64_t{a.y} - o.y) * (std::int64_t{b.x} - o.x);
}

bool IsConvex(const Ring& ring) {
  bool positive = false, negative = false;
  const std::size_t n = ring.size();
  for (std::size_t i = 0; i < n; ++i) {
    const std::int64_t c = Cross(ring[i], ring[(i + 1) % n], ring[(i + 2) % n]);
    positive |= c > 0;
    negative |= c < 0;
  }
  return !(positive && negative);
}

// Counter-clockwise convex hull (monotone chain), collinear points dropped.
Ring ConvexHull(Ring points) {
  std::sort(points.begin(), points.end(), [](Point a, Point b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
  points.erase(std::unique(points.begin(), points.end()), points.end());
  if (points.size() < 3) return points;
  Ring hull(2 * points.size());
  std::size_t k = 0;
  for (std::size_t i = 0; i < points.size(); ++i) {
    while (k >= 2 && Cross(hull[k - 2], hull[k - 1], points[i]) <= 0) --k;
    hull[k++] = points[i];
  }
  for (std::size_t i = points.size() - 1, t = k + 1; i > 0; --i) {
    while (k >= t && Cross(hull[k - 2], hull[k - 1], points[i - 1]) <= 0) --k;
    hull[k++] = points[i - 1];
  }
  hull.resize(k - 1);
  return hull;
}

}  // namespace

Area Sweep(const Ring& shape, Point from, Point to) {
  std::vector<Ring> rings;
  Ring start, end;
  for (Point p : shape) {
    start.push_back(Moved(p, from));
    end.push_back(Moved(p, to));
  }
  if (IsConvex(shape)) {
    // A convex shape sweeps the convex hull of its two end copies.
    Ring all = start;
    if (!(from == to)) all.insert(all.end(), end.begin(), end.end());
    Ring hull = ConvexHull(std::move(all));
    if (hull.size() < 3) return {};
    return {Polygon{std::move(hull), {}}};
  }
  rings.push_back(start);
  if (from == to) return AreaOfRings(rings);
  rings.push_back(end);
  // Each edge of the shape sweeps a parallelogram; with both end copies they cover the whole path.
  for (std::size_t i = 0; i < start.size(); ++i) {
    const std::size_t j = (i + 1) % start.size();
    Ring quad{start[i], start[j], end[j], end[i]};
    if (RingArea(quad) != 0) rings.push_back(std::move(quad));
  }
  return AreaOfRings(rings);
}

Area ConvexArea(const Ring& ring) {
  if (ring.size() < 3 || !IsConvex(ring)) return AreaOfRing(ring);
  Ring r = ring;
  Normalise(r);
  if (RingArea(r) == 0) return {};
  return {Polygon{std::move(r), {}}};
}

Area Translated(const Area& area, Point by) {
  Area out = area;
  for (Polygon& p : out) {
    for (Point& q : p.outer) q = Moved(q, by);
    for (Ring& h : p.holes)
      for (Point& q : h) q = Moved(q, by);
  }
  return out;
}

Area Transformed(const Area& area, const Affine& map) {
  PolygonSet set;
  for (const Polygon& p : area) {
    Ring outer;
    for (Point q : p.outer) outer.push_back(ToGrid(map.Apply({double(q.x), double(q.y)})));
    Normalise(outer);
    std::vector<Ring> holes;
    for (const Ring& h : p.holes) {
      Ring ring;
      for (Point q : h) ring.push_back(ToGrid(map.Apply({double(q.x), double(q.y)})));
      if (RingArea(ring) > 0) std::reverse(ring.begin(), ring.end());
      holes.push_back(std::move(ring));
    }
    AddArea(set, Area{Polygon{std::move(outer), std::move(holes)}});
  }
  return ToArea(set);
}

}  // namespace gerberx
