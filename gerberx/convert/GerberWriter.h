#pragma once

// Writes a converted layer as a Gerber file the importer recognises and reads whole: the format
// statement on the first line, units, aperture definitions it reads right, every data statement
// with its coordinates and operation code, multi-quadrant arcs with signed offsets, no comments of its own.

#include <cstddef>
#include <ostream>
#include <string_view>

#include "gerberx/convert/Convert.h"

namespace gerberx::convert {

struct WrittenCounts {
  std::size_t Pads = 0, Tracks = 0, Arcs = 0, Fills = 0;
  std::size_t Apertures = 0;
  std::size_t Total() const { return Pads + Tracks + Arcs + Fills; }
};

// Throws std::length_error when the layer needs more apertures than D10 to D999. `secondLine`
// (without its line end), when given, follows the format statement, which stays first.
WrittenCounts WriteGerber(std::ostream& out, const ConvertedLayer& layer, std::string_view secondLine = {});

}  // namespace gerberx::convert
