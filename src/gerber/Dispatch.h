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
#include <optional>
#include <string_view>

#include "gerber/GerberRun.h"

namespace zz {

// The "+", "-", "." and digit characters right after the first occurrence of key; empty when
// the key does not occur. Points into the statement.
std::string_view ExtractField(std::string_view statement, std::string_view key);

// What dispatch read of a data statement, for the run's observer.
struct DataFields {
  static constexpr int32_t kAbsent = -1;
  int32_t D = kAbsent;  // the D and G numbers; kAbsent without a field or without digits
  int32_t G = kAbsent;
  std::optional<IgnoredKind> IgnoredD;
  std::optional<IgnoredKind> IgnoredG;
  // Which registers the statement loaded (a key with field characters after it).
  bool HasX = false;
  bool HasY = false;
  bool HasI = false;
  bool HasJ = false;
};

// True for a data statement, false for a parameter statement (one holding "%"). A data
// statement only loads the state; carrying out its operation is the caller's next step. An
// %ADD statement with a shape letter counts as an aperture table for the run. Tells the
// observer nothing: the caller reports the statement once it is carried out.
bool DispatchStatement(GerberRun& run, std::string_view statement, DataFields& fields);
bool DispatchStatement(GerberRun& run, std::string_view statement);

// What of a parameter statement is not carried out (aperture macros, polarity, ...), if anything.
std::optional<IgnoredKind> IgnoredParameter(std::string_view statement);

}  // namespace zz
