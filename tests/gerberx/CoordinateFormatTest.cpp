// The format statement and the coordinates read in it: omitted zeros, each axis's own digits,
// exact rounding onto the grid, and the fields that cannot be read.

#include <gtest/gtest.h>

#include <string>

#include "gerberx/CoordinateFormat.h"
#include "gerberx/StatementError.h"

namespace gerberx {
namespace {

struct CoordinateCase {
  const char* name;
  const char* format;  // the %FS statement without blanks
  const char* digits;
  bool xAxis;
  bool inches;
  Coord expected;
};

class DecodeCoordinateTest : public testing::TestWithParam<CoordinateCase> {};

TEST_P(DecodeCoordinateTest, LandsOnTheGrid) {
  const CoordinateCase& c = GetParam();
  EXPECT_EQ(DecodeCoordinate(c.digits, ParseFormat(c.format), c.xAxis, c.inches ? kUnitsPerInch : kUnitsPerMm),
            c.expected);
}

constexpr Coord kInch = kUnitsPerInch;
INSTANTIATE_TEST_SUITE_P(
    Format, DecodeCoordinateTest,
    testing::Values(CoordinateCase{"LeadingZerosOmitted", "FSLAX24Y24", "25", true, true, kInch / 400},
                    CoordinateCase{"TrailingZerosOmitted", "FSTAX24Y24", "25", true, true, kInch * 25},
                    CoordinateCase{"TrailingShortOfTheIntegerDigits", "FSTAX24Y24", "1", true, true, kInch * 10},
                    CoordinateCase{"YReadWithItsOwnDigits", "FSLAX24Y33", "1000", false, true, kInch},
                    CoordinateCase{"TrailingYReadWithItsOwnDigits", "FSTAX24Y33", "1", false, false,
                                   39370079},  // 100 mm
                    CoordinateCase{"PlusSign", "FSLAX24Y24", "+25", true, true, kInch / 400},
                    CoordinateCase{"MinusSign", "FSTAX24Y24", "-25", true, true, -kInch * 25},
                    // Half a grid unit exactly rounds away from zero, whichever the sign.
                    CoordinateCase{"HalfAUnitOfMillimetres", "FSLAX18Y18", "127", true, false, 1},
                    CoordinateCase{"MinusHalfAUnitOfMillimetres", "FSLAX18Y18", "-127", true, false, -1},
                    CoordinateCase{"HalfAUnitOfInches", "FSLAX09Y09", "150", true, true, 2},
                    CoordinateCase{"JustUnderHalfAUnit", "FSLAX09Y09", "149", true, true, 1},
                    CoordinateCase{"InchInMillimetres", "FSLAX46Y46", "25400000", true, false, kInch},
                    CoordinateCase{"DecimalPointOverridesTheFormat", "FSTAX24Y24", "1.5", true, true, kInch * 3 / 2},
                    CoordinateCase{"LastWithinRange", "FSLAX36Y36", "107374182", true, true, 1073741820},
                    CoordinateCase{"DeprecatedFieldsSkipped", "FSLAN2G1M2X24Y24", "25", true, true, kInch / 400}),
    [](const testing::TestParamInfo<CoordinateCase>& row) { return std::string(row.param.name); });

struct BadField {
  const char* name;
  const char* format;  // empty: no %FS yet
  const char* digits;
  const char* reason;  // part of the message
};

class BadCoordinateTest : public testing::TestWithParam<BadField> {};

TEST_P(BadCoordinateTest, SaysWhy) {
  const BadField& c = GetParam();
  const Format format = *c.format ? ParseFormat(c.format) : Format{};
  try {
    DecodeCoordinate(c.digits, format, true, kUnitsPerInch);
    FAIL() << "no error";
  } catch (const StatementError& e) {
    EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Format, BadCoordinateTest,
    testing::Values(BadField{"SignAlone", "FSLAX24Y24", "-", "without digits"},
                    BadField{"BeforeTheFormat", "", "25", "before the format statement"},
                    BadField{"NineteenDigits", "FSLAX24Y24", "1234567890123456789", "more than 18 digits"},
                    BadField{"MoreDigitsThanTrailingFormat", "FSTAX24Y24", "1234567", "the format 2.4 allows"},
                    BadField{"NotDigits", "FSLAX24Y24", "1+2", "is not a coordinate"},
                    BadField{"FirstBeyondRange", "FSLAX36Y36", "107374183", "range"},
                    // Multiplied out, these would wrap 64 bits back into range.
                    BadField{"EighteenDigitsDoNotWrap", "FSLAX60Y60", "999999999999999999", "range"},
                    BadField{"DecimalBeyondRange", "FSLAX24Y24", "200.0", "range"}),
    [](const testing::TestParamInfo<BadField>& row) { return std::string(row.param.name); });

TEST(ParseFormatTest, ReadsOmissionNotationAndEachAxis) {
  const Format f = ParseFormat("FSTIX15Y36");
  EXPECT_TRUE(f.declared);
  EXPECT_EQ(f.zeros, ZeroOmission::Trailing);
  EXPECT_EQ(f.notation, Notation::Incremental);
  EXPECT_EQ(f.xInteger, 1);
  EXPECT_EQ(f.xDecimal, 5);
  EXPECT_EQ(f.yInteger, 3);
  EXPECT_EQ(f.yDecimal, 6);
  // "D" right after FS (no zeros omitted) takes no digit that is not there.
  EXPECT_EQ(ParseFormat("FSDIX24Y24").notation, Notation::Incremental);
}

TEST(ParseFormatTest, RefusesWhatItCannotRead) {
  for (const auto& [text, reason] :
       {std::pair{"FSLAX24", "without the X and Y digit counts"}, std::pair{"FSLAX2Y24", "'X' needs two digits"},
        std::pair{"FSLAQX24Y24", "unexpected 'Q'"}}) {
    try {
      ParseFormat(text);
      ADD_FAILURE() << text << ": no error";
    } catch (const StatementError& e) {
      EXPECT_NE(std::string(e.what()).find(reason), std::string::npos) << e.what();
    }
  }
}

TEST(DecodeDecimalTest, ReadsTheLeadingNumberOfABrokenOneAndSaysSo) {
  std::string note;
  EXPECT_DOUBLE_EQ(DecodeDecimal(" 1.5 ", "size", note), 1.5);
  EXPECT_TRUE(note.empty());
  EXPECT_DOUBLE_EQ(DecodeDecimal("1.2.3", "size", note), 1.2);
  EXPECT_NE(note.find("read as 1.2"), std::string::npos) << note;
  EXPECT_THROW(DecodeDecimal("1.2x", "size", note), StatementError);
  EXPECT_THROW(DecodeDecimal("", "size", note), StatementError);
  EXPECT_THROW(DecodeDecimal("1e999", "size", note), StatementError);
}

}  // namespace
}  // namespace gerberx
