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

TEST(DefinitionTextTest, WritesEachClassCharacterForCharacter) {
  auto relief = Make<TReliefAperture>(14, 200000, 100000);
  relief->GapSize = 20000;
  relief->RingSize = 50000;
  auto roundMarkedRectangle = Make<TRoundAperture>(10, 100000, 100000);
  roundMarkedRectangle->Shape = kShapeRectangle;  // the class decides the text
  const struct {
    std::unique_ptr<TAperture> Aperture;
    bool Imperial;
    int32_t Decimals;
    const char* Expected;
  } cases[] = {
      {Make<TRoundAperture>(10, 100000, 100000), true, 4, "%ADD10C,0.0100*%"},
      {Make<TRoundAperture>(10, 100000, 100000), false, 3, "%ADD10C,0.254*%"},
      {Make<TRoundAperture>(11, 100000, 200000, 50000), false, 3, "%ADD11O,0.254X0.508X0.127*%"},
      {Make<TRoundAperture>(12, 100000, 100000, -5), true, 4, "%ADD12C,0.0100*%"},
      {Make<TRectangleAperture>(21, 600000, 300000, 100000), true, 3, "%ADD21R,0.060X0.030X0.010*%"},
      {Make<TOctagonAperture>(12, 300000, 200000), true, 4, "%ADD12P,0.0200X8X0*%"},  // the smaller size
      {Make<TOctagonAperture>(13, 200000, 300000, 1), false, 5, "%ADD13P,0.50800X8X0X0.00000*%"},
      {Make<TReliefAperture>(13, 100000, 100000), true, 4,
       "%AMTHD13*\r\n7,0,0,0.0100,0.0100,0.0000,45*\r\n%\r\n%ADD13THD13*%"},
      {std::move(relief), true, 3, "%AMTHD14*\r\n7,0,0,0.025,0.020,0.002,45*\r\n%\r\n%ADD14THD14*%"},
      {std::move(roundMarkedRectangle), true, 4, "%ADD10C,0.0100*%"},
      {Make<TAperture>(10, 100000, 100000), true, 4, ""},
      // 1.2345 mil rounds to 1.234 (half to even) before the single-precision step.
      {Make<TRoundAperture>(10, 12345, 12345), true, 9, "%ADD10C,0.001234000*%"},
      {Make<TRectangleAperture>(10, -10000, 2147483647), true, 2, "%ADD10R,0.00X214.75*%"},  // no "-0.00"
      {Make<TRectangleAperture>(10, -100000, -1), false, 1, "%ADD10R,-0.3X0.0*%"},
      {Make<TRoundAperture>(10, 100000, 100000), true, 0, "%ADD10C,0*%"},
      {Make<TRoundAperture>(10, 100000, 100000), true, -3, "%ADD10C,0*%"},
      // The float nearest 0.01 to 24 decimals, then written exactly and padded with a zero.
      {Make<TRoundAperture>(10, 100000, 100000), true, 24, "%ADD10C,0.009999999776482582092285*%"},
      {Make<TRoundAperture>(10, 100000, 100000), true, 30, "%ADD10C,0.009999999776482582092285156250*%"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.Aperture->DefinitionText(c.Imperial, c.Decimals).View(), c.Expected) << c.Expected;
  }
  // Any number of decimals: the text ends where 255 characters end.
  const TShortString<255> longest = Make<TRoundAperture>(10, 100000, 100000)->DefinitionText(true, 1000000);
  EXPECT_EQ(longest.View().size(), 255U);
  EXPECT_EQ(longest.View().substr(0, 40), "%ADD10C,0.009999999776482582092285156250");
}

TEST(DescriptionTextTest, WritesTheCommonPairsThenTheClassShape) {
  auto octagonMarkedRelief = Make<TOctagonAperture>(12, 0, 0, 0, kUsageStrokeOnly);
  octagonMarkedRelief->Shape = kShapeRelief;  // the shape word follows the class
  EXPECT_EQ(Make<TRoundAperture>(10, 100000, 100000)->DescriptionText(true).View(),
            "DCode=10|XSize=10mil|YSize=10mil|HoleSize=0mil|Usage=MULTIPLE|Shape=Round");
  EXPECT_EQ(Make<TRoundAperture>(10, 100000, 100000)->DescriptionText(false).View(),
            "DCode=10|XSize=0.254mm|YSize=0.254mm|HoleSize=0mm|Usage=MULTIPLE|Shape=Round");
  EXPECT_EQ(Make<TRectangleAperture>(11, 12345, 10000, 0, kUsageFlashOnly)->DescriptionText(true).View(),
            "DCode=11|XSize=1.234mil|YSize=1mil|HoleSize=0mil|Usage=FLASHONLY|Shape=Rectangle");
  EXPECT_EQ(octagonMarkedRelief->DescriptionText(true).View(),
            "DCode=12|XSize=0mil|YSize=0mil|HoleSize=0mil|Usage=STROKEONLY|Shape=Octagon");
  EXPECT_TRUE(Make<TReliefAperture>(13, 0, 0)->DescriptionText(true).View().ends_with("|Shape=Relief"));
  EXPECT_EQ(Make<TAperture>(14, 0, 0, 0, 7)->DescriptionText(true).View(),
            "DCode=14|XSize=0mil|YSize=0mil|HoleSize=0mil|Usage= ");
}

}  // namespace
}  // namespace zz
