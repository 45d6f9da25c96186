#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "CoverageCheck.h"
#include "gerberx/convert/Decompose.h"

namespace gerberx::convert {
namespace {

using testing::Box;
using testing::CheckCoverage;
using testing::CirclePoints;
using testing::RoundedBox;

constexpr int64_t kMm = 393701;  // internal units

struct ShapeCase {
  std::string Name;
  std::vector<IntShape> Shapes;
  std::size_t MaxPieces;  // what the decomposition gives today, with a little room
};

std::ostream& operator<<(std::ostream& out, const ShapeCase& c) { return out << c.Name; }

std::vector<ShapeCase> Cases() {
  std::vector<ShapeCase> cases;
  cases.push_back({"box", {{Box(0, 0, 10 * kMm, 5 * kMm), {}}}, 1});
  cases.push_back({"disc", {{CirclePoints(0, 0, kMm, 64), {}}}, 1});
  cases.push_back({"box_with_round_holes",
                   {{Box(0, 0, 20 * kMm, 10 * kMm),
                     {CirclePoints(5 * kMm, 5 * kMm, kMm, 48), CirclePoints(12 * kMm, 4 * kMm, kMm / 2, 32)}}},
                   10});
  cases.push_back({"chamfered_square",
                   {{{{kMm, 0},
                      {9 * kMm, 0},
                      {10 * kMm, kMm},
                      {10 * kMm, 9 * kMm},
                      {9 * kMm, 10 * kMm},
                      {kMm, 10 * kMm},
                      {0, 9 * kMm},
                      {0, kMm}},
                     {}}},
                   70});
  cases.push_back(
      {"slanted_bar", {{{{0, 0}, {kMm / 5, 0}, {10 * kMm, 7 * kMm}, {10 * kMm, 7 * kMm + kMm / 5}}, {}}}, 80});
  cases.push_back({"rounded_box", {{RoundedBox(0, 0, 3 * kMm, 2 * kMm, kMm / 2, 12), {}}}, 10});
  cases.push_back({"rounded_box_with_coarse_corners", {{RoundedBox(0, 0, 3 * kMm, 2 * kMm, kMm / 2, 6), {}}}, 10});
  // A pour's edge with the bite of a round clearance, as CAD programs give it: chords, fine
  // and as coarse as the tolerance allows.
  for (const auto& [chords, most] : {std::pair<int, std::size_t>{32, 18}, std::pair<int, std::size_t>{17, 28}}) {
    IntRing bitten{{0, 0}, {10 * kMm, 0}, {10 * kMm, 5 * kMm}};
    for (int k = 0; k <= chords; ++k) {
      const double a = -std::numbers::pi * k / chords;
      bitten.push_back({5 * kMm + std::llround(kMm * std::cos(a)), 5 * kMm + std::llround(kMm * std::sin(a))});
    }
    bitten.push_back({0, 5 * kMm});
    cases.push_back({"box_with_a_round_bite_in_" + std::to_string(chords) + "_chords", {{bitten, {}}}, most});
  }
  cases.push_back({"acute_triangle", {{{{0, 0}, {10 * kMm, 0}, {10 * kMm, 2 * kMm}}, {}}}, 36});
  // Pads as CAD programs draw them: a rectangle turned by 30 degrees, regular
  // polygons.
  cases.push_back(
      {"turned_rectangle", {{{{0, 0}, {2598076, 1500000}, {2098076, 2366025}, {-500000, 866025}}, {}}}, 18});
  cases.push_back({"turned_rectangle_with_a_split_edge",
                   {{{{0, 0}, {1299038, 750000}, {2598076, 1500000}, {2098076, 2366025}, {-500000, 866025}}, {}}},
                   18});
  // Squares as regions turned by any angle: a disc at their middle and rings along the edges.
  for (const int64_t side : {kMm / 4, 18 * kMm / 10, 6 * kMm}) {
    for (const int degrees : {20, 45}) {
      IntRing square;
      for (int k = 0; k < 4; ++k) {
        const double a = (degrees + 45 + 90 * k) * std::numbers::pi / 180;
        const double r = side / std::numbers::sqrt2;
        square.push_back({std::llround(r * std::cos(a)), std::llround(r * std::sin(a))});
      }
      cases.push_back(
          {"square_" + std::to_string(side * 1000 / kMm) + "um_turned_" + std::to_string(degrees), {{square, {}}}, 17});
    }
  }
  cases.push_back({"hexagon", {{CirclePoints(0, 0, 3 * kMm / 4, 6), {}}}, 14});
  cases.push_back({"octagon_with_sides_on_the_axes", {{CirclePoints(0, 0, 3 * kMm / 4, 8, 22.5), {}}}, 10});
  cases.push_back({"triangle", {{CirclePoints(0, 0, 3 * kMm / 4, 3), {}}}, 14});
  cases.push_back({"touching_polygons",
                   {{Box(0, 0, 4 * kMm, 4 * kMm), {}}, {{{4 * kMm, 0}, {8 * kMm, 0}, {4 * kMm, 4 * kMm}}, {}}},
                   36});
  return cases;
}

class DecomposeShapes : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(DecomposeShapes, CoversWithinToleranceWithFewPieces) {
  const ShapeCase& c = GetParam();
  DecomposeOptions options;
  const Pieces pieces = Decompose(c.Shapes, options);
  const testing::CoverageMiss miss = CheckCoverage(c.Shapes, pieces, static_cast<double>(options.Tolerance), 300);
  EXPECT_EQ(miss.Uncovered, 0u);
  EXPECT_EQ(miss.Overshoot, 0u);
  EXPECT_LE(pieces.Count(), c.MaxPieces) << pieces.Fills.size() << " fills, " << pieces.Tracks.size() << " tracks, "
                                         << pieces.Arcs.size() << " arcs, " << pieces.Discs.size() << " discs";
}

INSTANTIATE_TEST_SUITE_P(Shapes, DecomposeShapes, ::testing::ValuesIn(Cases()),
                         [](const auto& param) { return param.param.Name; });

}  // namespace
}  // namespace gerberx::convert
