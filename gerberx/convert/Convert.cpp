#include "gerberx/convert/Convert.h"

#include <algorithm>
#include <array>
#include <boost/geometry.hpp>
#include <boost/polygon/polygon.hpp>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>
#include <stdexcept>
#include <string>

#include "gerberx/BoxGroups.h"
#include "gerberx/DrawnShapes.h"
#include "gerberx/Overlaps.h"
#include "gerberx/PolygonSet.h"
#include "gerberx/Shapes.h"
#include "gerberx/convert/Band.h"
#include "gerberx/convert/InscribedCover.h"

namespace gerberx::convert {
namespace {

namespace bg = boost::geometry;
using namespace boost::polygon::operators;

using BoxD = bg::model::box<bg::model::d2::point_xy<double>>;

BoxD EmptyBox() {
  return BoxD({std::numeric_limits<double>::max(), std::numeric_limits<double>::max()},
              {std::numeric_limits<double>::lowest(), std::numeric_limits<double>::lowest()});
}

// Back to the reader's box: the corners are whole units, an inverted box is empty.
Box ToBox(const BoxD& box) {
  Box result;
  if (box.min_corner().x() > box.max_corner().x() || box.min_corner().y() > box.max_corner().y()) return result;
  result.Add(Point{static_cast<Coord>(std::lround(box.min_corner().x())),
                   static_cast<Coord>(std::lround(box.min_corner().y()))});
  result.Add(Point{static_cast<Coord>(std::lround(box.max_corner().x())),
                   static_cast<Coord>(std::lround(box.max_corner().y()))});
  return result;
}

BoxD BoundsOf(const Area& area) {
  const Box box = BoundingBox(area);
  if (box.empty) return EmptyBox();
  return BoxD({static_cast<double>(box.min.x), static_cast<double>(box.min.y)},
              {static_cast<double>(box.max.x), static_cast<double>(box.max.y)});
}

IntPoint At(Point p) { return {p.x, p.y}; }

// Whether no disc wider than 2 * `reach` fits in the hole: a hairline where two edges of one
// curve, each made of its own chords, fail to meet (a circle inside a thermal of its radius).
// Filled, it adds nothing a designer could see; left, the pieces around it stop short of it.
bool IsHairline(const Ring& hole, Coord reach) {
  Box box;
  for (const Point& p : hole) box.Add(p);
  if (box.empty || std::min(box.max.x - box.min.x, box.max.y - box.min.y) <= 2 * reach) return true;
  // Every point of a shape lies within its inner radius of the edge, so area <= perimeter *
  // inner radius: a hole wide for its edge holds a disc wider than the reach.
  double perimeter = 0;
  for (std::size_t i = 0; i < hole.size(); ++i) {
    const Point a = hole[i], b = hole[(i + 1) % hole.size()];
    perimeter += std::hypot(double(b.x) - a.x, double(b.y) - a.y);
  }
  if (std::abs(RingArea(hole)) > perimeter * static_cast<double>(reach)) return false;
  // Shrunk by the reach, a hairline is gone. Square corners: a fiftieth of the work of round
  // ones, and what is left of a wider hole is never empty either way.
  PolygonSet inside;
  inside.insert(hole);
  inside.resize(-reach, false, 1);
  return inside.empty();
}

std::vector<IntShape> Shapes(const Area& area, Coord hairline) {
  const auto ring = [](const Ring& r) {
    IntRing out;
    out.reserve(r.size());
    for (const Point& p : r) out.push_back(At(p));
    return out;
  };
  std::vector<IntShape> shapes;
  shapes.reserve(area.size());
  for (const Polygon& polygon : area) {
    IntShape shape{ring(polygon.outer), {}};
    for (const Ring& hole : polygon.holes)
      if (!IsHairline(hole, hairline)) shape.Holes.push_back(ring(hole));
    shapes.push_back(std::move(shape));
  }
  return shapes;
}

class Converter {
 public:
  explicit Converter(const DecomposeOptions& options) : options_(options) {}

