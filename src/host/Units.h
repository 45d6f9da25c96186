#pragma once

// Conversions from file units to internal units (1/10000 mil) and the length parser shared by
// the Gerber interpreter and the aperture table file readers.

#include <cstdint>
#include <string_view>

namespace zz {

constexpr int32_t kInternalPerMil = 10000;

// x * 10000, rounded half to even in extended precision. Raises ERangeError beyond 32 bits.
int32_t MilToInternal(double x);
// x * 10000 / 0.0254, rounded half to even in extended precision. Raises ERangeError beyond 32 bits.
int32_t MmToInternal(double x);

// A length written as text with an optional "MM" or "MIL" suffix; `imperial` is the unit of a
// bare number (true = mil) and becomes the unit used.
int32_t ParseLength(std::string_view text, bool& imperial);

// The longest decimal number at the start of the text (sign, digits, point, exponent), read
// without regard to the C locale; no digits at all read as 0, an overflow as an infinity.
double ReadDecimal(std::string_view text);
// A whole text that is a decimal integer (optional sign, digits) within 32 bits.
bool TryReadInteger(std::string_view text, int32_t& value);

}  // namespace zz
