#include "gerberx/convert/Proof.h"

#include <algorithm>
#include <boost/geometry.hpp>
#include <boost/geometry/index/rtree.hpp>
#include <boost/iterator/function_output_iterator.hpp>
#include <boost/polygon/polygon.hpp>
#include <cmath>
#include <functional>
#include <numbers>
#include <unordered_map>
#include <vector>

#include "gerberx/DrawnShapes.h"
#include "gerberx/Overlaps.h"
#include "gerberx/PolygonSet.h"

namespace gerberx::convert {
namespace {

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;
using namespace boost::polygon::operators;
using BoxD = bg::model::box<bg::model::d2::point_xy<double>>;
using BoxIndex = bgi::rtree<std::pair<BoxD, std::size_t>, bgi::quadratic<16>>;

// What makes two plain objects draw the same shape.
struct Key {
  ObjectKind Kind = ObjectKind::Flash;
  ApertureShape Shape = ApertureShape::Circle;
  bool Clockwise = false, Full = false;
  Coord W = 0, H = 0;
  Point Start, End, Centre;
  friend bool operator==(const Key&, const Key&) = default;
};

struct KeyHash {
  std::size_t operator()(const Key& k) const {
    std::size_t h = static_cast<std::size_t>(k.Kind) * 131 + static_cast<std::size_t>(k.Shape) * 7 +
                    (k.Clockwise ? 1 : 0) + (k.Full ? 2 : 0);
    for (const Coord c : {k.W, k.H, k.Start.x, k.Start.y, k.End.x, k.End.y, k.Centre.x, k.Centre.y}) {
      h = h * 1000003 ^ std::hash<Coord>()(c);
    }
    return h;
  }
};

Key KeyOf(const Object& o) {
  const Aperture& a = o.aperture;
  const bool across = a.shape != ApertureShape::Circle && QuarterTurns(a.rotation) % 2 == 1;
  Key k;
  k.Kind = o.kind;
  k.Shape = a.shape;
  k.W = across ? a.ySize : a.xSize;
  k.H = a.shape == ApertureShape::Circle ? k.W : (across ? a.xSize : a.ySize);
  k.End = o.end;
  k.Start = o.kind == ObjectKind::Flash ? o.end : o.start;
  if (o.kind == ObjectKind::Arc) {
    k.Centre = o.centre;
    k.Clockwise = o.clockwise;
    k.Full = o.fullCircle;
  }
  return k;
}

BoxD Grown(const Box& box, double by) {
  return BoxD({box.min.x - by, box.min.y - by}, {box.max.x + by, box.max.y + by});
}

BoxIndex ClearObjectsOf(const Layer& layer) {
  std::vector<std::pair<BoxD, std::size_t>> boxes;
  for (std::size_t i = 0; i < layer.objects.size(); ++i) {
    const Object& o = layer.objects[i];
    if (o.polarity == Polarity::Clear && !o.box.empty) boxes.emplace_back(Grown(o.box, 0), i);
  }
  return BoxIndex(boxes.begin(), boxes.end());
}

std::vector<std::size_t> Meeting(const BoxIndex& index, const BoxD& window) {
  std::vector<std::size_t> found;
  index.query(bgi::intersects(window),
              boost::make_function_output_iterator([&](const auto& entry) { found.push_back(entry.second); }));
  std::sort(found.begin(), found.end());  // drawing order
  return found;
}

double SetArea(const PolygonSet& set) { return AreaOf(ToArea(set)); }

class Prover {
 public:
  Prover(const Layer& original, const Layer& written, std::int64_t tolerance)
      : original_(original),
        written_(written),
        tolerance_(static_cast<double>(std::max<std::int64_t>(1, tolerance))),
        chord_(tolerance_ / 4) {}