  ConvertedLayer Run(const Layer& layer) {
    // An object a later clear object cuts is no longer what it was: its area is decomposed.
    const std::vector<bool> cut = CutByLaterClear(layer, ChordError());
    for (std::size_t i = 0; i < layer.objects.size(); ++i) {
      const Object& object = layer.objects[i];
      try {
        if (cut[i]) {
          Count(DecomposeReason::CutByClear);
          Dark(object.area.empty() && object.IsPlain() ? PlainArea(object, ChordError()) : object.area);
        } else {
          Take(object);
        }
      } catch (const std::range_error& e) {
        throw std::range_error(layer.file + ":" + std::to_string(object.line) + ": " + e.what());
      } catch (const WorkBoundError& e) {
        throw WorkBoundError(layer.file + ":" + std::to_string(object.line) + ": " + e.what());
      }
    }
    try {
      Flush();
    } catch (const WorkBoundError& e) {
      throw WorkBoundError(layer.file + ": " + e.what());
    }
    // Pieces whose boxes overlap are joined and decomposed together; a group alone is
    // decomposed alone, so that no step works on the whole layer at once.
    std::vector<Box> boxes;
    for (const Piece& piece : dark_) boxes.push_back(ToBox(piece.Box));
    for (const std::vector<std::size_t>& group : TouchingGroups(boxes)) {
      PolygonSet joined;
      for (const std::size_t i : group) joined.insert(dark_[i].Set.begin(), dark_[i].Set.end());
      Pieces& all = result_.Decomposed;
      std::vector<IntShape> shapes = Shapes(ToArea(joined), static_cast<Coord>(options_.Tolerance / 4));
      // A closed line drawn as an area: the tracks along it, when they are fewer.
      std::erase_if(shapes, [&](const IntShape& shape) {
        const std::optional<std::vector<RoundTrack>> band =
            BandTracks(shape, static_cast<double>(options_.Tolerance), options_.MaxTrackWidth);
        if (!band || band->size() >= Decompose({shape}, options_).Count()) return false;
        all.Tracks.insert(all.Tracks.end(), band->begin(), band->end());
        return true;
      });
      Pieces pieces = Decompose(shapes, options_);
      all.Fills.insert(all.Fills.end(), pieces.Fills.begin(), pieces.Fills.end());
      all.Tracks.insert(all.Tracks.end(), pieces.Tracks.begin(), pieces.Tracks.end());
      all.Arcs.insert(all.Arcs.end(), pieces.Arcs.begin(), pieces.Arcs.end());
      all.Discs.insert(all.Discs.end(), pieces.Discs.begin(), pieces.Discs.end());
    }
    return std::move(result_);
  }

 private:
  void Count(DecomposeReason reason) { ++result_.DecomposedBy[static_cast<std::size_t>(reason)]; }

  void Take(const Object& o) {
    if (o.polarity == Polarity::Clear) {
      Count(DecomposeReason::ClearObject);
      Clear(o.area);
      return;
    }
    if (o.IsPlain()) {
      Keep(o);
      return;
    }
    if (o.aperture.distorted && o.kind != ObjectKind::Region) {
      Count(DecomposeReason::Distorted);
      Dark(o.area);
      return;
    }
    switch (o.kind) {
      case ObjectKind::Flash:
        if (KeepTurnedObround(o)) return;
        Count(o.aperture.holeDiameter > 0                  ? DecomposeReason::ApertureWithHole
              : o.aperture.shape == ApertureShape::Polygon ? DecomposeReason::PolygonFlash
                                                           : DecomposeReason::RotatedFlash);
        break;
      case ObjectKind::Stroke:
      case ObjectKind::Arc:
        Count(DecomposeReason::MisdrawnStroke);
        break;
      case ObjectKind::Region:
        Count(DecomposeReason::Region);
        break;
      case ObjectKind::MacroFlash:
        if (KeepMacroParts(o)) return;
        Count(DecomposeReason::MacroFlash);
        break;
    }
    Dark(o.area);
  }

