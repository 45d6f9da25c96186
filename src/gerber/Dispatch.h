#pragma once

// Applies one statement to the modal state: the D, G, X, Y, I and J fields of a data
// statement, the units and aperture definitions of a parameter statement. Key letters match
// in upper case only and only their first occurrence counts, so the fields of a G04 comment
// act like any others.
//
// A D, G or ADD field without any digit (the "-" of "D-CODE" in a comment, the "ADDR" of an
// attribute's text) counts as absent: such text must not end an import.
//
// Errors (neither is caught here; the statement's road adds its line and text, Interpreter.h):
// - EConversionError: a D, G or ADD field with digits that is not a decimal integer within 32 bits;
// - ERangeError: a coordinate or size whose value in internal units does not fit in 32 bits.
// Both messages name the offending text.

#include <cstdint>
#include <string_view>

#include "gerber/GerberRun.h"

namespace zz {

// The "+", "-", "." and digit characters right after the first occurrence of key; empty when
// the key does not occur. Points into the statement.
std::string_view ExtractField(std::string_view statement, std::string_view key);

// True for a data statement, false for a parameter statement (one holding "%"). A data
// statement only loads the state; carrying out its operation is the caller's next step. An
// %ADD statement with a shape letter counts as an aperture table for the run.
bool DispatchStatement(GerberRun& run, std::string_view statement);

// Tells the run's observer, if any, what of a parameter statement is not carried out (aperture
// macros, polarity, ...). DispatchStatement does it for the statements it applies.
void ReportIgnoredParameter(const GerberRun& run, std::string_view statement);

}  // namespace zz
