// Coordinate decoding, the format statement and the length parser, under any format state.
//
// Input: a routine byte, the format state (integer and decimal digit counts as 32-bit values,
// which no format statement could produce, and a byte of flags), then the text.
//
// Besides crashes and sanitizer findings, a finding is: an exception other than the plug-in's
// own; a negated digit string that does not decode to the negated value; a format statement
// that leaves a digit count outside 0..9, or that fails and still changes the state.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzSupport.h"
#include "gerber/Coordinates.h"
#include "gerber/GerberState.h"
#include "host/Units.h"

namespace {

using zzfuzz::Fail;

bool OnlyDigits(std::string_view text) {
  if (text.empty()) return false;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

bool SameFormat(const zz::TGerberState& a, const zz::TGerberState& b) {
  return a.IntegerDigits == b.IntegerDigits && a.DecimalDigits == b.DecimalDigits &&
         a.LeadingZerosOmitted == b.LeadingZerosOmitted && a.TrailingZerosOmitted == b.TrailingZerosOmitted &&
         a.MultiQuadrant == b.MultiQuadrant && a.Imperial == b.Imperial;
}

void Decode(const zz::TGerberState& state, std::string_view text) {
  int32_t value = 0;
  if (!zzfuzz::AllowingOwnExceptions([&] { value = zz::DecodeCoordinate(state, text); })) return;
  if (!OnlyDigits(text)) return;
  // The sign is taken off before any padding, so it can only negate.
  // GCC 12 at -O3 sees an overlapping copy inside libstdc++'s "text" + std::string (-Wrestrict), a
  // known false positive of that compiler.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
#endif
  const std::string negated = "-" + std::string(text);
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
  int32_t negative = 0;
  if (!zzfuzz::AllowingOwnExceptions([&] { negative = zz::DecodeCoordinate(state, negated); })) {
    Fail("a negated coordinate does not decode", negated);
  }
  if (negative != -value) Fail("a negated coordinate decodes to another value", negated);
}

void Format(const zz::TGerberState& before, std::string_view text) {
  zz::TGerberState state = before;
  const bool applied = zzfuzz::AllowingOwnExceptions([&] { zz::ReadFormatStatement(state, text); });
  if (!applied) {
    if (!SameFormat(state, before)) Fail("a rejected format statement changed the format");
    return;
  }
  if (!SameFormat(state, before) &&
      (state.IntegerDigits < 0 || state.IntegerDigits > 9 || state.DecimalDigits < 0 || state.DecimalDigits > 9)) {
    Fail("a format statement set a digit count outside 0..9");
  }
}

void Length(bool imperial, std::string_view text) {
  zzfuzz::AllowingOwnExceptions([&] {
    bool flag = imperial;
    (void)zz::ParseLength(text, flag);
  });
  (void)zz::ReadDecimal(text);
  int32_t integer = 0;
  (void)zz::TryReadInteger(text, integer);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  zzfuzz::CheckEveryThrow();
  zzfuzz::ByteReader reader(data, size);
  const uint8_t routine = reader.Byte();
  zz::TGerberState state;
  state.IntegerDigits = reader.Int32();
  state.DecimalDigits = reader.Int32();
  const uint8_t flags = reader.Byte();
  state.Imperial = (flags & 1) != 0;
  state.LeadingZerosOmitted = (flags & 2) != 0;
  state.TrailingZerosOmitted = (flags & 4) != 0;
  state.MultiQuadrant = (flags & 8) != 0;
  const std::string_view text = reader.Rest();

  switch (routine % 3) {
    case 0:
      Decode(state, text);
      break;
    case 1:
      Format(state, text);
      break;
    default:
      Length(state.Imperial, text);
      break;
  }
  return 0;
}
