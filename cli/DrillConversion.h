#pragma once

// `zizozudu convert` on an Excellon drill file: its holes as round pads, its slots and routed
// paths as round tracks and arcs, in a Gerber file the importer reads whole.

#include <ostream>
#include <string>

#include "cli/ConvertCommand.h"

namespace zzcli {

// Whether the file (UTF-8 path) is an Excellon drill file, by its first bytes.
bool IsDrillFile(const std::string& path);

// Where a drill file's conversion goes: -o as given, else ConvertedPath's name with the extension
// ".gd1", which the editor's file dialog shows and the name conventions put on the drill drawing.
std::string DrillConvertedPath(const ConvertCommand& command, const std::string& file);

// Converts one drill file and prints its part of the summary; false after an error on `err`.
bool ConvertDrillFile(const ConvertCommand& command, const std::string& file, std::ostream& out, std::ostream& err);

}  // namespace zzcli
