#include "gerberx/convert/Convert.h"

#include <algorithm>
#include <boost/geometry.hpp>
#include <boost/geometry/index/rtree.hpp>
#include <boost/iterator/function_output_iterator.hpp>
#include <boost/polygon/polygon.hpp>
#include <limits>
#include <stdexcept>
#include <string>

#include "gerberx/convert/ObjectShapes.h"

namespace zz::gerberx::convert {
namespace {

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;
namespace gtl = boost::polygon;
using namespace boost::polygon::operators;

using PolygonSet = gtl::polygon_set_data<int>;
using BoxD = bg::model::box<bg::model::d2::point_xy<double>>;

int ToInt(int64_t v) {
  if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) {
    throw std::range_error("a coordinate lies beyond the importer's range of about 214 inches");
  }
  return static_cast<int>(v);
}

void Insert(PolygonSet& set, const IntShape& shape) {
  const auto ring = [](const IntRing& r) {
    std::vector<gtl::point_data<int>> pts;
    pts.reserve(r.size());
    for (const IntPoint& p : r) pts.emplace_back(ToInt(p.X), ToInt(p.Y));
    gtl::polygon_data<int> polygon;
    polygon.set(pts.begin(), pts.end());
    return polygon;
  };
  if (shape.Outer.size() < 3) return;
  set.insert(ring(shape.Outer));
  for (const IntRing& hole : shape.Holes) {
    if (hole.size() >= 3) set.insert(ring(hole), true);
  }
}

BoxD EmptyBox() {
  return BoxD({std::numeric_limits<double>::max(), std::numeric_limits<double>::max()},
              {std::numeric_limits<double>::lowest(), std::numeric_limits<double>::lowest()});
}

BoxD BoundsOf(const IntShape& shape) {
  BoxD box = EmptyBox();
  for (const IntPoint& p : shape.Outer) {
    bg::expand(box, bg::model::d2::point_xy<double>(static_cast<double>(p.X), static_cast<double>(p.Y)));
  }
  return box;
}

bool IsRound(const StandardAperture& a) { return a.Shape == ApertureShape::Circle && a.Hole == 0; }

enum class KeptKind : uint8_t { Pad, Track, Arc, RectStroke };

struct Kept {
  KeptKind Kind;
  std::size_t Index;  // into the layer's vector of that kind
  IntShape Shape;     // for the test against a later clear object
  bool Gone = false;  // cut by a clear object: its area went to the decomposition
};

class Converter {
 public:
  explicit Converter(const DecomposeOptions& options)
      : options_(options), tolerance_(static_cast<double>(options.Tolerance)) {}

  ConvertedLayer Run(const SourceLayer& layer) {
    // Without a clear object nothing kept is ever cut: no need to remember what was kept.
    track_ = std::any_of(layer.Objects.begin(), layer.Objects.end(), [](const SourceObject& o) { return !o.Dark; });
    for (const SourceObject& object : layer.Objects) {
      try {
        Take(object);
      } catch (const std::range_error& e) {
        throw std::range_error(layer.File + ":" + std::to_string(object.Line) + ": " + e.what());
      }
    }
    Flush();
    // Pieces whose boxes overlap are joined and decomposed together; a group alone is
    // decomposed alone, so that no step works on the whole layer at once.
    std::vector<std::size_t> parent(dark_.size());
    for (std::size_t i = 0; i < parent.size(); ++i) parent[i] = i;
    const auto root = [&](std::size_t i) {
      while (parent[i] != i) i = parent[i] = parent[parent[i]];
      return i;
    };
    std::vector<std::pair<BoxD, std::size_t>> boxes;
    for (std::size_t i = 0; i < dark_.size(); ++i) boxes.emplace_back(dark_[i].Box, i);
    const bgi::rtree<std::pair<BoxD, std::size_t>, bgi::quadratic<16>> index(boxes.begin(), boxes.end());
    for (std::size_t i = 0; i < dark_.size(); ++i) {
      index.query(bgi::intersects(dark_[i].Box), boost::make_function_output_iterator(
                                                     [&](const auto& entry) { parent[root(entry.second)] = root(i); }));
    }
    std::vector<std::vector<std::size_t>> groups(dark_.size());
    for (std::size_t i = 0; i < dark_.size(); ++i) groups[root(i)].push_back(i);
    for (const std::vector<std::size_t>& group : groups) {
      if (group.empty()) continue;
      PolygonSet joined;
      for (const std::size_t i : group) joined.insert(dark_[i].Set.begin(), dark_[i].Set.end());
      std::vector<gtl::polygon_with_holes_data<int>> polygons;
      joined.get(polygons);
      std::vector<IntShape> shapes;
      shapes.reserve(polygons.size());
      for (const auto& polygon : polygons) {
        IntShape shape;
        for (const auto& p : polygon) shape.Outer.push_back({p.x(), p.y()});
        for (auto hole = polygon.begin_holes(); hole != polygon.end_holes(); ++hole) {
          IntRing ring;
          for (const auto& p : *hole) ring.push_back({p.x(), p.y()});
          shape.Holes.push_back(std::move(ring));
        }
        shapes.push_back(std::move(shape));
      }
      Pieces pieces = Decompose(shapes, options_);
      Pieces& all = result_.Decomposed;
      all.Fills.insert(all.Fills.end(), pieces.Fills.begin(), pieces.Fills.end());
      all.Tracks.insert(all.Tracks.end(), pieces.Tracks.begin(), pieces.Tracks.end());
      all.Arcs.insert(all.Arcs.end(), pieces.Arcs.begin(), pieces.Arcs.end());
      all.Discs.insert(all.Discs.end(), pieces.Discs.begin(), pieces.Discs.end());
    }
    Compact();
    return std::move(result_);
  }

