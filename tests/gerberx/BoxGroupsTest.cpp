// Grouping by box: boxes that share a point are one group, also through others; an empty box
// touches nothing.

#include <gtest/gtest.h>

#include <algorithm>

#include "gerberx/BoxGroups.h"

namespace gerberx {
namespace {

Box B(Coord x0, Coord y0, Coord x1, Coord y1) {
  Box b;
  b.Add(Point{x0, y0});
  b.Add(Point{x1, y1});
  return b;
}

struct Row {
  const char* Name;
  std::vector<Box> Boxes;
  std::vector<std::vector<std::size_t>> Groups;
};

class Grouping : public ::testing::TestWithParam<Row> {};

TEST_P(Grouping, TouchingGroups) { EXPECT_EQ(TouchingGroups(GetParam().Boxes), GetParam().Groups); }

INSTANTIATE_TEST_SUITE_P(Boxes, Grouping,
                         ::testing::Values(Row{"Apart", {B(0, 0, 1, 1), B(5, 5, 6, 6)}, {{0}, {1}}},
                                           Row{"SharingAnEdge", {B(0, 0, 1, 1), B(1, 0, 2, 1)}, {{0, 1}}},
                                           Row{"SharingACorner", {B(0, 0, 1, 1), B(1, 1, 2, 2)}, {{0, 1}}},
                                           Row{"ThroughAThird",
                                               {B(0, 0, 1, 1), B(10, 0, 11, 1), B(1, 0, 10, 1), B(50, 50, 51, 51)},
                                               {{0, 1, 2}, {3}}},
                                           Row{"OverlappingOnlyInX", {B(0, 0, 10, 1), B(5, 3, 6, 4)}, {{0}, {1}}},
                                           Row{"EmptyBoxAlone", {B(0, 0, 1, 1), Box{}, B(0, 0, 1, 1)}, {{0, 2}, {1}}}),
                         [](const ::testing::TestParamInfo<Row>& row) { return std::string(row.param.Name); });

TEST(BoxPairs, CountedAmongTheMembersUpToTheCap) {
  // A grid of three rows across three columns: nine crossings; a box apart meets none.
  std::vector<Box> boxes;
  for (int k = 0; k < 3; ++k) boxes.push_back(B(10 * k, 0, 10 * k + 1, 30));
  for (int k = 0; k < 3; ++k) boxes.push_back(B(-1, 10 * k, 31, 10 * k + 1));
  boxes.push_back(B(100, 100, 101, 101));
  boxes.push_back(Box{});
  const std::vector<std::size_t> all{0, 1, 2, 3, 4, 5, 6, 7};
  EXPECT_EQ(TouchingPairs(boxes, all, 1000), 9);
  EXPECT_EQ(TouchingPairs(boxes, {0, 1, 2}, 1000), 0);  // the columns alone: side by side
  EXPECT_EQ(TouchingPairs(boxes, {0, 3, 6}, 1000), 1);
  EXPECT_EQ(TouchingPairs(boxes, all, 4), 4);
}

TEST(BoxIndex, EachTouchingBoxOnce) {
  const BoxIndex index({B(0, 0, 1, 1), B(2, 2, 3, 3), Box{}, B(1, 1, 2, 2)});
  std::vector<std::size_t> found;
  index.ForEachTouching(B(1, 1, 2, 2), [&](std::size_t i) { found.push_back(i); });
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::size_t>{0, 1, 3}));
}

}  // namespace
}  // namespace gerberx
