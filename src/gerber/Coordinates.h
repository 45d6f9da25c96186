#pragma once

// The format statement and the decoding of X, Y, I and J digit strings into internal units.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "gerber/GerberState.h"

namespace zz {

// Applies a format statement: the two X digit counts, the zero flags, and single-quadrant
// mode. Without an "X" nothing changes. A digit count that is not a digit "0".."9" (or is
// missing) raises EConversionError naming it; the state is then left unchanged.
void ReadFormatStatement(TGerberState& state, std::string_view statement);

// A field's digits ("+", "-", "." and digits) as a signed length in internal units, by the
// current format and units. A sign is removed before any zeros are added. A text that is not
// a whole number once padded reads as its longest leading number; a value beyond 32 bits
// raises ERangeError.
int32_t DecodeCoordinate(const TGerberState& state, std::string_view digits);

// Decoding a field of plain digits, with what depends only on the format and units worked out
// once per digit count: a run decodes millions of coordinates in a format that rarely changes.
class DigitScales {
 public:
  static constexpr std::size_t kMaxLength = 15;  // below 2^53, so the digits are held exactly

  // For the state's format and units; does nothing when they are those of the last call.
  void Prepare(const TGerberState& state);
  // DecodeCoordinate of a field of `length` digits (1 to 15, no sign, no point) that read
  // `digits` as a whole number, for a caller that has read them already, in the prepared format
  // and units. False when such a field needs the general road (more than 15 digits once
  // padded); DecodeCoordinate then gives its value.
  bool Decode(uint64_t digits, std::size_t length, int32_t& result) const;
  // Decode in the state's format and units, working out only this digit count's scale.
  static bool DecodeOnce(const TGerberState& state, uint64_t digits, std::size_t length, int32_t& result);

 private:
  struct Scale {
    uint64_t Padding = 0;  // 10^(trailing zeros added); 0: the general road
    uint64_t Exact = 0;    // Padding x 10^(4 - decimals) when that gives internal units exactly, else 0
    uint8_t Decimals = 0;  // of the padded number, read in mils for inches
  };
  // What the state's format and units make of `length` (1 to 15) digits.
  static Scale ScaleFor(const TGerberState& state, std::size_t length);
  static bool Apply(const Scale& scale, bool imperial, uint64_t digits, int32_t& result);

  // What the scales were worked out for.
  struct Format {
    int32_t IntegerDigits, DecimalDigits;
    bool Imperial, LeadingZerosOmitted, TrailingZerosOmitted;
    bool operator==(const Format&) const = default;
  };
  bool prepared_ = false;
  Format format_{};
  bool imperial_ = false;
  Scale scales_[kMaxLength + 1];
};

}  // namespace zz
