#pragma once

// The format statement and the decoding of X, Y, I and J digit strings into internal units.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "gerber/GerberState.h"

namespace zz {

// Applies a format statement: the two X digit counts, the zero flags, and single-quadrant
// mode. Without an "X" nothing changes. A digit count that is not a digit "0".."9" (or is
// missing) raises EConversionError naming the statement; the state is then left unchanged.
void ReadFormatStatement(TGerberState& state, std::string_view statement);

// A field's digits ("+", "-", "." and digits) as a signed length in internal units, by the
// current format and units. A sign is removed before any zeros are added. A text that is not
// a whole number once padded reads as its longest leading number; a value beyond 32 bits
// raises ERangeError.
int32_t DecodeCoordinate(const TGerberState& state, std::string_view digits);

// DecodeCoordinate of a field of `length` digits (1 to 15, no sign, no point) that read `digits`
// as a whole number, for a caller that has read them already. False when such a field needs the
// general road (more than 15 digits once padded); DecodeCoordinate then gives its value.
bool DecodeDigitValue(const TGerberState& state, uint64_t digits, std::size_t length, int32_t& result);

}  // namespace zz