 private:
  void Count(DecomposeReason reason) { ++result_.DecomposedBy[static_cast<std::size_t>(reason)]; }

  void Take(const SourceObject& o) {
    if (!o.Dark) {
      Count(DecomposeReason::ClearObject);
      Clear(AreaOf(o));
      return;
    }
    switch (o.Kind) {
      case SourceKind::Flash:
        if (o.Aperture->Hole == 0 && o.Aperture->Shape != ApertureShape::Polygon) {
          result_.Pads.push_back({o.At, o.Aperture->Shape, o.Aperture->XSize, o.Aperture->YSize});
          Keep(KeptKind::Pad, result_.Pads.size() - 1, o);
          return;
        }
        Count(o.Aperture->Hole != 0 ? DecomposeReason::ApertureWithHole : DecomposeReason::PolygonFlash);
        break;
      case SourceKind::Line:
        if (IsRound(*o.Aperture)) {
          result_.Tracks.push_back({o.From, o.To, o.Aperture->XSize});
          Keep(KeptKind::Track, result_.Tracks.size() - 1, o);
          return;
        }
        if (o.Aperture->Shape == ApertureShape::Rectangle && o.Aperture->Hole == 0 &&
            (o.From.X == o.To.X || o.From.Y == o.To.Y)) {
          result_.RectStrokes.push_back({o.From, o.To, o.Aperture->XSize, o.Aperture->YSize});
          Keep(KeptKind::RectStroke, result_.RectStrokes.size() - 1, o);
          return;
        }
        Count(DecomposeReason::MisdrawnStroke);
        break;
      case SourceKind::Arc:
        if (IsRound(*o.Aperture)) {
          result_.Arcs.push_back({o.From, o.To, o.Centre, o.Clockwise, o.Aperture->XSize});
          Keep(KeptKind::Arc, result_.Arcs.size() - 1, o);
          return;
        }
        Count(DecomposeReason::MisdrawnStroke);
        break;
      case SourceKind::Region:
        Count(DecomposeReason::Region);
        break;
      case SourceKind::MacroFlash:
        Count(DecomposeReason::MacroFlash);
        break;
      case SourceKind::BlockFlash:
        Count(DecomposeReason::BlockFlash);
        break;
    }
    Dark(AreaOf(o));
  }

  std::vector<IntShape> AreaOf(const SourceObject& o) const {
    switch (o.Kind) {
      case SourceKind::Flash:
        return {FlashShape(*o.Aperture, o.At, tolerance_)};
      case SourceKind::Line:
        return {LineShape(*o.Aperture, o.From, o.To, tolerance_)};
      case SourceKind::Arc:
        return {ArcShape(o.Aperture->XSize, o.From, o.To, o.Centre, o.Clockwise, tolerance_)};
      default:
        return o.Area;
    }
  }

  void Keep(KeptKind kind, std::size_t index, const SourceObject& o) {
    // A kept object needs its outline only if a clear object may come after it.
    if (!track_) return;
    kept_.push_back({kind, index, {}, false});
    pendingKept_.push_back(kept_.size() - 1);
    keptSources_.push_back(&o);
  }

  void Dark(const std::vector<IntShape>& area) {
    if (!runDark_) Flush();
    runDark_ = true;
    for (const IntShape& shape : area) {
      Insert(run_, shape);
      bg::expand(runBox_, BoundsOf(shape));
    }
  }

