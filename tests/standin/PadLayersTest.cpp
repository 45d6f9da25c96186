#include <gtest/gtest.h>

#include "QueryFields.h"
#include "standin/Registration.h"
#include "standin/Server.h"

namespace standin {
namespace {

using zz::kFetch;
using zz::kStore;

class PadLayers : public ::testing::Test {
 protected:
  void SetUp() override {
    Reset();
    handle_ = PcbApi_CreateObject(2);
    test::Pad pad;
    ASSERT_EQ(pad.Query(kFetch, handle_), 0);
    pad.TopX = 100;
    pad.TopY = 200;
    pad.MidX = 300;
    pad.MidY = 400;
    pad.BotX = 500;
    pad.BotY = 600;
    pad.TopShape = 1;
    pad.MidShape = 2;
    pad.BotShape = 3;
    ASSERT_EQ(pad.Query(kStore, handle_), 0);
  }

  std::pair<int32_t, int32_t> SizeOn(uint8_t layer) const {
    int32_t x = -1, y = -1;
    EXPECT_EQ(PcbApi_QueryPadOrViaSizeOnLayer(handle_, layer, &x, &y), 0);
    return {x, y};
  }
  uint8_t ShapeOn(uint8_t layer) const {
    uint8_t shape = 0xEE;
    EXPECT_EQ(PcbApi_QueryPadOrViaShapeOnLayer(handle_, layer, &shape), 0);
    return shape;
  }
  bool HasSideEntry() const { return TheServer().HasLayerOverrides(*TheServer().FindPad(handle_)); }

  zz::THandle handle_ = 0;
};

TEST_F(PadLayers, EveryLayerTakesTopMidOrBottomValues) {
  for (int layer = 0; layer <= 82; ++layer) {
    const auto l = static_cast<uint8_t>(layer);
    if (layer == 32) {
      EXPECT_EQ(SizeOn(l), std::make_pair(500, 600));
      EXPECT_EQ(ShapeOn(l), 3);
    } else if (layer >= 2 && layer <= 31) {
      EXPECT_EQ(SizeOn(l), std::make_pair(300, 400)) << layer;
      EXPECT_EQ(ShapeOn(l), 2) << layer;
    } else {
      EXPECT_EQ(SizeOn(l), std::make_pair(100, 200)) << layer;
      EXPECT_EQ(ShapeOn(l), 1) << layer;
    }
  }
  EXPECT_FALSE(HasSideEntry());
}

// The plug-in sends back every layer it fetched when the stack mode is 2; values the layers
// take anyway must not cost a side entry.
TEST_F(PadLayers, SendingBackTheTakenValuesKeepsNoSideEntry) {
  for (int layer = 0; layer <= 82; ++layer) {
    const auto l = static_cast<uint8_t>(layer);
    const auto [x, y] = SizeOn(l);
    EXPECT_EQ(PcbApi_SetPadShapeOnLayer(handle_, l, ShapeOn(l)), 0);
    EXPECT_EQ(PcbApi_SetPadSizeOnLayer(handle_, l, x, y), 0);
    EXPECT_EQ(PcbApi_SetCRPctOnLayer(handle_, l, 0), 0);
  }
  EXPECT_FALSE(HasSideEntry());
}

TEST_F(PadLayers, ALayerOfItsOwnKeepsItsValueWhileOthersFollowTheStack) {
  ASSERT_EQ(PcbApi_SetPadSizeOnLayer(handle_, 5, 7, 8), 0);
  ASSERT_EQ(PcbApi_SetPadShapeOnLayer(handle_, 5, 9), 0);
  EXPECT_TRUE(HasSideEntry());

  test::Pad pad;
  ASSERT_EQ(pad.Query(kFetch, handle_), 0);
  pad.MidX = 301;
  pad.MidY = 401;
  ASSERT_EQ(pad.Query(kStore, handle_), 0);

  EXPECT_EQ(SizeOn(5), std::make_pair(7, 8));
  EXPECT_EQ(ShapeOn(5), 9);
  EXPECT_EQ(SizeOn(6), std::make_pair(301, 401));
  EXPECT_EQ(ShapeOn(6), 2);

  // Setting the layer back to what it would take makes it follow again.
  ASSERT_EQ(PcbApi_SetPadSizeOnLayer(handle_, 5, 301, 401), 0);
  pad.MidX = 302;
  ASSERT_EQ(pad.Query(kStore, handle_), 0);
  EXPECT_EQ(SizeOn(5), std::make_pair(302, 401));
}

TEST_F(PadLayers, CornerRadiusIsThePercentOfHalfTheSmallerSide) {
  int32_t radius = -1;
  uint8_t percent = 0xFF;
  ASSERT_EQ(PcbApi_QueryPadCornerRadiusOnLayer(handle_, 1, &radius), 0);
  EXPECT_EQ(radius, 0);
  ASSERT_EQ(PcbApi_SetCRPctOnLayer(handle_, 1, 50), 0);
  ASSERT_EQ(PcbApi_QueryPadCRPercentageOnLayer(handle_, 1, &percent), 0);
  EXPECT_EQ(percent, 50);
  ASSERT_EQ(PcbApi_QueryPadCornerRadiusOnLayer(handle_, 1, &radius), 0);
  EXPECT_EQ(radius, 25);  // 50 % of 100 / 2
  ASSERT_EQ(PcbApi_QueryPadCRPercentageOnLayer(handle_, 2, &percent), 0);
  EXPECT_EQ(percent, 0);
}

TEST_F(PadLayers, LayersBeyond82AndObjectsOtherThanPadsAreRefused) {
  int32_t x = 11, y = 12, radius = 13;
  uint8_t shape = 14, percent = 15;
  EXPECT_NE(PcbApi_QueryPadOrViaSizeOnLayer(handle_, 83, &x, &y), 0);
  EXPECT_NE(PcbApi_QueryPadOrViaShapeOnLayer(handle_, 255, &shape), 0);
  EXPECT_NE(PcbApi_QueryPadCornerRadiusOnLayer(handle_, 83, &radius), 0);
  EXPECT_NE(PcbApi_QueryPadCRPercentageOnLayer(handle_, 83, &percent), 0);
  EXPECT_NE(PcbApi_SetPadSizeOnLayer(handle_, 83, 1, 1), 0);
  EXPECT_NE(PcbApi_SetPadShapeOnLayer(handle_, 83, 1), 0);
  EXPECT_NE(PcbApi_SetCRPctOnLayer(handle_, 83, 1), 0);
  const zz::THandle track = PcbApi_CreateObject(4);
  EXPECT_NE(PcbApi_QueryPadOrViaSizeOnLayer(track, 1, &x, &y), 0);
  EXPECT_NE(PcbApi_SetPadSizeOnLayer(track, 1, 1, 1), 0);
  EXPECT_EQ(std::make_tuple(x, y, radius, shape, percent), std::make_tuple(11, 12, 13, 14, 15));
  EXPECT_FALSE(HasSideEntry());
}

TEST_F(PadLayers, StackModeIsExchangedBothWays) {
  uint8_t mode = 2;
  ASSERT_EQ(PcbApi_QueryPadStackMode(kStore, handle_, &mode), 0);
  mode = 0;
  ASSERT_EQ(PcbApi_QueryPadStackMode(kFetch, handle_, &mode), 0);
  EXPECT_EQ(mode, 2);
  EXPECT_NE(PcbApi_QueryPadStackMode(kFetch, PcbApi_CreateObject(4), &mode), 0);
}

}  // namespace
}  // namespace standin
