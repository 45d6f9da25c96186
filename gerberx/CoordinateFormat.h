#pragma once
// The numbers of a statement: the coordinate format (%FS), coordinates in it, and decimal fields.
// Each throws StatementError with the reason a field cannot be read.

#include <string>
#include <string_view>

#include "gerberx/Layer.h"

namespace gerberx {

// The %FS statement's text without blanks, "FS" included.
Format ParseFormat(const std::string& text);
// A coordinate ("-0025", "1.5") in grid units. unitScale: grid units per file unit (an inch or a
// millimetre). Digits without a point are read in the format, with its omitted zeros.
Coord DecodeCoordinate(std::string_view text, const Format& format, bool xAxis, double unitScale);
// A decimal field; `what` names it in the messages. A run of digits with two points, as broken
// writers leave, gives its leading number, and `note` says so (empty otherwise).
double DecodeDecimal(const std::string& text, const char* what, std::string& note);

}  // namespace gerberx
