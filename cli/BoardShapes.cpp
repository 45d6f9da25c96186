#include "cli/BoardShapes.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "cli/BoardSvg.h"
#include "standin/Geometry.h"

namespace zzcli {
namespace {

namespace bp = boost::polygon;
using Point = bp::point_data<int32_t>;

constexpr double kPi = 3.14159265358979323846;
constexpr double kTolerance = kChordErrorMm / kMillimetresPerUnit;

int32_t Clamp(double v) {
  constexpr double kLimit = std::numeric_limits<int32_t>::max() / 2.0;  // room for the booleans
  if (!std::isfinite(v)) return 0;
  return static_cast<int32_t>(std::llround(std::clamp(v, -kLimit, kLimit)));
}

// Segments for a whole circle of radius r: as the full reader makes them, so that a pad and the
// flash it came from are the same polygon.
int Segments(double r) {
  double step = kPi / 2;
  if (kTolerance < r) step = std::min(step, 2.0 * std::acos(1.0 - kTolerance / r));
  return std::clamp(static_cast<int>(std::ceil(2.0 * kPi / step)), 8, 4096);
}

void Insert(PolygonSet& set, const std::vector<Point>& points, bool hole = false) {
  if (points.size() < 3) return;
  set.insert(bp::polygon_data<int32_t>(points.begin(), points.end()), hole);
}

// Points of an arc of radius r about (cx, cy) from angle a0 over sweep (radians, either sign).
void ArcPoints(std::vector<Point>& points, double cx, double cy, double r, double a0, double sweep) {
  const int whole = Segments(r);
  const int n = std::max(1, static_cast<int>(std::ceil(whole * std::abs(sweep) / (2.0 * kPi))));
  for (int i = 0; i <= n; ++i) {
    const double a = a0 + sweep * i / n;
    points.emplace_back(Clamp(cx + r * std::cos(a)), Clamp(cy + r * std::sin(a)));
  }
}

// A w x h rectangle centred on (cx, cy), turned counter-clockwise by degrees, corners cut by cut.
void AddTurnedBox(PolygonSet& set, double cx, double cy, double w, double h, double degrees, double cut = 0.0) {
  const double rad = std::isfinite(degrees) ? degrees * kPi / 180.0 : 0.0;
  const double c = std::cos(rad);
  const double s = std::sin(rad);
  std::vector<std::pair<double, double>> local;
  if (cut > 0.0) {
    local = {{-w / 2 + cut, -h / 2}, {w / 2 - cut, -h / 2}, {w / 2, -h / 2 + cut}, {w / 2, h / 2 - cut},
             {w / 2 - cut, h / 2},   {-w / 2 + cut, h / 2}, {-w / 2, h / 2 - cut}, {-w / 2, -h / 2 + cut}};
  } else {
    local = {{-w / 2, -h / 2}, {w / 2, -h / 2}, {w / 2, h / 2}, {-w / 2, h / 2}};
  }
  std::vector<Point> points;
  for (const auto& [x, y] : local) points.emplace_back(Clamp(cx + x * c - y * s), Clamp(cy + x * s + y * c));
  Insert(set, points);
}

void AddTrack(PolygonSet& set, const standin::TrackRecord& t) {
  AddStroke(set, t.X, t.Y, t.X2, t.Y2, std::abs(static_cast<double>(t.Width)));
}

void AddArc(PolygonSet& set, const standin::ArcRecord& a) {
  const double w = std::abs(static_cast<double>(a.LineWidth));
  const double r = std::abs(static_cast<double>(a.Radius));
  const double sweepDegrees = standin::ArcSweep(a.StartAngle, a.EndAngle);
  const double start = (std::isfinite(a.StartAngle) ? a.StartAngle : 0.0) * kPi / 180.0;
  if (w <= 0.0) return;
  if (sweepDegrees >= 360.0) {
    // The inner circle goes in as a hole of the outer one: a boolean here would redo the whole set.
    AddCircle(set, a.X, a.Y, 2 * r + w);
    if (r > w / 2) AddCircle(set, a.X, a.Y, 2 * r - w, true);
    return;
  }
  const double sweep = sweepDegrees * kPi / 180.0;
  const double end = start + sweep;
  // The band between the two radii, then the round ends.
  std::vector<Point> points;
  ArcPoints(points, a.X, a.Y, r + w / 2, start, sweep);
  if (r > w / 2) {
    ArcPoints(points, a.X, a.Y, r - w / 2, end, -sweep);
  } else {
    points.emplace_back(Clamp(a.X), Clamp(a.Y));
  }
  if (sweep > 0.0) Insert(set, points);
  AddCircle(set, a.X + r * std::cos(start), a.Y + r * std::sin(start), w);
  AddCircle(set, a.X + r * std::cos(end), a.Y + r * std::sin(end), w);
}

void AddFill(PolygonSet& set, const standin::FillRecord& f) {
  const double w = std::abs(static_cast<double>(f.X2) - f.X);
  const double h = std::abs(static_cast<double>(f.Y2) - f.Y);
  AddTurnedBox(set, (static_cast<double>(f.X) + f.X2) / 2, (static_cast<double>(f.Y) + f.Y2) / 2, w, h, f.Rotation);
}

void AddPad(PolygonSet& set, const standin::PadRecord& p) {
  const double w = std::abs(static_cast<double>(p.TopXSize));
  const double h = std::abs(static_cast<double>(p.TopYSize));
  if (w <= 0.0 || h <= 0.0) return;
  switch (p.TopShape) {
    case zz::PadShape::Round: {
      if (w == h) {
        AddCircle(set, p.X, p.Y, w);
        break;
      }
      // A stadium along the longer side, turned with the pad.
      const double rad = std::isfinite(p.Rotation) ? p.Rotation * kPi / 180.0 : 0.0;
      const double half = (std::max(w, h) - std::min(w, h)) / 2;
      const double dx = (w > h ? half : 0.0);
      const double dy = (w > h ? 0.0 : half);
      const double c = std::cos(rad);
      const double s = std::sin(rad);
      AddStroke(set, p.X - dx * c + dy * s, p.Y - dx * s - dy * c, p.X + dx * c - dy * s, p.Y + dx * s + dy * c,
                std::min(w, h));
      break;
    }
    case zz::PadShape::Rectangle:
      AddTurnedBox(set, p.X, p.Y, w, h, p.Rotation);
      break;
    case zz::PadShape::Octagon:
      AddTurnedBox(set, p.X, p.Y, w, h, p.Rotation, std::min(w, h) / (2.0 + std::sqrt(2.0)));
      break;
    default:
      AddCircle(set, p.X, p.Y, std::max(w, h));
      break;
  }
}

}  // namespace

void AddCircle(PolygonSet& set, double cx, double cy, double diameter, bool hole) {
  if (!(diameter > 0.0)) return;
  std::vector<Point> points;
  ArcPoints(points, cx, cy, diameter / 2, 0.0, 2.0 * kPi);
  points.pop_back();
  Insert(set, points, hole);
}

void AddStroke(PolygonSet& set, double x1, double y1, double x2, double y2, double width) {
  if (!(width > 0.0)) return;
  const double length = std::hypot(x2 - x1, y2 - y1);
  if (length == 0.0) {
    AddCircle(set, x1, y1, width);
    return;
  }
  // Two half circles joined by the straight sides.
  const double a = std::atan2(y2 - y1, x2 - x1);
  std::vector<Point> points;
  ArcPoints(points, x2, y2, width / 2, a - kPi / 2, kPi);
  ArcPoints(points, x1, y1, width / 2, a + kPi / 2, kPi);
  Insert(set, points);
}

void AddPolygon(PolygonSet& set, const std::vector<std::pair<double, double>>& points) {
  std::vector<Point> ring;
  ring.reserve(points.size());
  for (const auto& [x, y] : points) ring.emplace_back(Clamp(x), Clamp(y));
  Insert(set, ring);
}

void AddObjectShape(PolygonSet& set, const standin::ObjectStore& objects, zz::THandle handle) {
  if (const auto t = objects.FindTrack(handle)) {
    AddTrack(set, *t);
  } else if (const auto f = objects.FindFill(handle)) {
    AddFill(set, *f);
  } else if (const auto a = objects.FindArc(handle)) {
    AddArc(set, *a);
  } else if (const auto p = objects.FindPad(handle)) {
    AddPad(set, *p);
  }
}

double AreaMm2(const PolygonSet& set) {
  // From the cleaned edges and their winding changes, without forming polygons (which costs more
  // than the boolean before it): across each edge the winding steps by its count, so the area is
  // the sum over edges of count times the area under the edge, up to one sign for all.
  set.clean();
  double area = 0.0;
  for (const auto& [edge, count] : set) {
    const auto& [a, b] = edge;
    area += count * (static_cast<double>(b.x()) - a.x()) * (static_cast<double>(a.y()) + b.y()) / 2.0;
  }
  return std::abs(area) * kMillimetresPerUnit * kMillimetresPerUnit;
}

std::vector<Ring> Outlines(const PolygonSet& set) {
  std::vector<bp::polygon_with_holes_data<int32_t>> polygons;
  set.get(polygons);
  std::vector<Ring> rings;
  for (const auto& polygon : polygons) {
    rings.emplace_back(polygon.begin(), polygon.end());
    for (auto hole = polygon.begin_holes(); hole != polygon.end_holes(); ++hole) {
      rings.emplace_back(hole->begin(), hole->end());
    }
  }
  return rings;
}

}  // namespace zzcli
