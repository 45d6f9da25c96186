// The reader against small hand-written files: dark area, object kinds and descriptions, the
// coordinate grid, and the errors that malformed or oversized input must give.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "gerberx/Overlaps.h"
#include "gerberx/Reader.h"

namespace gerberx {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Millimetres, leading zeros omitted, 4.6 digits: X5000000 is 5 mm.
const std::string kHeader = "%FSLAX46Y46*%\n%MOMM*%\n";
// Millimetres fall between the 2.54 nm grid points: straight edges are exact within this.
constexpr double kExact = 5e-5;

Layer Read(const std::string& body, const Options& options = {}) {
  return ReadGerberText(kHeader + body, "t.gbr", options);
}

struct AreaCase {
  const char* name;
  std::string body;
  double mm2;        // expected dark area
  double tolerance;  // mm2; about the chord error times the perimeter of the curved edges
  int objects;
};

class DarkAreaTest : public testing::TestWithParam<AreaCase> {};

TEST_P(DarkAreaTest, GivesTheExpectedArea) {
  const AreaCase& c = GetParam();
  const Layer layer = Read(c.body);
  EXPECT_NEAR(AreaMm2(layer.dark), c.mm2, c.tolerance);
  EXPECT_EQ(static_cast<int>(layer.objects.size()), c.objects);

  // Without polygons, the same objects, each in a box around its shape within 0.01 mm.
  Options bare;
  bare.keepObjectAreas = false;
  bare.computeDarkArea = false;
  const Layer quick = Read(c.body, bare);
  ASSERT_EQ(quick.objects.size(), layer.objects.size());
  const Coord slack = static_cast<Coord>(0.01 * kUnitsPerMm);
  for (std::size_t i = 0; i < quick.objects.size(); ++i) {
    const Box& full = layer.objects[i].box;
    const Box& bareBox = quick.objects[i].box;
    EXPECT_EQ(quick.objects[i].kind, layer.objects[i].kind);
    EXPECT_TRUE(quick.objects[i].area.empty());
    EXPECT_TRUE(bareBox.min.x <= full.min.x + 1 && bareBox.min.x >= full.min.x - slack) << i;
    EXPECT_TRUE(bareBox.max.y >= full.max.y - 1 && bareBox.max.y <= full.max.y + slack) << i;
  }
}

// Square region 10 x 10 mm with its lower-left corner at the origin.
const std::string kSquare = "G36*X0Y0D02*X10000000D01*Y10000000D01*X0D01*Y0D01*G37*\n";

INSTANTIATE_TEST_SUITE_P(
    Shapes, DarkAreaTest,
    testing::Values(
        AreaCase{"CircleFlash", "%ADD10C,1*%D10*X0Y0D03*", kPi / 4, 0.004, 1},
        AreaCase{"RectangleWithHole", "%ADD10R,2X1X0.5*%D10*X0Y0D03*", 2 - kPi / 16, 0.002, 1},
        AreaCase{"PolygonAperture", "%ADD10P,2X4*%D10*X0Y0D03*", 2, kExact, 1},
        AreaCase{"RoundStroke", "%ADD10C,0.5*%D10*X0Y0D02*G01X10000000D01*", 5 + kPi / 16, 0.002, 1},
        AreaCase{"RectangleStrokeSlanted", "%ADD10R,1X2*%D10*X0Y0D02*G01X3000000Y4000000D01*", 2 + 6 + 4, kExact, 1},
        AreaCase{"SquareRegion", kSquare, 100, kExact, 1},
        AreaCase{"RegionWithCutIn",
                 "G36*X0Y0D02*X10000000D01*Y10000000D01*X0D01*Y0D01*X3000000Y3000000D01*Y7000000D01*"
                 "X7000000D01*Y3000000D01*X3000000D01*X0Y0D01*G37*",
                 84, kExact, 1},
        AreaCase{"TwoContoursInOneRegion",
                 "G36*X0Y0D02*X10000000D01*Y10000000D01*X0D01*Y0D01*"
                 "X20000000Y0D02*X25000000D01*Y5000000D01*X20000000D01*Y0D01*G37*",
                 125, kExact, 2},
        AreaCase{"RegionWithArc", "G75*G36*X-5000000Y0D02*X5000000D01*G03X-5000000Y0I-5000000J0D01*G37*", kPi * 25 / 2,
                 0.02, 1},
        AreaCase{"SingleQuadrantArcTakesTheShortCentre",
                 "G74*G36*X0Y0D02*X5000000D01*G03X0Y5000000I5000000J0D01*X0Y0D01*G37*", kPi * 25 / 4, 0.01, 1},
        AreaCase{"SingleQuadrantClockwise", "G74*G36*X0Y0D02*Y5000000D01*G02X5000000Y0I0J5000000D01*G01X0Y0D01*G37*",
                 kPi * 25 / 4, 0.01, 1},
        AreaCase{"FullCircleArcStroke", "%ADD10C,1*%G75*D10*X5000000Y0D02*G03X5000000Y0I-5000000J0D01*", 2 * kPi * 5,
                 0.05, 1},
        AreaCase{"QuarterArcStrokeWithRoundEnds", "%ADD10C,1*%G75*D10*X5000000Y0D02*G03X0Y5000000I-5000000J0D01*",
                 kPi / 2 * 5 + kPi / 4, 0.02, 1},
        AreaCase{"ClearCutsOnlyWhatCameBefore",
                 kSquare + "%LPC*%G36*X3000000Y3000000D02*X7000000D01*Y7000000D01*X3000000D01*Y3000000D01*G37*"
                           "%LPD*%G36*X4000000Y4000000D02*X6000000D01*Y6000000D01*X4000000D01*Y4000000D01*G37*",
                 88, kExact, 3},
        AreaCase{"ClearKeepsTheDarkItDoesNotTouch",
                 kSquare + "G36*X20000000Y0D02*X25000000D01*Y5000000D01*X20000000D01*Y0D01*G37*"
                           "%LPC*%G36*X3000000Y3000000D02*X7000000D01*Y7000000D01*X3000000D01*Y3000000D01*G37*"
                           "%LPD*%G36*X40000000Y0D02*X42000000D01*Y2000000D01*X40000000D01*Y0D01*G37*"
                           "%LPC*%G36*X60000000Y0D02*X61000000D01*Y1000000D01*X60000000D01*Y0D01*G37*",
                 100 + 25 - 16 + 4, kExact, 5},
        AreaCase{"StepAndRepeat", "%ADD10R,1X1*%%SRX3Y2I5J5*%D10*X0Y0D03*%SR*%", 6, kExact, 6},
        AreaCase{"StepAndRepeatClosedByTheFileEnd", "%ADD10R,1X1*%%SRX3Y2I5J5*%D10*X0Y0D03*", 6, kExact, 6},
        AreaCase{"StepAndRepeatOpenedAgainClosesTheFirst",
                 "%ADD10R,1X1*%%SRX2Y1I5J0*%D10*X0Y0D03*%SRX1Y2I0J5*%X20000000Y0D03*%SR*%", 4, kExact, 4},
        AreaCase{"StepAndRepeatInsideABlock",
                 "%ADD10R,1X1*%%ABD11*%%SRX2Y1I5J0*%D10*X0Y0D03*%SR*%%AB*%D11*X0Y0D03*X0Y10000000D03*", 4, kExact, 4},
        AreaCase{"MacroExposureOff", "%AMD*1,1,4,0,0*1,0,2,0,0*%%ADD10D*%D10*X0Y0D03*", 3 * kPi, 0.02, 1},
        AreaCase{"MacroVariablesAndAssignment", "%AMV*$2=$1x2*21,1,$2,$1,0,0,0*%%ADD10V,1.5*%D10*X0Y0D03*", 4.5, kExact,
                 1},
        AreaCase{"MacroPrecedence", "%AMV*21,1,2+3x2,1,0,0,0*%%ADD10V*%D10*X0Y0D03*", 8, kExact, 1},
        AreaCase{"MacroParenthesesUnaryMinusAndDivision", "%AMV*21,1,-(2+3)x-2/5,4/2,0,0,0*%%ADD10V*%D10*X0Y0D03*", 4,
                 kExact, 1},
        AreaCase{"MacroOutline", "%AMT*4,1,3,0,0,4,0,0,3,0,0,0*%%ADD10T*%D10*X0Y0D03*", 6, kExact, 1},
        AreaCase{"MacroPolygon", "%AMPG*5,1,4,0,0,2,0*%%ADD10PG*%D10*X0Y0D03*", 2, kExact, 1},
        AreaCase{"MacroThermal", "%AMT*7,0,0,4,2,0.5,0*%%ADD10T*%D10*X0Y0D03*", 7.414, 0.02, 1},
        AreaCase{"MacroVectorLineRotated", "%AMV*20,1,0.5,0,0,4,0,90*%%ADD10V*%D10*X0Y0D03*", 2, kExact, 1},
        AreaCase{"MacroMoire", "%AMM*6,0,0,5,0.5,0.5,2,0.1,6,0*%%ADD10M*%D10*X0Y0D03*", 11.79, 0.05, 1},
        AreaCase{"BlockFlashedTwice", "%ABD12*%%ADD10C,1*%D10*X0Y0D03*%AB*%D12*X5000000Y5000000D03*X10000000Y0D03*",
                 kPi / 2, 0.008, 2},
        AreaCase{"BlockWithClearInside",
                 "%ABD12*%%ADD10R,2X2*%%ADD11C,1*%D10*X0Y0D03*%LPC*%D11*X0Y0D03*%AB*%%LPD*%D12*X5000000Y5000000D03*",
                 4 - kPi / 4, 0.004, 2},
        AreaCase{"ObjectScale", "%ADD10R,2X1*%%LS2*%D10*X0Y0D03*", 8, kExact, 1},
        AreaCase{"NegativeImage", "%IPNEG*%%ADD10R,10X10*%%ADD11R,2X2*%D10*X0Y0D03*D11*X20000000Y0D03*",
                 // background: the box from (-5,-5) to (21,5) minus both pads
                 26 * 10 - 100 - 4, kExact, 3},
        AreaCase{"ModalOperationAfterD01", "%ADD10R,1X1*%D10*X0Y0D02*G01X4000000Y0D01*X4000000Y4000000*", 5 + 5 - 1,
                 kExact, 2},
        AreaCase{"CommentReadAsNothing", "G04 Layer: VIA KEEPOUT/GND2 X99Y99D03*%ADD10R,1X1*%D10*X0Y0D03*", 1, kExact,
                 1},
        AreaCase{"CommentWithPercent", "G04 100% copper*%ADD10R,1X1*%D10*X0Y0D03*", 1, kExact, 1},
        AreaCase{"BlanksAndLineEnds", "%ADD10R, 1 X\r\n 1*%\r\nD1\n0*X0\r\nY0D03*", 1, kExact, 1}),
    [](const testing::TestParamInfo<AreaCase>& row) { return std::string(row.param.name); });

TEST(ObjectTest, KeepsStandardFlashesAndRoundDrawsAsWhatTheyAre) {
  const Layer layer = Read(
      "%ADD10C,0.5*%%ADD11R,2X1*%%AMM*21,1,2,1,0.5,0,0*%%ADD12M*%\n"
      "G75*D10*X0Y0D02*G01X1000000D01*\n"
      "G02X3000000Y0I1000000J0D01*\n"
      "D11*%LR90*%X5000000Y5000000D03*%LR0*%\n"
      "D12*%LR90*%X8000000Y0D03*%LR0*%\n"
      "G36*X0Y-5000000D02*X1000000D01*Y-4000000D01*G37*\n");
  ASSERT_EQ(layer.objects.size(), 5u);
  const Object& stroke = layer.objects[0];
  EXPECT_EQ(stroke.kind, ObjectKind::Stroke);
  EXPECT_TRUE(stroke.IsRoundDraw());
  EXPECT_EQ(stroke.aperture.xSize, std::llround(0.5 * kUnitsPerMm));
  const Object& arc = layer.objects[1];
  EXPECT_EQ(arc.kind, ObjectKind::Arc);
  EXPECT_TRUE(arc.clockwise);
  EXPECT_EQ(arc.centre, (Point{static_cast<Coord>(std::llround(2 * kUnitsPerMm)), 0}));
  EXPECT_EQ(arc.line, 5);  // after the two lines of the header
  const Object& pad = layer.objects[2];
  EXPECT_TRUE(pad.IsStandardFlash());
  EXPECT_EQ(pad.aperture.shape, ApertureShape::Rectangle);
  EXPECT_DOUBLE_EQ(pad.aperture.rotation, 90);
  // Rotated a quarter turn, the 2 x 1 rectangle stands 2 mm tall.
  EXPECT_NEAR((pad.box.max.y - pad.box.min.y) / kUnitsPerMm, 2, 1e-5);
  EXPECT_EQ(layer.objects[3].kind, ObjectKind::MacroFlash);
  EXPECT_EQ(layer.objects[3].aperture.macroName, "M");
  // Its rectangle turned with the flash: the centre 0.5 mm right of the flash point goes above it.
  ASSERT_EQ(layer.objects[3].macroParts.size(), 1u);
  const MacroPart& part = layer.objects[3].macroParts[0];
  EXPECT_EQ(part.shape, MacroPart::Shape::Rectangle);
  EXPECT_EQ(part.centre, (Point{static_cast<Coord>(std::llround(8 * kUnitsPerMm)),
                                static_cast<Coord>(std::llround(0.5 * kUnitsPerMm))}));
  EXPECT_EQ(part.xSize, std::llround(2 * kUnitsPerMm));
  EXPECT_NEAR(part.rotation, 90, 1e-9);
  EXPECT_EQ(layer.objects[4].kind, ObjectKind::Region);
  EXPECT_EQ(layer.counts.transformedObjects, 2);
}

TEST(ObjectTest, PlainObjectsWithoutAreasKeepBoxesAroundTheirAreas) {
  // Arcs both ways across the axes, a full circle, single-quadrant arcs, a clear flash (which
  // must keep its area to cut) and a rectangle stroke along an axis.
  const std::string body =
      "%ADD10C,0.4*%%ADD11R,1X0.5*%D10*G75*X3000000Y0D02*G03X-3000000Y0I-3000000J0D01*"
      "G02X0Y3000000I3000000J0D01*X0Y3000000D02*G03X0Y3000000I0J-2000000D01*"
      "G74*X1000000Y0D02*G03X0Y1000000I1000000J0D01*G02X-1000000Y0I1000000J0D01*"
      "D11*G01X0Y-5000000D02*X4000000Y-5000000D01*%LPC*%D10*X0Y0D03*";
  Options plain;
  plain.computeDarkArea = false;
  plain.plainObjectAreas = false;
  const Layer without = Read(body, plain);
  const Layer with = Read(body);
  ASSERT_EQ(without.objects.size(), with.objects.size());
  for (std::size_t i = 0; i < with.objects.size(); ++i) {
    const Object& o = without.objects[i];
    const Box& exact = with.objects[i].box;
    EXPECT_EQ(o.area.empty(), o.polarity == Polarity::Dark) << i;
    EXPECT_TRUE(o.box.min.x <= exact.min.x && o.box.min.y <= exact.min.y && o.box.max.x >= exact.max.x &&
                o.box.max.y >= exact.max.y)
        << "object " << i;
    EXPECT_LE(o.box.max.x - o.box.min.x, exact.max.x - exact.min.x + 0.01 * kUnitsPerMm) << "object " << i;
  }
}

TEST(ObjectTest, CountsAndAttributes) {
  const Layer layer = ReadGerberText(
      "G04 made by hand*\n%TF.FileFunction,Copper,L1,Top*%\n%TF.Part,Single*%\n%FSLAX25Y25*MOIN*%\n"
      "%ADD10C,0.01*%%TA.AperFunction,ViaPad*%%ADD11C,0.02*%%TD*%\n"
      "%SRX2Y1I1J0*%D10*X0Y0D03*%SR*%%LPC*%D11*X0Y0D03*M02*X1Y1D03*",
      "a.gbr");
  EXPECT_EQ(layer.units, Units::Inches);  // from the format statement's own block
  EXPECT_EQ(layer.FileFunction(), "Copper,L1,Top");
  EXPECT_EQ(layer.counts.flashes, 3);  // nothing after M02
  EXPECT_EQ(layer.counts.stepRepeatBlocks, 1);
  EXPECT_EQ(layer.counts.stepRepeatCopies, 1);
  EXPECT_EQ(layer.counts.clearObjects, 1);
  EXPECT_EQ(layer.counts.attributes, 4);
  EXPECT_EQ(layer.counts.comments, 1);
}

TEST(BudgetTest, CountsARegionByItsEdgesWithOrWithoutAreas) {
  // Two edges, one an arc: its hundreds of vertices are the vertex budget's, not primitives.
  const std::string halfDisc = "G75*G36*X-5000000Y0D02*X5000000D01*G03X-5000000Y0I-5000000J0D01*G37*\n";
  Options tight;
  tight.maxPrimitives = 3;
  tight.primitivesPerByte = 0;
  EXPECT_EQ(Read(halfDisc, tight).objects.size(), 1u);
  EXPECT_THROW(Read(halfDisc + halfDisc, tight), ReadError);
  tight.keepObjectAreas = tight.computeDarkArea = false;
  EXPECT_EQ(Read(halfDisc, tight).objects.size(), 1u);
  EXPECT_THROW(Read(halfDisc + halfDisc, tight), ReadError);
}

TEST(ObjectTest, MarksWhatALaterClearObjectCuts) {
  // A pad cut by a later clear square, one beside it untouched, one drawn after the cut, and one
  // that only touches the clear square's edge.
  const Layer layer = Read(
      "%ADD10R,2X2*%D10*X0Y0D03*X10000000Y0D03*X-1000000Y500000D03*\n"
      "%LPC*%G36*X0Y0D02*X1000000D01*Y1000000D01*X0D01*Y0D01*G37*%LPD*%X0Y0D03*");
  ASSERT_EQ(layer.objects.size(), 5u);
  const std::vector<bool> cut = CutByLaterClear(layer);
  EXPECT_EQ(cut, (std::vector<bool>{true, false, false, false, false}));
}

// Format x zero omission x units x notation: where X..Y.. lands, in grid units.
struct CoordinateCase {
  const char* name;
  const char* header;
  const char* coordinates;
  Point expected;
};

class CoordinateTest : public testing::TestWithParam<CoordinateCase> {};

TEST_P(CoordinateTest, LandsWhereTheFormatSays) {
  const CoordinateCase& c = GetParam();
  const Layer layer =
      ReadGerberText(std::string(c.header) + "%ADD10C,0.01*%D10*X100Y100D02*" + c.coordinates + "D03*", "c.gbr");
  ASSERT_EQ(layer.objects.size(), 1u);
  EXPECT_EQ(layer.objects[0].end, c.expected);
}

constexpr Coord kInch = kUnitsPerInch;
INSTANTIATE_TEST_SUITE_P(
    Grid, CoordinateTest,
    testing::Values(
        CoordinateCase{"LeadingInch", "%FSLAX24Y24*%%MOIN*%", "X15000Y-2500", {kInch * 3 / 2, -kInch / 4}},
        CoordinateCase{"TrailingInch", "%FSTAX24Y24*%%MOIN*%", "X015Y-0025", {kInch * 3 / 2, -kInch / 4}},
        CoordinateCase{"LeadingMm", "%FSLAX33Y33*%%MOMM*%", "X25400Y254", {kInch, kInch / 100}},
        CoordinateCase{"TrailingMm", "%FSTAX33Y33*%%MOMM*%", "X0254Y000254", {kInch, kInch / 100}},
        CoordinateCase{"IncrementalFormat", "%FSLIX24Y24*%%MOIN*%", "X10000Y-100", {kInch + kInch / 100, 0}},
        CoordinateCase{"IncrementalG91", "%FSLAX24Y24*%%MOIN*%G91*", "X10000", {kInch + kInch / 100, kInch / 100}},
        CoordinateCase{"UnitsByG71", "%FSLAX33Y33*%G71*", "X25400Y0", {kInch, 0}},
        CoordinateCase{"ModalY", "%FSLAX24Y24*%%MOIN*%", "X10000", {kInch, kInch / 100}},
        CoordinateCase{"MirrorAndOffsetImage", "%FSLAX24Y24*%%MOIN*%%MIA1B0*%%OFA1B0*%", "X10000Y0", {0, 0}},
        CoordinateCase{"ImageRotation", "%FSLAX24Y24*%%MOIN*%%IR90*%", "X10000Y0", {0, kInch}},
        CoordinateCase{"DecimalPoint", "%FSLAX24Y24*%%MOIN*%", "X1.5Y0", {kInch * 3 / 2, 0}},
        // The image statements apply in the order MI, SF, OF, IR, AS, whatever order they come in.
        CoordinateCase{"ImageStatementsInTheirOwnOrder",
                       "%FSLAX24Y24*%%MOIN*%%ASAYBX*%%IR90*%%OFA1B0*%%SFA2B1*%%MIA1B0*%",
                       "X10000Y0",
                       {-kInch, 0}},
        CoordinateCase{"ScaleBeforeOffset", "%FSLAX24Y24*%%MOIN*%%OFA1B0*%%SFA2B1*%", "X10000Y0", {3 * kInch, 0}},
        CoordinateCase{"OffsetBeforeRotation", "%FSLAX24Y24*%%MOIN*%%IR90*%%OFA1B0*%", "X10000Y0", {0, 2 * kInch}},
        CoordinateCase{"RotationBeforeSwap", "%FSLAX24Y24*%%MOIN*%%ASAYBX*%%IR90*%", "X10000Y0", {kInch, 0}},
        CoordinateCase{"MirrorBothAxes", "%FSLAX24Y24*%%MOIN*%%MIA1B1*%", "X10000Y5000", {-kInch, -kInch / 2}},
        CoordinateCase{"LaterOffsetReplacesTheEarlier",
                       "%FSLAX24Y24*%%MOIN*%%OFA1B0*%%OFA0.5B0*%",
                       "X10000Y0",
                       {kInch * 3 / 2, 0}}),
    [](const testing::TestParamInfo<CoordinateCase>& row) { return std::string(row.param.name); });

struct ErrorCase {
  const char* name;
  std::string text;
  int line;
  const char* reason;         // part of the message
  bool ownBounds = false;     // read with the reader's own bounds, not the test's small ones
  long long maxVertices = 0;  // else the reader's own: a smaller budget for work that would take long
};

class ReadErrorTest : public testing::TestWithParam<ErrorCase> {};

TEST_P(ReadErrorTest, NamesFileLineAndCause) {
  const ErrorCase& c = GetParam();
  Options options;
  if (!c.ownBounds) {
    options.maxObjects = 1000;
    options.maxBlockDepth = 3;
  }
  if (c.maxVertices > 0) options.maxVertices = c.maxVertices;
  try {
    ReadGerberText(c.text, "bad.gbr", options);
    FAIL() << "no error";
  } catch (const ReadError& e) {
    EXPECT_EQ(e.File(), "bad.gbr");
    EXPECT_EQ(e.Line(), c.line);
    EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
  }
}

// Small files that would make unbounded work, each ended by the budget before the work is done.
std::string MacroOfCircles(int circles, double lastX) {
  std::string text = "%AMM*";
  for (int i = 0; i < circles; ++i) {
    const double x = i + 1 == circles ? lastX : (i % 70) * 0.3;
    text += "1,1,0.5," + std::to_string(x) + "," + std::to_string((i / 70) * 0.3) + "*";
  }
  return text + "%\n%ADD10M*%\nD10*\n";
}

// A circle 100 mm wide cut by `cuts` small clear ones, each cut a boolean through the whole image.
std::string MacroCutAgainAndAgain(int cuts) {
  std::string text = "%AMK*1,1,100,0,0*";
  for (int i = 0; i < cuts; ++i) text += "1,0,0.1," + std::to_string(i % 40) + "," + std::to_string(i / 40) + "*";
  return text + "%\n%ADD10K*%\n";
}

std::string FlashesOnOneLine(int count) {
  std::string text;
  for (int i = 0; i < count; ++i)
    text += "X" + std::to_string((i % 200) * 1000000) + "Y" + std::to_string(i / 200 * 1000000) + "D03*";
  return text + "\n";
}

std::string NestedBlocks(int depth) {
  std::string text = "%ADD10C,0.1*%\n%ABD11*%\nD10*\nX0Y0D03*\n%AB*%\n";
  for (int d = 12; d < 12 + depth; ++d) {
    text += "%ABD" + std::to_string(d) + "*%\nD" + std::to_string(d - 1) + "*\nX0Y0D03*X100000Y0D03*\n%AB*%\n";
  }
  return text + "D" + std::to_string(11 + depth) + "*\nX0Y0D03*\n";
}

INSTANTIATE_TEST_SUITE_P(
    Expansion, ReadErrorTest,
    testing::Values(
        // 372 kB: one macro of 5,000 circles, flashed 20,000 times.
        ErrorCase{"MacroFlashedPastTheBudget", kHeader + MacroOfCircles(5000, 0.3) + FlashesOnOneLine(20000), 6,
                  "would place", true},
        // The last of 5,000 circles out of range: said at once, not after uniting the others.
        ErrorCase{"MacroOutOfRange", kHeader + MacroOfCircles(5000, 3000) + "X0Y0D03*\n", 4, "range", true},
        // Each of 60 blocks flashes the one before twice: the eighteenth's flashes would pass the
        // budget of vertices.
        ErrorCase{"NestedBlocksPastTheBudget", kHeader + NestedBlocks(60), 8 + 4 * 17 + 2, "would place", true},
        ErrorCase{"StepAndRepeatPastTheBudget",
                  kHeader + "%ADD10C,1*%D10*\n%SRX1000Y1000I1J1*%\nX0Y0D03*X1Y0D03*X2Y0D03*\n%SR*%\n", 6,
                  "the copies of this step-and-repeat would place", true},
        // 125 copies of a block that flashes a circle dark and then one clear beside it: each
        // change of polarity puts the whole image so far through the polygon library again.
        ErrorCase{"DarkAreaRedoneAtEachChangeOfPolarity",
                  kHeader + "%ABD10*%\n%ADD11C,10*%\n%ABD12*%D11*X0Y0D03*%AB*%\n"
                            "D12*X25400Y0D03*%LPC*%D11*X0Y0D03*\n%AB*%\n"
                            "%LPD*%%SRX5Y25I0.1J0.1*%D10*X0Y0D03*%SR*%\n",
                  8, "polygon vertices", false, 60'000},
        // Each of 200 cuts goes through the whole circle and the cuts before it.
        ErrorCase{"MacroImageCutAgainAndAgain", kHeader + MacroCutAgainAndAgain(200), 4, "the bound on vertices", false,
                  20'000}),
    [](const testing::TestParamInfo<ErrorCase>& row) { return std::string(row.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Malformed, ReadErrorTest,
    testing::Values(
        ErrorCase{"UnclosedBlock", kHeader + "\n%ADD10C,1*\nD10*", 4, "not closed"},
        ErrorCase{"UndefinedAperture", kHeader + "D11*", 3, "D11 is not defined"},
        ErrorCase{"UndefinedMacro", kHeader + "%ADD10NOPE*%", 3, "'NOPE' is not defined"},
        ErrorCase{"MacroDividesByZero", kHeader + "%AMZ*\n1,1,1/0,0,0*%\n%ADD10Z*%", 5, "not a finite number"},
        ErrorCase{"MacroUnknownPrimitive", kHeader + "%AMZ*\n9,1,1*%", 4, "unknown aperture macro primitive 9"},
        ErrorCase{"CoordinateBeforeFormat", "%MOMM*%%ADD10C,1*%D10*\nX1Y1D03*", 2, "before the format statement"},
        ErrorCase{"UnknownGCode", kHeader + "G99*", 3, "G99"},
        ErrorCase{"FlashInsideRegion", kHeader + "%ADD10C,1*%D10*G36*X0Y0D03*", 3, "inside a region"},
        ErrorCase{"CoordinateBeyondRange", kHeader + "%ADD10C,1*%D10*X999999999999Y0D03*", 3, "range"},
        ErrorCase{"StepRepeatTooLarge", kHeader + "%SRX100000Y100000I1J1*%", 3, "the bound is"},
        ErrorCase{"TooManyObjects", kHeader + "%ADD10C,1*%D10*%SRX40Y40I1J1*%X0Y0D03*%SR*%", 3, "bound on objects"},
        ErrorCase{"BlocksNestedTooDeep",
                  kHeader + "%ADD10C,1*%%ABD11*%D10*X0Y0D03*%AB*%%ABD12*%D11*X0Y0D03*%AB*%%ABD13*%D12*X0Y0D03*%AB*%"
                            "%ABD14*%D13*X0Y0D03*%AB*%%ABD15*%D14*X0Y0D03*%AB*%D15*X0Y0D03*",
                  3, "nested deeper"},
        ErrorCase{"BlockNeverClosed", kHeader + "%ADD10C,1*%%ABD11*%D10*X0Y0D03*", 0, "inside the block aperture"},
        ErrorCase{"BlockEndWithoutBlock", kHeader + "%ADD10C,1*%\n%AB*%", 4, "%AB end without an open block aperture"},
        ErrorCase{"BlockNumberBelowTen", kHeader + "%ABD9*%", 3, "block aperture number must be 10 or more"},
        ErrorCase{"BlockInsideRegion", kHeader + "G36*\n%ABD11*%", 4, "block aperture inside a region"},
        ErrorCase{"StepRepeatEndInsideBlock", kHeader + "%ADD10C,1*%\n%SRX2Y1I1J0*%\n%ABD11*%\nD10*X0Y0D03*\n%SR*%", 7,
                  "step-and-repeat closed inside a block aperture"},
        ErrorCase{"StepRepeatCountZero", kHeader + "%SRX0Y1I1J0*%", 3, "count must be a whole number of at least 1"},
        ErrorCase{"StepRepeatUnknownField", kHeader + "%SRX2Y1K1*%", 3, "unknown field 'K' in %SR"},
        ErrorCase{"StepRepeatWithoutStep", kHeader + "%SRX2Y1I*%", 3, "missing step distance"},
        ErrorCase{"StepRepeatBeyondRange", kHeader + "%SRX3Y1I1000J0*%", 3,
                  "step-and-repeat beyond the reader's range"},
        // A block of 400 flashes, flashed twice more: the bound on objects, whatever the file's size.
        ErrorCase{
            "BlockFlashPastTheObjectBound",
            kHeader + "%ADD10C,1*%\n%ABD11*%\nD10*\n" + FlashesOnOneLine(400) + "%AB*%\nD11*\nX0Y0D03*\nX0Y0D03*\n", 10,
            "this flash of a block aperture would place 400 objects more where 200 of the file's 1000 are "
            "left (the bound on objects)"},
        ErrorCase{"DrillFile", "M48\nINCH,TZ\nT01C0.02\n%\nT01\nX1Y1\nM30\n", 1, "Excellon"}),
    [](const testing::TestParamInfo<ErrorCase>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace gerberx
