#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "apertures/Aperture.h"

namespace zz {
namespace {

template <typename T>
std::unique_ptr<T> Make(int32_t dcode, int32_t x, int32_t y, int32_t hole = 0, uint8_t usage = kUsageMultiple) {
  auto aperture = std::make_unique<T>();
  aperture->DCode = dcode;
  aperture->XSize = x;
  aperture->YSize = y;
  aperture->HoleSize = hole;
  aperture->Usage = usage;
  return aperture;
}

TEST(ApertureTest, NewAperturesAreZeroExceptTheirShape) {
  const TRoundAperture round;
  const TRectangleAperture rectangle;
  const TOctagonAperture octagon;
  const TReliefAperture relief;
  const TAperture plain;
  EXPECT_EQ(round.Shape, kShapeRound);
  EXPECT_EQ(rectangle.Shape, kShapeRectangle);
  EXPECT_EQ(octagon.Shape, kShapeOctagon);
  EXPECT_EQ(relief.Shape, kShapeRelief);
  EXPECT_EQ(plain.Shape, 0);
  EXPECT_EQ(relief.DCode | relief.XSize | relief.YSize | relief.HoleSize | relief.Usage | relief.GapSize |
                relief.RingSize,
            0);
}

// --- definition texts ---

TEST(DefinitionTextTest, RoundWritesACircleOrAnObround) {
  EXPECT_EQ(Make<TRoundAperture>(10, 100000, 100000)->DefinitionText(true, 4).View(), "%ADD10C,0.0100*%");
  EXPECT_EQ(Make<TRoundAperture>(10, 100000, 100000)->DefinitionText(false, 3).View(), "%ADD10C,0.254*%");
  EXPECT_EQ(Make<TRoundAperture>(11, 100000, 200000, 50000)->DefinitionText(false, 3).View(),
            "%ADD11O,0.254X0.508X0.127*%");
  EXPECT_EQ(Make<TRoundAperture>(12, 100000, 100000, 50000)->DefinitionText(true, 4).View(),
            "%ADD12C,0.0100X0.0050*%");
}

TEST(DefinitionTextTest, RectangleAndOctagon) {
  EXPECT_EQ(Make<TRectangleAperture>(20, 600000, 300000)->DefinitionText(true, 3).View(), "%ADD20R,0.060X0.030*%");
  EXPECT_EQ(Make<TRectangleAperture>(21, 600000, 300000, 100000)->DefinitionText(true, 3).View(),
            "%ADD21R,0.060X0.030X0.010*%");
  // The octagon's outer diameter is the smaller size.
  EXPECT_EQ(Make<TOctagonAperture>(12, 300000, 200000)->DefinitionText(true, 4).View(), "%ADD12P,0.0200X8X0*%");
  EXPECT_EQ(Make<TOctagonAperture>(13, 200000, 300000, 1)->DefinitionText(false, 5).View(),
            "%ADD13P,0.50800X8X0X0.00000*%");
}

TEST(DefinitionTextTest, NoHolePartForAHoleOfZeroOrLess) {
  EXPECT_EQ(Make<TRoundAperture>(10, 100000, 100000, -5)->DefinitionText(true, 4).View(), "%ADD10C,0.0100*%");
  EXPECT_EQ(Make<TRectangleAperture>(10, 100000, 100000, 0)->DefinitionText(true, 4).View(),
            "%ADD10R,0.0100X0.0100*%");
  EXPECT_EQ(Make<TOctagonAperture>(10, 100000, 100000, -1)->DefinitionText(true, 4).View(), "%ADD10P,0.0100X8X0*%");
}

TEST(DefinitionTextTest, ReliefWritesItsMacroAndADefinitionUsingIt) {
  EXPECT_EQ(Make<TReliefAperture>(13, 100000, 100000)->DefinitionText(true, 4).View(),
            "%AMTHD13*\r\n7,0,0,0.0100,0.0100,0.0000,45*\r\n%\r\n%ADD13THD13*%");
  auto relief = Make<TReliefAperture>(14, 200000, 100000);
  relief->GapSize = 20000;
  relief->RingSize = 50000;
  EXPECT_EQ(relief->DefinitionText(true, 3).View(), "%AMTHD14*\r\n7,0,0,0.025,0.020,0.002,45*\r\n%\r\n%ADD14THD14*%");
}

TEST(DefinitionTextTest, ClassDecidesTheTextWhateverTheShapeField) {
  auto round = Make<TRoundAperture>(10, 100000, 100000);
  round->Shape = kShapeRectangle;
  EXPECT_EQ(round->DefinitionText(true, 4).View(), "%ADD10C,0.0100*%");
  EXPECT_EQ(Make<TAperture>(10, 100000, 100000)->DefinitionText(true, 4).View(), "");
}

TEST(DefinitionTextTest, NumbersGoThroughSingleFloatAndRoundToTheDecimals) {
  // 12345 units: 1.2345 mil rounds to 1.234 (half to even) before the single-precision step.
  EXPECT_EQ(Make<TRoundAperture>(10, 12345, 12345)->DefinitionText(true, 9).View(), "%ADD10C,0.001234000*%");
  // Negative lengths keep their sign; the extreme 32-bit size stays within its text.
  EXPECT_EQ(Make<TRectangleAperture>(10, -10000, 2147483647)->DefinitionText(true, 2).View(),
            "%ADD10R,-0.00X214.75*%");
}

TEST(DefinitionTextTest, DecimalsOutsideTheUsefulRangeAreClamped) {
  EXPECT_EQ(Make<TRoundAperture>(10, 100000, 100000)->DefinitionText(true, 0).View(), "%ADD10C,0*%");
  EXPECT_EQ(Make<TRoundAperture>(10, 100000, 100000)->DefinitionText(true, -3).View(), "%ADD10C,0*%");
  const auto text = Make<TRoundAperture>(999, 2147483647, 2147483647, 2147483647)->DefinitionText(false, 1000000);
  EXPECT_LE(text.Size(), 255u);
  EXPECT_EQ(text.View().substr(0, 13), "%ADD999C,5454");
}

// --- description texts ---

TEST(DescriptionTextTest, WritesTheCommonPairsThenTheClassShape) {
  const auto round = Make<TRoundAperture>(10, 100000, 100000);
  EXPECT_EQ(round->DescriptionText(true).View(),
            "DCode=10|XSize=10mil|YSize=10mil|HoleSize=0mil|Usage=MULTIPLE|Shape=Round");
  EXPECT_EQ(round->DescriptionText(false).View(),
            "DCode=10|XSize=0.254mm|YSize=0.254mm|HoleSize=0mm|Usage=MULTIPLE|Shape=Round");
  EXPECT_EQ(Make<TRectangleAperture>(11, 12345, 10000, 0, kUsageFlashOnly)->DescriptionText(true).View(),
            "DCode=11|XSize=1.234mil|YSize=1mil|HoleSize=0mil|Usage=FLASHONLY|Shape=Rectangle");
  EXPECT_EQ(Make<TOctagonAperture>(12, 0, 0, 0, kUsageStrokeOnly)->DescriptionText(true).View(),
            "DCode=12|XSize=0mil|YSize=0mil|HoleSize=0mil|Usage=STROKEONLY|Shape=Octagon");
  EXPECT_EQ(Make<TReliefAperture>(13, 0, 0)->DescriptionText(true).View(),
            "DCode=13|XSize=0mil|YSize=0mil|HoleSize=0mil|Usage=MULTIPLE|Shape=Relief");
}

TEST(DescriptionTextTest, UnknownUsageIsABlankAndAPlainApertureHasNoShape) {
  EXPECT_EQ(Make<TAperture>(14, 0, 0, 0, 7)->DescriptionText(true).View(),
            "DCode=14|XSize=0mil|YSize=0mil|HoleSize=0mil|Usage= ");
}

TEST(DescriptionTextTest, ShapeWordFollowsTheClass) {
  auto round = Make<TRoundAperture>(10, 0, 0);
  round->Shape = kShapeOctagon;
  EXPECT_TRUE(round->DescriptionText(true).View().ends_with("|Shape=Round"));
}

}  // namespace
}  // namespace zz
