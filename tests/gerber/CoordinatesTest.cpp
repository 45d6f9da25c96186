#include <gmock/gmock.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <limits>
#include <string>
#include <tuple>

#include "GerberTestSupport.h"
#include "gerber/Coordinates.h"
#include "host/Errors.h"
#include "host/Units.h"

namespace zz::testing {
namespace {

using ::testing::HasSubstr;

// --- decoding grid: format x units x zero omission x sign ---

struct DecodeCase {
  const char* Name;
  int32_t IntegerDigits, DecimalDigits;
  bool Imperial, Leading, Trailing;
  const char* Digits;
  int32_t Expected;
};

void PrintTo(const DecodeCase& c, std::ostream* os) { *os << c.Name << " \"" << c.Digits << "\""; }

class DecodeCoordinateTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeCoordinateTest, Decodes) {
  const DecodeCase& c = GetParam();
  TGerberState state;
  state.IntegerDigits = c.IntegerDigits;
  state.DecimalDigits = c.DecimalDigits;
  state.Imperial = c.Imperial;
  state.LeadingZerosOmitted = c.Leading;
  state.TrailingZerosOmitted = c.Trailing;
  EXPECT_EQ(DecodeCoordinate(state, c.Digits), c.Expected);
  EXPECT_EQ(state.Imperial, c.Imperial);  // the units are passed as a copy
}

INSTANTIATE_TEST_SUITE_P(
    Formats, DecodeCoordinateTest,
    ::testing::Values(DecodeCase{"InchLeading", 2, 4, true, true, false, "12345", 12345000},
                      DecodeCase{"InchLeadingNegative", 2, 4, true, true, false, "-500", -500000},
                      DecodeCase{"InchTrailing", 2, 4, true, false, true, "12", 120000000},
                      DecodeCase{"MmLeading", 3, 3, false, true, false, "12345", 4860236},
                      DecodeCase{"InchNoneOmitted", 2, 4, true, false, false, "123", 1230000},
                      DecodeCase{"InchOneDigit", 2, 4, true, true, false, "1", 1000},
                      DecodeCase{"InchAllDigits", 2, 4, true, true, false, "000001", 1000},
                      DecodeCase{"Inch23", 2, 3, true, true, false, "01500", 15000000},
                      DecodeCase{"LongerThanFormatIsNotCut", 2, 4, true, true, false, "1234567", 123456700},
                      DecodeCase{"TrailingWinsOverLeading", 2, 4, true, true, true, "12", 120000000},
                      DecodeCase{"MmTrailing", 3, 3, false, false, true, "12", 47244094},
                      DecodeCase{"PlusIsASignWithLeading", 2, 4, true, true, false, "+500", 500000},
                      DecodeCase{"PlusIsASignWithTrailing", 2, 4, true, false, true, "+12", 120000000},
                      DecodeCase{"ZeroFormatPointAtStartInMm", 0, 0, false, false, false, "5", 196850},
                      DecodeCase{"OwnPointThenSecondPointEndsTheNumber", 2, 4, true, true, false, "1.5", 10000},
                      DecodeCase{"SignsOnlyReadAsZero", 2, 4, true, true, false, "-", 0},
                      DecodeCase{"DoubleSignBehindZerosReadsAsZero", 2, 4, true, true, false, "--5", 0},
                      DecodeCase{"DoubleSignWithoutPaddingKeepsBoth", 2, 4, true, false, false, "--5", 50000},
                      DecodeCase{"LargestPositive", 3, 4, true, false, false, "2147483647", 2147483647},
                      DecodeCase{"LargestNegative", 3, 4, true, false, false, "-2147483647", -2147483647}),
    [](const auto& testInfo) { return std::string(testInfo.param.Name); });

TEST(DecodeCoordinateRangeTest, ValuesBeyond32BitsRaiseRangeErrors) {
  TGerberState state;
  state.IntegerDigits = 3;
  state.DecimalDigits = 4;
  state.Imperial = true;
  EXPECT_THROW(DecodeCoordinate(state, "2147483648"), ERangeError);
  // "-" then "-214748.3648" mil: the inner value is exactly -2^31, whose negation does not fit.
  state.IntegerDigits = 4;
  EXPECT_THROW(DecodeCoordinate(state, "--2147483648"), ERangeError);
  state.IntegerDigits = 9;
  EXPECT_THROW(DecodeCoordinate(state, std::string(250, '9')), ERangeError);
}

// --- format statement ---

TEST(ReadFormatStatementTest, ReadsTheXDigitCountsAndZeroFlags) {
  TGerberState state;
  state.MultiQuadrant = true;
  ReadFormatStatement(state, "%fslax24y35*%");  // letters count in any case here
  EXPECT_EQ(std::tuple(state.IntegerDigits, state.DecimalDigits), std::tuple(2, 4));
  EXPECT_TRUE(state.LeadingZerosOmitted);
  EXPECT_FALSE(state.TrailingZerosOmitted);
  EXPECT_FALSE(state.MultiQuadrant);
  // Without an "X" nothing changes, not even the quadrant mode.
  state.MultiQuadrant = true;
  ReadFormatStatement(state, "%FSTA*%");
  EXPECT_EQ(std::tuple(state.IntegerDigits, state.TrailingZerosOmitted, state.MultiQuadrant),
            std::tuple(2, false, true));
}

TEST(ReadFormatStatementTest, DigitCountThatIsNotADigitRaisesAndChangesNothing) {
  for (const char* statement : {"%FSLAXQ4Y24*%", "%FSLAX2*%", "%FSLAX", "%FSLAX2", "%FSLAX-4Y24*%"}) {
    TGerberState state;
    state.IntegerDigits = 7;
    state.MultiQuadrant = true;
    try {
      ReadFormatStatement(state, statement);
      ADD_FAILURE() << statement << " was accepted";
    } catch (const EConversionError& error) {
      EXPECT_THAT(error.what(), HasSubstr("digit count"));
    }
    EXPECT_EQ(state.IntegerDigits, 7) << statement;
    EXPECT_TRUE(state.MultiQuadrant) << statement;
  }
}

// --- units carried from one run to the next ---

class RunCarryOverTest : public GerberFixture {};

TEST_F(RunCarryOverTest, UnitsAndFormatCarryOverAndTheSameFileDecodesAlike) {
  const char* inchFile = "%FSLAX24Y24*%\r\n%MOIN*%\r\nX12345Y-500D02*\r\n";
  const char* plainFile = "%FSLAX24Y24*%\r\nX12345Y-500D02*\r\n";
  const auto importOnce = [this](const char* bytes) {
    GerberRun& run = Open(bytes);
    ReadFormatStatement(run.State, ReadStatement(run).View());
    ResetModalState(run.State);
    while (!run.File.AtEnd()) DispatchStatement(run, ReadStatement(run).View());
    return std::pair(run.State.CoordX, run.State.CoordY);
  };
  const auto first = importOnce(inchFile);
  EXPECT_EQ(first, std::pair(12345000, -500000));
  EXPECT_EQ(importOnce(inchFile), first);
  // No units statement: the previous run's inches still hold.
  EXPECT_EQ(importOnce(plainFile), first);
  state_.Imperial = false;
  EXPECT_EQ(importOnce(plainFile), std::pair(MmToInternal(1.2345), MmToInternal(-0.05)));
}

// --- unit conversions and the length parser ---

TEST(UnitConversionTest, RoundsTheDoubleHeldProductHalfToEvenWithinTheRange) {
  EXPECT_EQ(MilToInternal(0.00025), 2);  // 2.5 once held as a double: to even, not away from zero
  EXPECT_EQ(MilToInternal(0.00035), 4);
  EXPECT_EQ(MilToInternal(-0.00025), -2);
  EXPECT_EQ(MmToInternal(0.5), 196850);
  EXPECT_EQ(MmToInternal(25.4), 10000000);
  EXPECT_EQ(MilToInternal(214748.3647), 2147483647);
  EXPECT_EQ(MilToInternal(-214748.3648), -2147483647 - 1);
  const double infinity = std::numeric_limits<double>::infinity();
  for (const double mils : {214748.3648, -214748.3649, 1e300, infinity, -infinity, std::nan("")}) {
    EXPECT_THROW(MilToInternal(mils), ERangeError) << mils;
  }
  EXPECT_THROW(MmToInternal(5454.7), ERangeError);
}

TEST(ParseLengthTest, ReadsSuffixesAndLongestLeadingNumbers) {
  const struct {
    const char* Text;
    bool ImperialBefore;
    int32_t Expected;
    bool ImperialAfter;
  } cases[] = {
      {"12.5mil", false, 125000, true},
      {"0.5 mm", true, 196850, false},
      {"10 MIL", false, 100000, true},
      {"0.254Mm", true, 100000, false},
      {"10", false, 3937008, false},
      {"10", true, 100000, true},
      {"+5", true, 50000, true},
      {"1 0 . 5", true, 105000, true},
      {"", true, 0, true},
      {"abc", false, 0, false},
      {"mil", false, 0, false},
      {"1.2.3", true, 12000, true},
      {"12x", true, 120000, true},
      {"1e2", true, 1000000, true},
      {"1e", true, 10000, true},
      {"-2.5E-1", true, -2500, true},
      {"-", true, 0, true},
      {"-inf", true, 0, true},
      {"1e-400", true, 0, true},
      {"0x10", true, 0, true},
      {"1,5", true, 10000, true},
  };
  for (const auto& c : cases) {
    bool imperial = c.ImperialBefore;
    EXPECT_EQ(ParseLength(c.Text, imperial), c.Expected) << c.Text;
    EXPECT_EQ(imperial, c.ImperialAfter) << c.Text;
  }
  bool imperial = true;
  EXPECT_THROW(ParseLength("1e400", imperial), ERangeError);
  EXPECT_THROW(ParseLength(std::string(400, '9'), imperial), ERangeError);
}

// DecodeCoordinate spelled out: the sign taken off, zeros added, the point put in, the text read
// by ParseLength. Empty when the value does not fit in 32 bits.
std::optional<int32_t> Reference(const TGerberState& state, std::string digits) {
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
    const int64_t value = sign * ParseLength(digits, imperial);
    if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(value);
  } catch (const ERangeError&) {
    return std::nullopt;
  }
}

