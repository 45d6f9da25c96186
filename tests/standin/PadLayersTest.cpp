#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "QueryFields.h"
#include "standin/Registration.h"
#include "standin/Server.h"

namespace standin {
namespace {

class PadLayers : public ::testing::Test {
 protected:
  void SetUp() override {
    Reset();
    handle_ = test::Place<test::Pad>(
        2, [](test::Pad& p) { p = test::Pad{p.C, 0, 0, 100, 200, 300, 400, 500, 600, 0, 1, 2, 3}; });
  }
  std::tuple<int32_t, int32_t, int> On(uint8_t layer) const {
    int32_t x = -1, y = -1;
    uint8_t shape = 0xEE;
    EXPECT_EQ(PcbApi_QueryPadOrViaSizeOnLayer(handle_, layer, &x, &y), 0);
    EXPECT_EQ(PcbApi_QueryPadOrViaShapeOnLayer(handle_, layer, &shape), 0);
    return {x, y, shape};
  }
  bool HasSideEntry() const { return TheServer().Objects().FindPad(handle_)->Layers != kNoSideEntry; }
  void StoreMid(int32_t x, int32_t y) const {
    test::Pad pad;
    pad.Query(zz::kFetch, handle_);
    pad.MidX = x;
    pad.MidY = y;
    pad.Query(zz::kStore, handle_);
  }