  // A plain object as the importer creates it.
  void Keep(const Object& o) {
    const Aperture& a = o.aperture;
    const bool across = a.shape != ApertureShape::Circle && QuarterTurns(a.rotation) % 2 == 1;
    const int64_t w = across ? a.ySize : a.xSize, h = across ? a.xSize : a.ySize;
    switch (o.kind) {
      case ObjectKind::Flash:
        result_.Pads.push_back({At(o.end), a.shape, w, h});
        break;
      case ObjectKind::Stroke:
        if (a.shape == ApertureShape::Circle) {
          result_.Tracks.push_back({At(o.start), At(o.end), a.xSize});
        } else {
          result_.RectStrokes.push_back({At(o.start), At(o.end), w, h});
        }
        break;
      case ObjectKind::Arc:
        if (o.start == o.end && !o.fullCircle) {
          // An arc of no length (single-quadrant ends that meet) is a dot, not the full circle
          // that equal ends would write.
          result_.Tracks.push_back({At(o.start), At(o.end), a.xSize});
        } else {
          result_.Arcs.push_back({At(o.start), At(o.end), At(o.centre), o.clockwise, a.xSize});
        }
        break;
      default:
        break;
    }
  }

  // An obround turned by any angle is exactly a round track between the centres of its ends.
  bool KeepTurnedObround(const Object& o) {
    const Aperture& a = o.aperture;
    if (a.shape != ApertureShape::Obround || a.holeDiameter > 0) return false;
    const bool wide = a.xSize >= a.ySize;
    const double half = std::abs(double(a.xSize) - double(a.ySize)) / 2;
    const double turn = (a.rotation + (wide ? 0.0 : 90.0)) * std::numbers::pi / 180;
    const int64_t dx = std::llround(half * std::cos(turn)), dy = std::llround(half * std::sin(turn));
    const IntPoint c = At(o.end);
    result_.Tracks.push_back({{c.X - dx, c.Y - dy}, {c.X + dx, c.Y + dy}, std::min(a.xSize, a.ySize)});
    return true;
  }

  double ChordError() const { return static_cast<double>(options_.Tolerance) / 4; }

  // A macro flash made of dark circles and rectangles on the axes only (a rounded-rectangle pad,
  // say) stays pads: one for each primitive, with the macro's own edges. A dark circle with a
  // clear one inside around the same centre (a donut) is a full-circle arc.
  bool KeepMacroParts(const Object& o) {
    std::vector<const MacroPart*> parts;
    bool outline = false;
    for (const MacroPart& part : o.macroParts) {
      if (part.shape == MacroPart::Shape::Other) {
        outline = true;
      } else if (part.shape == MacroPart::Shape::Thermal || (part.xSize > 0 && part.ySize > 0)) {
        parts.push_back(&part);  // an empty one cuts nothing
      }
    }
    const bool thermal = std::any_of(parts.begin(), parts.end(),
                                     [](const MacroPart* part) { return part->shape == MacroPart::Shape::Thermal; });
    if (thermal) return !outline && parts.size() == 1 && KeepThermal(*parts[0]);
    // Some programs draw a rounded rectangle as an outline with circles and lines around it:
    // only the whole flash can tell.
    if (outline) return KeepRoundedRectangle(o, parts);
    if (parts.size() == 2 && IsRing(*parts[0], *parts[1])) {
      const int64_t outer = parts[0]->xSize, inner = parts[1]->xSize;
      const IntPoint centre = At(parts[0]->centre);
      const IntPoint start{centre.X + (outer + inner) / 4, centre.Y};
      result_.Arcs.push_back({start, start, centre, false, (outer - inner) / 2});
      ++result_.MacroFlashesKept;
      ++result_.MacroObjectsKept;
      return true;
    }
    for (const MacroPart* part : parts) {
      if (!part->dark) return false;
    }
    // A line with a dot as wide as it on each end is the round track between the dots.
    std::vector<RoundTrack> cappedTracks;
    std::vector<const MacroPart*> capped, caps;
    for (const MacroPart* part : parts) {
      if (const std::optional<RoundTrack> track = CappedLine(*part, parts, caps)) {
        capped.push_back(part);
        cappedTracks.push_back(*track);
      }
    }
    const auto in = [](const std::vector<const MacroPart*>& list, const MacroPart* part) {
      return std::find(list.begin(), list.end(), part) != list.end();
    };
    // A line primitive as thin as a hairline is the one round track a designer draws: its round
    // ends stay within the tolerance of the square ones while (sqrt 2 - 1) / 2 of its width does.
    const double hairline = 2.0 * static_cast<double>(options_.Tolerance) / (std::numbers::sqrt2 - 1.0);
    const auto thin = [&](const MacroPart* part) {
      return part->shape == MacroPart::Shape::Rectangle && QuarterTurns(part->rotation) < 0 && !in(capped, part) &&
             static_cast<double>(std::min(part->xSize, part->ySize)) <= hairline;
    };
    const auto turned = [&](const MacroPart* part) {
      return part->shape == MacroPart::Shape::Rectangle && QuarterTurns(part->rotation) < 0 && !in(capped, part) &&
             !thin(part);
    };
    const bool anyTurned = std::any_of(parts.begin(), parts.end(), turned);
    // A rounded rectangle may have its edges drawn as capped lines.
    const bool anySlanted = std::any_of(parts.begin(), parts.end(), [&](const MacroPart* part) {
      return part->shape == MacroPart::Shape::Rectangle && QuarterTurns(part->rotation) < 0 &&
             static_cast<double>(std::min(part->xSize, part->ySize)) > hairline;
    });
    if (anySlanted && KeepRoundedRectangle(o, parts)) return true;
    std::vector<const MacroPart*> wide;
    std::copy_if(parts.begin(), parts.end(), std::back_inserter(wide), [&](const MacroPart* p) { return !thin(p); });
    Pieces covers;
    if (anyTurned && !CoverTurnedRectangles(wide, covers)) return false;
    const std::size_t before = result_.Pads.size() + result_.Tracks.size();
    for (const MacroPart* part : parts) {
      if (in(caps, part)) continue;
      if (in(capped, part)) {
        covers.Tracks.push_back(
            cappedTracks[static_cast<std::size_t>(std::find(capped.begin(), capped.end(), part) - capped.begin())]);
      } else if (thin(part)) {
        covers.Tracks.push_back(Hairline(*part));
      } else if (part->shape == MacroPart::Shape::Circle) {
        result_.Pads.push_back({At(part->centre), ApertureShape::Circle, part->xSize, part->xSize});
      } else if (!turned(part)) {
        const bool across = QuarterTurns(part->rotation) % 2 == 1;
        result_.Pads.push_back({At(part->centre), ApertureShape::Rectangle, across ? part->ySize : part->xSize,
                                across ? part->xSize : part->ySize});
      }
    }
    // A square's core is a disc, any other rectangle's a track.
    for (const RoundDisc& d : covers.Discs)
      result_.Pads.push_back({d.Centre, ApertureShape::Circle, d.Diameter, d.Diameter});
    for (const RoundTrack& t : covers.Tracks) result_.Tracks.push_back({t.A, t.B, t.Width});
    ++result_.MacroFlashesKept;
    result_.MacroObjectsKept += result_.Pads.size() + result_.Tracks.size() - before;
    return true;
  }

