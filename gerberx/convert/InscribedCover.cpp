#include "gerberx/convert/InscribedCover.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "gerberx/convert/PlaneVec.h"

namespace gerberx::convert {
namespace {

struct Edge {
  Vec Along;            // unit direction
  Vec Inward;           // unit normal toward the dark side
  double Offset = 0.0;  // Dot(Inward, p) for the points p of the edge's line

  double Depth(Vec p) const { return Dot(Inward, p) - Offset; }
};

// The disc (A == B) or round track that touches every edge from inside.
struct Core {
  Vec A, B;
  double Radius = 0.0;
};

std::optional<Core> FindCore(const std::vector<Vec>& points, const std::vector<Edge>& edges, double tolerance) {
  const std::size_t n = points.size();
  Vec centre;
  for (const Vec& p : points) centre = centre + p;
  centre = centre * (1.0 / static_cast<double>(n));
  Core core{centre, centre, 0.0};
  // Corners on the grid turn a turned rectangle's right angles by a few millionths.
  if (n == 4 && std::abs(Dot(edges[0].Along, edges[1].Along)) < 1e-4 &&
      std::abs(Dot(edges[1].Along, edges[2].Along)) < 1e-4) {
    // A rectangle: a track along its long axis, as wide as the short side.
    const double side0 = std::min(Length(points[1] - points[0]), Length(points[3] - points[2]));
    const double side1 = std::min(Length(points[2] - points[1]), Length(points[0] - points[3]));
    const Vec axis = side0 >= side1 ? edges[0].Along : edges[1].Along;
    const double reach = (std::max(side0, side1) - std::min(side0, side1)) / 2.0;
    core.A = centre - axis * reach;
    core.B = centre + axis * reach;
  }
  // As wide as fits, and every edge touches it: no strip between them stays uncovered.
  core.Radius = 1e300;
  for (const Edge& e : edges) core.Radius = std::min({core.Radius, e.Depth(core.A), e.Depth(core.B)});
  for (const Edge& e : edges) {
    if (std::min(e.Depth(core.A), e.Depth(core.B)) > core.Radius + 0.1 * tolerance) return std::nullopt;
  }
  if (core.Radius < tolerance) return std::nullopt;
  return core;
}

}  // namespace

std::optional<std::vector<int64_t>> RingWidths(double coreRadius, double shallow, double tolerance,
                                               const std::vector<int64_t>& ladder) {
  // Each ring covers, along the edges, a band twice its radius deep: deep enough to cover what
  // the next wider one leaves in the corners.
  std::vector<int64_t> rings;
  double radius = coreRadius;
  while (radius * shallow > 0.8 * tolerance) {
    const double need = radius * shallow / (2.0 * 0.85);
    std::optional<int64_t> narrowest;
    for (const int64_t width : ladder) {
      const double r = static_cast<double>(width) / 2.0;
      if (r >= need && r < radius) narrowest = width;
    }
    if (!narrowest) return std::nullopt;
    rings.push_back(*narrowest);
    radius = static_cast<double>(*narrowest) / 2.0;
  }
  return rings;
}

bool CoverInscribed(const std::vector<IntPoint>& ring, double tolerance, const std::vector<int64_t>& ladder,
                    Pieces& pieces) {
  // Points on the line between their neighbours (some programs split an edge) say nothing of
  // the shape.
  std::vector<Vec> points;
  for (std::size_t i = 0; i < ring.size(); ++i) {
    const Vec prev = ToVec(ring[(i + ring.size() - 1) % ring.size()]);
    const Vec p = ToVec(ring[i]);
    const Vec next = ToVec(ring[(i + 1) % ring.size()]);
    const double span = Length(next - prev);
    if (span > 0.0 && Dot(p - prev, next - p) > 0.0 && std::abs(Cross(p - prev, next - prev)) <= 2.0 * span) continue;
    points.push_back(p);
  }
  const std::size_t n = points.size();
  if (n < 3) return false;
  std::vector<Edge> edges;
  for (std::size_t i = 0; i < n; ++i) {
    const Vec d = points[(i + 1) % n] - points[i];
    const double length = Length(d);
    if (length == 0.0) return false;
    Edge e;
    e.Along = d * (1.0 / length);
    e.Inward = {-e.Along.Y, e.Along.X};
    e.Offset = Dot(e.Inward, points[i]);
    edges.push_back(e);
  }
  // Edges all along the axes make fills, exactly.
  if (std::all_of(edges.begin(), edges.end(), [](const Edge& e) { return e.Along.X == 0.0 || e.Along.Y == 0.0; })) {
    return false;
  }
  // Convex, and how sharp its sharpest corner is: a disc touching both edges of a corner leaves
  // uncovered, between it and the corner, points at most `shallow` times its radius deep.
  double shallow = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    const Edge& in = edges[i];
    const Edge& out = edges[(i + 1) % n];
    const double turn = std::atan2(Cross(in.Along, out.Along), Dot(in.Along, out.Along));
    if (turn <= 0.0) return false;
    shallow = std::max(shallow, 1.0 - std::cos(turn / 2.0));
  }
  const std::optional<Core> core = FindCore(points, edges, tolerance);
  if (!core) return false;

  const std::optional<std::vector<int64_t>> rings = RingWidths(core->Radius, shallow, tolerance, ladder);
  if (!rings) return false;

  const int64_t coreWidth = 2 * static_cast<int64_t>(std::floor(core->Radius));
  // A square's core has no length; rounding (x87 keeps more bits than SSE) may leave a trace of one.
  if (Length(core->B - core->A) < 1.0) {
    pieces.Discs.push_back({Round((core->A + core->B) * 0.5), coreWidth});
  } else {
    pieces.Tracks.push_back({Round(core->A), Round(core->B), coreWidth});
  }
  for (const int64_t width : *rings) {
    const double r = static_cast<double>(width) / 2.0;
    // Each vertex moved inward to where the track's edge touches both of the vertex's edges.
    std::vector<IntPoint> inset;
    for (std::size_t i = 0; i < n; ++i) {
      const Vec a = edges[(i + n - 1) % n].Inward;
      const Vec b = edges[i].Inward;
      inset.push_back(Round(points[i] + (a + b) * (r / (1.0 + Dot(a, b)))));
    }
    for (std::size_t i = 0; i < n; ++i) pieces.Tracks.push_back({inset[i], inset[(i + 1) % n], width});
  }
  return true;
}

}  // namespace gerberx::convert
