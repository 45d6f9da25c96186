#include "gerberx/convert/Band.h"

#include <algorithm>
#include <cmath>

#include "gerberx/convert/PlaneVec.h"

namespace gerberx::convert {
namespace {

// The ring counter-clockwise, without points on the line between their neighbours (some programs
// split an edge; a grid unit or two off the line says nothing of the shape).
std::vector<Vec> Corners(const IntRing& ring) {
  std::vector<Vec> points;
  const std::size_t n = ring.size();
  for (std::size_t i = 0; i < n; ++i) {
    const Vec prev = ToVec(ring[(i + n - 1) % n]);
    const Vec p = ToVec(ring[i]);
    const Vec next = ToVec(ring[(i + 1) % n]);
    const double span = Length(next - prev);
    if (span > 0.0 && Dot(p - prev, next - p) > 0.0 && std::abs(Cross(p - prev, next - prev)) <= 2.0 * span) continue;
    if (!points.empty() && Length(p - points.back()) == 0.0) continue;
    points.push_back(p);
  }
  double twiceArea = 0.0;
  for (std::size_t i = 0; i < points.size(); ++i) twiceArea += Cross(points[i], points[(i + 1) % points.size()]);
  if (twiceArea < 0.0) std::reverse(points.begin(), points.end());
  return points;
}

}  // namespace

std::optional<std::vector<RoundTrack>> BandTracks(const IntShape& shape, double tolerance, int64_t maxWidth) {
  if (shape.Holes.size() != 1) return std::nullopt;
  const std::vector<Vec> outer = Corners(shape.Outer);
  const std::vector<Vec> inner = Corners(shape.Holes[0]);
  const std::size_t n = outer.size();
  if (n < 3 || inner.size() != n) return std::nullopt;
  // How deep inside outer edge `i` the ends of inner edge `j` lie; none when it runs the other way.
  const auto depths = [&](std::size_t i, std::size_t j) -> std::optional<std::pair<double, double>> {
    const Vec a = outer[i], b = outer[(i + 1) % n];
    const Vec c = inner[j % n], d = inner[(j + 1) % n];
    const double length = Length(b - a);
    if (length == 0.0 || Dot(b - a, d - c) <= 0.0) return std::nullopt;
    const Vec inward = Vec{a.Y - b.Y, b.X - a.X} * (1.0 / length);
    return std::pair{Dot(inward, c - a), Dot(inward, d - a)};
  };
  // The inner edge that runs along the first outer edge sets which runs along each.
  const double slack = tolerance / 4;
  for (std::size_t shift = 0; shift < n; ++shift) {
    const auto first = depths(0, shift);
    if (!first || first->first <= 0.0 || std::abs(first->first - first->second) > slack) continue;
    const double width = first->first;
    if (width > static_cast<double>(maxWidth)) return std::nullopt;
    double lowest = width, highest = width;
    bool along = true;
    for (std::size_t i = 0; i < n && along; ++i) {
      const auto d = depths(i, i + shift);
      if (!d) {
        along = false;
        break;
      }
      lowest = std::min({lowest, d->first, d->second});
      highest = std::max({highest, d->first, d->second});
      along = highest - lowest <= slack;
    }
    if (!along) continue;
    // The middle of the band: each corner halfway between the outer and the inner one.
    const double mean = (lowest + highest) / 2;
    std::vector<Vec> middle;
    for (std::size_t i = 0; i < n; ++i) middle.push_back((outer[i] + inner[(i + shift) % n]) * 0.5);
    // A round join falls short of the square corner by r (1 / cos(turn / 2) - 1), and the edges
    // stray from the middle's offsets by up to half the spread of the widths.
    const double r = mean / 2;
    for (std::size_t i = 0; i < n; ++i) {
      const Vec in = middle[i] - middle[(i + n - 1) % n], out = middle[(i + 1) % n] - middle[i];
      const double lengths = Length(in) * Length(out);
      if (lengths == 0.0) return std::nullopt;
      const double cosTurn = std::clamp(Dot(in, out) / lengths, -1.0, 1.0);
      const double cosHalf = std::sqrt((1.0 + cosTurn) / 2.0);
      if (cosHalf <= 0.0 || r * (1.0 / cosHalf - 1.0) + (highest - lowest) / 2 > tolerance) return std::nullopt;
    }
    std::vector<RoundTrack> tracks;
    const auto width64 = static_cast<int64_t>(std::llround(mean));
    for (std::size_t i = 0; i < n; ++i) tracks.push_back({Round(middle[i]), Round(middle[(i + 1) % n]), width64});
    return tracks;
  }
  return std::nullopt;
}

}  // namespace gerberx::convert
