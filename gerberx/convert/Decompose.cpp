#include "gerberx/convert/Decompose.h"

#include <algorithm>
#include <boost/geometry.hpp>
#include <boost/geometry/index/rtree.hpp>
#include <boost/iterator/function_output_iterator.hpp>
#include <boost/polygon/polygon.hpp>
#include <cmath>
#include <numbers>
#include <optional>

#include "gerberx/convert/InscribedCover.h"
#include "gerberx/convert/PlaneVec.h"

namespace gerberx::convert {
namespace {

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;
namespace gtl = boost::polygon;

double PointSegmentDistance(Vec p, Vec a, Vec b) {
  const Vec d = b - a;
  const double len2 = Dot(d, d);
  const double t = len2 > 0.0 ? std::clamp(Dot(p - a, d) / len2, 0.0, 1.0) : 0.0;
  return Length(p - (a + d * t));
}

double SegmentDistance(Vec a, Vec b, Vec c, Vec d) {
  const double d1 = Cross(b - a, c - a);
  const double d2 = Cross(b - a, d - a);
  const double d3 = Cross(d - c, a - c);
  const double d4 = Cross(d - c, b - c);
  if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0))) return 0.0;
  return std::min({PointSegmentDistance(a, c, d), PointSegmentDistance(b, c, d), PointSegmentDistance(c, a, b),
                   PointSegmentDistance(d, a, b)});
}

double SignedArea(const IntRing& ring) {
  double twice = 0.0;
  for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
    twice += static_cast<double>(ring[j].X) * static_cast<double>(ring[i].Y) -
             static_cast<double>(ring[i].X) * static_cast<double>(ring[j].Y);
  }
  return twice / 2.0;
}

// A ring walked with the dark side on its left: outer rings counter-clockwise, holes clockwise.
struct Ring {
  std::vector<Vec> Points;
  std::vector<IntPoint> IntPoints;
  bool Hole = false;
  std::size_t Shape = 0;
};

Ring MakeRing(const IntRing& source, bool hole, std::size_t shape) {
  Ring ring;
  ring.Hole = hole;
  ring.Shape = shape;
  for (const IntPoint& p : source) {
    if (!ring.IntPoints.empty() && ring.IntPoints.back() == p) continue;
    ring.IntPoints.push_back(p);
  }
  while (ring.IntPoints.size() > 1 && ring.IntPoints.front() == ring.IntPoints.back()) ring.IntPoints.pop_back();
  const bool counterClockwise = SignedArea(ring.IntPoints) > 0.0;
  if (counterClockwise == hole) std::reverse(ring.IntPoints.begin(), ring.IntPoints.end());
  for (const IntPoint& p : ring.IntPoints) ring.Points.push_back(ToVec(p));
  return ring;
}

struct Circle {
  Vec Centre;
  double Radius = 0.0;  // the largest distance of a vertex
};

// A ring whose vertices lie on one circle, so close together that the circle stays within the
// tolerance of its edges.
std::optional<Circle> FitCircle(const Ring& ring, double tolerance) {
  const std::size_t n = ring.Points.size();
  if (n < 8) return std::nullopt;
  Vec centre;
  for (const Vec& p : ring.Points) centre = centre + p;
  centre = centre * (1.0 / static_cast<double>(n));
  double lo = 1e300;
  double hi = 0.0;
  for (const Vec& p : ring.Points) {
    const double r = Length(p - centre);
    lo = std::min(lo, r);
    hi = std::max(hi, r);
  }
  if (hi - lo > tolerance / 4.0) return std::nullopt;
  for (std::size_t i = 0; i < n; ++i) {
    const Vec a = ring.Points[i];
    const Vec b = ring.Points[(i + 1) % n];
    const Vec c = ring.Points[(i + 2) % n];
    // All turns one way, and no chord so long that the circle bulges past the tolerance.
    if (Cross(b - a, c - b) * (ring.Hole ? -1.0 : 1.0) <= 0.0) return std::nullopt;
    const double half = Length(b - a) / 2.0;
    if (half >= hi || hi - std::sqrt(hi * hi - half * half) > tolerance / 2.0) return std::nullopt;
  }
  return Circle{centre, hi};
}

