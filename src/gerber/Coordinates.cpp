#include "gerber/Coordinates.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "host/Errors.h"
#include "host/ShortString.h"
#include "host/Units.h"

namespace zz {
namespace {

// Digit counts are single characters, so a format never asks for more than 9 + 9 digits.
constexpr int32_t kMaxDigitCount = 9;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The digit count at `position` of the upper-cased statement, or an error naming it.
int32_t DigitCount(std::string_view upper, std::size_t position, const char* what) {
  if (position >= upper.size()) throw EConversionError(std::string(what) + " digit count is missing");
  const char c = upper[position];
  if (!IsDigit(c)) {
    throw EConversionError(std::string(what) + " digit count \"" + std::string(1, c) + "\" is not a valid integer");
  }
  return c - '0';
}

// Exact powers of ten, as doubles.
constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// The usual field, digits only and at most 15 of them once padded, without building the padded
// and pointed text: the digits as an integer over a power of ten is the same correctly rounded
// double that reading the text gives, and it goes through the same conversion. False for
// anything else, which takes the general road.
bool DecodePlainDigits(const TGerberState& state, std::string_view digits, int32_t& result) {
  if (digits.empty() || digits.size() > DigitScales::kMaxLength) return false;
  uint64_t n = 0;
  for (const char c : digits) {
    if (!IsDigit(c)) return false;
    n = n * 10 + static_cast<uint64_t>(c - '0');
  }
  return DigitScales::DecodeOnce(state, n, digits.size(), result);
}

}  // namespace

void DigitScales::Prepare(const TGerberState& state) {
  const Format format{state.IntegerDigits, state.DecimalDigits, state.Imperial, state.LeadingZerosOmitted,
                      state.TrailingZerosOmitted};
  if (prepared_ && format == format_) return;
  prepared_ = true;
  format_ = format;
  imperial_ = state.Imperial;
  for (std::size_t length = 1; length <= kMaxLength; ++length) scales_[length] = ScaleFor(state, length);
}

DigitScales::Scale DigitScales::ScaleFor(const TGerberState& state, std::size_t length) {
  const auto integerDigits = static_cast<std::size_t>(std::clamp(state.IntegerDigits, 0, kMaxDigitCount));
  const auto decimalDigits = static_cast<std::size_t>(std::clamp(state.DecimalDigits, 0, kMaxDigitCount));
  const std::size_t width = integerDigits + decimalDigits;
  Scale scale;
  uint64_t padding = 1;
  if (state.TrailingZerosOmitted && length < width) {
    if (width > kMaxLength) return scale;
    for (; length < width; ++length) padding *= 10;
  }
  if (state.LeadingZerosOmitted && length < width) length = width;
  const std::size_t point = std::min(state.Imperial ? integerDigits + 3 : integerDigits, length);
  const std::size_t decimals = length - point;  // at most 9: the point is never before the decimal digits
  scale.Padding = padding;
  scale.Decimals = static_cast<uint8_t>(decimals);
  // Mils with at most four decimals are a whole number of internal units; the conversion's
  // rounding errors stay far below half a unit in the 32-bit range, so it would give exactly this.
  if (state.Imperial && decimals <= 4) scale.Exact = padding * static_cast<uint64_t>(kPowersOfTen[4 - decimals]);
  return scale;
}

bool DigitScales::Apply(const Scale& scale, bool imperial, uint64_t digits, int32_t& result) {
  if (scale.Padding == 0) return false;
  if (scale.Exact != 0) {
    const uint64_t units = digits * scale.Exact;
    if (units <= static_cast<uint64_t>(INT32_MAX)) {
      result = static_cast<int32_t>(units);
      return true;
    }
  }
  const double value = static_cast<double>(digits * scale.Padding) / kPowersOfTen[scale.Decimals];
  result = imperial ? MilToInternal(value) : MmToInternal(value);
  return true;
}

bool DigitScales::Decode(uint64_t digits, std::size_t length, int32_t& result) const {
  if (length == 0 || length > kMaxLength) return false;
  return Apply(scales_[length], imperial_, digits, result);
}

bool DigitScales::DecodeOnce(const TGerberState& state, uint64_t digits, std::size_t length, int32_t& result) {
  if (length == 0 || length > kMaxLength) return false;
  return Apply(ScaleFor(state, length), state.Imperial, digits, result);
}

void ReadFormatStatement(TGerberState& state, std::string_view statement) {
  TShortString<255> upper(statement);
  for (std::size_t i = 0; i < upper.Size(); ++i) {
    char& c = upper.Chars[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  const std::string_view text = upper.View();
  const std::size_t x = text.find('X');
  if (x == std::string_view::npos) return;
  // Both counts are checked before anything changes, so a bad statement leaves the state alone.
  const int32_t integerDigits = DigitCount(text, x + 1, "integer");
  const int32_t decimalDigits = DigitCount(text, x + 2, "decimal");
  state.IntegerDigits = integerDigits;
  state.DecimalDigits = decimalDigits;
  state.LeadingZerosOmitted = text.find('L') != std::string_view::npos;
  state.TrailingZerosOmitted = text.find('T') != std::string_view::npos;
  state.MultiQuadrant = false;
}

int32_t DecodeCoordinate(const TGerberState& state, std::string_view digits) {
  // "+" is a sign like "-": left in the text it would count as a digit and shift the value.
  int64_t sign = 1;
  if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
    if (digits.front() == '-') sign = -1;
    digits.remove_prefix(1);
  }

  const std::size_t integerDigits = static_cast<std::size_t>(std::clamp(state.IntegerDigits, 0, kMaxDigitCount));
  const std::size_t decimalDigits = static_cast<std::size_t>(std::clamp(state.DecimalDigits, 0, kMaxDigitCount));
  const std::size_t width = integerDigits + decimalDigits;

  if (int32_t value = 0; DecodePlainDigits(state, digits, value)) {
    return static_cast<int32_t>(sign * value);
  }

  // A field holds at most 254 characters; anything longer (not from a statement) goes to the heap.
  char local[320];
  std::string heap;
  char* text = local;
  if (digits.size() + width + 1 > sizeof local) {
    heap.resize(digits.size() + width + 1);
    text = heap.data();
  }
  std::size_t length = digits.size();
  if (length != 0) std::memcpy(text, digits.data(), length);

  if (state.TrailingZerosOmitted) {
    while (length < width) text[length++] = '0';
  }
  if (state.LeadingZerosOmitted && length < width) {
    const std::size_t pad = width - length;
    std::memmove(text + pad, text, length);
    std::memset(text, '0', pad);
    length = width;
  }
  // In inches the point goes three places further right, so that the number reads in mils.
  const std::size_t point = std::min(state.Imperial ? integerDigits + 3 : integerDigits, length);
  std::memmove(text + point + 1, text + point, length - point);
  text[point] = '.';
  ++length;

  bool imperial = state.Imperial;
  const int64_t value = sign * ParseLength(std::string_view(text, length), imperial);
  if (value < INT32_MIN || value > INT32_MAX) {
    throw ERangeError("coordinate " + std::string(sign < 0 ? "-" : "") + std::string(digits) +
                      " does not fit in 32-bit internal units");
  }
  return static_cast<int32_t>(value);
}

}  // namespace zz
