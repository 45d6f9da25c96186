#pragma once

// What the converter writes: the objects the importer creates, in its internal units
// (1/10000 mil), before they become Gerber statements.

#include <cstdint>
#include <vector>

namespace gerberx::convert {

struct IntPoint {
  int64_t X = 0;
  int64_t Y = 0;
  friend bool operator==(const IntPoint&, const IntPoint&) = default;
};

// An axis-aligned box, X1 <= X2 and Y1 <= Y2.
struct FillBox {
  int64_t X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
};

// A stroke of a round aperture.
struct RoundTrack {
  IntPoint A, B;
  int64_t Width = 0;
};

// A stroke of a round aperture along a circle, counter-clockwise from StartDeg to EndDeg (a full
// circle when they are 0 and 360).
struct RoundArc {
  IntPoint Centre;
  int64_t Radius = 0;
  double StartDeg = 0.0;
  double EndDeg = 360.0;
  int64_t Width = 0;
};

struct RoundDisc {
  IntPoint Centre;
  int64_t Diameter = 0;
};

struct Pieces {
  std::vector<FillBox> Fills;
  std::vector<RoundTrack> Tracks;
  std::vector<RoundArc> Arcs;
  std::vector<RoundDisc> Discs;

  std::size_t Count() const { return Fills.size() + Tracks.size() + Arcs.size() + Discs.size(); }
};

}  // namespace gerberx::convert
