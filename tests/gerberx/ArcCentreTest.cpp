// Where a circular draw's centre lies: G75's signed offset, and the signs G74 leaves to the
// reader, in every quadrant and both directions.

#include <gtest/gtest.h>

#include <string>

#include "gerberx/ArcCentre.h"

namespace gerberx {
namespace {

struct ArcCase {
  const char* name;
  Point start, end, offset;
  bool clockwise;
  bool multiQuadrant;
  bool found;
  Point centre{};
  bool full = false;
  bool warns = false;
};

class ArcCentreTest : public testing::TestWithParam<ArcCase> {};

TEST_P(ArcCentreTest, FindsTheCentre) {
  const ArcCase& c = GetParam();
  const ArcCentre arc = FindArcCentre(c.start, c.end, c.offset, c.clockwise, c.multiQuadrant);
  EXPECT_EQ(arc.found, c.found);
  if (c.found) {
    EXPECT_EQ(arc.centre, c.centre);
  }
  EXPECT_EQ(arc.full, c.full);
  EXPECT_EQ(!arc.warning.empty(), c.warns) << arc.warning;
}

constexpr Coord kMm = 393701;  // a millimetre, near enough
INSTANTIATE_TEST_SUITE_P(
    Quadrants, ArcCentreTest,
    testing::Values(
        // Single quadrant: a quarter circle about the origin, whichever signs the offset needs.
        ArcCase{"FirstQuadrantCounterClockwise", {1000, 0}, {0, 1000}, {1000, 0}, false, false, true, {0, 0}},
        ArcCase{"SecondQuadrantCounterClockwise", {0, 1000}, {-1000, 0}, {0, 1000}, false, false, true, {0, 0}},
        ArcCase{"ThirdQuadrantCounterClockwise", {-1000, 0}, {0, -1000}, {1000, 0}, false, false, true, {0, 0}},
        ArcCase{"FourthQuadrantCounterClockwise", {0, -1000}, {1000, 0}, {0, 1000}, false, false, true, {0, 0}},
        ArcCase{"FirstQuadrantClockwise", {0, 1000}, {1000, 0}, {0, 1000}, true, false, true, {0, 0}},
        // The same ends clockwise the other way round: the centre moves to the far corner.
        ArcCase{"ClockwiseBetweenTheSameEnds", {-1000, 0}, {0, -1000}, {0, 1000}, true, false, true, {-1000, -1000}},
        ArcCase{"NegativeOffsetReadUnsigned", {1000, 0}, {0, 1000}, {-1000, 0}, false, false, true, {0, 0}},
        // Two centres give a short arc: the one whose radii at both ends agree best, not the first.
        ArcCase{"TheCentreWhoseRadiiAgreeBest", {0, 0}, {-100, 0}, {1000, 1000}, false, false, true, {-1000, -1000}},
        ArcCase{"MoreThanAQuarterIsNoArc", {0, 0}, {-1707, 707}, {1000, 0}, false, false, false, {}, false, true},
        // Multi quadrant: the signed offset from the start.
        ArcCase{"MultiQuadrantHalfCircle", {1000, 0}, {-1000, 0}, {-1000, 0}, false, true, true, {0, 0}},
        ArcCase{"MultiQuadrantFullCircle", {1000, 0}, {1000, 0}, {-1000, 0}, true, true, true, {0, 0}, true},
        ArcCase{"RadiiApartBeyondRounding", {kMm, 0}, {0, 2 * kMm}, {-kMm, 0}, false, true, true, {0, 0}, false, true},
        ArcCase{"RadiiApartByRounding", {kMm, 0}, {0, kMm + kMm / 200}, {-kMm, 0}, false, true, true, {0, 0}}),
    [](const testing::TestParamInfo<ArcCase>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace gerberx
