#pragma once

#include <string>

#include "host/PcbApiEntries.h"

namespace zz {

// One import run: reads the Gerber file into the board (0 = the host's current board) and
// returns true when the whole file was read. Whatever goes wrong is shown to the user once,
// through the error message routine, naming the file and, where there is one, the line and
// the statement; the file, the progress display, the board wrapper and the aperture table are
// released on every path, and the objects already added stay in the board.
bool RunImport(const std::string& fileName, THandle boardHandle);

}  // namespace zz
