#include "gerberx/convert/Decompose.h"

#include <algorithm>
#include <array>
#include <boost/geometry.hpp>
#include <boost/geometry/index/rtree.hpp>
#include <boost/iterator/function_output_iterator.hpp>
#include <boost/polygon/polygon.hpp>
#include <cmath>
#include <numbers>
#include <optional>
#include <unordered_map>

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

// The counter-clockwise arc of a circle from angle Start over Span (radians).
struct ArcPath {
  Vec Centre;
  double Radius = 0.0;
  double Start = 0.0;
  double Span = 0.0;

  Vec At(double angle) const { return Centre + Vec{std::cos(angle), std::sin(angle)} * Radius; }
  bool Spans(Vec p) const {
    double angle = std::atan2(p.Y - Centre.Y, p.X - Centre.X) - Start;
    angle = std::fmod(angle, 2.0 * std::numbers::pi);
    if (angle < 0.0) angle += 2.0 * std::numbers::pi;
    return angle <= Span;
  }
};

// Nearest distance between an arc and a segment: at an end of either, where the segment comes
// nearest the centre, or where it crosses the circle.
double ArcSegmentDistance(const ArcPath& arc, Vec a, Vec b) {
  double best =
      std::min(PointSegmentDistance(arc.At(arc.Start), a, b), PointSegmentDistance(arc.At(arc.Start + arc.Span), a, b));
  const Vec d = b - a;
  const double len2 = Dot(d, d);
  std::array<Vec, 3> candidates{a, b, a};
  if (len2 > 0.0) {
    candidates[2] = a + d * std::clamp(Dot(arc.Centre - a, d) / len2, 0.0, 1.0);
    // |a + t d - c| = R
    const Vec f = a - arc.Centre;
    const double half = Dot(f, d) / len2;
    const double disc = half * half - (Dot(f, f) - arc.Radius * arc.Radius) / len2;
    if (disc >= 0.0) {
      for (const double t : {-half - std::sqrt(disc), -half + std::sqrt(disc)}) {
        if (t >= 0.0 && t <= 1.0 && arc.Spans(a + d * t)) return 0.0;
      }
    }
  }
  for (const Vec& p : candidates) {
    if (arc.Spans(p)) best = std::min(best, std::abs(Length(p - arc.Centre) - arc.Radius));
  }
  return best;
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

// A run of a ring's edges, First to Last - 1, whose vertices lie on one circle: a round corner
// of a pour (the dark side inside the circle) or the bite a round clearance takes out of it
// (concave: the dark side outside).
struct ArcRun {
  std::size_t First = 0;
  std::size_t Last = 0;
  Vec Centre;
  double Radius = 0.0;
  double Sag = 0.0;  // how far the deepest chord comes inside the circle
  bool Concave = false;
};

constexpr std::size_t kMinArcChords = 4;    // fewer may be a polygon's corners
constexpr std::size_t kMaxArcChords = 256;  // bounds the fitting's quadratic cost
constexpr double kMaxArcRadius = 4e7;       // 100 mm: flatter runs are as good as straight
constexpr int64_t kLeastStrip = 10000;      // 1 mil

std::optional<Vec> Circumcentre(Vec a, Vec b, Vec c) {
  const Vec ab = b - a;
  const Vec ac = c - a;
  const double d = 2.0 * Cross(ab, ac);
  // Nearly in line: the centre is too far for the arithmetic.
  if (std::abs(d) <= 1e-9 * Length(ab) * Length(ac)) return std::nullopt;
  const double b2 = Dot(ab, ab);
  const double c2 = Dot(ac, ac);
  return a + Vec{(ac.Y * b2 - ab.Y * c2) / d, (ab.X * c2 - ac.X * b2) / d};
}

// Edges first to last - 1 of the ring as an arc: chords of one circle, none coming farther inside
// it than nine tenths of the tolerance, turning one way about its centre, and by less than a
// quarter turn at each vertex.
std::optional<ArcRun> FitArc(const Ring& ring, std::size_t first, std::size_t last, double tolerance) {
  const std::size_t n = ring.Points.size();
  const auto at = [&](std::size_t v) { return ring.Points[v % n]; };
  const std::optional<Vec> centre = Circumcentre(at(first), at((first + last) / 2), at(last));
  if (!centre) return std::nullopt;
  const double radius = Length(at(first) - *centre);
  if (radius > kMaxArcRadius) return std::nullopt;
  const bool concave = Cross(at(first + 1) - at(first), *centre - at(first)) < 0.0;
  double turned = 0.0;
  double sag = 0.0;
  for (std::size_t v = first; v <= last; ++v) {
    if (std::abs(Length(at(v) - *centre) - radius) > tolerance / 4.0) return std::nullopt;
    if (v == last) break;
    const double turn = v > first ? Cross(at(v) - at(v - 1), at(v + 1) - at(v)) : (concave ? -1.0 : 1.0);
    if (turn == 0.0 || (turn < 0.0) != concave) return std::nullopt;
    // A chord turning back (the tip of a sliver between two near circles) is no arc, though its
    // ends lie on one: the side the arc's track would take is then the sliver's outside.
    if (v > first && Dot(at(v) - at(v - 1), at(v + 1) - at(v)) <= 0.0) return std::nullopt;
    const double half = Length(at(v + 1) - at(v)) / 2.0;
    if (half >= radius) return std::nullopt;
    // A convex arc is drawn inside its deepest chord; beside a concave one the sliver up to the
    // chord is left, and either way it has to stay within the tolerance.
    sag = std::max(sag, radius - std::sqrt(radius * radius - half * half));
    if (sag > 0.9 * tolerance) return std::nullopt;
    turned += 2.0 * std::asin(half / radius);
  }
  if (turned > 1.9 * std::numbers::pi) return std::nullopt;
  return ArcRun{first, last, *centre, radius, sag, concave};
}

// The ring's arcs, each as long as its vertices stay on one circle; a run is not followed past
// the ring's first vertex.
std::vector<ArcRun> ArcRuns(const Ring& ring, double tolerance) {
  std::vector<ArcRun> runs;
  const std::size_t n = ring.Points.size();
  std::size_t i = 0;
  while (i + kMinArcChords <= n) {
    std::optional<ArcRun> run = FitArc(ring, i, i + kMinArcChords, tolerance);
    if (!run) {
      ++i;
      continue;
    }
    while (run->Last < n && run->Last - i < kMaxArcChords) {
      std::optional<ArcRun> longer = FitArc(ring, i, run->Last + 1, tolerance);
      if (!longer) break;
      run = longer;
    }
    runs.push_back(*run);
    i = run->Last;
  }
  return runs;
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

// The box of an arc: its ends and the points where it crosses an axis.
BoxD ArcBox(const ArcPath& arc, double grow) {
  BoxD box = SegmentBox(arc.At(arc.Start), arc.At(arc.Start + arc.Span), grow);
  const double quarter = std::numbers::pi / 2.0;
  for (double m = std::ceil(arc.Start / quarter); m * quarter <= arc.Start + arc.Span; ++m) {
    bg::expand(box, SegmentBox(arc.At(m * quarter), arc.At(m * quarter), grow));
  }
  return box;
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

  // No edge inside `box`, but those `skip` names, comes nearer than `clearance` by `distance`.
  template <class Skip, class Distance>
  bool NothingNear(const BoxD& box, double clearance, Skip skip, Distance distance) const {
    bool clear = true;
    index_.query(bgi::intersects(box) && bgi::satisfies([&](const auto& entry) {
                   if (!clear || skip(entry.second)) return false;
                   if (distance(Start(entry.second), End(entry.second)) < clearance - 2.0) clear = false;
                   return false;
                 }),
                 boost::make_function_output_iterator([](const auto&) {}));
    return clear;
  }

  // No edge but those `skip` names comes nearer than `clearance` to the segment a-b.
  template <class Skip>
  bool Clear(Vec a, Vec b, double clearance, Skip skip) const {
    return NothingNear(SegmentBox(a, b, clearance), clearance, skip,
                       [&](Vec c, Vec d) { return SegmentDistance(a, b, c, d); });
  }

  template <class Skip>
  bool ArcClear(const ArcPath& arc, double clearance, Skip skip) const {
    return NothingNear(ArcBox(arc, clearance), clearance, skip,
                       [&](Vec c, Vec d) { return ArcSegmentDistance(arc, c, d); });
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
      if (!Clear(from, to, offset, [edge](std::size_t e) { return e == edge; })) return false;
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
    const std::vector<ArcStretch> arcs = CoverArcs(ringIndex, pieces);
    auto nextArc = arcs.begin();
    for (std::size_t i = 0; i < n; ++i) {
      const IntPoint a = ring.IntPoints[i];
      const IntPoint b = ring.IntPoints[(i + 1) % n];
      out.push_back(a);
      if (nextArc != arcs.end() && nextArc->From == i) {
        out.insert(out.end(), nextArc->Stairs.begin(), nextArc->Stairs.end());
        i = nextArc->To - 1;
        ++nextArc;
        continue;
      }
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
    // Outer rings run counter-clockwise, holes clockwise.
    stairs_.push_back({std::move(out), ring.Hole, !ring.Hole});
  }

  // Chords from vertex From to To covered by one arc, and the stairs that replace them: the
  // points after From and before To.
  struct ArcStretch {
    std::size_t From = 0;
    std::size_t To = 0;
    std::vector<IntPoint> Stairs;
  };

  // How far along the run's circle each of its vertices lies from the first, in radians, in the
  // run's direction about the centre, and the angle of the first.
  struct RunTravel {
    double Start = 0.0;
    std::vector<double> Travel;
  };

  static RunTravel Travel(const Ring& ring, const ArcRun& run) {
    const std::size_t n = ring.Points.size();
    const Vec first = ring.Points[run.First % n] - run.Centre;
    RunTravel path{std::atan2(first.Y, first.X), {0.0}};
    for (std::size_t v = run.First; v < run.Last; ++v) {
      const Vec p = ring.Points[v % n] - run.Centre;
      const Vec q = ring.Points[(v + 1) % n] - run.Centre;
      path.Travel.push_back(path.Travel.back() + std::abs(std::atan2(Cross(p, q), Dot(p, q))));
    }
    return path;
  }

  // An arc track along each of the ring's circle runs where that takes fewer pieces than a track
  // and stairs for each chord: the width, and the chords it covers, that give the fewest.
  std::vector<ArcStretch> CoverArcs(std::size_t ringIndex, Pieces& pieces) const {
    std::vector<ArcStretch> stretches;
    for (const ArcRun& run : ArcRuns(rings_[ringIndex], tolerance_)) {
      const RunTravel path = Travel(rings_[ringIndex], run);
      std::optional<std::pair<ArcStretch, RoundArc>> best;
      std::size_t bestCost = 2 * (run.Last - run.First);  // a track and a stair a chord, at least
      for (const int64_t width : ladder_) {
        auto candidate = CoverArc(ringIndex, run, path, width);
        if (!candidate) continue;
        const ArcStretch& stretch = candidate->first;
        const std::size_t cost =
            1 + stretch.Stairs.size() / 2 + 2 * (run.Last - run.First - (stretch.To - stretch.From));
        const bool whole = stretch.From == run.First && stretch.To == run.Last;
        if (cost < bestCost) {
          bestCost = cost;
          best = std::move(candidate);
        }
        // A narrower arc along all of it only takes shallower stairs.
        if (whole) break;
      }
      if (!best) continue;
      pieces.Arcs.push_back(best->second);
      stretches.push_back(std::move(best->first));
    }
    return stretches;
  }

  // The arc of `width` beside the run's longest stretch of chords where it keeps clear of every
  // other edge, with stairs as deep as it covers.
  std::optional<std::pair<ArcStretch, RoundArc>> CoverArc(std::size_t ringIndex, const ArcRun& run,
                                                          const RunTravel& path, int64_t width) const {
    const Ring& ring = rings_[ringIndex];
    const double r = static_cast<double>(width) / 2.0;
    const double offset = r - Overlap();
    // The circle the stairs and the arc's edge follow: for a convex arc, inside every chord.
    const double rim = run.Concave ? run.Radius : run.Radius - run.Sag;
    const double along = run.Concave ? rim + offset : rim - offset;
    if (along < r) return std::nullopt;
    const double dir = run.Concave ? -1.0 : 1.0;
    const double start = path.Start;
    const std::vector<double>& travel = path.Travel;
    const auto skip = [&](std::size_t e) {
      return edges_[e].Ring == ringIndex && edges_[e].Index >= run.First && edges_[e].Index < run.Last;
    };
    std::size_t bestFrom = 0;
    std::size_t bestTo = 0;
    std::size_t streak = 0;
    for (std::size_t c = 0; c < run.Last - run.First; ++c) {
      const double t0 = travel[c];
      const double t1 = travel[c + 1];
      const double from = start + dir * (run.Concave ? t1 : t0);
      const bool clear = ArcClear({run.Centre, along, from, t1 - t0}, offset, skip);
      streak = clear ? streak + 1 : 0;
      if (streak > bestTo - bestFrom) {
        bestFrom = c + 1 - streak;
        bestTo = c + 1;
      }
    }
    // Too short an arc would have its ends written at one point, which reads as a full circle.
    if (bestTo - bestFrom < 2 || (travel[bestTo] - travel[bestFrom]) * along < 4.0 * tolerance_) return std::nullopt;
    ArcStretch stretch{run.First + bestFrom, run.First + bestTo,
                       ArcStairs(ring, run, rim, start, run.First + bestFrom, run.First + bestTo, travel[bestFrom],
                                 travel[bestTo], 2.0 * r - tolerance_)};
    const double span = travel[bestTo] - travel[bestFrom];
    double from = (start + dir * (run.Concave ? travel[bestTo] : travel[bestFrom])) * 180.0 / std::numbers::pi;
    from = std::fmod(from, 360.0);
    if (from < 0.0) from += 360.0;
    RoundArc arc{Round(run.Centre), std::llround(along), from, from + span * 180.0 / std::numbers::pi, width};
    return std::make_pair(std::move(stretch), arc);
  }

  // Stairs on the dark side of the circle of radius `rim` about the run's centre, from vertex
  // `from` (travel t0) to vertex `to` (travel t1), no deeper than `depth`: the points between,
  // through those where the circle crosses an axis, so that the circle between two stairs' ends
  // stays inside their box.
  static std::vector<IntPoint> ArcStairs(const Ring& ring, const ArcRun& run, double rim, double start,
                                         std::size_t from, std::size_t to, double t0, double t1, double depth) {
    const std::size_t n = ring.Points.size();
    const double dir = run.Concave ? -1.0 : 1.0;
    const double quarter = std::numbers::pi / 2.0;
    const auto point = [&](double t) {
      const double angle = start + dir * t;
      return Round(run.Centre + Vec{std::cos(angle), std::sin(angle)} * rim);
    };
    std::vector<std::pair<double, IntPoint>> ends{{t0, ring.IntPoints[from % n]}};
    const double a0 = start + dir * t0;
    const double a1 = start + dir * t1;
    for (double m = dir > 0 ? std::floor(a0 / quarter) + 1 : std::ceil(a0 / quarter) - 1;
         dir > 0 ? m * quarter < a1 : m * quarter > a1; m += dir) {
      const Vec axis{std::round(std::cos(m * quarter)), std::round(std::sin(m * quarter))};
      ends.emplace_back(dir * (m * quarter - start), Round(run.Centre + axis * rim));
    }
    ends.emplace_back(t1, ring.IntPoints[to % n]);
    const auto depthOf = [&](IntPoint p) {
      const double distance = Length(ToVec(p) - run.Centre);
      return run.Concave ? distance - rim : rim - distance;
    };
    // Of the two corners of the box of p and q, the one on the dark side.
    const auto corner = [&](IntPoint p, IntPoint q) {
      const IntPoint c1{q.X, p.Y};
      const IntPoint c2{p.X, q.Y};
      return (depthOf(c1) > depthOf(c2)) ? c1 : c2;
    };
    std::vector<IntPoint> stairs;
    for (std::size_t e = 0; e + 1 < ends.size(); ++e) {
      double t = ends[e].first;
      const IntPoint tail = ends[e + 1].second;
      IntPoint p = ends[e].second;
      if (e > 0) stairs.push_back(p);
      const double end = ends[e + 1].first;
      while (true) {
        double step = end - t;
        IntPoint q = tail;
        IntPoint c = corner(p, q);
        while (depthOf(c) > depth && step * rim > 2.0) {
          step /= 2.0;
          q = point(t + step);
          c = corner(p, q);
        }
        stairs.push_back(c);
        if (q == tail) break;
        stairs.push_back(q);
        t += step;
        p = q;
      }
    }
    return stairs;
  }

  // A round hole: one full-circle arc around it, and stairs around the arc's inner half.
  bool CircleHole(std::size_t ringIndex, const Circle& circle, Pieces& pieces) {
    for (const int64_t width : ladder_) {
      const double r = static_cast<double>(width) / 2.0;
      const double offset = r - Overlap();
      const double reach = circle.Radius + 2.0 * offset;
      const bool clear = NothingNear(
          SegmentBox(circle.Centre, circle.Centre, reach), reach,
          [&](std::size_t e) { return edges_[e].Ring == ringIndex; },
          [&](Vec c, Vec d) { return PointSegmentDistance(circle.Centre, c, d); });
      if (!clear) continue;
      pieces.Arcs.push_back({Round(circle.Centre), std::llround(circle.Radius + offset), 0.0, 360.0, width});
      stairs_.push_back({CircleStairs(circle, 2.0 * r - 0.2 * tolerance_), true, true});
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
    for (const auto& [points, hole, counterClockwise] : stairs_) {
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
      // Inserted the way it runs, not the way its net area says: where a thin part's stairs reach
      // past its far side they cross the stairs there, and enough such crossings turn the net area
      // around, which would count every stair box of the ring as outside and the crossings inside.
      using Edges = gtl::iterator_geometry_to_set<gtl::polygon_90_concept, gtl::polygon_90_data<int64_t>>;
      const gtl::direction_1d winding = counterClockwise ? gtl::COUNTERCLOCKWISE : gtl::CLOCKWISE;
      set.insert(Edges(polygon, gtl::LOW, gtl::HORIZONTAL, hole, true, winding),
                 Edges(polygon, gtl::HIGH, gtl::HORIZONTAL, hole, true, winding), gtl::HORIZONTAL);
    }
    std::vector<gtl::rectangle_data<int64_t>> horizontal;
    std::vector<gtl::rectangle_data<int64_t>> vertical;
    set.get_rectangles(horizontal, gtl::HORIZONTAL);
    set.get_rectangles(vertical, gtl::VERTICAL);
    const bool upright = vertical.size() < horizontal.size();
    // Strips as if upright: thin across x.
    std::vector<FillBox> strips;
    for (const auto& box : upright ? vertical : horizontal) {
      strips.push_back(upright ? FillBox{gtl::xl(box), gtl::yl(box), gtl::xh(box), gtl::yh(box)}
                               : FillBox{gtl::yl(box), gtl::xl(box), gtl::yh(box), gtl::xh(box)});
    }
    WidenThinStrips(strips, kLeastStrip);
    for (const FillBox& f : strips) pieces.Fills.push_back(upright ? f : FillBox{f.Y1, f.X1, f.Y2, f.X2});
  }

  // Slicing cuts a strip at every corner across the whole area, so two corners a hair apart
  // give a long strip far thinner than a mil. Such a strip is widened into a neighbour that
  // runs along all of it, which it may overlap.
  static void WidenThinStrips(std::vector<FillBox>& strips, int64_t width) {
    std::unordered_multimap<int64_t, std::size_t> byLeft;
    std::unordered_multimap<int64_t, std::size_t> byRight;
    for (std::size_t i = 0; i < strips.size(); ++i) {
      byLeft.emplace(strips[i].X1, i);
      byRight.emplace(strips[i].X2, i);
    }
    // A neighbour only grows, so what it covered stays dark.
    const auto alongAll = [&](const FillBox& n, const FillBox& s) { return n.Y1 <= s.Y1 && n.Y2 >= s.Y2; };
    for (FillBox& s : strips) {
      if (s.X2 - s.X1 >= width / 2) continue;
      bool widened = false;
      for (auto [it, end] = byLeft.equal_range(s.X2); !widened && it != end; ++it) {
        const FillBox& n = strips[it->second];
        if (alongAll(n, s)) {
          s.X2 = std::min(n.X2, s.X1 + width);
          widened = true;
        }
      }
      for (auto [it, end] = byRight.equal_range(s.X1); !widened && it != end; ++it) {
        const FillBox& n = strips[it->second];
        if (alongAll(n, s)) {
          s.X1 = std::max(n.X1, s.X2 - width);
          widened = true;
        }
      }
    }
  }

  double tolerance_;
  std::vector<int64_t> ladder_;
  std::vector<Ring> rings_;
  std::vector<std::size_t> holeCount_;
  std::vector<EdgeRef> edges_;
  std::vector<std::size_t> firstEdge_;
  EdgeIndex index_;
  struct Stairs {
    std::vector<IntPoint> Points;
    bool Hole = false;
    bool CounterClockwise = true;
  };
  std::vector<Stairs> stairs_;
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