  // A rectangle part with a dot centred on the middle of each end, each at least as wide as the
  // rectangle: the round track between the dots covers all the rectangle but its corners, which
  // lie in the dots. Dots no wider than the track are its round ends: they are added to `caps`.
  static std::optional<RoundTrack> CappedLine(const MacroPart& line, const std::vector<const MacroPart*>& parts,
                                              std::vector<const MacroPart*>& caps) {
    if (line.shape != MacroPart::Shape::Rectangle) return std::nullopt;
    constexpr double kSlack = 2;  // grid units: ends and dots computed apart round apart
    for (const bool alongX : {true, false}) {
      const double length = double(alongX ? line.xSize : line.ySize);
      const double width = double(alongX ? line.ySize : line.xSize);
      const double turn = (line.rotation + (alongX ? 0.0 : 90.0)) * std::numbers::pi / 180;
      const DPoint centre{double(line.centre.x), double(line.centre.y)};
      const DPoint half{length / 2 * std::cos(turn), length / 2 * std::sin(turn)};
      const std::array<DPoint, 2> ends{DPoint{centre.x - half.x, centre.y - half.y},
                                       DPoint{centre.x + half.x, centre.y + half.y}};
      // Every dot on each end: some programs place one for each line that meets there.
      std::array<std::vector<const MacroPart*>, 2> dots;
      for (std::size_t e = 0; e < 2; ++e) {
        for (const MacroPart* part : parts) {
          if (part->shape == MacroPart::Shape::Circle && double(part->xSize) >= width - kSlack &&
              std::hypot(double(part->centre.x) - ends[e].x, double(part->centre.y) - ends[e].y) <= kSlack) {
            dots[e].push_back(part);
          }
        }
      }
      if (dots[0].empty() || dots[1].empty()) continue;
      for (const auto& end : dots) {
        for (const MacroPart* dot : end) {
          if (double(dot->xSize) <= width + kSlack && std::find(caps.begin(), caps.end(), dot) == caps.end())
            caps.push_back(dot);
        }
      }
      return RoundTrack{{std::llround(ends[0].x), std::llround(ends[0].y)},
                        {std::llround(ends[1].x), std::llround(ends[1].y)},
                        static_cast<int64_t>(width)};
    }
    return std::nullopt;
  }

