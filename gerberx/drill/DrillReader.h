#pragma once
// The reader of Excellon drill files as CAD programs write them: a header tool table (M48 ... %
// or M95) or tools defined in the body, INCH/METRIC with LZ/TZ and digit formats, explicit
// decimal points, absolute (G90) and incremental (G91, ICI,ON) coordinates, drilled holes,
// G85 slots, R repeats, routed paths (G00 ... M15, G01/G02/G03, M16/M17) and the plating the
// file states in its comments.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "gerberx/ReadError.h"
#include "gerberx/convert/Pieces.h"

namespace gerberx::drill {

using convert::IntPoint;

enum class Plating : std::uint8_t { Unknown, Plated, NonPlated, Mixed };

// Lengths in the plug-in's internal units (1/10000 mil), as the converter's objects.
struct Hole {
  IntPoint At;
  std::int64_t Diameter = 0;
};

// A G85 slot or one straight piece of a routed path: a cut of the tool's diameter.
struct Cut {
  IntPoint From, To;
  std::int64_t Diameter = 0;
};

struct RoutedArc {
  IntPoint From, To, Centre;
  bool Clockwise = false;
  std::int64_t Diameter = 0;
};

struct DrillFile {
  std::vector<Hole> Holes;
  std::vector<Cut> Slots;
  std::vector<Cut> RoutedLines;
  std::vector<RoutedArc> RoutedArcs;
  // One entry per routed path (plunge to retract): its tool's diameter.
  std::vector<std::int64_t> RoutedPaths;
  Plating Plated = Plating::Unknown;
  bool Metric = false;
  bool UnitsStated = false;  // false: the inch default

  std::size_t ObjectCount() const { return Holes.size() + Slots.size() + RoutedLines.size() + RoutedArcs.size(); }
};

struct DrillLimits {
  // Holes, slots and routed pieces together, repeats included.
  std::size_t MaxObjects = 10'000'000;
  std::size_t MaxLineLength = 4096;
};

// Throws ReadError naming the file, the line and the offending text.
DrillFile ReadDrillText(std::string_view text, const std::string& fileName, const DrillLimits& limits = {});

// How many of a file's first bytes LooksLikeDrillFile wants.
constexpr std::size_t kDrillHeadBytes = 4096;

// Whether a file that starts with `head` is an Excellon drill file: a header start (M48), a units
// statement (INCH, METRIC) or a tool with its diameter (T1C0.8) before anything that only a Gerber
// file holds (a '*' ending a statement, a '%' parameter, G04).
bool LooksLikeDrillFile(std::string_view head);

}  // namespace gerberx::drill
