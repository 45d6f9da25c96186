#pragma once

// Parameter strings: "|"-separated name=value pairs, as keyed aperture table lines hold them.
// The first "=" of a pair splits it; name and value are trimmed of characters with codes up to
// 32; names compare without regard to ASCII letter case and the first pair of a name wins.

#include <cstdint>
#include <string_view>

#include "host/ShortString.h"

namespace zz {

// The pairs of one line, at most 255 characters of it.
class TParameterString {
 public:
  void Parse(std::string_view line);
  bool Find(std::string_view name, std::string_view& value) const;
  std::string_view Line() const { return text_.View(); }

 private:
  struct Pair {
    uint8_t NameStart, NameLength, ValueStart, ValueLength;
  };
  TShortString<255> text_;
  // A pair needs at least a name character and "="; with its separator no more than 128 fit.
  Pair pairs_[128] = {};
  std::size_t count_ = 0;
};

// Looks a name up in a line. The pairs of the last line asked about are kept, so the several
// look-ups of one keyed line parse it once. False (value emptied) when the name is missing.
bool GetParameter(std::string_view line, std::string_view name, TShortString<255>& value);
// How many times GetParameter has parsed a line; lets tests see the cache at work.
uint32_t ParameterLineParseCount();

// Adds "name=value" at the end, "|" before it unless the text is empty. The value is trimmed;
// an empty value is written as a single blank.
void SetParameter(TShortString<255>& text, std::string_view name, std::string_view value);

}  // namespace zz