  // A thermal is four pieces of a ring between its gaps. Each is an arc as wide as the ring,
  // ending where its round ends touch the gaps, and rings of narrower arcs and tracks along its
  // edges that reach into its corners, as a turned rectangle gets.
  bool KeepThermal(const MacroPart& part) {
    const double outer = double(part.xSize) / 2, inner = double(part.ySize) / 2, half = double(part.gap) / 2;
    if (inner <= half || outer <= inner) return false;
    const double middle = (outer + inner) / 2, core = (outer - inner) / 2;
    const auto from = [](double radius, double offset) { return std::asin(offset / radius); };
    if (from(middle, half + core) >= std::numbers::pi / 4) return false;
    // The sharpest corner is where a gap's edge meets the outer circle.
    const double corner = std::numbers::pi / 2 - std::asin(half / outer);
    const double tolerance = static_cast<double>(options_.Tolerance);
    const std::optional<std::vector<int64_t>> rings =
        RingWidths(core, 1.0 - std::sin(corner / 2), tolerance, TrackWidthLadder(options_));
    if (!rings) return false;
    for (const int64_t width : *rings) {
      const double r = double(width) / 2;
      if (from(inner + r, half + r) >= std::numbers::pi / 4) return false;
    }
    const DPoint centre{double(part.centre.x), double(part.centre.y)};
    const double turn = part.rotation * std::numbers::pi / 180;
    const std::size_t before = result_.Arcs.size() + result_.Tracks.size();
    for (int quarter = 0; quarter < 4; ++quarter) {
      const double base = turn + quarter * std::numbers::pi / 2;
      const auto at = [&](double radius, double angle) {
        return IntPoint{std::llround(centre.x + radius * std::cos(base + angle)),
                        std::llround(centre.y + radius * std::sin(base + angle))};
      };
      // The piece's own frame: between the gap along its x axis and the one along its y axis.
      const auto local = [&](double x, double y) {
        return IntPoint{std::llround(centre.x + x * std::cos(base) - y * std::sin(base)),
                        std::llround(centre.y + x * std::sin(base) + y * std::cos(base))};
      };
      const auto arc = [&](double radius, double offset, int64_t width) {
        const double a = from(radius, offset);
        result_.Arcs.push_back({at(radius, a), at(radius, std::numbers::pi / 2 - a), At(part.centre), false, width});
      };
      arc(middle, half + core, 2 * static_cast<int64_t>(std::floor(core)));
      for (const int64_t width : *rings) {
        const double r = double(width) / 2, line = half + r;
        arc(outer - r, line, width);
        arc(inner + r, line, width);
        const double near = std::sqrt((inner + r) * (inner + r) - line * line);
        const double far = std::sqrt((outer - r) * (outer - r) - line * line);
        result_.Tracks.push_back({local(near, line), local(far, line), width});
        result_.Tracks.push_back({local(line, near), local(line, far), width});
      }
    }
    ++result_.MacroFlashesKept;
    result_.MacroObjectsKept += result_.Arcs.size() + result_.Tracks.size() - before;
    return true;
  }

  // A thin rectangle part as the round track along its long axis whose round ends reach its
  // square ones.
  static RoundTrack Hairline(const MacroPart& part) {
    const bool along = part.xSize >= part.ySize;
    const double width = static_cast<double>(std::min(part.xSize, part.ySize));
    const double half = std::max(0.0, (static_cast<double>(std::max(part.xSize, part.ySize)) - width) / 2.0);
    const double turn = (part.rotation + (along ? 0.0 : 90.0)) * std::numbers::pi / 180.0;
    const double dx = half * std::cos(turn), dy = half * std::sin(turn);
    const double cx = part.centre.x, cy = part.centre.y;
    return {{std::llround(cx - dx), std::llround(cy - dy)},
            {std::llround(cx + dx), std::llround(cy + dy)},
            static_cast<int64_t>(width)};
  }

