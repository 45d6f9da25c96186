#pragma once

// The interpreter's modal state. One object lives for as long as the library is loaded, zeroed
// at load; each run resets part of it after the format statement and inherits the rest from
// the run before (units, format, quadrant mode, full-circle flag).

#include <cstdint>

namespace zz {

enum class TOperation : uint8_t { None = 0, Move = 1, Draw = 2, Flash = 3 };
enum class TInterpolation : uint8_t { Linear = 0, Clockwise = 1, CounterClockwise = 2 };

struct TGerberState {
  // Not reset per run.
  bool Imperial = false;  // file lengths in inches (false: millimetres)
  int32_t IntegerDigits = 0;
  int32_t DecimalDigits = 0;
  bool LeadingZerosOmitted = false;
  bool TrailingZerosOmitted = false;
  bool MultiQuadrant = false;
  bool FullCircleEnabled = false;
  // Reset per run.
  TOperation Operation = TOperation::None;
  TInterpolation Interpolation = TInterpolation::Linear;
  int32_t CoordX = 0;
  int32_t CoordY = 0;
  int32_t CoordI = 0;
  int32_t CoordJ = 0;
  int32_t CurrentDCode = 0;
  int32_t PointX = 0;
  int32_t PointY = 0;
};

// The library's modal state.
extern TGerberState GerberState;

// The per-run reset: no operation, linear, registers 0, no D-code and the current point at
// (-1, -1).
void ResetModalState(TGerberState& state);

}  // namespace zz
