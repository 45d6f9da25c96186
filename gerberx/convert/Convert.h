#pragma once

// A layer remade from what the importer creates and reads right: flashes of circles, rectangles
// and obrounds stay pads, strokes of round apertures stay tracks and arcs, axis-aligned strokes
// of rectangles stay fills; everything else (regions, macro flashes, polygon and rotated
// flashes, strokes the importer would draw wrongly, and whatever a clear object cuts) becomes
// pieces of Decompose. Block apertures come from the reader already opened into their objects.

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "gerberx/Layer.h"
#include "gerberx/Reader.h"
#include "gerberx/convert/Decompose.h"

namespace gerberx::convert {

struct KeptPad {
  IntPoint At;
  ApertureShape Shape = ApertureShape::Circle;  // Circle, Rectangle or Obround
  int64_t XSize = 0, YSize = 0;
};

struct KeptTrack {
  IntPoint From, To;
  int64_t Width = 0;
};

struct KeptArc {
  IntPoint From, To, Centre;
  bool Clockwise = false;
  int64_t Width = 0;
};

// A horizontal or vertical stroke of a rectangle: the importer's fill is its box.
struct KeptRectStroke {
  IntPoint From, To;
  int64_t XSize = 0, YSize = 0;
};

// Why a source object was decomposed.
enum class DecomposeReason : uint8_t {
  Region,
  MacroFlash,
  PolygonFlash,      // no pad of the importer has a polygon's shape and size
  RotatedFlash,      // a rectangle or obround turned by other than a quarter turn
  ApertureWithHole,  // the importer's pads have no hole
  MisdrawnStroke,    // a stroke the importer would draw as something else
  Distorted,         // drawn under an image map that scales unevenly or shears
  CutByClear,        // a kept object that a later clear object cuts
  ClearObject,       // a clear object (it cuts; it creates nothing itself)
  Count
};

// "3 macro flashes", "1 region"
std::string DecomposeReasonText(DecomposeReason reason, std::size_t count);

struct ConvertedLayer {
  std::vector<KeptPad> Pads;
  std::vector<KeptTrack> Tracks;
  std::vector<KeptArc> Arcs;
  std::vector<KeptRectStroke> RectStrokes;
  Pieces Decomposed;
  std::array<std::size_t, static_cast<std::size_t>(DecomposeReason::Count)> DecomposedBy{};
  std::size_t MacroFlashesKept = 0;  // macro flashes of circles and rectangles (or a donut), kept
  std::size_t MacroObjectsKept = 0;  // the pads and arcs they gave

  std::size_t KeptCount() const { return Pads.size() + Tracks.size() + Arcs.size() + RectStrokes.size(); }
};

// How the converter has the reader read a file: areas only where it decomposes, polygons within a
// quarter of the tolerance, no dark area.
Options ReadingOptions(double toleranceMm);

// A conversion that would pass DecomposeOptions::MaxCutEdges: thrown before the cut is made,
// naming the file and the line.
struct WorkBoundError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The bound on cut edges for a file of `bytes`.
int64_t CutEdgesFor(std::uintmax_t bytes);

// The layer as the reader gives it with ReadingOptions (or with every object's area).
ConvertedLayer ConvertLayer(const Layer& layer, const DecomposeOptions& options);

}  // namespace gerberx::convert