  // Each rectangle turned by other than quarter turns, as the few tracks that cover it within
  // the tolerance. What they leave lies in its corners; where no corner comes near another
  // part's edge, that stays at the edge of the whole flash or deep inside another part.
  bool CoverTurnedRectangles(const std::vector<const MacroPart*>& parts, Pieces& covers) const {
    const double margin = 8.0 * static_cast<double>(options_.Tolerance);
    const std::vector<int64_t> ladder = TrackWidthLadder(options_);
    for (const MacroPart* part : parts) {
      if (part->shape != MacroPart::Shape::Rectangle || QuarterTurns(part->rotation) >= 0) continue;
      const std::array<DPoint, 4> corners = Corners(*part);
      for (const DPoint& c : corners) {
        for (const MacroPart* other : parts) {
          if (other != part && std::abs(SignedDistance(c, *other)) < margin) return false;
        }
      }
      std::vector<IntPoint> ring;
      for (const DPoint& c : corners) ring.push_back({std::llround(c.x), std::llround(c.y)});
      if (!CoverInscribed(ring, static_cast<double>(options_.Tolerance), ladder, covers)) return false;
    }
    return true;
  }

  // A rectangle part's corners, counter-clockwise.
  static std::array<DPoint, 4> Corners(const MacroPart& part) {
    const double turn = part.rotation * std::numbers::pi / 180;
    const double c = std::cos(turn), s = std::sin(turn);
    const double hx = double(part.xSize) / 2, hy = double(part.ySize) / 2;
    std::array<DPoint, 4> corners;
    const double signs[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (int i = 0; i < 4; ++i) {
      const double x = signs[i][0] * hx, y = signs[i][1] * hy;
      corners[i] = {double(part.centre.x) + x * c - y * s, double(part.centre.y) + x * s + y * c};
    }
    return corners;
  }

  // Distance from a part's edge: negative inside.
  static double SignedDistance(DPoint p, const MacroPart& part) {
    const double dx = p.x - double(part.centre.x), dy = p.y - double(part.centre.y);
    if (part.shape == MacroPart::Shape::Circle) return std::hypot(dx, dy) - double(part.xSize) / 2;
    const double turn = part.rotation * std::numbers::pi / 180;
    const double c = std::cos(turn), s = std::sin(turn);
    const double qx = std::abs(dx * c + dy * s) - double(part.xSize) / 2;
    const double qy = std::abs(-dx * s + dy * c) - double(part.ySize) / 2;
    return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0);
  }

