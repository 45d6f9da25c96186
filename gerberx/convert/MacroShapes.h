#pragma once

// Aperture macros: their primitives evaluated with the definition's parameters and drawn as
// polygons around the flash point, in the file's units.

#include <string>
#include <vector>

#include "gerberx/convert/Decompose.h"

namespace zz::gerberx::convert {

struct MacroDefinition {
  std::string Name;
  std::vector<std::string> Blocks;  // the statements between "%AM<name>*" and "%", without their "*"
};

// The dark area of one flash of the macro at the origin, in internal units (`scale` per file
// unit). Throws std::runtime_error on a malformed primitive or expression.
std::vector<IntShape> MacroArea(const MacroDefinition& macro, const std::vector<double>& parameters, double scale,
                                double tolerance, std::size_t maxPrimitives);

}  // namespace zz::gerberx::convert