using BoxD = bg::model::box<bg::model::d2::point_xy<double>>;
using EdgeIndex = bgi::rtree<std::pair<BoxD, std::size_t>, bgi::quadratic<16>>;

struct EdgeRef {
  std::size_t Ring = 0;
  std::size_t Index = 0;  // from point Index to the next
};

BoxD SegmentBox(Vec a, Vec b, double grow) {
  return BoxD({std::min(a.X, b.X) - grow, std::min(a.Y, b.Y) - grow},
              {std::max(a.X, b.X) + grow, std::max(a.Y, b.Y) + grow});
}

// A track beside part of an edge: how deep (from the edge inward) the stairs that replace the
// edge may reach there.
struct TrackCover {
  double S0 = 0.0, S1 = 0.0;  // the part of the edge beside the track's straight part
  double R = 0.0;             // half the track's width
  double Offset = 0.0;        // distance of the track's centre line from the edge
};

// The main track along an edge and, toward sharp corners where it has to stop short, narrower
// ones that reach further into the corner.
using EdgeCover = std::vector<TrackCover>;

class Decomposer {
 public:
  Decomposer(const std::vector<IntShape>& shapes, const DecomposeOptions& options)
      : tolerance_(static_cast<double>(options.Tolerance)), ladder_(TrackWidthLadder(options)) {
    for (std::size_t s = 0; s < shapes.size(); ++s) {
      AddRing(shapes[s].Outer, false, s);
      for (const IntRing& hole : shapes[s].Holes) AddRing(hole, true, s);
    }
    holeCount_.assign(shapes.size(), 0);
    for (const Ring& ring : rings_) holeCount_[ring.Shape] += ring.Hole ? 1 : 0;
    std::vector<std::pair<BoxD, std::size_t>> boxes;
    for (std::size_t e = 0; e < edges_.size(); ++e) boxes.emplace_back(SegmentBox(Start(e), End(e), 0.0), e);
    index_ = EdgeIndex(boxes.begin(), boxes.end());
  }

  Pieces Run() {
    Pieces pieces;
    for (std::size_t r = 0; r < rings_.size(); ++r) {
      const Ring& ring = rings_[r];
      const std::optional<Circle> circle = FitCircle(ring, tolerance_);
      if (circle && !ring.Hole && holeCount_[ring.Shape] == 0) {
        pieces.Discs.push_back({Round(circle->Centre), 2 * std::llround(std::ceil(circle->Radius))});
        continue;
      }
      if (circle && ring.Hole && CircleHole(r, *circle, pieces)) continue;
      if (!ring.Hole && holeCount_[ring.Shape] == 0 && CoverInscribed(ring.IntPoints, tolerance_, ladder_, pieces)) {
        continue;
      }
      StairRing(r, pieces);
    }
    FillRectangles(pieces);
    return pieces;
  }

 private:
  void AddRing(const IntRing& source, bool hole, std::size_t shape) {
    Ring ring = MakeRing(source, hole, shape);
    if (ring.Points.size() < 3) return;
    const std::size_t index = rings_.size();
    firstEdge_.push_back(edges_.size());
    for (std::size_t i = 0; i < ring.Points.size(); ++i) edges_.push_back({index, i});
    rings_.push_back(std::move(ring));
  }

  Vec Point(std::size_t ring, std::size_t i) const {
    const auto& pts = rings_[ring].Points;
    return pts[i % pts.size()];
  }
  Vec Start(std::size_t e) const { return Point(edges_[e].Ring, edges_[e].Index); }
  Vec End(std::size_t e) const { return Point(edges_[e].Ring, edges_[e].Index + 1); }

  // Stairs may reach this deep where no track covers: the rest lies within the tolerance.
  double Fine() const { return 0.8 * tolerance_; }
  // How far a track along an edge reaches past it, so that its cap also covers the shallow part
  // of the corner it stops short of.
  double Overlap() const { return 0.5 * tolerance_; }

