// The interpreter's block apertures (%AB) and step-and-repeat (%SR): objects recorded, then
// flashed or copied.
#include <cctype>
#include <cmath>

#include "gerberx/Fields.h"
#include "gerberx/Interpreter.h"
#include "gerberx/PlacedObject.h"

namespace gerberx {

void Interpreter::ApertureBlock(const std::string& raw) {
  const std::string text = WithoutBlanks(raw);
  if (text == "AB") {
    if (collectors_.empty() || !collectors_.back().block) Fail("%AB end without an open block aperture");
    Collector c = std::move(collectors_.back());
    collectors_.pop_back();
    --openBlocks_;
    blocks_.push_back(std::move(c.objects));
    blockCosts_.push_back(c.cost);
    ApertureDef def;
    def.shape = ApertureShape::Block;
    def.block = static_cast<int>(blocks_.size()) - 1;
    def.line = c.line;
    apertures_[c.dcode] = def;
    uses_.erase(c.dcode);
    return;
  }
  if (text.size() < 4 || text[2] != 'D') Fail("block aperture without 'D'");
  const long d = SmallInt(text.substr(3));
  if (d < 10) Fail("block aperture number must be 10 or more");
  if (inRegion_) Fail("block aperture inside a region");
  if (openBlocks_ >= options_.maxBlockDepth)
    Fail("block apertures nested deeper than " + std::to_string(options_.maxBlockDepth));
  Collector c;
  c.block = true;
  c.dcode = static_cast<int>(d);
  c.line = statement_->line;
  collectors_.push_back(std::move(c));
  ++openBlocks_;
}

void Interpreter::StepRepeat(const std::string& raw) {
  const std::string text = WithoutBlanks(raw);
  if (stepRepeatOpen_) CloseStepRepeat();
  if (text == "SR") return;
  long long x = 1, y = 1;
  double i = 0, j = 0;
  std::size_t k = 2;
  while (k < text.size()) {
    const char letter = text[k++];
    std::size_t start = k;
    while (k < text.size() && !std::isalpha(static_cast<unsigned char>(text[k]))) ++k;
    const std::string value = text.substr(start, k - start);
    switch (letter) {
      case 'X':
      case 'Y': {
        const long n = SmallInt(value);
        if (n < 1) Fail("step-and-repeat count must be a whole number of at least 1");
        (letter == 'X' ? x : y) = n;
        break;
      }
      case 'I':
        i = ParseDecimal(value, "step distance");
        break;
      case 'J':
        j = ParseDecimal(value, "step distance");
        break;
      default:
        Fail(std::string("unknown field '") + letter + "' in %SR");
    }
  }
  if (x * y > options_.maxStepRepeatCopies)
    Fail("step-and-repeat of " + std::to_string(x * y) + " copies (the bound is " +
         std::to_string(options_.maxStepRepeatCopies) + ")");
  Collector c;
  c.line = statement_->line;
  c.xCount = x;
  c.yCount = y;
  c.xStep = i * UnitScale();
  c.yStep = j * UnitScale();
  if (std::abs(c.xStep) * double(x) > kCoordLimit || std::abs(c.yStep) * double(y) > kCoordLimit)
    Fail("step-and-repeat beyond the reader's range");
  collectors_.push_back(std::move(c));
  stepRepeatOpen_ = true;
}

void Interpreter::CloseStepRepeat() {
  if (collectors_.empty() || collectors_.back().block) Fail("step-and-repeat closed inside a block aperture");
  Collector c = std::move(collectors_.back());
  collectors_.pop_back();
  stepRepeatOpen_ = false;
  const long long copies = c.xCount * c.yCount;
  if (copies > 1) {
    ++layer_.counts.stepRepeatBlocks;
    if (produced_ + (copies - 1) * static_cast<long long>(c.objects.size()) > options_.maxObjects)
      Fail("step-and-repeat gives more than " + std::to_string(options_.maxObjects) +
           " objects (the bound on objects)");
    // Their objects are bounded just above, in words of their own.
    Afford({c.cost.primitives, c.cost.vertices, 0}, copies - 1, "the copies of this step-and-repeat");
  }
  int index = 0;
  for (long long iy = 0; iy < c.yCount; ++iy) {
    for (long long ix = 0; ix < c.xCount; ++ix, ++index) {
      const Point by{static_cast<Coord>(std::llround(c.xStep * double(ix))),
                     static_cast<Coord>(std::llround(c.yStep * double(iy)))};
      for (const Object& inner : c.objects) {
        Object obj = (by.x == 0 && by.y == 0) ? inner : Placed(inner, Affine::Translation(by.x, by.y));
        obj.stepRepeatCopy = index;
        if (index > 0) ++layer_.counts.stepRepeatCopies;
        Produce(std::move(obj));
      }
    }
  }
}

}  // namespace gerberx