std::optional<int32_t> Decoded(const TGerberState& state, const std::string& digits) {
  try {
    return DecodeCoordinate(state, digits);
  } catch (const ERangeError&) {
    return std::nullopt;
  }
}

// Every format of up to 9 + 9 digits, both units, every zero rule, digit strings of 1 to 18
// digits with and without a sign: the shortcut must give what the text would.
TEST(FastPaths, PlainDigitsDecodeAsTheirPaddedAndPointedText) {
  TestRandom rng(2024);
  int compared = 0;
  for (int integer = 0; integer <= 9; ++integer) {
    for (int decimals = 0; decimals <= 9; ++decimals) {
      for (int flags = 0; flags < 8; ++flags) {
        TGerberState state;
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
  TGerberState mm;
  mm.IntegerDigits = 3;
  mm.DecimalDigits = 5;
  mm.LeadingZerosOmitted = true;
  for (const char* digits : {"127", "254", "3175", "00127", "635", "1", "99999999", "12700000"}) {
    EXPECT_EQ(Decoded(mm, digits), Reference(mm, digits)) << digits;
  }
  TGerberState inch;
  inch.Imperial = true;
  inch.IntegerDigits = 2;
  inch.DecimalDigits = 4;
  inch.LeadingZerosOmitted = true;
  for (const char* digits : {"2147483", "2147484", "214748", "-2147483", "-2147484", "999999999999999"}) {
    EXPECT_EQ(Decoded(inch, digits), Reference(inch, digits)) << digits;
  }
}

}  // namespace
}  // namespace zz::testing
