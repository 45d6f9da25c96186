#include <gmock/gmock.h>

#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "GerberTestSupport.h"
#include "gerber/Coordinates.h"
#include "host/Errors.h"
#include "host/Units.h"

namespace zz::testing {
namespace {

using ::testing::AllOf;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::StartsWith;

class DispatchTest : public GerberFixture {
 protected:
  void SetUp() override {
    GerberFixture::SetUp();
    ReadFormatStatement(state_, "%FSLAX23Y23*%");  // in inches "X100" is 100 mil: 1000000 units
    state_.Imperial = true;
    ResetModalState(state_);
  }
  Fields Aperture(int32_t dcode) const { return Get(table_, dcode); }
};

TEST_F(DispatchTest, DataStatementsLoadTheState) {
  using enum TOperation;
  using enum TInterpolation;
  const struct {
    const char* Statement;
    TOperation Operation;
    TInterpolation Interpolation;
    int32_t DCode, X, Y;
  } script[] = {
      {"G54D10*", None, Linear, 10, 0, 0},
      {"G01X100Y200D01*", Draw, Linear, 10, 1000000, 2000000},
      {"X300D01*", Draw, Linear, 10, 3000000, 2000000},   // registers are modal
      {"X400D-*", None, Linear, 10, 4000000, 2000000},    // a D field without digits does nothing
      {"X500Y500*", None, Linear, 10, 5000000, 5000000},  // the operation is not
      {"D2*", Move, Linear, 10, 5000000, 5000000},
      {"G02D03*", Flash, Clockwise, 10, 5000000, 5000000},
      {"G03*", None, CounterClockwise, 10, 5000000, 5000000},
      {"G+D.*", None, CounterClockwise, 10, 5000000, 5000000},  // nor does a G field
      {"G04 TOP LAYER, D-CODE LIST*", None, CounterClockwise, 10, 5000000, 5000000},
      {"D999*", None, CounterClockwise, 999, 5000000, 5000000},
      {"G70*G71*", None, CounterClockwise, 999, 5000000, 5000000},  // units and notation codes do nothing
      {"G91X1*", None, CounterClockwise, 999, 10000, 5000000},
      {"D1000*", None, CounterClockwise, 999, 10000, 5000000},  // other D numbers are ignored
      {"D-1*", None, CounterClockwise, 999, 10000, 5000000},
      {"D+11*", None, CounterClockwise, 11, 10000, 5000000},
      {"G04 D12 is the big pad*", None, CounterClockwise, 12, 10000, 5000000},  // fields of a comment count
      {"G04 X5 then X7*", None, CounterClockwise, 12, 50000, 5000000},          // only the first one
      {"x100y100d01g01*", None, CounterClockwise, 12, 50000, 5000000},          // lower case does nothing
      {"M02*", None, CounterClockwise, 12, 50000, 5000000},
      {"G74*", None, Linear, 12, 50000, 5000000},
  };
  for (const auto& step : script) {
    EXPECT_TRUE(Dispatch(step.Statement));
    EXPECT_EQ(state_.Operation, step.Operation) << step.Statement;
    EXPECT_EQ(state_.Interpolation, step.Interpolation) << step.Statement;
    EXPECT_EQ(state_.CurrentDCode, step.DCode) << step.Statement;
    EXPECT_EQ(state_.CoordX, step.X) << step.Statement;
    EXPECT_EQ(state_.CoordY, step.Y) << step.Statement;
  }
  // The same digits read anew once the units or the format change within the run.
  Dispatch("%MOMM*%");
  Dispatch("X100*");
  EXPECT_EQ(state_.CoordX, MmToInternal(0.1));
  ReadFormatStatement(state_, "%FSLAX24Y24*%");
  Dispatch("X100*");
  EXPECT_EQ(state_.CoordX, MmToInternal(0.01));
}

TEST_F(DispatchTest, QuadrantCodesAndArcOffsets) {
  state_.FullCircleEnabled = true;
  Dispatch("G75G03X10Y20I-5J6D01*");
  EXPECT_EQ(std::tuple(state_.MultiQuadrant, state_.CoordI, state_.CoordJ), std::tuple(true, -50000, 60000));
  Dispatch("G74X1*");  // leaves multi-quadrant mode and the offsets alone
  EXPECT_EQ(std::tuple(state_.FullCircleEnabled, state_.MultiQuadrant, state_.CoordI), std::tuple(false, true, -50000));
}

TEST_F(DispatchTest, ParameterStatementsSetUnitsAndDefineApertures) {
  const Fields round10{100000, 100000, 0, kShapeRound, kUsageMultiple};
  const struct {
    const char* Statement;
    int32_t DCode;
    Fields Expected;
  } cases[] = {
      {"%MOIN*ADD10C,0.0100*%", 10, round10},  // units first, then the definition
      {"%MOMM*%%ADD11C,0.254*%", 11, round10},
      {"%MOIN*%%ADD12O,0.060X0.030*%", 12, {600000, 300000, 0, kShapeRound, kUsageMultiple}},
      {"%ADD13R,0.060X0.030*%", 13, {600000, 300000, 0, kShapeRectangle, kUsageMultiple}},
      {"%ADD14P,0.060X8*%", 14, {600000, 600000, 0, kShapeOctagon, kUsageMultiple}},
      {"%ADD15R,0.040*%", 15, {400000, 400000, 0, kShapeRectangle, kUsageMultiple}},
      {"%ADD16RECT,0.1X0.2*%", 16, {0, 0, 0, kShapeRound, kUsageMultiple}},           // a "C" anywhere; no "C,"
      {"%MOIN*ADD18R,0.1X0.030*%", 18, {0, 300000, 0, kShapeRound, kUsageMultiple}},  // so is the "O" of MOIN
      {"%ADD125R,0.03260.326*%", 125, {326000, 326000, 0, kShapeRectangle, kUsageMultiple}},
      // The float step: 123.456 is 123.456001281... as a float.
      {"%ADD17C,123.456*%", 17, {1234560013, 1234560013, 0, kShapeRound, kUsageMultiple}},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(Dispatch(c.Statement));
    EXPECT_EQ(Aperture(c.DCode), c.Expected) << c.Statement;
    EXPECT_EQ(state_.CurrentDCode, c.DCode) << c.Statement;
  }
  EXPECT_TRUE(Run().HaveApertureTable);
  Dispatch("%MOIN*MOMM*%");
  EXPECT_FALSE(state_.Imperial);
}

TEST_F(DispatchTest, DefinitionsThatDefineNothingStillSelectTheirDCode) {
  for (const int32_t dcode : {5, 1000}) {
    Dispatch("%ADD" + std::to_string(dcode) + "C,0.01*%");
    EXPECT_EQ(state_.CurrentDCode, dcode);
    EXPECT_EQ(table_.FindAperture(dcode), nullptr);
  }
  Dispatch("%ADD20Z,1*%");  // no shape letter
  EXPECT_EQ(table_.FindAperture(20), nullptr);
  for (const char* text : {"%TO.N,ADDR0*%", "%ADDC,0.1*%", "%ADD-C,0.1*%"}) {
    Dispatch(text);  // no number after "ADD": no definition, nothing selected
    EXPECT_EQ(state_.CurrentDCode, 20) << text;
  }
  EXPECT_FALSE(Run().HaveApertureTable);
}

// Errors leave the statement's road naming the line, the offending text and the statement.
TEST_F(DispatchTest, NumbersThatAreNotIntegersEndTheStatementNamingIt) {
  const struct {
    const char* Statement;
    const char* Field;
  } cases[] = {
      {"G1-2*", "G number \"1-2\" is not a valid integer"},
      {"D-+1*", "D number \"-+1\""},
      {"D1.5*", "D number \"1.5\""},
      {"D99999999999*", "D number \"99999999999\""},
      {"%ADD.5C,0.1*%", "ADD number \".5\""},
      {"%ADD1-0C,1*%", "ADD number \"1-0\""},
  };
  for (const auto& c : cases) {
    try {
      Interpret(c.Statement);
      ADD_FAILURE() << c.Statement << " was accepted";
    } catch (const EStatementError& error) {
      EXPECT_THAT(error.what(), AllOf(StartsWith("line 1: "), HasSubstr(c.Field),
                                      EndsWith(" in statement " + QuotedStatement(c.Statement))));
    }
  }
}

struct IgnoredRecorder : StatementObserver {
  void OnIgnored(IgnoredKind kind, std::string_view /*statement*/) override { Kinds.push_back(kind); }
  std::vector<IgnoredKind> Kinds;
};

TEST_F(DispatchTest, TheObserverHearsWhatIsIgnored) {
  using enum IgnoredKind;
  const struct {
    const char* Statement;
    std::vector<IgnoredKind> Kinds;
  } script[] = {
      {"%MOIN*%", {}},
      {"%AMTHERM*7,0,0,0.1*%", {ApertureMacro}},
      {"%ADD10C,0.01*%", {}},
      {"%ADD+10C,0.010*%", {}},             // the same D10, signed
      {"% ADD11THERM*%", {MacroAperture}},  // "R": a rectangle of size 0
      {"%ADD12RECT,0.1X0.2*%", {MacroAperture}},
      {"%LPC*%", {Polarity}},
      {"%SRX2Y2I1J1*%", {StepAndRepeat}},
      {"%IPPOS*%", {OtherParameter}},
      {"%TO.N,ADDR0*%", {OtherParameter}},
      {"%ADDC*%", {OtherParameter}},
      {"%%", {}},
      {"G36*", {Region}},
      {"G37*", {}},
      {"G04 TOP LAYER, D-CODE LIST*", {FieldWithoutDigits}},
      {"G90D0*", {GCodeWithoutEffect, DCodeWithoutEffect}},
      {"G-D1000*", {FieldWithoutDigits, DCodeWithoutEffect}},
      {"G.D-*", {FieldWithoutDigits}},
      {"D12*", {}},
      {"D13*", {}},
      {"X0Y0D03*", {UndefinedAperture}},
      {"X0Y0D02*", {}},
      {"D11*", {}},
      {"G01X0Y0D01*", {}},
  };
  IgnoredRecorder recorder;
  Run().Observer = &recorder;
  for (const auto& step : script) {
    recorder.Kinds.clear();
    Interpret(step.Statement);
    EXPECT_EQ(recorder.Kinds, step.Kinds) << step.Statement;
  }
}

struct EventRecorder : StatementObserver {
  void OnStatement(const StatementEvent& event) override {
    Events.push_back(event);
    Texts.emplace_back(event.Text);
  }
  std::vector<StatementEvent> Events;
  std::vector<std::string> Texts;
};

// Each statement is told once, after it is carried out: its fields as read, the point a draw
// started from and the arc offsets it used (both gone from the state by then), its stop.
TEST_F(DispatchTest, TheObserverHearsEachStatementOnce) {
  constexpr int32_t kNo = StatementEvent::kAbsent;
  const struct {
    const char* Statement;
    bool Parameter;
    bool StopsRun;
    int32_t D;
    int32_t G;
    bool HasX, HasY, HasI;
  } script[] = {
      {"X0Y0D02*", false, true, 2, kNo, true, true, false},  // no aperture table yet
      {"%ADD10C,0.01*%", true, false, kNo, kNo, false, false, false},
      {"G04 D-CODE LIST*", false, false, kNo, 4, false, false, false},
      {"D10*", false, false, 10, kNo, false, false, false},
      {"G01X100Y200D02*", false, false, 2, 1, true, true, false},
      {"X300D01*", false, false, 1, kNo, true, false, false},
      {"G75*", false, false, kNo, 75, false, false, false},
      {"G03X100Y0I-100J0D01*", false, false, 1, 3, true, true, true},
  };
  ReadFormatStatement(state_, "%FSLAX24Y24*%");
  EventRecorder recorder;
  Run().Observer = &recorder;
  for (const auto& step : script) {
    const int32_t fromX = state_.PointX, fromY = state_.PointY;
    recorder.Events.clear();
    recorder.Texts.clear();
    EXPECT_EQ(Interpret(step.Statement), !step.StopsRun) << step.Statement;
    ASSERT_EQ(recorder.Events.size(), 1U) << step.Statement;
    const StatementEvent& e = recorder.Events.front();
    EXPECT_EQ(recorder.Texts.front(), step.Statement);
    EXPECT_EQ(e.Parameter, step.Parameter) << step.Statement;
    EXPECT_EQ(e.StopsRun, step.StopsRun) << step.Statement;
    EXPECT_EQ(e.D, step.D) << step.Statement;
    EXPECT_EQ(e.G, step.G) << step.Statement;
    EXPECT_EQ(std::tie(e.HasX, e.HasY, e.HasI), std::tie(step.HasX, step.HasY, step.HasI)) << step.Statement;
    if (!step.Parameter && !step.StopsRun) {
      EXPECT_EQ(std::tie(e.FromX, e.FromY), std::tie(fromX, fromY)) << step.Statement;
      EXPECT_EQ(e.State, &state_);
    }
  }
  // The arc's offsets as it drew with them, though the state has cleared them.
  EXPECT_LT(recorder.Events.front().I, 0);
  EXPECT_EQ(state_.CoordI, 0);
}

TEST_F(DispatchTest, ValuesBeyond32BitsEndTheStatementNamingIt) {
  ReadFormatStatement(state_, "%FSLAX66Y66*%");
  state_.Imperial = false;
  const std::string hugeField = "J" + std::string(250, '9') + "*";
  const std::string infiniteFloat = "%ADD10C," + std::string(60, '9') + "*%";
  for (const std::string& statement : {std::string("X999999999999*"), hugeField, infiniteFloat}) {
    try {
      Interpret(statement);
      ADD_FAILURE() << statement << " was accepted";
    } catch (const EStatementError& error) {
      EXPECT_THAT(error.what(), AllOf(HasSubstr("does not fit"), EndsWith(QuotedStatement(statement))));
    }
  }
  EXPECT_EQ(table_.FindAperture(10), nullptr);
}

class DispatchKeys : public ::testing::Test {
 protected:
  TextFile file_;
  TApertureFile table_;
  TGerberState state_;
  GerberRun run_{file_, table_, nullptr, state_};
};

// Random data statements over the key letters, field characters and a few others: the
// registers end up as ExtractField of each key would have them, and so do the errors.
TEST_F(DispatchKeys, OnePassFindsTheFirstOccurrenceOfEveryKey) {
  const std::string alphabet = "DGXYIJdxM*0123456789+-. ,";
  TestRandom rng(77);
  for (int n = 0; n < 20000; ++n) {
    std::string statement;
    for (int64_t i = rng.Range(0, 24); i > 0; --i) {
      statement += alphabet[static_cast<std::size_t>(rng.Range(0, alphabet.size() - 1))];
    }
    state_ = TGerberState{};
    state_.Imperial = true;
    state_.IntegerDigits = 2;
    state_.DecimalDigits = 4;
    state_.LeadingZerosOmitted = true;

    TGerberState expected = state_;
    bool expectThrow = false;
    try {
      const auto integer = [&](std::string_view field, int32_t& value) {
        if (!TryReadInteger(field, value)) throw EConversionError("not an integer");
      };
      expected.Operation = TOperation::None;
      const auto hasDigit = [](std::string_view field) { return field.find_first_of("0123456789") != field.npos; };
      if (const auto d = ExtractField(statement, "D"); hasDigit(d)) {
        int32_t v = 0;
        integer(d, v);
        if (v == 1) expected.Operation = TOperation::Draw;
        if (v == 2) expected.Operation = TOperation::Move;
        if (v == 3) expected.Operation = TOperation::Flash;
        if (v >= 10 && v <= 999) expected.CurrentDCode = v;
      }
      if (const auto g = ExtractField(statement, "G"); hasDigit(g)) {
        int32_t v = 0;
        integer(g, v);
        if (v == 1 || v == 74) expected.Interpolation = TInterpolation::Linear;
        if (v == 2) expected.Interpolation = TInterpolation::Clockwise;
        if (v == 3) expected.Interpolation = TInterpolation::CounterClockwise;
        if (v == 75) expected.MultiQuadrant = true;
        if (v == 74) expected.FullCircleEnabled = false;
      }
      for (const auto& [key, target] : {std::pair{"X", &expected.CoordX}, std::pair{"Y", &expected.CoordY},
                                        std::pair{"I", &expected.CoordI}, std::pair{"J", &expected.CoordJ}}) {
        if (const auto f = ExtractField(statement, key); !f.empty()) *target = DecodeCoordinate(expected, f);
      }
    } catch (const std::exception&) {
      expectThrow = true;
    }

    bool threw = false;
    try {
      EXPECT_TRUE(DispatchStatement(run_, statement));
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
}  // namespace zz::testing
