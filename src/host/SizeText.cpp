#include "host/SizeText.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <string_view>

namespace zz {
namespace {

constexpr int kMilDigits = 3;
constexpr int kMmDigits = 4;

// Each step rounds to a 64-bit double: on x87 the compiler may otherwise carry the extra
// precision of its registers from one step to the next and round the fraction differently.
inline double AsDouble(double x) {
#if defined(FLT_EVAL_METHOD) && FLT_EVAL_METHOD != 0
  volatile double stored = x;
  return stored;
#else
  return x;
#endif
}

// Rounds the fraction of `value` to 1/scale (halves to even), writes it with `digits` decimals
// and strips trailing zeros.
TShortString<255> FormatLength(double value, double scale, int digits, std::string_view unit) {
  const double whole = std::trunc(value);
  double fraction = AsDouble(value - whole);
  // nearbyint follows the rounding mode, which is round-half-to-even unless someone changed it.
  fraction = AsDouble(std::nearbyint(AsDouble(fraction * scale)) / scale);
  double rounded = AsDouble(whole + fraction);
  // A small negative length rounds to -0; it reads as 0.
  if (rounded == 0.0) rounded = 0.0;

  char digitsText[64];
  const auto [end, error] =
      std::to_chars(digitsText, digitsText + sizeof digitsText, rounded, std::chars_format::fixed, digits);
  // Rounded to the fraction's finer step, a small negative length can still print as zero.
  const std::string_view number =
      WithoutNegativeZero(std::string_view(digitsText, static_cast<std::size_t>(end - digitsText)));
  TShortString<255> text;
  // to_chars never ends past the buffer; the bound is written out because GCC 12 at -O3 does not
  // see it and warns of a copy of up to 254 bytes from these 64 (-Warray-bounds, a false positive).
  if (error == std::errc{} && number.size() <= sizeof digitsText) text.Assign(number);
  text = StripTrailingZeros(text);
  text.Append(unit);
  return text;
}

}  // namespace

std::string_view WithoutNegativeZero(std::string_view number) {
  if (!number.empty() && number.front() == '-' && number.find_first_not_of("-0.") == std::string_view::npos) {
    number.remove_prefix(1);
  }
  return number;
}

TShortString<255> FormatMilText(int32_t value) {
  const double mils = AsDouble(static_cast<double>(value) / 10000.0);
  return FormatLength(mils, 1000.0, kMilDigits, "mil");
}

TShortString<255> FormatMmText(int32_t value) {
  const double millimetres = AsDouble(AsDouble(static_cast<double>(value) * 0.0254) / 10000.0);
  return FormatLength(millimetres, 100000.0, kMmDigits, "mm");
}

TShortString<255> FormatSizeText(int32_t value, bool imperial) {
  return imperial ? FormatMilText(value) : FormatMmText(value);
}

TShortString<255> StripTrailingZeros(const TShortString<255>& text) {
  std::string_view s = text.View();
  // Without a decimal point the zeros are significant: "100" must not become "1".
  if (s.find('.') == std::string_view::npos) return text;
  while (!s.empty() && s.back() == '0') s.remove_suffix(1);
  if (!s.empty() && s.back() == '.') s.remove_suffix(1);
  return TShortString<255>(s);
}

}  // namespace zz
