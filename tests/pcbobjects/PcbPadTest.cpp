#include "pcbobjects/PcbPad.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RecordingHost.h"

namespace zz {
namespace {

using test::HostCall;
using test::RecordingHost;
using ::testing::ElementsAre;

constexpr THandle kPad = 17;

class PcbPadTest : public ::testing::Test {
 protected:
  // A fetched pad; the host's stack mode and per-layer shapes are whatever the test set before.
  void Fetch() {
    ASSERT_EQ(pad.Sync(kFetch), 0);
    host.Clear();
  }

  std::vector<HostCall> CallsAfterQueryPad() const {
    std::vector<HostCall> calls(host.Calls.begin() + 4, host.Calls.end());
    return calls;
  }

  RecordingHost host;
  TPcbPad pad{kPad};
};

TEST_F(PcbPadTest, FetchReadsStackModeThenFourValuesPerLayerInAscendingOrder) {
  host.SetFill("PcbApi_QueryPadStackMode", 2, 2);
  ASSERT_EQ(pad.Sync(kFetch), 0);

  ASSERT_EQ(host.Calls.size(), 2U + 1 + 1 + 4 * 83);
  const std::vector<std::string> names = host.Names();
  EXPECT_THAT(std::vector<std::string>(names.begin(), names.begin() + 4),
              ElementsAre("PcbApi_GetObjectBitField2", "PcbApi_GetObjectBitField3", "PcbApi_QueryPad",
                          "PcbApi_QueryPadStackMode"));
  EXPECT_EQ(pad.StackMode, 2);
  const std::vector<HostCall> perLayer = CallsAfterQueryPad();
  for (int layer = 0; layer <= 82; ++layer) {
    const HostCall* calls = &perLayer[static_cast<std::size_t>(layer) * 4];
    EXPECT_EQ(calls[0].Name, "PcbApi_QueryPadOrViaShapeOnLayer");
    EXPECT_EQ(calls[1].Name, "PcbApi_QueryPadOrViaSizeOnLayer");
    EXPECT_EQ(calls[2].Name, "PcbApi_QueryPadCornerRadiusOnLayer");
    EXPECT_EQ(calls[3].Name, "PcbApi_QueryPadCRPercentageOnLayer");
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(calls[i].Int(0), kPad);
      EXPECT_EQ(calls[i].Int(1), layer);
    }
  }
}

TEST_F(PcbPadTest, QueryPadArgumentOrder) {
  pad.Sync(kFetch);
  const auto D = RecordingHost::DefaultInt;
  EXPECT_EQ(pad.AuxByte, D(6));
  EXPECT_EQ(pad.X, D(8));
  EXPECT_EQ(pad.BotYSize, D(15));
  EXPECT_EQ(pad.BotShape, D(19));
  EXPECT_EQ(pad.Name.Str(), RecordingHost::DefaultText(20));
  EXPECT_EQ(pad.PadByte2, D(22));
  EXPECT_EQ(pad.Rotation, RecordingHost::DefaultFloat(23));
  EXPECT_EQ(pad.PadText3.Str(), RecordingHost::DefaultText(27));
  EXPECT_EQ(pad.PadValue2, D(30));
  EXPECT_EQ(pad.PadValue5, D(31));
  EXPECT_EQ(pad.PadValue3, D(32));
  EXPECT_EQ(pad.PadViaFlag2, D(36));
  EXPECT_EQ(host.Calls[2].Args.size(), 37U);
}

TEST_F(PcbPadTest, CornerPercentagesComeFromLayer1TheLastMidLayerAndLayer32) {
  host.OnCall("PcbApi_QueryPadCRPercentageOnLayer", [](HostCall& call) { call.SetInt(2, call.Int(1) + 100); });
  pad.Sync(kFetch);
  EXPECT_EQ(pad.TopCornerPercent, 101);
  EXPECT_EQ(pad.MidCornerPercent, 131);
  EXPECT_EQ(pad.BotCornerPercent, 132);
  EXPECT_EQ(pad.LayerCornerPercent[2], 102);
  EXPECT_EQ(pad.GetCornerRadiusOnLayer(5), RecordingHost::DefaultInt(2));
}

TEST_F(PcbPadTest, StoreWithoutStackModeOrShape9SendsNoPerLayerCall) {
  Fetch();
  ASSERT_EQ(pad.Sync(kStore), 0);
  EXPECT_THAT(host.Names(), ElementsAre("PcbApi_GetObjectBitField2", "PcbApi_GetObjectBitField3", "PcbApi_QueryPad",
                                        "PcbApi_QueryPadStackMode"));
  EXPECT_EQ(host.Calls[3].Int(0), kStore);
}

TEST_F(PcbPadTest, EveryShape9LayerResendsTheThreeCornerPercentages) {
  host.OnCall("PcbApi_QueryPadOrViaShapeOnLayer", [](HostCall& call) {
    const int64_t layer = call.Int(1);
    call.SetInt(2, (layer == 5 || layer == 40 || layer == 70) ? PadShape::CornerPercentStored : PadShape::Round);
  });
  host.OnCall("PcbApi_QueryPadCRPercentageOnLayer", [](HostCall& call) { call.SetInt(2, call.Int(1)); });
  Fetch();

  pad.Sync(kStore);
  const std::vector<HostCall> perLayer = CallsAfterQueryPad();
  ASSERT_EQ(perLayer.size(), 9U);
  for (std::size_t i = 0; i < perLayer.size(); ++i) {
    EXPECT_EQ(perLayer[i].Name, "PcbApi_SetCRPctOnLayer");
    EXPECT_EQ(perLayer[i].Int(0), kPad);
  }
  // Layers 1, 32, 2 with the top, bottom and mid percentages, in that order.
  EXPECT_THAT((std::vector<int64_t>{perLayer[0].Int(1), perLayer[1].Int(1), perLayer[2].Int(1)}),
              ElementsAre(1, 32, 2));
  EXPECT_THAT((std::vector<int64_t>{perLayer[0].Int(2), perLayer[1].Int(2), perLayer[2].Int(2)}),
              ElementsAre(1, 32, 31));
  EXPECT_EQ(perLayer[6].Int(1), 1);
  EXPECT_EQ(perLayer[8].Int(2), 31);
}

TEST_F(PcbPadTest, StackMode2StoresShapeSizeAndPercentageForEveryLayer) {
  host.SetFill("PcbApi_QueryPadStackMode", 2, TPcbPad::kFullStackMode);
  Fetch();
  for (int layer = 0; layer <= 82; ++layer) {
    pad.LayerShape[layer] = static_cast<uint8_t>(layer % 10);
    pad.LayerXSize[layer] = 1000 + layer;
    pad.LayerYSize[layer] = 2000 + layer;
    pad.LayerCornerPercent[layer] = static_cast<uint8_t>(layer);
  }

  pad.Sync(kStore);
  const std::vector<HostCall> perLayer = CallsAfterQueryPad();
  ASSERT_EQ(perLayer.size(), 3U * 83);
  for (int layer = 0; layer <= 82; ++layer) {
    const HostCall* calls = &perLayer[static_cast<std::size_t>(layer) * 3];
    EXPECT_EQ(calls[0].Name, "PcbApi_SetPadShapeOnLayer");
    EXPECT_EQ(calls[0].Int(1), layer);
    EXPECT_EQ(calls[0].Int(2), layer % 10);
    EXPECT_EQ(calls[1].Name, "PcbApi_SetPadSizeOnLayer");
    EXPECT_EQ(calls[1].Int(2), 1000 + layer);
    EXPECT_EQ(calls[1].Int(3), 2000 + layer);
    EXPECT_EQ(calls[2].Name, "PcbApi_SetCRPctOnLayer");
    EXPECT_EQ(calls[2].Int(2), layer);
  }
}

TEST_F(PcbPadTest, RefusedPadSkipsStackModeAndLayersInBothDirections) {
  host.SetResult("PcbApi_QueryPad", 3);
  host.SetFill("PcbApi_QueryPadStackMode", 2, TPcbPad::kFullStackMode);
  EXPECT_EQ(pad.Sync(kFetch), 3);
  EXPECT_EQ(host.Calls.size(), 3U);
  pad.StackMode = TPcbPad::kFullStackMode;
  EXPECT_EQ(pad.Sync(kStore), 3);
  EXPECT_EQ(host.Calls.size(), 6U);
}

TEST_F(PcbPadTest, FailedPerLayerCallsDoNotChangeTheResult) {
  host.SetResult("PcbApi_QueryPadOrViaSizeOnLayer", 1);
  host.SetResult("PcbApi_QueryPadStackMode", 1);
  EXPECT_EQ(pad.Sync(kFetch), 0);
}

// --- Per-layer geometry ---

void SetLayerSize(TPcbPad& pad, TLayerNumber layer, int32_t x, int32_t y) {
  pad.LayerXSize[layer] = x;
  pad.LayerYSize[layer] = y;
}

TEST_F(PcbPadTest, LayerAccessorsReadTheArraysWithoutALayerTest) {
  pad.SetLayer(1);
  SetLayerSize(pad, 40, 300, 200);
  pad.LayerShape[40] = 3;
  pad.LayerCornerRadius[40] = 25;
  EXPECT_EQ(pad.GetXSizeOnLayer(40), 300);
  EXPECT_EQ(pad.GetYSizeOnLayer(40), 200);
  EXPECT_EQ(pad.GetWidthOnLayer(40), 200);
  EXPECT_EQ(pad.GetShapeOnLayer(40), 3);
  EXPECT_EQ(pad.GetCornerRadiusOnLayer(40), 25);
}

TEST_F(PcbPadTest, LayerNumbersBeyond82GiveZero) {
  for (TLayerNumber layer : {83, 200, 255}) {
    EXPECT_EQ(pad.GetXSizeOnLayer(layer), 0);
    EXPECT_EQ(pad.GetWidthOnLayer(layer), 0);
    EXPECT_EQ(pad.GetShapeOnLayer(layer), 0);
    EXPECT_EQ(pad.GetCornerRadiusOnLayer(layer), 0);
    EXPECT_EQ(pad.GetCornerX3OnLayer(layer, 5), 0);
    EXPECT_EQ(pad.GetY2OnLayer(layer), 0);
  }
}

TEST_F(PcbPadTest, CentreLineRunsAlongTheLongerSide) {
  pad.SetX(1000);
  pad.SetY(500);
  SetLayerSize(pad, 1, 60, 20);
  EXPECT_THAT((std::vector<int32_t>{pad.GetX1OnLayer(1), pad.GetY1OnLayer(1), pad.GetX2OnLayer(1),
                                    pad.GetY2OnLayer(1)}),
              ElementsAre(980, 500, 1020, 500));

  SetLayerSize(pad, 2, 20, 60);  // taller than wide: from the top end down
  EXPECT_THAT((std::vector<int32_t>{pad.GetX1OnLayer(2), pad.GetY1OnLayer(2), pad.GetX2OnLayer(2),
                                    pad.GetY2OnLayer(2)}),
              ElementsAre(1000, 520, 1000, 480));

  SetLayerSize(pad, 3, 41, 41);  // square: zero length at the location
  EXPECT_THAT((std::vector<int32_t>{pad.GetX1OnLayer(3), pad.GetY1OnLayer(3), pad.GetX2OnLayer(3),
                                    pad.GetY2OnLayer(3)}),
              ElementsAre(1000, 500, 1000, 500));

  SetLayerSize(pad, 4, 61, 21);  // halves truncated: 30 - 10
  pad.SetRotation(90.0);
  EXPECT_THAT((std::vector<int32_t>{pad.GetX1OnLayer(4), pad.GetY1OnLayer(4), pad.GetX2OnLayer(4),
                                    pad.GetY2OnLayer(4)}),
              ElementsAre(1000, 480, 1000, 520));
}

TEST_F(PcbPadTest, CornersOnALayerUseTheLayerSizeAroundTheLocation) {
  pad.SetX(100);
  pad.SetY(50);
  SetLayerSize(pad, 32, 60, 20);
  auto corners = [this](TLayerNumber layer, int32_t e) {
    return std::vector<int32_t>{pad.GetCornerX1OnLayer(layer, e), pad.GetCornerY1OnLayer(layer, e),
                                pad.GetCornerX2OnLayer(layer, e), pad.GetCornerY2OnLayer(layer, e),
                                pad.GetCornerX3OnLayer(layer, e), pad.GetCornerY3OnLayer(layer, e),
                                pad.GetCornerX4OnLayer(layer, e), pad.GetCornerY4OnLayer(layer, e)};
  };
  EXPECT_THAT(corners(32, 0), ElementsAre(70, 40, 130, 40, 70, 60, 130, 60));
  EXPECT_THAT(corners(32, 5), ElementsAre(65, 35, 135, 35, 65, 65, 135, 65));
  pad.SetRotation(90.0);
  EXPECT_THAT(corners(32, 0), ElementsAre(110, 20, 110, 80, 90, 20, 90, 80));

  // A layer whose expanded height is 0 has corners on the line through the location.
  pad.SetRotation(0.0);
  SetLayerSize(pad, 33, 40, 0);
  EXPECT_THAT(corners(33, 0), ElementsAre(80, 50, 120, 50, 80, 50, 120, 50));
  SetLayerSize(pad, 34, 40, 10);
  EXPECT_THAT(corners(34, -5), ElementsAre(85, 50, 115, 50, 85, 50, 115, 50));
}

TEST_F(PcbPadTest, NameKeepsTwentyCharacters) {
  pad.SetName("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  TText255 name;
  pad.GetName(name);
  EXPECT_EQ(name.Str(), "ABCDEFGHIJKLMNOPQRST");
}

}  // namespace
}  // namespace zz
