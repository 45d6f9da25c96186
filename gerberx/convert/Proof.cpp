#include "gerberx/convert/Proof.h"

#include <algorithm>
#include <boost/polygon/polygon.hpp>
#include <cmath>
#include <tuple>
#include <vector>

#include "gerberx/BoxGroups.h"
#include "gerberx/DrawnShapes.h"
#include "gerberx/Overlaps.h"
#include "gerberx/PolygonSet.h"

namespace gerberx::convert {
namespace {

using namespace boost::polygon::operators;

// What makes two plain objects draw the same shape.
struct Key {
  ObjectKind Kind = ObjectKind::Flash;
  ApertureShape Shape = ApertureShape::Circle;
  bool Clockwise = false, Full = false;
  Coord W = 0, H = 0;
  Point Start, End, Centre;
  auto Tied() const {
    return std::tie(Kind, Shape, Clockwise, Full, W, H, Start.x, Start.y, End.x, End.y, Centre.x, Centre.y);
  }
  friend bool operator<(const Key& a, const Key& b) { return a.Tied() < b.Tied(); }
  friend bool operator==(const Key& a, const Key& b) { return a.Tied() == b.Tied(); }
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

Box Grown(Box box, Coord by) {
  box.min = {box.min.x - by, box.min.y - by};
  box.max = {box.max.x + by, box.max.y + by};
  return box;
}

// Whether two boxes share a point, their edges included.
bool Touch(const Box& a, const Box& b) {
  return !a.empty && !b.empty && a.min.x <= b.max.x && b.min.x <= a.max.x && a.min.y <= b.max.y && b.min.y <= a.max.y;
}

// The original's clear objects, found by box.
class ClearObjects {
 public:
  explicit ClearObjects(const Layer& layer) : ids_(ClearIds(layer)), index_(BoxesOf(layer, ids_)) {}

  // Those whose boxes share a point with `window`, in drawing order.
  std::vector<std::size_t> Meeting(const Box& window) const {
    std::vector<std::size_t> found;
    index_.ForEachTouching(window, [&](std::size_t k) { found.push_back(ids_[k]); });
    std::sort(found.begin(), found.end());
    return found;
  }

 private:
  static std::vector<std::size_t> ClearIds(const Layer& layer) {
    std::vector<std::size_t> ids;
    for (std::size_t i = 0; i < layer.objects.size(); ++i) {
      const Object& o = layer.objects[i];
      if (o.polarity == Polarity::Clear && !o.box.empty) ids.push_back(i);
    }
    return ids;
  }
  static std::vector<Box> BoxesOf(const Layer& layer, const std::vector<std::size_t>& ids) {
    std::vector<Box> boxes;
    for (const std::size_t i : ids) boxes.push_back(layer.objects[i].box);
    return boxes;
  }

  std::vector<std::size_t> ids_;
  BoxIndex index_;
};

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
    std::vector<Box> boxes;
    std::vector<std::size_t> objectOf;  // index: original first, then written
    const std::size_t n = original_.objects.size();
    for (std::size_t i = 0; i < compared.size(); ++i) {
      const Object& o = i < n ? original_.objects[i] : written_.objects[i - n];
      if (!compared[i] || o.box.empty) continue;
      boxes.push_back(Grown(o.box, static_cast<Coord>(tolerance_)));
      objectOf.push_back(i);
    }
    result_.Compared = boxes.size();
    if (boxes.empty()) return result_;
    const ClearObjects clears(original_);
    clears_ = &clears;
    for (std::vector<std::size_t>& group : TouchingGroups(boxes)) {
      for (std::size_t& k : group) k = objectOf[k];
      Compare(group);
    }
    clears_ = nullptr;
    return result_;
  }

 private:
  // For each object of the original (first) and of the written file (after them): whether it is
  // compared by its area, or was written exactly as the original draws it.
  std::vector<bool> Unmatched() {
    const std::size_t n = original_.objects.size();
    std::vector<bool> compared(n + written_.objects.size(), true);
    const std::vector<bool> cut = CutByLaterClear(original_, chord_);
    // Both sides sorted by what they draw, then walked together: a million objects in a second.
    std::vector<std::pair<Key, std::size_t>> plain, drawn;
    for (std::size_t i = 0; i < n; ++i) {
      const Object& o = original_.objects[i];
      if (o.polarity == Polarity::Clear) {
        compared[i] = false;  // it only cuts: what it cuts is in the dark objects' areas
      } else if (o.IsPlain() && !cut[i]) {
        plain.emplace_back(KeyOf(o), i);
      }
    }
    for (std::size_t j = 0; j < written_.objects.size(); ++j) drawn.emplace_back(KeyOf(written_.objects[j]), n + j);
    const auto byKey = [](const auto& a, const auto& b) { return a.first < b.first; };
    std::sort(plain.begin(), plain.end(), byKey);
    std::sort(drawn.begin(), drawn.end(), byKey);
    for (std::size_t i = 0, j = 0; i < plain.size() && j < drawn.size();) {
      if (plain[i].first < drawn[j].first) {
        ++i;
      } else if (drawn[j].first < plain[i].first) {
        ++j;
      } else {
        compared[plain[i++].second] = false;
        compared[drawn[j++].second] = false;
        ++result_.Identical;
      }
    }
    return compared;
  }

  Area AreaOfObject(const Object& o) const { return o.area.empty() && o.IsPlain() ? PlainArea(o, chord_) : o.area; }

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
    for (const std::size_t i : clears_->Meeting(Grown(bounds, static_cast<Coord>(2 * tolerance_)))) group.push_back(i);
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
        const Box reach = Grown(tile, static_cast<Coord>(2 * tolerance_));
        std::vector<std::size_t> near;
        for (const std::size_t i : group) {
          if (Touch(ObjectAt(i).box, reach)) near.push_back(i);
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
    // The band's corners are rounded with one chord a quarter turn: finer arcs made the library's
    // offset many times slower, and square ones leave it wedges it counts as outside the band.
    deep.resize(-tolerance, true, 1);
    near.resize(tolerance, true, 1);
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
  double chord_;                          // of the curves of plain objects, in grid units
  const ClearObjects* clears_ = nullptr;  // the original's, while Run works
  ProofResult result_;
};

}  // namespace

ProofResult Prove(const Layer& original, const Layer& written, std::int64_t tolerance) {
  return Prover(original, written, tolerance).Run();
}

}  // namespace gerberx::convert
