#include <gtest/gtest.h>

#include <cmath>

#include "gerber/ArcGeometry.h"

namespace zz {
namespace {

TEST(PointAngleTest, QuadrantsAndAxes) {
  EXPECT_EQ(PointAngle(0, 0, 1000, 0), 0.0f);
  EXPECT_EQ(PointAngle(0, 0, 0, 1000), 90.0f);
  EXPECT_EQ(PointAngle(0, 0, -1000, 0), 180.0f);
  EXPECT_EQ(PointAngle(0, 0, 0, -1000), 270.0f);
  EXPECT_EQ(PointAngle(0, 0, 1, -1), -45.0f);  // right of and below the centre: negative
  EXPECT_EQ(PointAngle(0, 0, -1, 1), 135.0f);
  EXPECT_EQ(PointAngle(0, 0, -1, -1), 225.0f);
  EXPECT_EQ(PointAngle(5, 5, 5, 5), 270.0f);  // the centre itself
  EXPECT_EQ(PointAngle(100, 200, 100, 201), 90.0f);
}

TEST(PointAngleTest, ArctangentIsRoundedToSingleBeforeDegrees) {
  // A straight double computation gives -44.9713364 and 28.8081207.
  EXPECT_EQ(PointAngle(0, 0, 1000, -999), -44.97134017944336f);
  EXPECT_EQ(PointAngle(0, 0, 12345, 6789), 28.808122634887695f);
  EXPECT_EQ(PointAngle(100, 200, -5000, -4000), 219.4724578857422f);
}

TEST(PointDistanceTest, MeasuresInExtendedPrecision) {
  EXPECT_EQ(PointDistance(0, 0, 3, 4), 5.0f);
  EXPECT_EQ(PointDistance(0, 0, 1000, 1000), 1414.213623046875f);
  // Whole 32-bit span: no overflow in the squares.
  EXPECT_EQ(PointDistance(-2147483648.0f, 0, 2147483647.0f, 0), 4294967296.0f);
  EXPECT_EQ(RadiansToDegrees(std::atan(1.0) * 4), 180.0);
}

}  // namespace
}  // namespace zz
