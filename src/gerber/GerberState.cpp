#include "gerber/GerberState.h"

namespace zz {

// Constant-initialised: zeroed before any code of the library runs.
constinit TGerberState GerberState{};

void ResetModalState(TGerberState& state) {
  state.Operation = TOperation::None;
  state.Interpolation = TInterpolation::Linear;
  state.CoordX = 0;
  state.CoordY = 0;
  state.CoordI = 0;
  state.CoordJ = 0;
  state.CurrentDCode = -1;
  state.PointX = -1;
  state.PointY = -1;
}

}  // namespace zz
