#include "host/Units.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

#include "host/Errors.h"

namespace zz {
namespace {

// Held in extended precision, as the conversions require; 254 / 10000 formed at run time
// would round differently.
constexpr long double kMmPerInch = 0.0254L;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string NumberText(long double value) {
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value), std::chars_format::general, 10);
  return std::string(buffer, result.ptr);
}

[[noreturn]] void ThrowOutOfRange(double x, const char* unit) {
  std::string text = std::isfinite(x) ? NumberText(x) : (std::isnan(x) ? "NaN" : (x < 0 ? "-infinity" : "infinity"));
  throw ERangeError("length " + text + " " + unit + " does not fit in 32-bit internal units");
}

// Holds the extended product as a double, then rounds half to even. The range is checked
// before any conversion: an out-of-range float-to-integer conversion is undefined behaviour.
int32_t RoundToInternal(long double product, double x, const char* unit) {
  if (!(std::fabs(product) < 4.0e9L)) ThrowOutOfRange(x, unit);  // also NaN
  const double rounded = std::nearbyint(static_cast<double>(product));
  if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) ThrowOutOfRange(x, unit);
  return static_cast<int32_t>(rounded);
}

}  // namespace

int32_t MilToInternal(double x) { return RoundToInternal(static_cast<long double>(x) * 10000.0L, x, "mil"); }

int32_t MmToInternal(double x) { return RoundToInternal(static_cast<long double>(x) * 10000.0L / kMmPerInch, x, "mm"); }

double ReadDecimal(std::string_view text) {
  const char* const first = text.data();
  const std::size_t n = text.size();
  std::size_t i = 0;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const std::size_t start = i;

  // Decimal magnitude of the first significant digit, to tell overflow from underflow.
  long long magnitude = 0;
  bool significant = false;
  std::size_t digits = 0;
  for (; i < n && IsDigit(text[i]); ++i, ++digits) {
    if (significant) {
      ++magnitude;
    } else if (text[i] != '0') {
      significant = true;
    }
  }
  if (i < n && text[i] == '.') {
    ++i;
    long long leadingZeros = 0;
    for (; i < n && IsDigit(text[i]); ++i, ++digits) {
      if (!significant) {
        if (text[i] != '0') {
          significant = true;
          magnitude = -(leadingZeros + 1);
        } else {
          ++leadingZeros;
        }
      }
    }
  }
  if (digits == 0) return 0.0;

  long long exponent = 0;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    bool negativeExponent = false;
    if (j < n && (text[j] == '+' || text[j] == '-')) negativeExponent = text[j++] == '-';
    if (j < n && IsDigit(text[j])) {
      for (; j < n && IsDigit(text[j]); ++j) {
        if (exponent < 1000000000) exponent = exponent * 10 + (text[j] - '0');
      }
      if (negativeExponent) exponent = -exponent;
      i = j;
    }
  }

  double value = 0.0;
  const auto result = std::from_chars(first + start, first + i, value, std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    value = significant && magnitude + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (result.ec != std::errc()) {
    value = 0.0;
  }
  return negative ? -value : value;
}

bool TryReadInteger(std::string_view text, int32_t& value) {
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') return false;  // from_chars would take "+-5"
  }
  if (text.empty()) return false;
  int32_t parsed = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), parsed, 10);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return false;
  value = parsed;
  return true;
}

int32_t ParseLength(std::string_view text, bool& imperial) {
  // Statements and table lines hold at most 255 characters (plus a coordinate's padding);
  // longer texts from elsewhere go to the heap.
  char local[320];
  std::string heap;
  char* buffer = local;
  if (text.size() > sizeof local) {
    heap.resize(text.size());
    buffer = heap.data();
  }
  std::size_t length = 0;
  for (const char c : text) {
    if (c == ' ') continue;
    buffer[length++] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }
  if (length == 0 || (buffer[0] >= 'A' && buffer[0] <= 'Z')) return 0;

  std::string_view number(buffer, length);
  bool millimetres = !imperial;
  if (const auto mm = number.find("MM"); mm != std::string_view::npos) {
    number = number.substr(0, mm);
    millimetres = true;
  } else if (const auto mil = number.find("MIL"); mil != std::string_view::npos) {
    number = number.substr(0, mil);
    millimetres = false;
  }

  const double value = ReadDecimal(number);
  const int32_t result = millimetres ? MmToInternal(value) : MilToInternal(value);
  imperial = !millimetres;
  return result;
}

}  // namespace zz
