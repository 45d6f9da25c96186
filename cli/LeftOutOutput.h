#pragma once

// What an import leaves out, as the tool shows it: the summary's lines, the dump's "left_out"
// value and the areas drawn over the board.

#include <string>
#include <vector>

#include "cli/BoardSvg.h"
#include "cli/Summary.h"
#include "report/LeftOut.h"

namespace zzcli {

// The summary's lines (each ending with a line feed) and the dump's "left_out" value.
std::string LeftOutSummary(const zzreport::LeftOutAnalysis& analysis);
std::string LeftOutJson(const zzreport::LeftOutAnalysis& analysis);

// The left-out and added areas of the reports that have them, to draw over the board.
std::vector<SvgOverlay> LeftOutOverlays(const std::vector<ImportReport>& reports);

}  // namespace zzcli
