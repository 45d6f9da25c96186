#pragma once

// `zizozudu convert` on an Excellon drill file: its holes as round pads, its slots and routed
// paths as round tracks and arcs, in a Gerber file the importer reads whole.

#include <ostream>
#include <string>

#include "cli/ConvertCommand.h"

namespace zzcli {

// Converts one drill file (`shown` as the summary names it) into `target` and prints its part of
// the summary; false after an error on `err`.
bool ConvertDrillFile(const ConvertCommand& command, const std::string& file, const std::string& shown,
                      const std::string& target, std::ostream& out, std::ostream& err);

}  // namespace zzcli
