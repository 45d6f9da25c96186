#include "gerberx/CoordinateFormat.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "gerberx/Fields.h"
#include "gerberx/StatementError.h"

namespace gerberx {

namespace {

[[noreturn]] void Fail(const std::string& reason) { throw StatementError(reason); }

}  // namespace

Format ParseFormat(const std::string& text) {
  Format f;
  f.declared = true;
  std::size_t i = 2;
  bool x = false, y = false;
  while (i < text.size()) {
    const char c = text[i++];
    switch (c) {
      case 'L':
        f.zeros = ZeroOmission::Leading;
        break;
      case 'T':
        f.zeros = ZeroOmission::Trailing;
        break;
      case 'D': {
        // Either "no zero omission" right after FS, or a deprecated Dn digit count.
        if (i < text.size() && IsDigit(text[i])) ++i;
        break;
      }
      case 'A':
        f.notation = Notation::Absolute;
        break;
      case 'I':
        f.notation = Notation::Incremental;
        break;
      case 'N':
      case 'G':
      case 'M':
        if (i < text.size() && IsDigit(text[i])) ++i;
        break;
      case 'X':
      case 'Y': {
        if (i + 2 > text.size() || !IsDigit(text[i]) || !IsDigit(text[i + 1]))
          Fail(std::string("%FS: '") + c + "' needs two digits");
        const int a = text[i] - '0', b = text[i + 1] - '0';
        i += 2;
        if (c == 'X')
          f.xInteger = a, f.xDecimal = b, x = true;
        else
          f.yInteger = a, f.yDecimal = b, y = true;
        break;
      }
      default:
        Fail(std::string("%FS: unexpected '") + c + "'");
    }
  }
  if (!x || !y) Fail("%FS without the X and Y digit counts");
  return f;
}

Coord DecodeCoordinate(std::string_view text, const Format& f, bool xAxis, double unitScale) {
  std::string_view digits = text;
  bool negative = false;
  if (!digits.empty() && (digits[0] == '+' || digits[0] == '-')) {
    negative = digits[0] == '-';
    digits.remove_prefix(1);
  }
  if (digits.empty()) Fail("coordinate without digits");
  if (digits.find('.') != std::string_view::npos) {
    const long double grid = std::strtold(std::string(digits).c_str(), nullptr) * static_cast<long double>(unitScale);
    if (!(grid <= kCoordLimit)) Fail("coordinate beyond the reader's range of +-2.7 m");
    const Coord c = static_cast<Coord>(std::llround(grid));
    return negative ? -c : c;
  }
  if (!f.declared) Fail("coordinate before the format statement (%FS)");
  if (digits.size() > 18) Fail("coordinate with more than 18 digits");
  if (digits.find_first_not_of("0123456789") != std::string_view::npos)
    Fail("'" + std::string(text) + "' is not a coordinate");
  const int integer = xAxis ? f.xInteger : f.yInteger;
  const int decimals = xAxis ? f.xDecimal : f.yDecimal;
  int shift = decimals;
  if (f.zeros == ZeroOmission::Trailing) {
    const int total = integer + decimals;
    if (static_cast<int>(digits.size()) > total)
      Fail("coordinate with more digits than the format " + std::to_string(integer) + "." + std::to_string(decimals) +
           " allows");
    shift = decimals - (total - static_cast<int>(digits.size()));
  }
  // Exact in integers: the digits times the grid units per file unit over ten to the shift,
  // rounded half away from zero. An inch is 10^7 units, a millimetre 10^8 / 254.
  const bool inches = unitScale == kUnitsPerInch;
  const std::uint64_t denominator = inches ? 1 : 254;
  const int exponent = (inches ? 7 : 8) - shift;
  std::uint64_t numerator = 0;
  for (const char d : digits) numerator = numerator * 10 + static_cast<std::uint64_t>(d - '0');
  std::uint64_t divisor = denominator;
  const std::uint64_t most = (static_cast<std::uint64_t>(kCoordLimit) + 1) * denominator;
  for (int i = 0; i < exponent; ++i) {
    if (numerator > most) break;  // beyond the range already
    numerator *= 10;
  }
  for (int i = 0; i < -exponent; ++i) divisor *= 10;
  const std::uint64_t grid = numerator / divisor + (numerator % divisor * 2 >= divisor ? 1 : 0);
  if (grid > static_cast<std::uint64_t>(kCoordLimit)) Fail("coordinate beyond the reader's range of +-2.7 m");
  const Coord c = static_cast<Coord>(grid);
  return negative ? -c : c;
}

double DecodeDecimal(const std::string& text, const char* what, std::string& note) {
  note.clear();
  const std::string t = WithoutBlanks(text);
  if (t.empty()) Fail(std::string("missing ") + what);
  char* end = nullptr;
  const double v = std::strtod(t.c_str(), &end);
  if (end == t.c_str() || !std::isfinite(v) || std::isinf(v))
    Fail(std::string("'") + t + "' is not a number (" + what + ")");
  if (end != t.c_str() + t.size()) {
    if (t.find_first_not_of("0123456789.+-") != std::string::npos)
      Fail(std::string("'") + t + "' is not a number (" + what + ")");
    note = std::string("'") + t + "' read as " + t.substr(0, static_cast<std::size_t>(end - t.c_str())) + " (" + what +
           ")";
  }
  return v;
}

}  // namespace gerberx
