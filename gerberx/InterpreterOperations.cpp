// The interpreter's operations: draws, flashes (of block apertures too) and region contours.
#include <algorithm>
#include <cmath>

#include "gerberx/ArcCentre.h"
#include "gerberx/DrawnShapes.h"
#include "gerberx/Interpreter.h"
#include "gerberx/PlacedObject.h"

namespace gerberx {

void Interpreter::Operate(int op, Point target, bool hasIJ, Point offset) {
  if (inRegion_) {
    if (op == 2) {
      CloseContour();
      contour_.clear();
      contour_.push_back(target);
      contourLine_ = statement_->line;
    } else if (op == 1) {
      if (contour_.empty()) contour_.push_back(current_);
      ++contourEdges_;
      if (interpolation_ == Interpolation::Linear) {
        contour_.push_back(target);
      } else {
        Point centre;
        bool full = false;
        if (ArcCentre(current_, target, offset, interpolation_ == Interpolation::Clockwise, centre, full)) {
          const DRing points =
              ArcPath(current_, target, centre, interpolation_ == Interpolation::Clockwise, full, chordError_);
          for (std::size_t i = 1; i < points.size(); ++i) contour_.push_back(ToGrid(points[i]));
        }
        contour_.push_back(target);
      }
      if (static_cast<long long>(contour_.size()) > options_.maxVerticesPerPrimitive)
        Fail("a region contour with more than " + std::to_string(options_.maxVerticesPerPrimitive) + " vertices");
    } else {
      Fail("D03 (flash) inside a region");
    }
    current_ = target;
    return;
  }
  switch (op) {
    case 1:
      Draw(current_, target, hasIJ, offset);
      break;
    case 2:
      break;
    case 3:
      Flash(target);
      break;
  }
  current_ = target;
}

void Interpreter::CloseContour() {
  if (contour_.size() >= 2 && !(contour_.front() == contour_.back())) {
    Warn("region contour not closed: closed with a straight line");
  }
  if (contour_.size() >= 3) {
    Object obj;
    obj.kind = ObjectKind::Region;
    obj.polarity = clear_ ? Polarity::Clear : Polarity::Dark;
    obj.line = contourLine_;
    Ring ring(contour_.begin(), contour_.end());
    if (needAreas_) obj.area = AreaOfRing(ring);
    for (Point p : ring) obj.box.Add(p);
    obj.start = obj.end = ring.front();
    obj.edges = contourEdges_;
    Produce(std::move(obj));
  }
  contour_.clear();
  contourEdges_ = 0;
}

bool Interpreter::ArcCentre(Point start, Point end, Point offset, bool clockwise, Point& centre, bool& full) {
  const auto arc = FindArcCentre(start, end, offset, clockwise, multiQuadrant_);
  if (!arc.warning.empty()) Warn(arc.warning);
  if (arc.found) centre = arc.centre;
  full = arc.full;
  return arc.found;
}

void Interpreter::Flash(Point at) {
  if (aperture_ == 0) Fail("flash without an aperture selected");
  const ApertureDef& def = apertures_.at(aperture_);
  if (def.shape == ApertureShape::Block) {
    ++layer_.counts.blockFlashes;
    const std::vector<Object>& block = blocks_[static_cast<std::size_t>(def.block)];
    Afford(blockCosts_[static_cast<std::size_t>(def.block)], 1, "this flash of a block aperture");
    const Affine map = Affine::Translation(at.x, at.y).After(ObjectTransform());
    const bool transformed = !ObjectTransformIsIdentity();
    if (transformed) layer_.counts.transformedObjects += static_cast<int>(block.size());
    for (const Object& inner : block) {
      if (inner.blockDepth + 1 > options_.maxBlockDepth)
        Fail("block apertures nested deeper than " + std::to_string(options_.maxBlockDepth));
      Object obj = transformed ? Placed(inner, map) : Placed(inner, Affine::Translation(at.x, at.y));
      if (clear_) obj.polarity = obj.polarity == Polarity::Dark ? Polarity::Clear : Polarity::Dark;
      obj.blockDepth = inner.blockDepth + 1;
      obj.blockDcode = aperture_;
      Produce(std::move(obj));
    }
    return;
  }
  const ApertureUse& use = Use(aperture_);
  Afford({std::max<long long>(1, static_cast<long long>(use.parts.size())), needAreas_ ? use.vertices : 0, 1}, 1,
         "this flash");
  Object obj;
  obj.kind = def.shape == ApertureShape::Macro ? ObjectKind::MacroFlash : ObjectKind::Flash;
  obj.polarity = clear_ ? Polarity::Clear : Polarity::Dark;
  obj.line = statement_->line;
  obj.aperture = use.description;
  obj.start = obj.end = at;
  if (needAreas_ && !SkipsArea(obj)) obj.area = Translated(use.area, at);
  obj.macroParts = use.parts;
  for (MacroPart& part : obj.macroParts) part.centre = Moved(part.centre, at);
  if (use.box.empty)
    obj.box.Add(at);
  else
    obj.box = Box{Moved(use.box.min, at), Moved(use.box.max, at), false};
  if (!ObjectTransformIsIdentity()) ++layer_.counts.transformedObjects;
  Produce(std::move(obj));
}

void Interpreter::Draw(Point from, Point to, bool hasIJ, Point offset) {
  if (aperture_ == 0) Fail("draw without an aperture selected");
  const ApertureDef& def = apertures_.at(aperture_);
  if (def.shape == ApertureShape::Macro || def.shape == ApertureShape::Block)
    Fail("draw (D01) with a macro or block aperture");
  const ApertureUse& use = Use(aperture_);
  Object obj;
  obj.polarity = clear_ ? Polarity::Clear : Polarity::Dark;
  obj.line = statement_->line;
  obj.aperture = use.description;
  obj.start = from;
  obj.end = to;
  bool arc = interpolation_ != Interpolation::Linear;
  const bool clockwise = interpolation_ == Interpolation::Clockwise;
  bool full = false;
  Point centre;
  if (arc && !ArcCentre(from, to, offset, clockwise, centre, full)) arc = false;
  (void)hasIJ;
  const bool circle = def.shape == ApertureShape::Circle;
  const double h = use.diameter / 2;
  obj.kind = arc ? ObjectKind::Arc : ObjectKind::Stroke;
  if (arc) {
    obj.centre = centre;
    obj.clockwise = clockwise;
    obj.fullCircle = full;
  }
  if (!needAreas_ || SkipsArea(obj)) {
    // Descriptions only: the box of the path grown by the aperture's.
    Box path;
    if (arc) {
      path = ArcBox(from, to, centre, clockwise, full);
    } else {
      path.Add(from);
      path.Add(to);
    }
    const Box grow =
        circle ? Box{{-Coord(std::ceil(h)), -Coord(std::ceil(h))}, {Coord(std::ceil(h)), Coord(std::ceil(h))}, false}
               : use.box;
    obj.box = grow.empty ? path : Box{Moved(path.min, grow.min), Moved(path.max, grow.max), false};
    if (!ObjectTransformIsIdentity()) ++layer_.counts.transformedObjects;
    Produce(std::move(obj));
    return;
  }
  if (!arc) {
    obj.area = circle ? RoundStroke(from, to, h, chordError_) : Sweep(use.outline, from, to);
  } else if (circle) {
    obj.area = RoundArc(from, to, centre, clockwise, full, h, chordError_, options_.maxVerticesPerPrimitive);
  } else {
    obj.area = SweptAlong(use.outline, ArcPath(from, to, centre, clockwise, full, chordError_),
                          options_.maxVerticesPerPrimitive);
  }
  obj.box = BoundingBox(obj.area);
  if (obj.box.empty) {
    obj.box.Add(from);
    obj.box.Add(to);
  }
  if (!ObjectTransformIsIdentity()) ++layer_.counts.transformedObjects;
  Produce(std::move(obj));
}

}  // namespace gerberx
