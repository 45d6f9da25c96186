#pragma once

// A layer as the converter takes it: every object in file order, after step-and-repeat and the
// image parameters, in the importer's internal units (1/10000 mil).

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "gerberx/convert/Decompose.h"

namespace zz::gerberx::convert {

enum class ApertureShape : uint8_t { Circle, Rectangle, Obround, Polygon };

struct StandardAperture {
  ApertureShape Shape = ApertureShape::Circle;
  int64_t XSize = 0;  // the diameter of a circle or polygon
  int64_t YSize = 0;
  int64_t Hole = 0;  // diameter; 0 for none
  int Vertices = 0;  // of a polygon
  double Rotation = 0.0;
};

// What the source object was, for the summary.
enum class SourceKind : uint8_t {
  Flash,       // of a standard aperture
  Line,        // a linear stroke
  Arc,         // a circular stroke
  Region,      // G36/G37
  MacroFlash,  // a flash of an aperture macro
  BlockFlash,  // a flash of a block aperture
};

struct SourceObject {
  SourceKind Kind = SourceKind::Flash;
  bool Dark = true;
  int Line = 0;  // of the statement in the source file

  // Flash, Line, Arc: the aperture; Flash: At; Line: From, To; Arc: From, To, Centre, Clockwise.
  const StandardAperture* Aperture = nullptr;  // one of the layer's Apertures
  IntPoint At, From, To, Centre;
  bool Clockwise = false;

  // Region, MacroFlash, BlockFlash: the area it darkens (or clears), already as polygons.
  std::vector<IntShape> Area;
};

// Moved, never copied: the objects point into Apertures.
struct SourceLayer {
  SourceLayer() = default;
  SourceLayer(SourceLayer&&) = default;
  SourceLayer& operator=(SourceLayer&&) = default;
  SourceLayer(const SourceLayer&) = delete;
  SourceLayer& operator=(const SourceLayer&) = delete;

  std::string File;
  std::deque<StandardAperture> Apertures;  // a deque: its elements stay where they are
  std::vector<SourceObject> Objects;
};

}  // namespace zz::gerberx::convert
