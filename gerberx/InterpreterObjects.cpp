// The interpreter's objects as they are made: counted against the bounds and the budget of work,
// recorded into an open block or step-and-repeat, or put in the layer through the image transform.
#include <algorithm>
#include <cmath>

#include "gerberx/DrawnShapes.h"
#include "gerberx/Interpreter.h"
#include "gerberx/PlacedObject.h"

namespace gerberx {

Interpreter::Cost Interpreter::CostOf(const Object& obj) {
  return {static_cast<long long>(obj.Primitives()), static_cast<long long>(VertexCount(obj.area)), 1};
}

void Interpreter::Afford(const Cost& cost, long long times, const char* what, const char* does) {
  const auto over = [times](long long spent, long long each, long long budget) {
    return each > 0 && (times > (budget - spent) / each || spent + times * each > budget);
  };
  const auto text = [&](long long each, const char* unit, long long spent, long long budget, const char* bound) {
    const double more = static_cast<double>(each) * static_cast<double>(times);
    return std::string(what) + " " + does + " " + std::to_string(std::llround(std::min(more, 9e18))) + " " + unit +
           " more where " + std::to_string(std::max<long long>(0, budget - spent)) + " of the file's " +
           std::to_string(budget) + " are left (" + bound + ")";
  };
  const char* work = "the bound on work for a file of this size";
  if (over(primitives_, cost.primitives, primitiveBudget_))
    Fail(text(cost.primitives, "primitives", primitives_, primitiveBudget_, work));
  if (over(vertices_, cost.vertices, vertexBudget_))
    Fail(text(cost.vertices, "polygon vertices", vertices_, vertexBudget_, work));
  // The bound on objects is the same for every file.
  if (over(produced_, cost.objects, options_.maxObjects))
    Fail(text(cost.objects, "objects", produced_, options_.maxObjects, "the bound on objects"));
}

void Interpreter::ChargeDarkArea(long long vertices) {
  Afford({0, vertices, 0}, 1, "the dark area cut or united with the objects of one polarity", "would go through");
  vertices_ += vertices;
}

Interpreter::Cost Interpreter::CountProduced(const Object& obj) {
  const Cost cost = CostOf(obj);
  if (++produced_ > options_.maxObjects)
    Fail("more than " + std::to_string(options_.maxObjects) + " objects (the bound on objects)");
  vertices_ += cost.vertices;
  if (vertices_ > vertexBudget_)
    Fail("more than " + std::to_string(vertexBudget_) + " polygon vertices (the bound on vertices for this file)");
  primitives_ += cost.primitives;
  if (primitives_ > primitiveBudget_)
    Fail("more than " + std::to_string(primitiveBudget_) + " primitives placed (the bound on work for this file)");
  return cost;
}

void Interpreter::Produce(Object obj) {
  const Cost cost = CountProduced(obj);
  if (!collectors_.empty()) {
    Cost& recorded = collectors_.back().cost;
    recorded.primitives += cost.primitives;
    recorded.vertices += cost.vertices;
    ++recorded.objects;
    collectors_.back().objects.push_back(std::move(obj));
    return;
  }
  Emit(std::move(obj));
}

void Interpreter::Emit(Object obj) {
  if (!imageMapIdentity_) {
    // A plain object read without its area gets it before a map that scales unevenly makes it
    // no longer plain.
    if (obj.area.empty() && obj.IsPlain() && !imageMap_.KeepsAngles()) obj.area = PlainArea(obj, chordError_);
    obj = Placed(obj, imageMap_);
  }
  const bool clear = obj.polarity == Polarity::Clear;
  if (options_.computeDarkArea) dark_.Add(obj.area, clear);
  if (negative_) obj.polarity = clear ? Polarity::Dark : Polarity::Clear;
  // A clear object cuts with its area: one left out as plain gets it now.
  if (obj.polarity == Polarity::Clear && obj.area.empty() && !options_.plainObjectAreas && obj.IsPlain())
    obj.area = PlainArea(obj, chordError_);
  Counts& n = layer_.counts;
  switch (obj.kind) {
    case ObjectKind::Flash:
      ++n.flashes;
      break;
    case ObjectKind::Stroke:
      ++n.strokes;
      break;
    case ObjectKind::Arc:
      ++n.arcs;
      break;
    case ObjectKind::Region:
      ++n.regions;
      break;
    case ObjectKind::MacroFlash:
      ++n.macroFlashes;
      break;
  }
  if (obj.polarity == Polarity::Clear) ++n.clearObjects;
  if (!options_.keepObjectAreas) Area().swap(obj.area);
  layer_.objects.push_back(std::move(obj));
}

}  // namespace gerberx