  // A rounded rectangle turned by any angle: four equal circles at the corners of a rectangle
  // and rectangles that fill it out. It is exactly that inner rectangle drawn round with a track
  // as wide as the circles, and filled with tracks along its long sides no farther apart.
  bool KeepRoundedRectangle(const Object& o, const std::vector<const MacroPart*>& parts) {
    std::vector<DPoint> corners;
    double diameter = 0;
    for (const MacroPart* part : parts) {
      if (part->shape != MacroPart::Shape::Circle) continue;
      if (!corners.empty() && part->xSize != diameter) return false;
      diameter = part->xSize;
      corners.push_back({double(part->centre.x), double(part->centre.y)});
    }
    if (corners.size() != 4 || diameter <= 0) return false;
    const DPoint m{(corners[0].x + corners[1].x + corners[2].x + corners[3].x) / 4,
                   (corners[0].y + corners[1].y + corners[2].y + corners[3].y) / 4};
    std::sort(corners.begin(), corners.end(),
              [&](DPoint a, DPoint b) { return std::atan2(a.y - m.y, a.x - m.x) < std::atan2(b.y - m.y, b.x - m.x); });
    // Opposite corners about one centre, at one distance from it: a rectangle.
    const auto near = [](double a, double b) { return std::abs(a - b) <= 2; };
    if (!near(corners[0].x + corners[2].x, 2 * m.x) || !near(corners[0].y + corners[2].y, 2 * m.y) ||
        !near(corners[1].x + corners[3].x, 2 * m.x) || !near(corners[1].y + corners[3].y, 2 * m.y) ||
        !near(std::hypot(corners[0].x - m.x, corners[0].y - m.y), std::hypot(corners[1].x - m.x, corners[1].y - m.y)))
      return false;
    const double r = diameter / 2;
    const double a = std::hypot(corners[1].x - corners[0].x, corners[1].y - corners[0].y);
    const double b = std::hypot(corners[2].x - corners[1].x, corners[2].y - corners[1].y);
    // Nothing of the flash outside the rounded rectangle, and as much area: the same shape.
    const double expected = a * b + diameter * (a + b) + std::numbers::pi * r * r;
    const double slack = 2 * ChordError() * (2 * (a + b) + 2 * std::numbers::pi * r) + 4;
    if (std::abs(AreaOf(o.area) - expected) > slack) return false;
    // The rounded rectangle is convex: the outline's corners inside it keep all of it inside.
    const auto inside = [&](Point p) { return DistanceToRectangle(p, corners) <= r + 2; };
    for (const Polygon& polygon : o.area)
      for (const Point& p : polygon.outer)
        if (!inside(p)) return false;
    const auto at = [](DPoint p) { return IntPoint{std::llround(p.x), std::llround(p.y)}; };
    const int64_t width = static_cast<int64_t>(diameter);
    if (near(corners[0].x, corners[1].x) || near(corners[0].y, corners[1].y)) {
      // Not turned: pads, as the same shape drawn with circles and rectangles would give.
      const auto [left, right] = std::minmax({corners[0].x, corners[1].x, corners[2].x});
      const auto [bottom, top] = std::minmax({corners[0].y, corners[1].y, corners[2].y});
      const int64_t w = std::llround(right - left), h = std::llround(top - bottom);
      const std::size_t before = result_.Pads.size();
      if (h > 0) result_.Pads.push_back({at(m), ApertureShape::Rectangle, w + width, h});
      if (w > 0) result_.Pads.push_back({at(m), ApertureShape::Rectangle, w, h + width});
      for (const DPoint& c : corners) result_.Pads.push_back({at(c), ApertureShape::Circle, width, width});
      ++result_.MacroFlashesKept;
      result_.MacroObjectsKept += result_.Pads.size() - before;
      return true;
    }
    for (int i = 0; i < 4; ++i) result_.Tracks.push_back({at(corners[i]), at(corners[(i + 1) % 4]), width});
    // Between the long sides, tracks no farther apart than they are wide.
    const bool longFirst = a >= b;
    const DPoint s0 = longFirst ? corners[0] : corners[1], s1 = longFirst ? corners[1] : corners[2];
    const DPoint across = longFirst ? DPoint{corners[3].x - corners[0].x, corners[3].y - corners[0].y}
                                    : DPoint{corners[0].x - corners[1].x, corners[0].y - corners[1].y};
    const int gaps = static_cast<int>(std::ceil((longFirst ? b : a) / diameter));
    for (int k = 1; k < gaps; ++k) {
      const double f = double(k) / gaps;
      result_.Tracks.push_back(
          {at({s0.x + across.x * f, s0.y + across.y * f}), at({s1.x + across.x * f, s1.y + across.y * f}), width});
    }
    ++result_.MacroFlashesKept;
    result_.MacroObjectsKept += 4 + static_cast<std::size_t>(std::max(0, gaps - 1));
    return true;
  }

  // How far a point lies from a rectangle given by its corners in order (0 inside).
  static double DistanceToRectangle(Point p, const std::vector<DPoint>& corners) {
    const DPoint o = corners[0];
    const DPoint u{corners[1].x - o.x, corners[1].y - o.y}, v{corners[3].x - o.x, corners[3].y - o.y};
    const double lu = std::hypot(u.x, u.y), lv = std::hypot(v.x, v.y);
    if (lu == 0 || lv == 0) return std::hypot(p.x - o.x, p.y - o.y);
    const double du = ((p.x - o.x) * u.x + (p.y - o.y) * u.y) / lu;
    const double dv = ((p.x - o.x) * v.x + (p.y - o.y) * v.y) / lv;
    const double eu = std::max({0.0, -du, du - lu}), ev = std::max({0.0, -dv, dv - lv});
    return std::hypot(eu, ev);
  }

  static bool IsRing(const MacroPart& outer, const MacroPart& inner) {
    return outer.shape == MacroPart::Shape::Circle && inner.shape == MacroPart::Shape::Circle && outer.dark &&
           !inner.dark && outer.centre == inner.centre && inner.xSize < outer.xSize;
  }

