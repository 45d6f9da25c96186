#pragma once

// Reads a Gerber file (RS-274-X with X2 attributes and the deprecated forms still found in real
// files) into the converter's layer: every object in file order, step-and-repeat, blocks and the
// image parameters applied. A bad statement throws std::runtime_error naming the file, its line
// and the statement.

#include <string>

#include "gerberx/convert/SourceLayer.h"

namespace zz::gerberx::convert {

struct ReadLimits {
  std::size_t MaxObjects = 20'000'000;  // after step-and-repeat and blocks
  int MaxBlockDepth = 16;
  std::size_t MaxMacroPrimitives = 10'000;
};

SourceLayer ReadSourceLayer(const std::string& path, double tolerance = 19685, const ReadLimits& limits = {});

// The same from text already in memory; `name` appears in error messages.
SourceLayer ReadSourceText(const std::string& text, const std::string& name, double tolerance = 19685,
                           const ReadLimits& limits = {});

}  // namespace zz::gerberx::convert
