#pragma once

// Lengths in internal units (1/10000 mil) written as mil or millimetre texts.

#include <cstdint>
#include <string_view>

#include "host/ShortString.h"

namespace zz {

TShortString<255> FormatMilText(int32_t value);  // 3 decimals, trailing zeros stripped, "mil"
TShortString<255> FormatMmText(int32_t value);   // 4 decimals, trailing zeros stripped, "mm"
TShortString<255> FormatSizeText(int32_t value, bool imperial);
TShortString<255> StripTrailingZeros(const TShortString<255>& text);
// A printed number without the sign of a value that rounded to zero ("-0.00" -> "0.00").
std::string_view WithoutNegativeZero(std::string_view number);

}  // namespace zz