  void Dark(const Area& area) {
    if (!runDark_) Flush();
    runDark_ = true;
    AddArea(run_, area);
    bg::expand(runBox_, BoundsOf(area));
  }

  void Clear(const Area& area) {
    if (runDark_) Flush();
    runDark_ = false;
    AddArea(run_, area);
    bg::expand(runBox_, BoundsOf(area));
  }

  // Polarity changes: the run so far becomes a piece of the area to decompose (dark), or cuts
  // the pieces it overlaps (clear).
  void Flush() {
    if (run_.empty()) return;
    if (runDark_) {
      dark_.push_back({run_, runBox_});  // a copy: the set has no move constructor
    } else {
      // The pieces it touches become one, cut once: pieces in one place (copies of a block
      // stepped onto itself) would each be cut by every later clear run.
      Piece* cut = nullptr;
      for (Piece& piece : dark_) {
        if (!bg::intersects(piece.Box, runBox_)) continue;
        if (cut == nullptr) {
          cut = &piece;
          continue;
        }
        cut->Set.insert(piece.Set.begin(), piece.Set.end());
        bg::expand(cut->Box, piece.Box);
        piece.Set.clear();  // left empty, with a box nothing meets
        piece.Box = EmptyBox();
      }
      if (cut != nullptr) {
        const auto edges = static_cast<int64_t>(cut->Set.size() + run_.size());
        if (edges > options_.MaxCutEdges - cutEdges_) {
          throw WorkBoundError("clear objects would cut through " + std::to_string(edges) +
                               " polygon edges more where " + std::to_string(options_.MaxCutEdges - cutEdges_) +
                               " of the file's " + std::to_string(options_.MaxCutEdges) +
                               " are left (the bound on work for a file of this size)");
        }
        cutEdges_ += edges;
        cut->Set -= run_;
      }
    }
    run_.clear();
    runBox_ = EmptyBox();
  }

  DecomposeOptions options_;
  ConvertedLayer result_;
  struct Piece {
    PolygonSet Set;
    BoxD Box;
  };
  std::vector<Piece> dark_;  // the area to decompose, in pieces that may overlap
  int64_t cutEdges_ = 0;     // gone through by the cuts so far
  PolygonSet run_;           // objects of one polarity since the last change
  BoxD runBox_ = EmptyBox();
  bool runDark_ = true;
};

}  // namespace

std::string DecomposeReasonText(DecomposeReason reason, std::size_t count) {
  const auto text = [count](const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
  };
  switch (reason) {
    case DecomposeReason::Region:
      return text("region", "regions");
    case DecomposeReason::MacroFlash:
      return text("macro flash", "macro flashes");
    case DecomposeReason::PolygonFlash:
      return text("polygon flash", "polygon flashes");
    case DecomposeReason::RotatedFlash:
      return text("rotated flash", "rotated flashes");
    case DecomposeReason::ApertureWithHole:
      return text("flash of an aperture with a hole", "flashes of apertures with a hole");
    case DecomposeReason::MisdrawnStroke:
      return text("stroke the importer would draw otherwise", "strokes the importer would draw otherwise");
    case DecomposeReason::Distorted:
      return text("object the image scales unevenly", "objects the image scales unevenly");
    case DecomposeReason::CutByClear:
      return text("object cut by clear polarity", "objects cut by clear polarity");
    case DecomposeReason::ClearObject:
      return text("clear object", "clear objects");
    case DecomposeReason::Count:
      break;
  }
  return "";
}

Options ReadingOptions(double toleranceMm) {
  Options reading;
  reading.computeDarkArea = false;         // the converter unites what it decomposes itself
  reading.plainObjectAreas = false;        // what it keeps as it is needs none
  reading.chordErrorMm = toleranceMm / 4;  // the rest of the tolerance is the decomposition's
  return reading;
}

int64_t CutEdgesFor(std::uintmax_t bytes) {
  return 500'000 + static_cast<int64_t>(std::min<std::uintmax_t>(bytes, std::uintmax_t{1} << 50) / 2);
}

ConvertedLayer ConvertLayer(const Layer& layer, const DecomposeOptions& options) {
  return Converter(options).Run(layer);
}

}  // namespace gerberx::convert