  void Clear(const std::vector<IntShape>& area) {
    if (runDark_) Flush();
    runDark_ = false;
    IndexPendingKept();
    for (const IntShape& shape : area) {
      Insert(run_, shape);
      bg::expand(runBox_, BoundsOf(shape));
      // Kept objects this one cuts become part of the dark area, which the run then cuts.
      keptIndex_.query(bgi::intersects(BoundsOf(shape)), boost::make_function_output_iterator([&](const auto& entry) {
                         Kept& k = kept_[entry.second];
                         if (k.Gone) return;
                         PolygonSet overlap;
                         Insert(overlap, k.Shape);
                         PolygonSet cut;
                         Insert(cut, shape);
                         overlap &= cut;
                         if (overlap.empty()) return;
                         k.Gone = true;
                         Count(DecomposeReason::CutByClear);
                         Piece piece;
                         Insert(piece.Set, k.Shape);
                         piece.Box = BoundsOf(k.Shape);
                         dark_.push_back(std::move(piece));
                       }));
    }
  }

  // The kept objects since the last clear run, with their outlines, into the spatial index.
  void IndexPendingKept() {
    for (const std::size_t i : pendingKept_) {
      const SourceObject& o = *keptSources_[i];
      kept_[i].Shape = AreaOf(o).front();
      keptIndex_.insert({BoundsOf(kept_[i].Shape), i});
    }
    pendingKept_.clear();
  }

  // Polarity changes: the run so far becomes a piece of the area to decompose (dark), or cuts
  // the pieces it overlaps (clear).
  void Flush() {
    if (run_.empty()) return;
    if (runDark_) {
      dark_.push_back({run_, runBox_});  // a copy: the set has no move constructor
    } else {
      for (Piece& piece : dark_) {
        if (bg::intersects(piece.Box, runBox_)) piece.Set -= run_;
      }
    }
    run_.clear();
    runBox_ = EmptyBox();
  }

  // Kept objects a clear object cut are no longer kept.
  void Compact() {
    std::vector<bool> gonePads(result_.Pads.size()), goneTracks(result_.Tracks.size()), goneArcs(result_.Arcs.size()),
        goneStrokes(result_.RectStrokes.size());
    for (const Kept& k : kept_) {
      if (!k.Gone) continue;
      switch (k.Kind) {
        case KeptKind::Pad:
          gonePads[k.Index] = true;
          break;
        case KeptKind::Track:
          goneTracks[k.Index] = true;
          break;
        case KeptKind::Arc:
          goneArcs[k.Index] = true;
          break;
        case KeptKind::RectStroke:
          goneStrokes[k.Index] = true;
          break;
      }
    }
    const auto drop = [](auto& items, const std::vector<bool>& gone) {
      std::size_t out = 0;
      for (std::size_t i = 0; i < items.size(); ++i) {
        if (!gone[i]) items[out++] = items[i];
      }
      items.resize(out);
    };
    drop(result_.Pads, gonePads);
    drop(result_.Tracks, goneTracks);
    drop(result_.Arcs, goneArcs);
    drop(result_.RectStrokes, goneStrokes);
  }

  DecomposeOptions options_;
  double tolerance_;
  ConvertedLayer result_;
  struct Piece {
    PolygonSet Set;
    BoxD Box;
  };
  std::vector<Piece> dark_;  // the area to decompose, in pieces that may overlap
  PolygonSet run_;           // objects of one polarity since the last change
  BoxD runBox_ = EmptyBox();
  bool runDark_ = true;
  bool track_ = false;
  std::vector<Kept> kept_;
  std::vector<const SourceObject*> keptSources_;
  std::vector<std::size_t> pendingKept_;
  bgi::rtree<std::pair<BoxD, std::size_t>, bgi::quadratic<16>> keptIndex_;
};

}  // namespace

const char* DecomposeReasonText(DecomposeReason reason) {
  switch (reason) {
    case DecomposeReason::Region:
      return "regions";
    case DecomposeReason::MacroFlash:
      return "macro flashes";
    case DecomposeReason::BlockFlash:
      return "block flashes";
    case DecomposeReason::PolygonFlash:
      return "polygon flashes";
    case DecomposeReason::ApertureWithHole:
      return "flashes and strokes of apertures with a hole";
    case DecomposeReason::MisdrawnStroke:
      return "strokes the importer would draw otherwise";
    case DecomposeReason::CutByClear:
      return "objects cut by clear polarity";
    case DecomposeReason::ClearObject:
      return "clear objects";
    case DecomposeReason::Count:
      break;
  }
  return "";
}

ConvertedLayer ConvertLayer(const SourceLayer& layer, const DecomposeOptions& options) {
  return Converter(options).Run(layer);
}

}  // namespace zz::gerberx::convert
