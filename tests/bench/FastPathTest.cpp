// The shortcuts taken for speed against the general algorithms they stand in for: coordinate
// digits decoded without the padded text, statement keys found in one pass.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "apertures/ApertureFile.h"
#include "gen/GerberGenerator.h"
#include "gerber/Coordinates.h"
#include "gerber/Dispatch.h"
#include "gerber/GerberRun.h"
#include "host/Errors.h"
#include "host/TextFile.h"
#include "host/Units.h"

namespace zzbench {
namespace {

// DecodeCoordinate spelled out: the sign taken off, zeros added, the point put in, the text read
// by ParseLength. Empty when the value does not fit in 32 bits.
std::optional<int32_t> Reference(const zz::TGerberState& state, std::string digits) {
  int64_t sign = 1;
  if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) {
    sign = digits[0] == '-' ? -1 : 1;
    digits.erase(0, 1);
  }
  const std::size_t integer = static_cast<std::size_t>(std::clamp(state.IntegerDigits, 0, 9));
  const std::size_t width = integer + static_cast<std::size_t>(std::clamp(state.DecimalDigits, 0, 9));
  if (state.TrailingZerosOmitted && digits.size() < width) digits.append(width - digits.size(), '0');
  if (state.LeadingZerosOmitted && digits.size() < width) digits.insert(0, width - digits.size(), '0');
  digits.insert(std::min(state.Imperial ? integer + 3 : integer, digits.size()), 1, '.');
  bool imperial = state.Imperial;
  try {
    const int64_t value = sign * zz::ParseLength(digits, imperial);
    if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(value);
  } catch (const zz::ERangeError&) {
    return std::nullopt;
  }
}

std::optional<int32_t> Decoded(const zz::TGerberState& state, const std::string& digits) {
  try {
    return zz::DecodeCoordinate(state, digits);
  } catch (const zz::ERangeError&) {
    return std::nullopt;
  }
}

// Every format of up to 9 + 9 digits, both units, every zero rule, digit strings of 1 to 18
// digits with and without a sign: the shortcut must give what the text would.
TEST(FastPaths, PlainDigitsDecodeAsTheirPaddedAndPointedText) {
  Random rng(2024);
  int compared = 0;
  for (int integer = 0; integer <= 9; ++integer) {
    for (int decimals = 0; decimals <= 9; ++decimals) {
      for (int flags = 0; flags < 8; ++flags) {
        zz::TGerberState state;
        state.IntegerDigits = integer;
        state.DecimalDigits = decimals;
        state.Imperial = (flags & 1) != 0;
        state.LeadingZerosOmitted = (flags & 2) != 0;
        state.TrailingZerosOmitted = (flags & 4) != 0;
        for (int n = 0; n < 40; ++n) {
          std::string digits;
          const int64_t length = rng.Range(1, 18);
          for (int64_t i = 0; i < length; ++i) digits += static_cast<char>('0' + rng.Range(0, 9));
          if (rng.Percent(30)) digits.insert(0, rng.Percent(50) ? "-" : "+");
          ASSERT_EQ(Decoded(state, digits), Reference(state, digits))
              << digits << " in " << integer << "." << decimals << " flags " << flags;
          ++compared;
        }
      }
    }
  }
  EXPECT_EQ(compared, 10 * 10 * 8 * 40);
}

// Around the exact halves in millimetres and the 32-bit edge in inches, where rounding decides.
TEST(FastPaths, EdgesOfRoundingAndRangeMatchTheText) {
  zz::TGerberState mm;
  mm.IntegerDigits = 3;
  mm.DecimalDigits = 5;
  mm.LeadingZerosOmitted = true;
  for (const char* digits : {"127", "254", "3175", "00127", "635", "1", "99999999", "12700000"}) {
    EXPECT_EQ(Decoded(mm, digits), Reference(mm, digits)) << digits;
  }
  zz::TGerberState inch;
  inch.Imperial = true;
  inch.IntegerDigits = 2;
  inch.DecimalDigits = 4;
  inch.LeadingZerosOmitted = true;
  for (const char* digits : {"2147483", "2147484", "214748", "-2147483", "-2147484", "999999999999999"}) {
    EXPECT_EQ(Decoded(inch, digits), Reference(inch, digits)) << digits;
  }
}

class DispatchKeys : public ::testing::Test {
 protected:
  zz::TextFile file_;
  zz::TApertureFile table_;
  zz::TGerberState state_;
  zz::GerberRun run_{file_, table_, nullptr, state_};
};

// Random data statements over the key letters, field characters and a few others: the
// registers end up as ExtractField of each key would have them, and so do the errors.
TEST_F(DispatchKeys, OnePassFindsTheFirstOccurrenceOfEveryKey) {
  const std::string alphabet = "DGXYIJdxM*0123456789+-. ,";
  Random rng(77);
  for (int n = 0; n < 20000; ++n) {
    std::string statement;
    for (int64_t i = rng.Range(0, 24); i > 0; --i) {
      statement += alphabet[static_cast<std::size_t>(rng.Range(0, alphabet.size() - 1))];
    }
    state_ = zz::TGerberState{};
    state_.Imperial = true;
    state_.IntegerDigits = 2;
    state_.DecimalDigits = 4;
    state_.LeadingZerosOmitted = true;

    zz::TGerberState expected = state_;
    bool expectThrow = false;
    try {
      const auto integer = [&](std::string_view field, int32_t& value) {
        if (!zz::TryReadInteger(field, value)) throw zz::EConversionError("not an integer");
      };
      expected.Operation = zz::TOperation::None;
      if (const auto d = zz::ExtractField(statement, "D"); !d.empty()) {
        int32_t v = 0;
        integer(d, v);
        if (v == 1) expected.Operation = zz::TOperation::Draw;
        if (v == 2) expected.Operation = zz::TOperation::Move;
        if (v == 3) expected.Operation = zz::TOperation::Flash;
        if (v >= 10 && v <= 999) expected.CurrentDCode = v;
      }
      if (const auto g = zz::ExtractField(statement, "G"); !g.empty()) {
        int32_t v = 0;
        integer(g, v);
        if (v == 1 || v == 74) expected.Interpolation = zz::TInterpolation::Linear;
        if (v == 2) expected.Interpolation = zz::TInterpolation::Clockwise;
        if (v == 3) expected.Interpolation = zz::TInterpolation::CounterClockwise;
        if (v == 75) expected.MultiQuadrant = true;
        if (v == 74) expected.FullCircleEnabled = false;
      }
      for (const auto& [key, target] : {std::pair{"X", &expected.CoordX}, std::pair{"Y", &expected.CoordY},
                                        std::pair{"I", &expected.CoordI}, std::pair{"J", &expected.CoordJ}}) {
        if (const auto f = zz::ExtractField(statement, key); !f.empty()) *target = zz::DecodeCoordinate(expected, f);
      }
    } catch (const std::exception&) {
      expectThrow = true;
    }

    bool threw = false;
    try {
      EXPECT_TRUE(zz::DispatchStatement(run_, statement));
    } catch (const std::exception&) {
      threw = true;
    }
    ASSERT_EQ(threw, expectThrow) << statement;
    if (threw) continue;
    ASSERT_EQ(state_.Operation, expected.Operation) << statement;
    ASSERT_EQ(state_.CurrentDCode, expected.CurrentDCode) << statement;
    ASSERT_EQ(state_.Interpolation, expected.Interpolation) << statement;
    ASSERT_EQ(state_.MultiQuadrant, expected.MultiQuadrant) << statement;
    ASSERT_EQ(state_.FullCircleEnabled, expected.FullCircleEnabled) << statement;
    ASSERT_EQ(state_.CoordX, expected.CoordX) << statement;
    ASSERT_EQ(state_.CoordY, expected.CoordY) << statement;
    ASSERT_EQ(state_.CoordI, expected.CoordI) << statement;
    ASSERT_EQ(state_.CoordJ, expected.CoordJ) << statement;
  }
}

}  // namespace
}  // namespace zzbench
