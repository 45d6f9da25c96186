#pragma once

// What `zizozudu convert` says about one converted file: what it kept, what it decomposed and
// into what, what it wrote.

#include <ostream>
#include <string>

#include "gerberx/Layer.h"
#include "gerberx/convert/Convert.h"
#include "gerberx/convert/GerberWriter.h"

namespace zzcli {

struct ConversionFigures {
  std::size_t ObjectsRead = 0;  // the original's objects after expansion
  gerberx::convert::WrittenCounts Written;
  double Seconds = 0.0;
};

// The lines after "FILE -> TARGET", each indented and ending with a line feed.
void PrintConversion(std::ostream& out, const gerberx::convert::ConvertedLayer& layer,
                     const ConversionFigures& figures);

}  // namespace zzcli
