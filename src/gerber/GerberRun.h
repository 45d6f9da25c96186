#pragma once

// What the interpreter reaches of one import run. The import run owns the file, the aperture
// table and the board and builds this context around them for the run's duration; the modal
// state it refers to belongs to the library and outlives the run.

#include <cstdint>

#include "apertures/ApertureFile.h"
#include "gerber/Coordinates.h"
#include "gerber/GerberState.h"
#include "gerber/StatementObserver.h"
#include "host/TextFile.h"

namespace zz {

class TPcbBoard;

struct GerberRun {
  GerberRun(TextFile& file, TApertureFile& apertureTable, TPcbBoard* board, TGerberState& state = GerberState)
      : File(file), ApertureTable(apertureTable), Board(board), State(state) {}
  GerberRun(const GerberRun&) = delete;
  GerberRun& operator=(const GerberRun&) = delete;

  TextFile& File;
  TApertureFile& ApertureTable;
  TPcbBoard* Board;
  TGerberState& State;
  // Told what the interpreter ignores; null (the editor's case) for nobody.
  StatementObserver* Observer = nullptr;
  // An aperture table file was found, or a definition statement has been read.
  bool HaveApertureTable = false;
  // The reader's line, from 1: every line end skipped, and every lone line feed read, starts
  // the next one, so the number matches what an editor shows for CR LF and LF files alike.
  int32_t LineNumber = 1;
  // The line on which the last statement read began; for messages about that statement.
  int32_t StatementLine = 1;
  // Tracks, fills, arcs and pads the host failed to create; the run goes on without them.
  int32_t ObjectsNotCreated = 0;
  // The state's format and units worked out for decoding coordinates.
  DigitScales Scales;
};

}  // namespace zz
