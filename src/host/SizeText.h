#pragma once

// Lengths in internal units (1/10000 mil) written as mil or millimetre texts.

#include <cstdint>

#include "host/ShortString.h"

namespace zz {

TShortString<255> FormatMilText(int32_t value);   // 3 decimals, trailing zeros stripped, "mil"
TShortString<255> FormatMmText(int32_t value);    // 4 decimals, trailing zeros stripped, "mm"
TShortString<255> FormatSizeText(int32_t value, bool imperial);
TShortString<255> StripTrailingZeros(const TShortString<255>& text);

}  // namespace zz
