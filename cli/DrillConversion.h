#pragma once

// `zizozudu convert` on an Excellon drill file: its holes as round pads, its slots and routed
// paths as round tracks and arcs, in a Gerber file the importer reads whole.

#include <ostream>
#include <string>

#include "cli/ConvertCommand.h"

namespace zzcli {

// Where a drill file given alone goes: -o as given, else NAME.converted.gd1 beside it or NAME.gd1
// in --out-dir; ".gd1", which the editor's file dialog shows and the name conventions put on the
// drill drawing.
std::string DrillConvertedPath(const ConvertCommand& command, const std::string& file);

// Converts one drill file (`shown` as the summary names it) into `target` and prints its part of
// the summary; false after an error on `err`.
bool ConvertDrillFile(const ConvertCommand& command, const std::string& file, const std::string& shown,
                      const std::string& target, std::ostream& out, std::ostream& err);

}  // namespace zzcli
