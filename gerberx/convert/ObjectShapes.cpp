#include "gerberx/convert/ObjectShapes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zz::gerberx::convert {
namespace {

struct V {
  double X, Y;
};

IntPoint Round(double x, double y) { return {std::llround(x), std::llround(y)}; }

// The outline of the aperture around the origin, counter-clockwise.
std::vector<V> Outline(const StandardAperture& a, double tolerance) {
  std::vector<V> pts;
  const double w = static_cast<double>(a.XSize);
  const double h = static_cast<double>(a.YSize);
  switch (a.Shape) {
    case ApertureShape::Circle: {
      const int n = CircleSegments(w / 2, tolerance);
      for (int k = 0; k < n; ++k) {
        const double t = 2 * std::numbers::pi * k / n;
        pts.push_back({w / 2 * std::cos(t), w / 2 * std::sin(t)});
      }
      break;
    }
    case ApertureShape::Rectangle:
      pts = {{-w / 2, -h / 2}, {w / 2, -h / 2}, {w / 2, h / 2}, {-w / 2, h / 2}};
      break;
    case ApertureShape::Obround: {
      const double r = std::min(w, h) / 2;
      const int n = std::max(2, CircleSegments(r, tolerance) / 2);
      // Two half circles, around the ends of the long axis.
      const bool wide = w >= h;
      const double reach = (wide ? w : h) / 2 - r;
      for (int end = 0; end < 2; ++end) {
        const double base = (wide ? -std::numbers::pi / 2 : 0.0) + end * std::numbers::pi;
        const V c = wide ? V{end == 0 ? reach : -reach, 0} : V{0, end == 0 ? reach : -reach};
        for (int k = 0; k <= n; ++k) {
          const double t = base + std::numbers::pi * k / n;
          pts.push_back({c.X + r * std::cos(t), c.Y + r * std::sin(t)});
        }
      }
      break;
    }
    case ApertureShape::Polygon: {
      const int n = std::clamp(a.Vertices, 3, 12);
      for (int k = 0; k < n; ++k) {
        const double t = (a.Rotation + 360.0 * k / n) * std::numbers::pi / 180.0;
        pts.push_back({w / 2 * std::cos(t), w / 2 * std::sin(t)});
      }
      break;
    }
  }
  return pts;
}

IntRing Place(const std::vector<V>& pts, IntPoint at) {
  IntRing ring;
  for (const V& p : pts) ring.push_back(Round(static_cast<double>(at.X) + p.X, static_cast<double>(at.Y) + p.Y));
  return ring;
}

double Cross(V o, V a, V b) { return (a.X - o.X) * (b.Y - o.Y) - (a.Y - o.Y) * (b.X - o.X); }

// Andrew's monotone chain.
std::vector<V> ConvexHull(std::vector<V> pts) {
  std::sort(pts.begin(), pts.end(), [](V a, V b) { return a.X < b.X || (a.X == b.X && a.Y < b.Y); });
  std::vector<V> hull(2 * pts.size());
  std::size_t k = 0;
  for (std::size_t i = 0; i < pts.size(); ++i) {
    while (k >= 2 && Cross(hull[k - 2], hull[k - 1], pts[i]) <= 0) --k;
    hull[k++] = pts[i];
  }
  for (std::size_t i = pts.size() - 1, t = k + 1; i > 0; --i) {
    while (k >= t && Cross(hull[k - 2], hull[k - 1], pts[i - 1]) <= 0) --k;
    hull[k++] = pts[i - 1];
  }
  hull.resize(k > 0 ? k - 1 : 0);
  return hull;
}

}  // namespace

int CircleSegments(double radius, double tolerance) {
  if (radius <= tolerance / 4) return 8;
  const double step = 2 * std::acos(1 - tolerance / 4 / radius);
  return std::clamp(static_cast<int>(std::ceil(2 * std::numbers::pi / step)), 8, 4096);
}

IntShape FlashShape(const StandardAperture& aperture, IntPoint at, double tolerance) {
  IntShape shape;
  shape.Outer = Place(Outline(aperture, tolerance), at);
  if (aperture.Hole > 0) {
    StandardAperture hole;
    hole.XSize = hole.YSize = aperture.Hole;
    shape.Holes.push_back(Place(Outline(hole, tolerance), at));
  }
  return shape;
}

IntShape LineShape(const StandardAperture& aperture, IntPoint from, IntPoint to, double tolerance) {
  // Every aperture we sweep is convex, so the sweep is the hull of its two placements.
  StandardAperture solid = aperture;
  solid.Hole = 0;
  std::vector<V> pts;
  for (const IntPoint end : {from, to}) {
    for (const V& p : Outline(solid, tolerance)) {
      pts.push_back({static_cast<double>(end.X) + p.X, static_cast<double>(end.Y) + p.Y});
    }
  }
  IntShape shape;
  for (const V& p : ConvexHull(pts)) shape.Outer.push_back(Round(p.X, p.Y));
  return shape;
}

IntShape ArcShape(int64_t width, IntPoint from, IntPoint to, IntPoint centre, bool clockwise, double tolerance) {
  const double cx = static_cast<double>(centre.X), cy = static_cast<double>(centre.Y);
  const double r = std::hypot(static_cast<double>(from.X) - cx, static_cast<double>(from.Y) - cy);
  double a0 = std::atan2(static_cast<double>(from.Y) - cy, static_cast<double>(from.X) - cx);
  double a1 = std::atan2(static_cast<double>(to.Y) - cy, static_cast<double>(to.X) - cx);
  if (clockwise) std::swap(a0, a1);
  while (a1 <= a0) a1 += 2 * std::numbers::pi;  // counter-clockwise from a0 to a1; equal ends: a full turn
  const double half = static_cast<double>(width) / 2;
  const double outer = r + half;
  const double inner = std::max(0.0, r - half);
  const int n =
      std::max(2, static_cast<int>(std::ceil(CircleSegments(outer, tolerance) * (a1 - a0) / (2 * std::numbers::pi))));
  const int capN = std::max(2, CircleSegments(half, tolerance) / 2);
  std::vector<V> pts;
  for (int k = 0; k <= n; ++k) {
    const double t = a0 + (a1 - a0) * k / n;
    pts.push_back({cx + outer * std::cos(t), cy + outer * std::sin(t)});
  }
  // The round cap at the end, then back along the inner side, then the cap at the start.
  const auto cap = [&](double at, double from_) {
    const V c{cx + r * std::cos(at), cy + r * std::sin(at)};
    for (int k = 1; k < capN; ++k) {
      const double t = from_ + std::numbers::pi * k / capN;
      pts.push_back({c.X + half * std::cos(t), c.Y + half * std::sin(t)});
    }
  };
  cap(a1, a1);
  for (int k = n; k >= 0; --k) {
    const double t = a0 + (a1 - a0) * k / n;
    pts.push_back({cx + inner * std::cos(t), cy + inner * std::sin(t)});
  }
  cap(a0, a0 + std::numbers::pi);
  IntShape shape;
  for (const V& p : pts) shape.Outer.push_back(Round(p.X, p.Y));
  return shape;
}

}  // namespace zz::gerberx::convert