  ProofResult Run() {
    const std::vector<bool> compared = Unmatched();
    // Groups of what is compared, by boxes that come within two tolerances of each other.
    std::vector<std::pair<BoxD, std::size_t>> items;  // index: original first, then written
    const std::size_t n = original_.objects.size();
    for (std::size_t i = 0; i < compared.size(); ++i) {
      const Object& o = i < n ? original_.objects[i] : written_.objects[i - n];
      if (compared[i] && !o.box.empty) items.emplace_back(Grown(o.box, tolerance_), i);
    }
    result_.Compared = items.size();
    if (items.empty()) return result_;
    std::vector<std::size_t> parent(items.size());
    for (std::size_t i = 0; i < parent.size(); ++i) parent[i] = i;
    const auto root = [&](std::size_t i) {
      while (parent[i] != i) i = parent[i] = parent[parent[i]];
      return i;
    };
    {
      std::vector<std::pair<BoxD, std::size_t>> byItem;
      for (std::size_t i = 0; i < items.size(); ++i) byItem.emplace_back(items[i].first, i);
      const BoxIndex index(byItem.begin(), byItem.end());
      for (std::size_t i = 0; i < items.size(); ++i) {
        index.query(bgi::intersects(items[i].first), boost::make_function_output_iterator([&](const auto& entry) {
                      parent[root(entry.second)] = root(i);
                    }));
      }
    }
    std::vector<std::vector<std::size_t>> groups(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) groups[root(i)].push_back(items[i].second);
    clears_ = ClearObjectsOf(original_);
    for (const std::vector<std::size_t>& group : groups) {
      if (!group.empty()) Compare(group);
    }
    return result_;
  }

 private:
  // For each object of the original (first) and of the written file (after them): whether it is
  // compared by its area, or was written exactly as the original draws it.
  std::vector<bool> Unmatched() {
    const std::size_t n = original_.objects.size();
    std::vector<bool> compared(n + written_.objects.size(), true);
    const std::vector<bool> cut = CutByLaterClear(original_, chord_);
    std::unordered_map<Key, std::vector<std::size_t>, KeyHash> plain;
    for (std::size_t i = 0; i < n; ++i) {
      const Object& o = original_.objects[i];
      if (o.polarity == Polarity::Clear) {
        compared[i] = false;  // it only cuts: what it cuts is in the dark objects' areas
      } else if (o.IsPlain() && !cut[i]) {
        plain[KeyOf(o)].push_back(i);
      }
    }
    for (std::size_t j = 0; j < written_.objects.size(); ++j) {
      const auto same = plain.find(KeyOf(written_.objects[j]));
      if (same == plain.end() || same->second.empty()) continue;
      compared[same->second.back()] = false;
      same->second.pop_back();
      compared[n + j] = false;
      ++result_.Identical;
    }
    return compared;
  }

  Area AreaOfObject(const Object& o) const { return o.area.empty() && o.IsPlain() ? PlainArea(o, chord_) : o.area; }

  unsigned Segments(double radius) const {
    if (chord_ >= radius) return 1;
    const double step = 2 * std::acos(1 - chord_ / radius);
    return static_cast<unsigned>(std::clamp(std::ceil((std::numbers::pi / 2) / step), 1.0, 1024.0));
  }

  const Object& ObjectAt(std::size_t i) const {
    const std::size_t n = original_.objects.size();
    return i < n ? original_.objects[i] : written_.objects[i - n];
  }

  // One group: what the original draws there but for what was written as drawn (it lies in both,
  // and no clear object cuts it), and what was written there but for those. Other groups lie
  // farther than twice the tolerance away: they change neither the band nor what it leaves.
  // A large group is measured in tiles, each with what comes within twice the tolerance of it:
  // the polygon library's unions grow faster than the number of edges.
  void Compare(std::vector<std::size_t> group) {
    Box bounds;
    for (const std::size_t i : group) bounds.Add(ObjectAt(i).box);
    for (const std::size_t i : Meeting(clears_, Grown(bounds, 2 * tolerance_))) group.push_back(i);
    std::sort(group.begin(), group.end());  // the original's in drawing order, the written after
    constexpr std::size_t kPerTile = 400;
    if (group.size() <= 2 * kPerTile) {
      CompareIn(group, nullptr);
      return;
    }
    const auto side = static_cast<std::int64_t>(std::ceil(std::sqrt(double(group.size()) / kPerTile)));
    const double w = (double(bounds.max.x) - bounds.min.x) / double(side);
    const double h = (double(bounds.max.y) - bounds.min.y) / double(side);
    for (std::int64_t ty = 0; ty < side; ++ty) {
      for (std::int64_t tx = 0; tx < side; ++tx) {
        Box tile;
        tile.Add(Point{static_cast<Coord>(std::floor(bounds.min.x + w * double(tx))),
                       static_cast<Coord>(std::floor(bounds.min.y + h * double(ty)))});
        tile.Add(
            Point{tx + 1 == side ? bounds.max.x : static_cast<Coord>(std::floor(bounds.min.x + w * double(tx + 1))),
                  ty + 1 == side ? bounds.max.y : static_cast<Coord>(std::floor(bounds.min.y + h * double(ty + 1)))});
        const BoxD reach = Grown(tile, 2 * tolerance_);
        std::vector<std::size_t> near;
        for (const std::size_t i : group) {
          if (bg::intersects(Grown(ObjectAt(i).box, 0), reach)) near.push_back(i);
        }
        if (!near.empty()) CompareIn(near, &tile);
      }
    }
  }