  // No edge comes nearer than `clearance` to the segment a-b, but edge `self`.
  bool Clear(Vec a, Vec b, double clearance, std::optional<std::size_t> selfRing, std::size_t self) const {
    bool clear = true;
    index_.query(bgi::intersects(SegmentBox(a, b, clearance)) && bgi::satisfies([&](const auto& entry) {
                   if (!clear || entry.second == self) return false;
                   if (selfRing && edges_[entry.second].Ring == *selfRing) return false;
                   if (SegmentDistance(a, b, Start(entry.second), End(entry.second)) < clearance - 2.0) clear = false;
                   return false;
                 }),
                 boost::make_function_output_iterator([](const auto&) {}));
    return clear;
  }

  // A track along a slanted edge: the widest of the ladder that stays in the dark area.
  EdgeCover CoverEdge(std::size_t ringIndex, std::size_t i, Pieces& pieces) const {
    const Ring& ring = rings_[ringIndex];
    const std::size_t n = ring.Points.size();
    const Vec prev = ring.Points[(i + n - 1) % n];
    const Vec a = ring.Points[i];
    const Vec b = ring.Points[(i + 1) % n];
    const Vec next = ring.Points[(i + 2) % n];
    const Vec d = b - a;
    const double length = Length(d);
    EdgeCover cover;
    if (std::min(std::abs(d.X), std::abs(d.Y)) <= Fine()) return cover;
    const Vec u = d * (1.0 / length);
    const Vec normal{-u.Y, u.X};
    // Half the turn at a convex corner; none at a reflex one.
    const auto halfTurn = [](Vec in, Vec out) {
      const double turn = std::atan2(Cross(in, out), Dot(in, out));
      return turn > 0.0 ? std::tan(turn / 2.0) : 0.0;
    };
    const double startTurn = halfTurn(a - prev, d);
    const double endTurn = halfTurn(d, next - b);
    const std::size_t edge = firstEdge_[ringIndex] + i;
    // The track of ladder rung `k` from `s0` to `s1` along the edge, if it stays in the dark area.
    const auto place = [&](std::size_t k, double s0, double s1) -> bool {
      const double r = static_cast<double>(ladder_[k]) / 2.0;
      const double offset = r - Overlap();
      if (s1 < s0) return false;
      const Vec from = a + u * s0 + normal * offset;
      const Vec to = a + u * s1 + normal * offset;
      if (!Clear(from, to, offset, std::nullopt, edge)) return false;
      pieces.Tracks.push_back({Round(from), Round(to), ladder_[k]});
      cover.push_back({s0, s1, r, offset});
      return true;
    };
    for (std::size_t k = 0; k < ladder_.size(); ++k) {
      const double offset = static_cast<double>(ladder_[k]) / 2.0 - Overlap();
      if (!place(k, offset * startTurn, length - offset * endTurn)) continue;
      // Toward an end where the main track's cap leaves more than a few fine stairs: narrower
      // tracks, every other rung, each reaching further into the corner.
      const double fewStairs = 3.0 * Fine() / std::abs(u.X * u.Y);
      double reach = cover.front().S0;
      for (std::size_t m = k + 2; m < ladder_.size() && fewStairs < length && Allowance(cover, fewStairs) <= Fine();
           m += 2) {
        const double o = static_cast<double>(ladder_[m]) / 2.0 - Overlap();
        if (place(m, o * startTurn, reach)) reach = o * startTurn;
      }
      reach = cover.front().S1;
      for (std::size_t m = k + 2;
           m < ladder_.size() && fewStairs < length && Allowance(cover, length - fewStairs) <= Fine(); m += 2) {
        const double o = static_cast<double>(ladder_[m]) / 2.0 - Overlap();
        if (place(m, reach, length - o * endTurn)) reach = length - o * endTurn;
      }
      return cover;
    }
    return cover;
  }

