#include <gmock/gmock.h>

#include <string>

#include "GerberTestSupport.h"
#include "gerber/Coordinates.h"
#include "host/Errors.h"

namespace zz::testing {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;

struct ApertureFields {
  int32_t XSize, YSize, HoleSize;
  uint8_t Shape, Usage;
  bool operator==(const ApertureFields&) const = default;
};

void PrintTo(const ApertureFields& a, std::ostream* os) {
  *os << "{" << a.XSize << ", " << a.YSize << ", " << a.HoleSize << ", shape " << int(a.Shape) << ", usage "
      << int(a.Usage) << "}";
}

class DispatchTest : public GerberFixture {
 protected:
  void SetUp() override {
    GerberFixture::SetUp();
    // 2.3 in inches: "X100" is 100 mil, 1000000 internal units.
    ReadFormatStatement(state_, "%FSLAX23Y23*%");
    state_.Imperial = true;
    ResetModalState(state_);
  }

  ApertureFields Aperture(int32_t dcode) const {
    ApertureFields a{};
    table_.GetAperture(dcode, a.XSize, a.YSize, a.HoleSize, a.Shape, a.Usage);
    return a;
  }
};

// --- data statements ---

TEST_F(DispatchTest, DFieldSetsTheOperationOrSelectsAnAperture) {
  EXPECT_TRUE(Dispatch("D01*"));
  EXPECT_EQ(state_.Operation, TOperation::Draw);
  Dispatch("D2*");
  EXPECT_EQ(state_.Operation, TOperation::Move);
  Dispatch("D03*");
  EXPECT_EQ(state_.Operation, TOperation::Flash);

  Dispatch("G54D10*");
  EXPECT_EQ(state_.Operation, TOperation::None);
  EXPECT_EQ(state_.CurrentDCode, 10);
  Dispatch("D999*");
  EXPECT_EQ(state_.CurrentDCode, 999);
}

TEST_F(DispatchTest, OtherDNumbersAreIgnored) {
  Dispatch("D10*");
  for (const char* statement : {"D0*", "D4*", "D9*", "D1000*", "D-10*", "D-1*"}) {
    Dispatch("D01*");
    Dispatch(statement);
    EXPECT_EQ(state_.Operation, TOperation::None) << statement;
    EXPECT_EQ(state_.CurrentDCode, 10) << statement;
  }
  Dispatch("M02*");  // no effect: statements after it go on as before
  EXPECT_EQ(state_.CurrentDCode, 10);
  Dispatch("D+11*");  // a sign before digits is still an integer
  EXPECT_EQ(state_.CurrentDCode, 11);
}

TEST_F(DispatchTest, OperationIsNotModalButRegistersAre) {
  Dispatch("G01X100Y200D01*");
  EXPECT_EQ(state_.Operation, TOperation::Draw);
  EXPECT_EQ(state_.CoordX, 1000000);
  EXPECT_EQ(state_.CoordY, 2000000);

  Dispatch("X500Y500*");
  EXPECT_EQ(state_.Operation, TOperation::None);
  Dispatch("D01*");
  EXPECT_EQ(state_.Operation, TOperation::Draw);
  EXPECT_EQ(state_.CoordX, 5000000);
  EXPECT_EQ(state_.CoordY, 5000000);

  Dispatch("X300D01*");
  EXPECT_EQ(state_.CoordX, 3000000);
  EXPECT_EQ(state_.CoordY, 5000000);
}

TEST_F(DispatchTest, GFieldSetsInterpolationAndQuadrantMode) {
  Dispatch("G02*");
  EXPECT_EQ(state_.Interpolation, TInterpolation::Clockwise);
  Dispatch("G03X1*");
  EXPECT_EQ(state_.Interpolation, TInterpolation::CounterClockwise);
  Dispatch("G01*");
  EXPECT_EQ(state_.Interpolation, TInterpolation::Linear);

  Dispatch("G75*");
  EXPECT_TRUE(state_.MultiQuadrant);
  state_.FullCircleEnabled = true;
  Dispatch("G03*");
  Dispatch("G74*");
  EXPECT_FALSE(state_.FullCircleEnabled);
  EXPECT_EQ(state_.Interpolation, TInterpolation::Linear);
  EXPECT_TRUE(state_.MultiQuadrant);  // G74 does not leave multi-quadrant mode
}

TEST_F(DispatchTest, UnitAndNotationCodesChangeNothing) {
  state_.Imperial = true;
  Dispatch("G02*");
  for (const char* statement : {"G70*", "G71*", "G90*", "G91*", "G36*", "G37*", "G04 G01*"}) Dispatch(statement);
  EXPECT_TRUE(state_.Imperial);
  EXPECT_EQ(state_.Interpolation, TInterpolation::Clockwise);
  Dispatch("X100*");
  EXPECT_EQ(state_.CoordX, 1000000);  // still absolute, still inches
}

TEST_F(DispatchTest, OnlyTheFirstOccurrenceOfALetterCounts) {
  Dispatch("G04 D11 is the big pad*");
  EXPECT_EQ(state_.CurrentDCode, 11);
  Dispatch("G04 X5 then X7*");
  EXPECT_EQ(state_.CoordX, 50000);
}

TEST_F(DispatchTest, LowerCaseLettersDoNothing) {
  Dispatch("X1Y2*");
  Dispatch("x100y100d01*");
  EXPECT_EQ(state_.Operation, TOperation::None);
  EXPECT_EQ(state_.CoordX, 10000);
  EXPECT_EQ(state_.CoordY, 20000);
}

TEST_F(DispatchTest, ArcOffsetsLoadTheirOwnRegisters) {
  Dispatch("G03X10Y20I-5J6D01*");
  EXPECT_EQ(state_.CoordI, -50000);
  EXPECT_EQ(state_.CoordJ, 60000);
  Dispatch("X1*");
  EXPECT_EQ(state_.CoordI, -50000);  // absent fields leave their registers alone
}

TEST(ExtractFieldTest, TakesSignsPointsAndDigitsAfterTheFirstKey) {
  EXPECT_EQ(ExtractField("X-12.5Y3*", "X"), "-12.5");
  EXPECT_EQ(ExtractField("X+1-2.Y3*", "X"), "+1-2.");
  EXPECT_EQ(ExtractField("XY3*", "X"), "");
  EXPECT_EQ(ExtractField("Y3*", "X"), "");
  EXPECT_EQ(ExtractField("%ADD10C,0.5X1*%", "C,"), "0.5");
  EXPECT_EQ(ExtractField("D1D2*", "D"), "1");
}

// --- parameter statements ---

TEST_F(DispatchTest, UnitStatementsSwitchInchAndMillimetre) {
  EXPECT_FALSE(Dispatch("%MOIN*%"));
  EXPECT_TRUE(state_.Imperial);
  Dispatch("%MOMM*%");
  EXPECT_FALSE(state_.Imperial);
  // Both tests run; the later one wins.
  Dispatch("%MOIN*MOMM*%");
  EXPECT_FALSE(state_.Imperial);
}

TEST_F(DispatchTest, ApertureDefinitionGivesTheSameSizeInBothUnits) {
  Dispatch("%MOIN*%");
  Dispatch("%ADD10C,0.0100*%");
  Dispatch("%MOMM*%");
  Dispatch("%ADD11C,0.254*%");
  EXPECT_EQ(Aperture(10), (ApertureFields{100000, 100000, 0, kShapeRound, kUsageMultiple}));
  EXPECT_EQ(Aperture(11), (ApertureFields{100000, 100000, 0, kShapeRound, kUsageMultiple}));
}

TEST_F(DispatchTest, UnitsChangeBeforeTheDefinitionInTheSameStatement) {
  Dispatch("%MOIN*ADD10C,0.01*%");
  EXPECT_EQ(Aperture(10).XSize, 100000);
}

TEST_F(DispatchTest, ApertureShapes) {
  state_.Imperial = true;
  Dispatch("%ADD11O,0.060X0.030*%");
  Dispatch("%ADD12R,0.060X0.030*%");
  Dispatch("%ADD13P,0.060X8*%");
  Dispatch("%ADD14R,0.040*%");  // no "X": square
  EXPECT_EQ(Aperture(11), (ApertureFields{600000, 300000, 0, kShapeRound, kUsageMultiple}));
  EXPECT_EQ(Aperture(12), (ApertureFields{600000, 300000, 0, kShapeRectangle, kUsageMultiple}));
  EXPECT_EQ(Aperture(13), (ApertureFields{600000, 600000, 0, kShapeOctagon, kUsageMultiple}));
  EXPECT_EQ(Aperture(14), (ApertureFields{400000, 400000, 0, kShapeRectangle, kUsageMultiple}));
  EXPECT_TRUE(Run().HaveApertureTable);
}

TEST_F(DispatchTest, ACAnywhereMakesACircleAndAMissingSizeIsZero) {
  state_.Imperial = true;
  Dispatch("%ADD15RECT,0.1X0.2*%");
  EXPECT_EQ(Aperture(15), (ApertureFields{0, 0, 0, kShapeRound, kUsageMultiple}));
  ASSERT_NE(table_.FindAperture(15), nullptr);
  EXPECT_TRUE(Run().HaveApertureTable);
}

TEST_F(DispatchTest, DefinitionSelectsItsDCodeEvenOutOfRange) {
  Dispatch("%ADD10C,0.01*%");
  EXPECT_EQ(state_.CurrentDCode, 10);
  Dispatch("%ADD5C,0.01*%");
  EXPECT_EQ(state_.CurrentDCode, 5);
  Dispatch("%ADD1000C,0.01*%");
  EXPECT_EQ(state_.CurrentDCode, 1000);
  EXPECT_EQ(table_.FindAperture(5), nullptr);
  EXPECT_EQ(table_.FindAperture(1000), nullptr);
}

TEST_F(DispatchTest, DefinitionWithoutShapeLetterDefinesNothingAndFindsNoTable) {
  Dispatch("%ADD10Z,1*%");
  EXPECT_EQ(table_.FindAperture(10), nullptr);
  EXPECT_FALSE(Run().HaveApertureTable);
  Dispatch("%ADD5C,1*%");  // out of range: not a table either
  EXPECT_FALSE(Run().HaveApertureTable);
  Dispatch("%LPC*%");
  Dispatch("%AMTHERMAL*7,0,0,1,0.8,0.1,45*%");
  EXPECT_FALSE(Run().HaveApertureTable);
}

TEST_F(DispatchTest, RedefinitionKeepsTheObjectButTakesTheNewShape) {
  Dispatch("%ADD10C,0.5*%");
  const TAperture* first = table_.FindAperture(10);
  Dispatch("%ADD10R,1X2*%");
  EXPECT_EQ(table_.FindAperture(10), first);
  EXPECT_EQ(Aperture(10).Shape, kShapeRectangle);
}

TEST_F(DispatchTest, SecondDecimalPointEndsTheNumber) {
  state_.Imperial = true;
  Dispatch("%ADD125R,0.03260.326*%");
  EXPECT_EQ(Aperture(125), (ApertureFields{326000, 326000, 0, kShapeRectangle, kUsageMultiple}));
}

TEST_F(DispatchTest, DimensionIsReadThroughASingleFloat) {
  // As a float 123.456 is 123.456001281..., which the conversion keeps: 1234560013, not 1234560000.
  Dispatch("%ADD10C,123.456*%");
  EXPECT_EQ(Aperture(10).XSize, 1234560013);
  EXPECT_EQ(ReadDimension(Run(), "%ADD10C,0.00001*%", "C,"), 100);
}

// --- bad numbers ---

TEST_F(DispatchTest, NumbersThatAreNotIntegersRaiseConversionErrors) {
  const struct {
    const char* Statement;
    const char* Field;
  } cases[] = {
      {"D+*", "D number \"+\""},          {"G-*", "G number \"-\""},
      {"D1.5*", "D number \"1.5\""},      {"D99999999999*", "D number \"99999999999\""},
      {"G01.0X1*", "G number \"01.0\""}, {"%ADDC,0.1*%", "ADD number \"\""},
      {"%ADD1-0C,1*%", "ADD number \"1-0\""},
  };
  for (const auto& c : cases) {
    try {
      Dispatch(c.Statement);
      ADD_FAILURE() << c.Statement << " was accepted";
    } catch (const EConversionError& error) {
      EXPECT_THAT(error.what(), AllOf(HasSubstr(c.Field), HasSubstr(std::string("\"") + c.Statement + "\"")));
    }
  }
}

TEST_F(DispatchTest, ValuesBeyond32BitsRaiseRangeErrorsNamingTheStatement) {
  ReadFormatStatement(state_, "%FSLAX66Y66*%");
  state_.Imperial = false;
  for (const char* statement : {"X99999999999*", "Y-99999999999*", "J" /* 300 digits */}) {
    std::string text = statement;
    if (text == "J") text += std::string(300, '9') + "*";
    text = text.substr(0, 255);
    try {
      Dispatch(text);
      ADD_FAILURE() << text << " was accepted";
    } catch (const ERangeError& error) {
      EXPECT_THAT(error.what(), HasSubstr(QuotedStatement(text)));
    }
  }
  Dispatch("%MOMM*%");
  EXPECT_THROW(Dispatch("%ADD10C,9999999*%"), ERangeError);
  EXPECT_THROW(Dispatch("%ADD10C," + std::string(60, '9') + "*%"), ERangeError);  // infinite as a float
  EXPECT_EQ(table_.FindAperture(10), nullptr);
}

// --- a whole file through the reader and the dispatcher ---

TEST_F(DispatchTest, FileStatementsLoadTheState) {
  GerberRun& run = Open(
      "%FSLAX23Y23*%\r\n%MOIN*%\r\n%ADD10C,0.010*%\r\n%ADD11R,0.060X0.030*%\r\n"
      "G54D11*\r\nG01X100Y200D02*\r\nX300D01*\r\nM02*\r\n");
  ReadFormatStatement(state_, ReadStatement(run).View());
  ResetModalState(state_);
  std::vector<TOperation> operations;
  while (!run.File.AtEnd()) {
    if (DispatchStatement(run, ReadStatement(run).View())) operations.push_back(state_.Operation);
  }
  EXPECT_TRUE(run.HaveApertureTable);
  EXPECT_EQ(state_.CurrentDCode, 11);
  EXPECT_EQ(state_.CoordX, 3000000);
  EXPECT_EQ(state_.CoordY, 2000000);
  EXPECT_EQ(operations, (std::vector<TOperation>{TOperation::None, TOperation::Move, TOperation::Draw,
                                                 TOperation::None, TOperation::None}));
  EXPECT_EQ(Aperture(11), (ApertureFields{600000, 300000, 0, kShapeRectangle, kUsageMultiple}));
}

}  // namespace
}  // namespace zz::testing
