// The stand-in's compact storage: values shared between objects must never leak from one object
// to another, the per-layer answers kept at hand must follow every change of their pad, and a
// fetch gives back exactly what was stored.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "../standin/QueryFields.h"
#include "gen/GerberGenerator.h"
#include "standin/Registration.h"
#include "standin/Server.h"
#include "standin/Storage.h"

namespace standin {
namespace {

uint64_t Bits(double d) {
  uint64_t bits = 0;
  std::memcpy(&bits, &d, sizeof bits);
  return bits;
}

TEST(ChunkedStorage, ElementsKeepTheirPlaceAsTheVectorGrows) {
  ChunkedVector<TrackRow> rows;
  rows.push_back(TrackRow{1, 2, 3, 4, 5});
  const TrackRow* first = &rows[0];
  for (int32_t i = 1; i < 100000; ++i) rows.push_back(TrackRow{i, -i, i, -i, static_cast<uint32_t>(i)});
  EXPECT_EQ(first, &rows[0]);
  EXPECT_EQ(rows[0].X2, 3);
  EXPECT_EQ(rows[99999].Y, -99999);
  rows.Clear();
  EXPECT_EQ(rows.size(), 0U);
  EXPECT_EQ(rows.MemoryUsage(), 0U);
}

TEST(ChunkedStorage, EqualStylesShareAnIndexAndSignedZerosStayApart) {
  Interner<FillStyle> styles;
  FillStyle a;
  std::memset(static_cast<void*>(&a), 0, sizeof a);
  FillStyle b = a;
  b.Rotation = -0.0;
  FillStyle c = a;
  c.ExtValue1 = 7;
  const uint32_t ia = styles.Intern(a);
  EXPECT_EQ(styles.Intern(c), 1U);
  EXPECT_EQ(styles.Intern(a), ia);  // found again through the index, not the last one used
  EXPECT_NE(styles.Intern(b), ia);
  EXPECT_EQ(styles.size(), 3U);
  EXPECT_EQ(Bits(styles[styles.Intern(b)].Rotation), Bits(-0.0));
}

class StoredValues : public ::testing::Test {
 protected:
  void SetUp() override { standin::Reset(); }
  void TearDown() override { standin::Reset(); }
};

// Many objects of every kind with random values, stored, then fetched back in another order: a
// shared style must never hand one object's values to another.
TEST_F(StoredValues, EveryObjectGetsBackExactlyWhatItStored) {
  zzbench::Random rng(5);
  const auto any = [&] { return static_cast<int32_t>(rng.Range(-3, 3) * 1000000); };  // few values: much sharing
  const auto angle = [&] {
    const double values[] = {0.0, -0.0, 90.0, 359.99999999999994, std::numeric_limits<double>::quiet_NaN()};
    return values[rng.Range(0, 4)];
  };
  std::vector<test::Track> tracks;
  std::vector<test::Arc> arcs;
  std::vector<test::Pad> pads;
  std::vector<zz::THandle> handles;
  for (int i = 0; i < 3000; ++i) {
    const int kind = i % 3;
    const zz::THandle h = PcbApi_CreateObject(kind == 0 ? 4 : kind == 1 ? 1 : 2);
    handles.push_back(h);
    if (kind == 0) {
      test::Track t;
      t.Query(zz::kFetch, h);
      t = test::Track{{1, 2, 1u + static_cast<uint32_t>(rng.Range(0, 2))}, any(), any(), any(), any(), any(), any()};
      ASSERT_EQ(t.Query(zz::kStore, h), 0);
      tracks.push_back(t);
    } else if (kind == 1) {
      test::Arc a;
      a.Query(zz::kFetch, h);
      a.X = any();
      a.Radius = any();
      a.StartAngle = angle();
      a.EndAngle = angle();
      a.LineWidth = any();
      ASSERT_EQ(a.Query(zz::kStore, h), 0);
      arcs.push_back(a);
    } else {
      test::Pad p;
      p.Query(zz::kFetch, h);
      p.X = any();
      p.TopX = p.MidX = any();
      p.BotY = any();
      p.TopShape = static_cast<uint8_t>(rng.Range(0, 9));
      p.Rotation = angle();
      if (rng.Percent(10)) p.Name = "P1";
      ASSERT_EQ(p.Query(zz::kStore, h), 0);
      pads.push_back(p);
    }
  }
  for (int i = 2999; i >= 0; --i) {
    const zz::THandle h = handles[static_cast<std::size_t>(i)];
    const std::size_t n = static_cast<std::size_t>(i / 3);
    if (i % 3 == 0) {
      test::Track t;
      ASSERT_EQ(t.Query(zz::kFetch, h), 0);
      ASSERT_EQ(t.Fields(), tracks[n].Fields()) << i;
    } else if (i % 3 == 1) {
      test::Arc a;
      ASSERT_EQ(a.Query(zz::kFetch, h), 0);
      ASSERT_EQ(Bits(a.StartAngle), Bits(arcs[n].StartAngle)) << i;
      ASSERT_EQ(Bits(a.EndAngle), Bits(arcs[n].EndAngle)) << i;
      ASSERT_EQ(std::tie(a.X, a.Radius, a.LineWidth), std::tie(arcs[n].X, arcs[n].Radius, arcs[n].LineWidth)) << i;
    } else {
      test::Pad p;
      ASSERT_EQ(p.Query(zz::kFetch, h), 0);
      ASSERT_EQ(std::tie(p.X, p.TopX, p.MidX, p.BotY, p.TopShape),
                std::tie(pads[n].X, pads[n].TopX, pads[n].MidX, pads[n].BotY, pads[n].TopShape))
          << i;
      ASSERT_EQ(Bits(p.Rotation), Bits(pads[n].Rotation)) << i;
      ASSERT_EQ(p.Name.Str(), pads[n].Name.Str()) << i;
    }
  }
}

TEST_F(StoredValues, FlagBytesAndCommonValuesChangeOnlyTheirObject) {
  const zz::THandle a = PcbApi_CreateObject(4);
  const zz::THandle b = PcbApi_CreateObject(4);
  uint8_t bits = 0x5A;
  PcbApi_GetObjectBitField2(zz::kStore, a, &bits);
  bits = 0;
  PcbApi_GetObjectBitField2(zz::kFetch, b, &bits);
  EXPECT_EQ(bits, 0);
  PcbApi_GetObjectBitField2(zz::kFetch, a, &bits);
  EXPECT_EQ(bits, 0x5A);
  PcbApi_GetObjectBitField2(zz::kStore, a, nullptr);  // nothing to take
  PcbApi_GetObjectBitField2(zz::kFetch, a, &bits);
  EXPECT_EQ(bits, 0x5A);
  EXPECT_EQ(TheServer().FindCommon(b)->BitField2, 0);
}

// The four per-layer queries answer from values kept for the pad asked about last; every way a
// pad changes must show in the next answer.
TEST_F(StoredValues, PerLayerAnswersFollowEveryChangeOfTheirPad) {
  const auto sizeOn = [](zz::THandle h, uint8_t layer) {
    int32_t x = -1, y = -1;
    EXPECT_EQ(PcbApi_QueryPadOrViaSizeOnLayer(h, layer, &x, &y), 0);
    return std::pair{x, y};
  };
  const auto shapeOn = [](zz::THandle h, uint8_t layer) {
    uint8_t shape = 0xFF;
    EXPECT_EQ(PcbApi_QueryPadOrViaShapeOnLayer(h, layer, &shape), 0);
    return shape;
  };
  const zz::THandle a = test::Place<test::Pad>(2, [](test::Pad& p) {
    p.TopX = 10, p.TopY = 11, p.MidX = 20, p.MidY = 21, p.BotX = 30, p.BotY = 31, p.TopShape = 2, p.MidShape = 3,
    p.BotShape = 5;
  });
  const zz::THandle b = test::Place<test::Pad>(2, [](test::Pad& p) { p.TopX = p.TopY = 99; });
  EXPECT_EQ(sizeOn(a, 1), std::pair(10, 11));
  EXPECT_EQ(sizeOn(a, 0), std::pair(10, 11));
  EXPECT_EQ(sizeOn(a, 82), std::pair(10, 11));
  EXPECT_EQ(sizeOn(a, 2), std::pair(20, 21));
  EXPECT_EQ(sizeOn(a, 31), std::pair(20, 21));
  EXPECT_EQ(sizeOn(a, 32), std::pair(30, 31));
  EXPECT_EQ(shapeOn(a, 32), 5);
  EXPECT_EQ(sizeOn(b, 1), std::pair(99, 99));  // another pad in between
  EXPECT_EQ(shapeOn(a, 15), 3);

  test::Pad pad;
  pad.Query(zz::kFetch, a);
  pad.TopX = 12;
  pad.Query(zz::kStore, a);
  EXPECT_EQ(sizeOn(a, 1), std::pair(12, 11));

  ASSERT_EQ(PcbApi_SetPadSizeOnLayer(a, 7, 70, 71), 0);
  EXPECT_EQ(sizeOn(a, 7), std::pair(70, 71));
  EXPECT_EQ(sizeOn(a, 8), std::pair(20, 21));
  ASSERT_EQ(PcbApi_SetPadShapeOnLayer(a, 9, 1), 0);
  EXPECT_EQ(shapeOn(a, 9), 1);
  ASSERT_EQ(PcbApi_SetCRPctOnLayer(a, 7, 50), 0);
  uint8_t percent = 0;
  int32_t radius = 0;
  EXPECT_EQ(PcbApi_QueryPadCRPercentageOnLayer(a, 7, &percent), 0);
  EXPECT_EQ(PcbApi_QueryPadCornerRadiusOnLayer(a, 7, &radius), 0);
  EXPECT_EQ(percent, 50);
  EXPECT_EQ(radius, 70 * 50 / 200);
  EXPECT_EQ(sizeOn(b, 1), std::pair(99, 99));
  EXPECT_EQ(sizeOn(b, 7), std::pair(0, 0));

  standin::Reset();  // the same handle number now names no pad
  int32_t x = 0, y = 0;
  EXPECT_NE(PcbApi_QueryPadOrViaSizeOnLayer(a, 1, &x, &y), 0);
}

TEST_F(StoredValues, PerLayerQueriesRefuseWhatIsNoPadLayer) {
  const zz::THandle pad = test::Place<test::Pad>(2, [](test::Pad&) {});
  const zz::THandle track = PcbApi_CreateObject(4);
  uint8_t shape = 0;
  int32_t x = 0, y = 0;
  EXPECT_EQ(PcbApi_QueryPadOrViaShapeOnLayer(pad, 82, &shape), 0);  // the answers are now at hand
  EXPECT_NE(PcbApi_QueryPadOrViaShapeOnLayer(pad, 83, &shape), 0);
  EXPECT_NE(PcbApi_QueryPadOrViaShapeOnLayer(pad, 1, nullptr), 0);
  EXPECT_NE(PcbApi_QueryPadOrViaSizeOnLayer(pad, 1, &x, nullptr), 0);
  EXPECT_NE(PcbApi_QueryPadOrViaSizeOnLayer(track, 1, &x, &y), 0);
  EXPECT_NE(PcbApi_QueryPadOrViaSizeOnLayer(0, 1, &x, &y), 0);
  EXPECT_NE(PcbApi_QueryPadOrViaShapeOnLayer(-1, 1, &shape), 0);
}

}  // namespace
}  // namespace standin
