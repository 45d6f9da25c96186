#include "CoverageCheck.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace gerberx::convert::testing {
namespace {

struct P {
  double X, Y;
};

double SegmentDistance(P p, P a, P b) {
  const double dx = b.X - a.X, dy = b.Y - a.Y;
  const double len2 = dx * dx + dy * dy;
  const double t = len2 > 0 ? std::clamp(((p.X - a.X) * dx + (p.Y - a.Y) * dy) / len2, 0.0, 1.0) : 0.0;
  return std::hypot(p.X - (a.X + t * dx), p.Y - (a.Y + t * dy));
}

P ToP(IntPoint q) { return {static_cast<double>(q.X), static_cast<double>(q.Y)}; }

template <typename Fn>
void ForEachEdge(const std::vector<IntShape>& shapes, Fn&& fn) {
  const auto ring = [&](const IntRing& r) {
    for (std::size_t i = 0, j = r.size() - 1; i < r.size(); j = i++) fn(ToP(r[j]), ToP(r[i]));
  };
  for (const IntShape& s : shapes) {
    ring(s.Outer);
    for (const IntRing& h : s.Holes) ring(h);
  }
}

bool InPieces(const Pieces& pieces, P p) {
  for (const FillBox& f : pieces.Fills) {
    if (p.X >= f.X1 && p.X <= f.X2 && p.Y >= f.Y1 && p.Y <= f.Y2) return true;
  }
  for (const RoundTrack& t : pieces.Tracks) {
    if (SegmentDistance(p, ToP(t.A), ToP(t.B)) <= t.Width / 2.0) return true;
  }
  for (const RoundDisc& d : pieces.Discs) {
    if (std::hypot(p.X - d.Centre.X, p.Y - d.Centre.Y) <= d.Diameter / 2.0) return true;
  }
  for (const RoundArc& a : pieces.Arcs) {
    const double r = std::hypot(p.X - a.Centre.X, p.Y - a.Centre.Y);
    double angle = std::atan2(p.Y - a.Centre.Y, p.X - a.Centre.X) * 180.0 / std::numbers::pi;
    while (angle < a.StartDeg) angle += 360.0;
    if (angle <= a.EndDeg && std::abs(r - a.Radius) <= a.Width / 2.0) return true;
    const double s = a.StartDeg * std::numbers::pi / 180.0, e = a.EndDeg * std::numbers::pi / 180.0;
    for (double end : {s, e}) {
      const P tip{a.Centre.X + a.Radius * std::cos(end), a.Centre.Y + a.Radius * std::sin(end)};
      if (std::hypot(p.X - tip.X, p.Y - tip.Y) <= a.Width / 2.0) return true;
    }
  }
  return false;
}

}  // namespace

CoverageMiss CheckCoverage(const std::vector<IntShape>& shapes, const Pieces& pieces, double tolerance,
                           std::size_t samplesPerSide) {
  double x1 = 1e300, y1 = 1e300, x2 = -1e300, y2 = -1e300;
  ForEachEdge(shapes, [&](P a, P) {
    x1 = std::min(x1, a.X), y1 = std::min(y1, a.Y), x2 = std::max(x2, a.X), y2 = std::max(y2, a.Y);
  });
  x1 -= 3 * tolerance, y1 -= 3 * tolerance, x2 += 3 * tolerance, y2 += 3 * tolerance;
  CoverageMiss miss;
  for (std::size_t i = 0; i < samplesPerSide; ++i) {
    for (std::size_t j = 0; j < samplesPerSide; ++j) {
      // An irrational offset keeps the samples off the grid of the shapes' coordinates.
      const P p{x1 + (x2 - x1) * (i + 0.4142) / samplesPerSide, y1 + (y2 - y1) * (j + 0.7321) / samplesPerSide};
      bool inside = false;
      double edge = 1e300;
      ForEachEdge(shapes, [&](P a, P b) {
        if ((a.Y > p.Y) != (b.Y > p.Y) && p.X < a.X + (b.X - a.X) * (p.Y - a.Y) / (b.Y - a.Y)) inside = !inside;
        edge = std::min(edge, SegmentDistance(p, a, b));
      });
      ++miss.Samples;
      if (edge <= tolerance) continue;
      const bool covered = InPieces(pieces, p);
      if (inside && !covered) ++miss.Uncovered;
      if (!inside && covered) ++miss.Overshoot;
    }
  }
  return miss;
}

IntRing Box(int64_t x1, int64_t y1, int64_t x2, int64_t y2) { return {{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}}; }

IntRing CirclePoints(int64_t cx, int64_t cy, int64_t radius, int count, double startDeg) {
  IntRing ring;
  for (int k = 0; k < count; ++k) {
    const double a = 2 * std::numbers::pi * k / count + startDeg * std::numbers::pi / 180;
    ring.push_back({cx + std::llround(radius * std::cos(a)), cy + std::llround(radius * std::sin(a))});
  }
  return ring;
}

IntRing RoundedBox(int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t radius, int perCorner) {
  IntRing ring;
  const int64_t cx[4] = {x2 - radius, x1 + radius, x1 + radius, x2 - radius};
  const int64_t cy[4] = {y2 - radius, y2 - radius, y1 + radius, y1 + radius};
  for (int c = 0; c < 4; ++c) {
    for (int k = 0; k <= perCorner; ++k) {
      const double a = std::numbers::pi / 2 * (c + static_cast<double>(k) / perCorner);
      ring.push_back({cx[c] + std::llround(radius * std::cos(a)), cy[c] + std::llround(radius * std::sin(a))});
    }
  }
  return ring;
}

}  // namespace gerberx::convert::testing
