// The sweep's fill rule and span arithmetic: areas of rings by their winding, layers kept apart,
// and the set operations the analysis folds rows with.

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numbers>

#include "gerberx/ObjectOutlines.h"
#include "gerberx/SpanSweep.h"

namespace gerberx {
namespace {

Ring Box(int x0, int y0, int x1, int y1) { return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}; }
Ring Reversed(Ring r) { return {r.rbegin(), r.rend()}; }

// Area by layer of items made of (layer, ring) pairs, one item each.
std::map<uint32_t, double> Areas(const std::vector<std::pair<uint32_t, Ring>>& rings, double pitch = 1.0) {
  std::vector<Coord> lowest;
  for (const auto& [layer, ring] : rings) {
    Coord y = ring.front().y;
    for (const Point p : ring) y = std::min(y, p.y);
    lowest.push_back(y);
  }
  std::map<uint32_t, double> areas;
  SpanSweep sweep(pitch);
  sweep.Run(
      lowest, [&](std::size_t i, const SpanSweep::AddRing& add) { add(rings[i].first, rings[i].second); },
      [&](const Row& row) {
        for (std::size_t i = 0; i < row.Layers.size(); ++i) areas[row.Layers[i]] += Length(row.SpansOf[i]) * pitch;
      });
  return areas;
}

struct FillRow {
  const char* Name;
  std::vector<std::pair<uint32_t, Ring>> Rings;
  std::map<uint32_t, double> Expected;
};

class Fill : public ::testing::TestWithParam<FillRow> {};

TEST_P(Fill, AreaByLayer) {
  const std::map<uint32_t, double> areas = Areas(GetParam().Rings);
  ASSERT_EQ(areas.size(), GetParam().Expected.size());
  for (const auto& [layer, area] : GetParam().Expected) EXPECT_NEAR(areas.at(layer), area, 1e-6) << layer;
}

INSTANTIATE_TEST_SUITE_P(
    Rings, Fill,
    ::testing::Values(
        FillRow{"Square", {{0, Box(0, 0, 100, 100)}}, {{0, 10000}}},
        FillRow{"ClockwiseFillsNothing", {{0, Reversed(Box(0, 0, 100, 100))}, {1, Box(0, 0, 10, 10)}}, {{1, 100}}},
        FillRow{"OverlapCountsOnce", {{0, Box(0, 0, 100, 100)}, {0, Box(50, 50, 150, 150)}}, {{0, 17500}}},
        FillRow{"HoleInsideItsRing", {{0, Box(0, 0, 100, 100)}, {0, Reversed(Box(20, 20, 80, 80))}}, {{0, 6400}}},
        FillRow{"HoleFilledByAnother",
                {{0, Box(0, 0, 100, 100)}, {0, Reversed(Box(20, 20, 80, 80))}, {0, Box(30, 30, 70, 70)}},
                {{0, 8000}}},
        FillRow{"LayersApart", {{0, Box(0, 0, 100, 100)}, {3, Box(0, 0, 10, 20)}}, {{0, 10000}, {3, 200}}},
        FillRow{"Triangle", {{0, {{0, 0}, {100, 0}, {0, 100}}}}, {{0, 5000}}},
        FillRow{"FarApartRowsSkipped", {{0, Box(0, 0, 10, 10)}, {0, Box(0, 100000, 10, 100010)}}, {{0, 200}}}),
    [](const ::testing::TestParamInfo<FillRow>& row) { return std::string(row.param.Name); });

// A full-circle arc is one ring with a seam: it must fill as the annulus it is.
TEST(Outlines, ArcsAndTracksFillAsTheirShapes) {
  const double chord = 0.5;
  const struct {
    const char* Name;
    Outline Rings;
    double Area;
  } rows[] = {
      {"full circle",
       [&] {
         Outline o;
         ArcOutline(o, {0, 0}, 1000, 0, 2 * std::numbers::pi, 200, chord);
         return o;
       }(),
       std::numbers::pi * (1100.0 * 1100 - 900.0 * 900)},
      {"quarter",
       [&] {
         Outline o;
         ArcOutline(o, {0, 0}, 1000, 0, std::numbers::pi / 2, 200, chord);
         return o;
       }(),
       std::numbers::pi * (1100.0 * 1100 - 900.0 * 900) / 4 + std::numbers::pi * 100 * 100},
      {"track",
       [&] {
         Outline o;
         TrackOutline(o, {0, 0}, {3000, 4000}, 200, chord);
         return o;
       }(),
       5000.0 * 200 + std::numbers::pi * 100 * 100},
      {"turned fill",
       [&] {
         Outline o;
         FillOutline(o, {0, 0}, {3000, 1000}, 30);
         return o;
       }(),
       3000.0 * 1000},
      {"octagon pad",
       [&] {
         Outline o;
         PadOutline(o, {0, 0}, 1000, 1000, PadForm::Octagon, 0, chord);
         return o;
       }(),
       2 * (1 + std::sqrt(2.0)) * std::pow(1000 / (1 + std::sqrt(2.0)), 2)},
  };
  for (const auto& row : rows) {
    std::vector<std::pair<uint32_t, Ring>> rings;
    for (const Ring& r : row.Rings) rings.emplace_back(0, r);
    EXPECT_NEAR(Areas(rings, 0.25)[0], row.Area, row.Area * 0.003) << row.Name;
  }
}

TEST(Spans, SetOperations) {
  const Spans a{{0, 10}, {20, 30}};
  const Spans b{{5, 25}};
  const struct {
    const char* Name;
    void (*Op)(const Spans&, const Spans&, Spans&);
    Spans Expected;
  } rows[] = {
      {"unite", Unite, {{0, 30}}},
      {"subtract", Subtract, {{0, 5}, {25, 30}}},
      {"intersect", Intersect, {{5, 10}, {20, 25}}},
  };
  for (const auto& row : rows) {
    Spans out;
    row.Op(a, b, out);
    ASSERT_EQ(out.size(), row.Expected.size()) << row.Name;
    for (std::size_t i = 0; i < out.size(); ++i) {
      EXPECT_EQ(out[i].Begin, row.Expected[i].Begin) << row.Name;
      EXPECT_EQ(out[i].End, row.Expected[i].End) << row.Name;
    }
  }
}

// Painting touches only the spans within reach, and cuts and adds as the full operations would.
TEST(Spans, PaintMatchesTheFullOperation) {
  const Spans image{{0, 10}, {20, 30}, {40, 50}, {60, 70}};
  const Spans runs[] = {{{25, 45}}, {{5, 8}}, {{-5, 100}}, {{31, 39}}, {{10, 20}}};
  for (const Spans& run : runs) {
    for (const bool cut : {false, true}) {
      Spans painted = image, scratch, full;
      Paint(painted, run, cut, scratch);
      (cut ? Subtract : Unite)(image, run, full);
      ASSERT_EQ(painted.size(), full.size());
      for (std::size_t i = 0; i < full.size(); ++i) {
        EXPECT_EQ(painted[i].Begin, full[i].Begin);
        EXPECT_EQ(painted[i].End, full[i].End);
      }
    }
  }
}

}  // namespace
}  // namespace gerberx