  double Allowance(const EdgeCover& cover, double s) const {
    double best = Fine();
    for (const TrackCover& c : cover) {
      if (s >= c.S0 && s <= c.S1) {
        best = std::max(best, 2.0 * c.R - 0.2 * tolerance_);
        continue;
      }
      const double away = s < c.S0 ? c.S0 - s : s - c.S1;
      if (away >= c.R) continue;
      const double h = std::sqrt(c.R * c.R - away * away);
      if (c.Offset - h > Fine()) continue;
      best = std::max(best, c.Offset + h - 0.2 * tolerance_);
    }
    return best;
  }

  // The ring with every slanted edge replaced by stairs on its dark side, no deeper than what the
  // edge's track covers.
  void StairRing(std::size_t ringIndex, Pieces& pieces) {
    const Ring& ring = rings_[ringIndex];
    const std::size_t n = ring.Points.size();
    std::vector<IntPoint> out;
    for (std::size_t i = 0; i < n; ++i) {
      const IntPoint a = ring.IntPoints[i];
      const IntPoint b = ring.IntPoints[(i + 1) % n];
      out.push_back(a);
      if (a.X == b.X || a.Y == b.Y) continue;
      const EdgeCover cover = CoverEdge(ringIndex, i, pieces);
      const Vec va = ToVec(a);
      const Vec d = ToVec(b) - va;
      const double length = Length(d);
      const Vec u = d * (1.0 / length);
      const double slope = std::abs(u.X * u.Y);  // depth of a stair corner per length along the edge
      double s = 0.0;
      IntPoint from = a;
      while (s < length) {
        // As long as both ends allow: halved from what the start allows, so that a step that
        // would end past a track's end stops short of it instead of becoming a fine one.
        double step = Allowance(cover, s) / slope;
        while (step * slope > Fine() && Allowance(cover, std::min(length, s + step)) < step * slope) step /= 2.0;
        s = std::min(length, s + std::max(step, 1.0));
        const IntPoint to = s >= length ? b : Round(va + u * s);
        // The corner on the dark side (the left) of the edge.
        IntPoint corner{to.X, from.Y};
        if (Cross(d, ToVec(corner) - ToVec(from)) < 0.0) corner = {from.X, to.Y};
        out.push_back(corner);
        if (s < length) out.push_back(to);
        from = to;
      }
    }
    stairs_.push_back({std::move(out), ring.Hole});
  }

  // A round hole: one full-circle arc around it, and stairs around the arc's inner half.
  bool CircleHole(std::size_t ringIndex, const Circle& circle, Pieces& pieces) {
    for (const int64_t width : ladder_) {
      const double r = static_cast<double>(width) / 2.0;
      const double offset = r - Overlap();
      const double reach = circle.Radius + 2.0 * offset;
      bool clear = true;
      index_.query(
          bgi::intersects(SegmentBox(circle.Centre, circle.Centre, reach)) && bgi::satisfies([&](const auto& entry) {
            if (!clear || edges_[entry.second].Ring == ringIndex) return false;
            if (SegmentDistance(circle.Centre, circle.Centre, Start(entry.second), End(entry.second)) < reach - 2.0) {
              clear = false;
            }
            return false;
          }),
          boost::make_function_output_iterator([](const auto&) {}));
      if (!clear) continue;
      pieces.Arcs.push_back({Round(circle.Centre), std::llround(circle.Radius + offset), 0.0, 360.0, width});
      stairs_.push_back({CircleStairs(circle, 2.0 * r - 0.2 * tolerance_), true});
      return true;
    }
    return false;
  }

