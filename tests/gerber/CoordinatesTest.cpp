#include <gmock/gmock.h>

#include <cmath>
#include <limits>
#include <string>

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
    ::testing::Values(
        DecodeCase{"InchLeading", 2, 4, true, true, false, "12345", 12345000},
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
        DecodeCase{"MmTrailingNegative", 3, 3, false, false, true, "-12", -47244094},
        DecodeCase{"PlusIsASignWithLeading", 2, 4, true, true, false, "+500", 500000},
        DecodeCase{"PlusIsASignWithTrailing", 2, 4, true, false, true, "+12", 120000000},
        DecodeCase{"ZeroFormatPointAtStartInMm", 0, 0, false, false, false, "5", 196850},
        DecodeCase{"OwnPointThenSecondPointEndsTheNumber", 2, 4, true, true, false, "1.5", 10000},
        DecodeCase{"SignsOnlyReadAsZero", 2, 4, true, true, false, "-", 0},
        DecodeCase{"PointOnlyReadsAsZero", 2, 4, true, true, false, ".", 0},
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

TEST(DecodeCoordinateRangeTest, OutOfRangeDigitCountsPadOnlyToNine) {
  TGerberState state;
  state.IntegerDigits = 1000000;
  state.DecimalDigits = -5;
  state.LeadingZerosOmitted = true;
  EXPECT_EQ(DecodeCoordinate(state, "1"), 393701);  // "000000001." in millimetres
}

// --- format statement ---

TEST(ReadFormatStatementTest, ReadsTheXDigitCountsAndZeroFlags) {
  TGerberState state;
  state.MultiQuadrant = true;
  ReadFormatStatement(state, "%FSLAX24Y35*%");
  EXPECT_EQ(state.IntegerDigits, 2);
  EXPECT_EQ(state.DecimalDigits, 4);
  EXPECT_TRUE(state.LeadingZerosOmitted);
  EXPECT_FALSE(state.TrailingZerosOmitted);
  EXPECT_FALSE(state.MultiQuadrant);

  ReadFormatStatement(state, "%fstax35y35*%");  // letters count in any case here
  EXPECT_EQ(state.IntegerDigits, 3);
  EXPECT_EQ(state.DecimalDigits, 5);
  EXPECT_FALSE(state.LeadingZerosOmitted);
  EXPECT_TRUE(state.TrailingZerosOmitted);
}

TEST(ReadFormatStatementTest, WithoutXNothingChanges) {
  TGerberState state;
  ReadFormatStatement(state, "%FSLAX24Y24*%");
  state.MultiQuadrant = true;
  ReadFormatStatement(state, "%FSTA*%");
  EXPECT_EQ(state.IntegerDigits, 2);
  EXPECT_TRUE(state.LeadingZerosOmitted);
  EXPECT_FALSE(state.TrailingZerosOmitted);
  EXPECT_TRUE(state.MultiQuadrant);
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
      EXPECT_THAT(error.what(), HasSubstr(QuotedStatement(statement)));
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

TEST_F(RunCarryOverTest, ResetClearsOnlyThePerRunFields) {
  state_.Imperial = true;
  state_.FullCircleEnabled = true;
  state_.MultiQuadrant = true;
  state_.Operation = TOperation::Flash;
  state_.Interpolation = TInterpolation::Clockwise;
  state_.CoordX = state_.CoordY = state_.CoordI = state_.CoordJ = 5;
  state_.CurrentDCode = 12;
  state_.PointX = state_.PointY = 7;
  ResetModalState(state_);
  EXPECT_TRUE(state_.Imperial);
  EXPECT_TRUE(state_.FullCircleEnabled);
  EXPECT_TRUE(state_.MultiQuadrant);
  EXPECT_EQ(state_.Operation, TOperation::None);
  EXPECT_EQ(state_.Interpolation, TInterpolation::Linear);
  EXPECT_EQ(state_.CoordX | state_.CoordY | state_.CoordI | state_.CoordJ, 0);
  EXPECT_EQ(state_.CurrentDCode, -1);
  EXPECT_EQ(state_.PointX, -1);
  EXPECT_EQ(state_.PointY, -1);
}

// --- unit conversions and the length parser ---

TEST(UnitConversionTest, RoundsTheDoubleHeldProductHalfToEven) {
  EXPECT_EQ(MilToInternal(1.0), 10000);
  EXPECT_EQ(MilToInternal(0.00025), 2);  // 2.5 as a double: to even, not away from zero
  EXPECT_EQ(MilToInternal(0.00035), 4);
  EXPECT_EQ(MilToInternal(-0.00025), -2);
  EXPECT_EQ(MmToInternal(0.254), 100000);
  EXPECT_EQ(MmToInternal(0.5), 196850);
  EXPECT_EQ(MmToInternal(10), 3937008);
  EXPECT_EQ(MmToInternal(25.4), 10000000);
}

TEST(UnitConversionTest, ChecksTheRangeBeforeConverting) {
  EXPECT_EQ(MilToInternal(214748.3647), 2147483647);
  EXPECT_EQ(MilToInternal(-214748.3648), -2147483647 - 1);
  EXPECT_THROW(MilToInternal(214748.3648), ERangeError);
  EXPECT_THROW(MilToInternal(-214748.3649), ERangeError);
  EXPECT_THROW(MmToInternal(5454.7), ERangeError);
  EXPECT_THROW(MilToInternal(1e300), ERangeError);
  EXPECT_THROW(MmToInternal(std::numeric_limits<double>::infinity()), ERangeError);
  EXPECT_THROW(MilToInternal(-std::numeric_limits<double>::infinity()), ERangeError);
  EXPECT_THROW(MilToInternal(std::numeric_limits<double>::quiet_NaN()), ERangeError);
}

TEST(ParseLengthTest, SuffixesSetTheUnit) {
  for (const bool start : {false, true}) {
    bool imperial = start;
    EXPECT_EQ(ParseLength("12.5mil", imperial), 125000);
    EXPECT_TRUE(imperial);
    imperial = start;
    EXPECT_EQ(ParseLength("0.5 mm", imperial), 196850);
    EXPECT_FALSE(imperial);
    imperial = start;
    EXPECT_EQ(ParseLength("10 MIL", imperial), 100000);
    EXPECT_EQ(ParseLength("0.254Mm", imperial), 100000);
  }
  bool imperial = false;
  EXPECT_EQ(ParseLength("10", imperial), 3937008);
  imperial = true;
  EXPECT_EQ(ParseLength("10", imperial), 100000);
  EXPECT_EQ(ParseLength("+5", imperial), 50000);
  EXPECT_EQ(ParseLength("1 0 . 5", imperial), 105000);
}

TEST(ParseLengthTest, TextsThatAreNotNumbersReadAsTheirLongestLeadingNumber) {
  bool imperial = true;
  EXPECT_EQ(ParseLength("", imperial), 0);
  EXPECT_EQ(ParseLength("   ", imperial), 0);
  imperial = false;
  EXPECT_EQ(ParseLength("abc", imperial), 0);
  EXPECT_EQ(ParseLength("mil", imperial), 0);
  EXPECT_FALSE(imperial);  // a text starting with a letter leaves the unit alone
  imperial = true;
  EXPECT_EQ(ParseLength("1.2.3", imperial), 12000);
  EXPECT_EQ(ParseLength("12x", imperial), 120000);
  EXPECT_EQ(ParseLength("1e2", imperial), 1000000);
  EXPECT_EQ(ParseLength("1e", imperial), 10000);
  EXPECT_EQ(ParseLength("-", imperial), 0);
  EXPECT_EQ(ParseLength("-inf", imperial), 0);
  EXPECT_EQ(ParseLength("1e-400", imperial), 0);
  EXPECT_EQ(ParseLength("0x10", imperial), 0);
  EXPECT_THROW(ParseLength("1e400", imperial), ERangeError);
  EXPECT_THROW(ParseLength(std::string(400, '9'), imperial), ERangeError);
}

TEST(ReadDecimalTest, IgnoresTheCLocaleAndReadsPlainDecimals) {
  EXPECT_EQ(ReadDecimal("0.0326"), 0.0326);
  EXPECT_EQ(ReadDecimal(".5"), 0.5);
  EXPECT_EQ(ReadDecimal("5."), 5.0);
  EXPECT_EQ(ReadDecimal("-2.5E1"), -25.0);
  EXPECT_EQ(ReadDecimal("+-1"), 0.0);
  EXPECT_EQ(ReadDecimal("1,5"), 1.0);
  EXPECT_TRUE(std::isinf(ReadDecimal("-1e999")));
  EXPECT_LT(ReadDecimal("-1e999"), 0.0);
  EXPECT_EQ(ReadDecimal("0.000e999999999999"), 0.0);
}

TEST(TryReadIntegerTest, AcceptsOnlyWholeDecimalIntegersWithin32Bits) {
  int32_t value = 0;
  EXPECT_TRUE(TryReadInteger("0010", value));
  EXPECT_EQ(value, 10);
  EXPECT_TRUE(TryReadInteger("+7", value));
  EXPECT_EQ(value, 7);
  EXPECT_TRUE(TryReadInteger("-2147483648", value));
  EXPECT_EQ(value, -2147483647 - 1);
  for (const char* bad : {"", "+", "-", "1.5", "1-0", "+-1", "2147483648", "99999999999", " 1", "1 ", "0x1"}) {
    value = 42;
    EXPECT_FALSE(TryReadInteger(bad, value)) << bad;
    EXPECT_EQ(value, 42) << bad;
  }
}

}  // namespace
}  // namespace zz::testing