  // Measured inside `tile` (everywhere without one); `items` in order, the original's first.
  void CompareIn(const std::vector<std::size_t>& items, const Box* tile) {
    const std::size_t n = original_.objects.size();
    // A clear run cuts what came before it.
    PolygonSet dark, run, covered;
    bool runDark = true;
    const auto settle = [&] {
      if (runDark) {
        dark.insert(run.begin(), run.end());
      } else {
        dark -= run;
      }
      run.clear();
    };
    for (const std::size_t i : items) {
      if (i >= n) {
        AddArea(covered, AreaOfObject(written_.objects[i - n]));
        continue;
      }
      const Object& o = original_.objects[i];
      const bool isDark = o.polarity == Polarity::Dark;
      if (isDark != runDark) {
        settle();
        runDark = isDark;
      }
      AddArea(run, AreaOfObject(o));
    }
    settle();
    PolygonSet inside;
    if (tile != nullptr) {
      // What lies farther out changes nothing inside the tile.
      const auto margin = static_cast<Coord>(std::ceil(2 * tolerance_));
      AddRing(inside, Ring{{tile->min.x, tile->min.y},
                           {tile->max.x, tile->min.y},
                           {tile->max.x, tile->max.y},
                           {tile->min.x, tile->max.y}});
      PolygonSet reach;
      AddRing(reach, Ring{{tile->min.x - margin, tile->min.y - margin},
                          {tile->max.x + margin, tile->min.y - margin},
                          {tile->max.x + margin, tile->max.y + margin},
                          {tile->min.x - margin, tile->max.y + margin}});
      dark &= reach;
      covered &= reach;
    }
    const auto tolerance = static_cast<Coord>(std::llround(tolerance_));
    PolygonSet deep = dark, near = dark;
    deep.resize(-tolerance, true, Segments(tolerance_));
    near.resize(tolerance, true, Segments(tolerance_));
    PolygonSet uncovered = deep - covered;
    PolygonSet added = covered - near;
    if (tile != nullptr) {
      uncovered &= inside;
      added &= inside;
      dark &= inside;
    }
    result_.ComparedDarkMm2 += ToMm(ToMm(SetArea(dark)));
    result_.UncoveredMm2 += Tally(uncovered);
    result_.AddedMm2 += Tally(added);
  }

  // The area of the pieces in mm², each that counts noted.
  double Tally(const PolygonSet& difference) {
    const Area pieces = ToArea(difference);
    double total = 0.0;
    for (const Polygon& piece : pieces) {
      const double area = AreaOf(Area{piece});
      total += area;
      if (area <= tolerance_ * tolerance_) continue;
      PolygonSet core;
      AddArea(core, Area{piece});
      core.resize(-static_cast<Coord>(std::llround(tolerance_ / 4)), false, 0);
      if (core.empty()) continue;
      ++result_.Pieces;
      const double mm2 = ToMm(ToMm(area));
      if (mm2 > result_.WorstMm2) {
        result_.WorstMm2 = mm2;
        result_.Worst = BoundingBox(Area{piece});
      }
    }
    return ToMm(ToMm(total));
  }

  const Layer& original_;
  const Layer& written_;
  double tolerance_;
  double chord_;     // of the curves of plain objects, in grid units
  BoxIndex clears_;  // the original's clear objects
  ProofResult result_;
};

}  // namespace

ProofResult Prove(const Layer& original, const Layer& written, std::int64_t tolerance) {
  return Prover(original, written, tolerance).Run();
}

}  // namespace gerberx::convert