  zz::THandle handle_ = 0;
};

TEST_F(PadLayers, EveryLayerTakesTopMidOrBottomValues) {
  for (int layer = 0; layer <= 82; ++layer) {
    const auto expected = layer == 32                   ? std::make_tuple(500, 600, 3)
                          : (layer >= 2 && layer <= 31) ? std::make_tuple(300, 400, 2)
                                                        : std::make_tuple(100, 200, 1);
    EXPECT_EQ(On(static_cast<uint8_t>(layer)), expected) << layer;
  }
  EXPECT_FALSE(HasSideEntry());
}

// With stack mode 2 the plug-in sends back every layer it fetched; values the layers take
// anyway must not cost a side entry.
TEST_F(PadLayers, SendingBackTheTakenValuesKeepsNoSideEntry) {
  for (uint8_t layer = 0; layer <= 82; ++layer) {
    const auto [x, y, shape] = On(layer);
    EXPECT_EQ(PcbApi_SetPadShapeOnLayer(handle_, layer, static_cast<uint8_t>(shape)), 0);
    EXPECT_EQ(PcbApi_SetPadSizeOnLayer(handle_, layer, x, y), 0);
    EXPECT_EQ(PcbApi_SetCRPctOnLayer(handle_, layer, 0), 0);
  }
  EXPECT_FALSE(HasSideEntry());
}

TEST_F(PadLayers, ALayerOfItsOwnKeepsItsValueWhileOthersFollowTheStack) {
  ASSERT_EQ(PcbApi_SetPadSizeOnLayer(handle_, 5, 7, 8), 0);
  ASSERT_EQ(PcbApi_SetPadShapeOnLayer(handle_, 5, 9), 0);
  EXPECT_TRUE(HasSideEntry());
  StoreMid(301, 401);
  EXPECT_EQ(On(5), std::make_tuple(7, 8, 9));
  EXPECT_EQ(On(6), std::make_tuple(301, 401, 2));
  // Set back to what it would take, the layer follows again.
  ASSERT_EQ(PcbApi_SetPadSizeOnLayer(handle_, 5, 301, 401), 0);
  StoreMid(302, 401);
  EXPECT_EQ(std::get<0>(On(5)), 302);
}

TEST_F(PadLayers, CornerRadiusIsThePercentOfHalfTheSmallerSide) {
  int32_t radius = -1;
  uint8_t percent = 0xFF;
  ASSERT_EQ(PcbApi_SetCRPctOnLayer(handle_, 1, 50), 0);
  ASSERT_EQ(PcbApi_QueryPadCRPercentageOnLayer(handle_, 1, &percent), 0);
  ASSERT_EQ(PcbApi_QueryPadCornerRadiusOnLayer(handle_, 1, &radius), 0);
  EXPECT_EQ(std::tie(percent, radius), std::make_tuple(50, 25));  // 50 % of 100 / 2
  ASSERT_EQ(PcbApi_QueryPadCornerRadiusOnLayer(handle_, 2, &radius), 0);
  EXPECT_EQ(radius, 0);
}

TEST_F(PadLayers, LayersBeyond82AndObjectsOtherThanPadsAreRefused) {
  int32_t x = 11, y = 12, radius = 13;
  uint8_t shape = 14, percent = 15, mode = 16;
  const zz::THandle track = PcbApi_CreateObject(4);
  for (const auto& [handle, layer] : {std::pair{handle_, 83}, std::pair{handle_, 255}, std::pair{track, 1}}) {
    const auto l = static_cast<uint8_t>(layer);
    EXPECT_NE(PcbApi_QueryPadOrViaSizeOnLayer(handle, l, &x, &y), 0);
    EXPECT_NE(PcbApi_QueryPadOrViaShapeOnLayer(handle, l, &shape), 0);
    EXPECT_NE(PcbApi_QueryPadCornerRadiusOnLayer(handle, l, &radius), 0);
    EXPECT_NE(PcbApi_QueryPadCRPercentageOnLayer(handle, l, &percent), 0);
    EXPECT_NE(PcbApi_SetPadSizeOnLayer(handle, l, 1, 1), 0);
    EXPECT_NE(PcbApi_SetPadShapeOnLayer(handle, l, 1), 0);
    EXPECT_NE(PcbApi_SetCRPctOnLayer(handle, l, 1), 0);
  }
  EXPECT_NE(PcbApi_QueryPadStackMode(zz::kFetch, track, &mode), 0);
  EXPECT_EQ(std::tie(x, y, radius, shape, percent, mode), std::make_tuple(11, 12, 13, 14, 15, 16));
  EXPECT_FALSE(HasSideEntry());
}

TEST_F(PadLayers, StackModeIsExchangedBothWays) {
  uint8_t mode = 2;
  ASSERT_EQ(PcbApi_QueryPadStackMode(zz::kStore, handle_, &mode), 0);
  mode = 0;
  ASSERT_EQ(PcbApi_QueryPadStackMode(zz::kFetch, handle_, &mode), 0);
  EXPECT_EQ(mode, 2);
}

// The four per-layer queries answer from values kept for the pad asked about last; every way a
// pad changes must show in the next answer.
TEST(PadLayerCache, FollowEveryChangeOfTheirPad) {
  Reset();
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

  Reset();  // the same handle number now names no pad
  int32_t x = 0, y = 0;
  EXPECT_NE(PcbApi_QueryPadOrViaSizeOnLayer(a, 1, &x, &y), 0);
}

// Random changes by every entry point that changes a pad, each followed by per-layer queries:
// the pad kept for them must answer exactly what its stored style and side tables give.
TEST(PadLayerCache, NeverAnswersOtherThanTheStore) {
  Reset();
  std::mt19937 rng(11);
  const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const auto layerOf = [&] { return static_cast<uint8_t>(pick(0, 3) == 0 ? 32 : pick(0, 82)); };
  std::vector<zz::THandle> pads;
  const auto newPad = [&] { pads.push_back(test::Place<test::Pad>(2, [](test::Pad&) {})); };
  newPad();
  for (int step = 0; step < 4000; ++step) {
    zz::THandle h = pads[static_cast<std::size_t>(pick(0, static_cast<int>(pads.size()) - 1))];
    const uint8_t layer = layerOf();
    switch (pick(0, 7)) {
      case 0: {
        test::Pad p;
        p.Query(zz::kFetch, h);
        (pick(0, 1) != 0 ? p.TopX : p.MidY) = pick(0, 3) * 100;
        (pick(0, 1) != 0 ? p.BotShape : p.TopShape) = static_cast<uint8_t>(pick(1, 3));
        p.Query(zz::kStore, h);
        break;
      }
      case 1: {  // sometimes the value the layer takes anyway, which clears its own
        int32_t x = 0, y = 0;
        PcbApi_QueryPadOrViaSizeOnLayer(h, layer, &x, &y);
        PcbApi_SetPadSizeOnLayer(h, layer, pick(0, 1) != 0 ? x : pick(1, 9) * 10, y);
        break;
      }
      case 2:
        PcbApi_SetPadShapeOnLayer(h, layer, static_cast<uint8_t>(pick(1, 3)));
        break;
      case 3:
        PcbApi_SetCRPctOnLayer(h, layer, static_cast<uint8_t>(pick(0, 2) * 25));
        break;
      case 4: {
        uint8_t bits = static_cast<uint8_t>(pick(0, 3));
        PcbApi_GetObjectBitField2(zz::kStore, h, &bits);
        break;
      }
      case 5: {
        uint8_t mode = static_cast<uint8_t>(pick(0, 2));
        PcbApi_QueryPadStackMode(zz::kStore, h, &mode);
        break;
      }
      case 6:
        newPad();
        break;
      default:
        if (pick(0, 50) == 0) {
          Reset();
          pads.clear();
          newPad();
          h = pads.back();
        }
        break;
    }
    const ObjectStore& objects = TheServer().Objects();
    for (const zz::THandle asked : {h, pads.back(), h}) {
      const uint8_t l = layerOf();
      const PadStyle& style = objects.PadStyleOf(objects.RowOf(asked, TObjectKind::Pad));
      const PadSideTables& sides = objects.PadSides();
      int32_t x = -1, y = -1, radius = -1, wantX = 0, wantY = 0;
      uint8_t shape = 0xEE, percent = 0xEE;
      ASSERT_EQ(PcbApi_QueryPadOrViaSizeOnLayer(asked, l, &x, &y), 0);
      ASSERT_EQ(PcbApi_QueryPadOrViaShapeOnLayer(asked, l, &shape), 0);
      ASSERT_EQ(PcbApi_QueryPadCornerRadiusOnLayer(asked, l, &radius), 0);
      ASSERT_EQ(PcbApi_QueryPadCRPercentageOnLayer(asked, l, &percent), 0);
      sides.SizeOnLayer(style, l, wantX, wantY);
      ASSERT_EQ(std::make_tuple(x, y, shape, radius, percent),
                std::make_tuple(wantX, wantY, sides.ShapeOnLayer(style, l), sides.CornerRadiusOnLayer(style, l),
                                sides.CornerPercentOnLayer(style, l)))
          << "step " << step << ", layer " << int{l};
    }
  }
}

TEST(PadLayerCache, RefuseWhatIsNoPadLayer) {
  Reset();
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