  // Stairs around a circle, outside it and within `depth` of it.
  static std::vector<IntPoint> CircleStairs(const Circle& circle, double depth) {
    const double limit = circle.Radius + depth;
    for (int steps = 1;; ++steps) {
      std::vector<IntPoint> onCircle;
      for (int k = 0; k < 4 * steps; ++k) {
        const double angle = 2.0 * std::numbers::pi * k / (4.0 * steps);
        // Exactly on the axes at the quarter turns, so that the stairs stay symmetric.
        const Vec v = (k % steps == 0) ? Vec{std::round(std::cos(angle)), std::round(std::sin(angle))}
                                       : Vec{std::cos(angle), std::sin(angle)};
        onCircle.push_back(Round(circle.Centre + v * std::ceil(circle.Radius)));
      }
      std::vector<IntPoint> ring;
      double farthest = 0.0;
      for (std::size_t i = 0; i < onCircle.size(); ++i) {
        const IntPoint a = onCircle[i];
        const IntPoint b = onCircle[(i + 1) % onCircle.size()];
        const IntPoint c = Round(circle.Centre);
        const IntPoint corner{std::abs(a.X - c.X) > std::abs(b.X - c.X) ? a.X : b.X,
                              std::abs(a.Y - c.Y) > std::abs(b.Y - c.Y) ? a.Y : b.Y};
        farthest = std::max(farthest, Length(ToVec(corner) - circle.Centre));
        ring.push_back(a);
        ring.push_back(corner);
      }
      if (farthest <= limit || steps >= 64) return ring;
    }
  }

  void FillRectangles(Pieces& pieces) const {
    gtl::polygon_90_set_data<int64_t> set;
    for (const auto& [points, hole] : stairs_) {
      std::vector<gtl::point_data<int64_t>> clean;
      for (const IntPoint& p : points) {
        const gtl::point_data<int64_t> q(p.X, p.Y);
        if (!clean.empty() && clean.back() == q) continue;
        clean.push_back(q);
      }
      while (clean.size() > 1 && clean.front() == clean.back()) clean.pop_back();
      // Drop points in the middle of a straight run: the compact form wants turns only.
      bool changed = true;
      while (changed && clean.size() >= 4) {
        changed = false;
        for (std::size_t i = 0; i < clean.size() && clean.size() >= 4; ++i) {
          const auto& p = clean[(i + clean.size() - 1) % clean.size()];
          const auto& q = clean[i];
          const auto& r = clean[(i + 1) % clean.size()];
          if ((p.x() == q.x() && q.x() == r.x()) || (p.y() == q.y() && q.y() == r.y())) {
            clean.erase(clean.begin() + static_cast<std::ptrdiff_t>(i));
            changed = true;
            --i;
          }
        }
      }
      if (clean.size() < 4) continue;
      gtl::polygon_90_data<int64_t> polygon;
      polygon.set(clean.begin(), clean.end());
      set.insert(polygon, hole);
    }
    std::vector<gtl::rectangle_data<int64_t>> horizontal;
    std::vector<gtl::rectangle_data<int64_t>> vertical;
    set.get_rectangles(horizontal, gtl::HORIZONTAL);
    set.get_rectangles(vertical, gtl::VERTICAL);
    for (const auto& box : vertical.size() < horizontal.size() ? vertical : horizontal) {
      pieces.Fills.push_back({gtl::xl(box), gtl::yl(box), gtl::xh(box), gtl::yh(box)});
    }
  }

  double tolerance_;
  std::vector<int64_t> ladder_;
  std::vector<Ring> rings_;
  std::vector<std::size_t> holeCount_;
  std::vector<EdgeRef> edges_;
  std::vector<std::size_t> firstEdge_;
  EdgeIndex index_;
  std::vector<std::pair<std::vector<IntPoint>, bool>> stairs_;
};

}  // namespace

std::vector<int64_t> TrackWidthLadder(const DecomposeOptions& options) {
  std::vector<int64_t> ladder;
  // Below two tolerances a track covers too thin a band to save a stair.
  double width = static_cast<double>(options.MaxTrackWidth);
  while (width >= 2.0 * options.Tolerance) {
    ladder.push_back(2 * std::llround(width / 2.0));
    width *= 0.7;
  }
  return ladder;
}

Pieces Decompose(const std::vector<IntShape>& shapes, const DecomposeOptions& options) {
  return Decomposer(shapes, options).Run();
}

}  // namespace gerberx::convert
