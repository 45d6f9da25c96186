#pragma once

// Carries out the operation of a data statement once its fields are loaded: a move sets the
// current point, a draw creates a track (a fill for a rectangle aperture) or an arc, a flash a
// pad. Every primitive goes onto the run board's current layer, created in the host at once.
// A value that no 32-bit coordinate can hold (an arc centre or a fill corner beyond the range)
// raises ERangeError; nothing is created for that statement.

#include "apertures/Aperture.h"
#include "gerber/GerberRun.h"
#include "gerber/StatementObserver.h"

namespace zz {

// Carries out the state's operation with the current D-code's aperture, looked up by the
// caller: null for a D-code without one, which draws and flashes with sizes 0 and shape round.
// Returns the kind of object it asked the host for.
MadeObject ExecuteStatement(GerberRun& run, const TAperture* aperture);

// The pad shape code written for an aperture shape code.
uint8_t PadShapeForAperture(uint8_t apertureShape);

}  // namespace zz
