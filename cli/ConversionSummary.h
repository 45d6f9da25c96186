#pragma once

// What `zizozudu convert` says about one converted Gerber file: what it kept, what it decomposed
// and into what, what it wrote, and the proof of the written file against the original; and the
// same for every file as JSON (--json).

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "gerberx/convert/Convert.h"
#include "gerberx/convert/GerberWriter.h"
#include "gerberx/convert/Proof.h"

namespace zzcli {

struct ConversionFigures {
  std::string File, Target;
  std::size_t ObjectsRead = 0;  // the original's objects after expansion
  std::size_t Primitives = 0;   // what the original places: strokes, flashes, macro primitives, region edges
  gerberx::convert::WrittenCounts Written;
  std::optional<gerberx::convert::ProofResult> Proof;
  double Seconds = 0.0;  // the whole conversion, the proof included
  double ProofSeconds = 0.0;
};

// "143 objects (25 pads, 48 tracks, 7 arcs, 63 fills), 57 apertures"; `fills`: whether the fills
// are named (a drill file's conversion has none).
std::string WrittenText(const gerberx::convert::WrittenCounts& counts, bool fills);

// The lines after "FILE -> TARGET", each indented and ending with a line feed.
void PrintConversion(std::ostream& out, const gerberx::convert::ConvertedLayer& layer,
                     const ConversionFigures& figures);

// {"files": [...]}: per file its counts and its proof.
std::string ConversionJson(const std::vector<ConversionFigures>& files);

}  // namespace zzcli
