// Argument order of every class's host query, and the round trip of an unchanged copy.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RecordingHost.h"
#include "pcbobjects/PCBRegion.h"
#include "pcbobjects/PcbArc.h"
#include "pcbobjects/PcbComponent.h"
#include "pcbobjects/PcbFill.h"
#include "pcbobjects/PcbPolygon.h"
#include "pcbobjects/PcbTrack.h"
#include "pcbobjects/PcbVia.h"
#include "pcbobjects/WrapHostObject.h"

namespace zz {
namespace {

using test::HostCall;
using test::RecordingHost;
using ::testing::ElementsAre;

int64_t D(std::size_t arg) { return RecordingHost::DefaultInt(arg); }
double F(std::size_t arg) { return RecordingHost::DefaultFloat(arg); }

// Each field paired with the argument position the host's query gives it.
using FieldPositions = std::vector<std::pair<int64_t, std::size_t>>;

void ExpectFetched(const FieldPositions& fields) {
  for (const auto& [value, position] : fields) EXPECT_EQ(value, D(position)) << "argument " << position;
}

std::vector<std::string> QueryNames(const std::string& query) {
  return {"PcbApi_GetObjectBitField2", "PcbApi_GetObjectBitField3", query};
}

class PrimitivesTest : public ::testing::Test {
 protected:
  RecordingHost host;
};

TEST_F(PrimitivesTest, TrackQueryOrder) {
  TPcbTrack track(3);
  track.Sync(kFetch);
  EXPECT_EQ(host.Names(), QueryNames("PcbApi_QueryTrack"));
  ExpectFetched({{track.StateFlags, 2}, {track.IndexWord, 3}, {track.LayerId, 4}, {track.AuxValue1, 5},
                 {track.AuxByte, 6}, {track.AuxValue2, 7}, {track.X, 8}, {track.Y, 9}, {track.X2, 10},
                 {track.Y2, 11}, {track.Width, 12}, {track.ExtValue1, 13}, {track.ExtValue2, 14},
                 {track.ExtValue3, 15}});
}

TEST_F(PrimitivesTest, FillQueryOrder) {
  TPcbFill fill(3);
  fill.Sync(kFetch);
  EXPECT_EQ(host.Names(), QueryNames("PcbApi_QueryFill"));
  ExpectFetched({{fill.AuxByte, 6}, {fill.AuxValue2, 7}, {fill.X, 8}, {fill.Y, 9}, {fill.X2, 10}, {fill.Y2, 11},
                 {fill.ExtValue1, 12}});
  EXPECT_EQ(fill.Rotation, F(13));
}

TEST_F(PrimitivesTest, ArcQueryOrder) {
  TPcbArc arc(3);
  arc.Sync(kFetch);
  EXPECT_EQ(host.Names(), QueryNames("PcbApi_QueryArc"));
  ExpectFetched({{arc.X, 8}, {arc.Y, 9}, {arc.Radius, 10}, {arc.LineWidth, 13}, {arc.ExtValue1, 14}});
  EXPECT_EQ(arc.StartAngle, F(11));
  EXPECT_EQ(arc.EndAngle, F(12));
}

TEST_F(PrimitivesTest, ViaQueryOrderWithTheLayerAsAClassicNumber) {
  host.SetFill("PcbApi_QueryVia", 4, 39);
  TPcbVia via(3);
  via.Sync(kFetch);
  EXPECT_EQ(host.Names(), QueryNames("PcbApi_QueryVia"));
  EXPECT_EQ(via.LayerId, InternalPlaneId(1));
  EXPECT_EQ(via.GetLayer(), 39);
  ExpectFetched({{via.StateFlags, 2}, {via.IndexWord, 3}, {via.AuxValue1, 5}, {via.AuxByte, 6}, {via.AuxValue2, 7},
                 {via.X, 8}, {via.Y, 9}, {via.Size, 10}, {via.HoleSize, 11}, {via.ViaAttr1, 12},
                 {via.ViaAttr2, 13}, {via.PadViaFlag1, 14}, {via.PadViaFlag2, 15}});
}

TEST_F(PrimitivesTest, ViaOnALayerWithoutAClassicNumberIsSentLayerZero) {
  TPcbVia via(3);
  via.LayerId = SignalLayerId(0);  // malformed
  via.Sync(kStore);
  EXPECT_EQ(host.Calls.back().Int(4), 0);
  EXPECT_EQ(via.LayerId, 0U);
}

TEST_F(PrimitivesTest, ViaLayerQueriesAskTheHostAndTurnFailuresIntoZero) {
  TPcbVia via(3);
  via.Size = 1;
  EXPECT_EQ(via.GetSizeOnLayer(7), D(2));
  EXPECT_EQ(via.GetShapeOnLayer(7), D(2));
  EXPECT_EQ(host.Calls[0].Int(1), 7);
  host.SetResult("PcbApi_QueryPadOrViaSizeOnLayer", 1);
  host.SetResult("PcbApi_QueryPadOrViaShapeOnLayer", 3);
  EXPECT_EQ(via.GetSizeOnLayer(7), 0);
  EXPECT_EQ(via.GetShapeOnLayer(7), 0);
}

TEST_F(PrimitivesTest, RegionQueryOrderExchangesNoCoordinates) {
  TPCBRegion region(3);
  region.Sync(kFetch);
  EXPECT_EQ(host.Names(), QueryNames("PcbApi_QueryRegion"));
  ExpectFetched({{region.RegionByte, 2}, {region.StateFlags, 3}, {region.IndexWord, 4}, {region.LayerId, 5},
                 {region.AuxValue1, 6}, {region.AuxByte, 7}, {region.AuxValue2, 8}, {region.RegionValue6, 9},
                 {region.RegionValue5, 10}, {region.RegionValue1, 11}, {region.RegionValue2, 12},
                 {region.RegionValue3, 13}, {region.RegionValue4, 14}});
  EXPECT_EQ(region.X, 0);
  EXPECT_EQ(region.Y, 0);
}

TEST_F(PrimitivesTest, GroupObjectQueryOrders) {
  TPcbPolygon polygon(3);
  polygon.Sync(kFetch);
  ExpectFetched({{polygon.LayerId, 4}, {polygon.AuxValue1, 5}, {polygon.AuxByte, 6}, {polygon.PolyByte2, 7},
                 {polygon.PolyByte3, 8}, {polygon.PolyByte4, 9}, {polygon.PolyValue1, 10}, {polygon.PolyValue2, 11},
                 {polygon.TrailByte1, 12}, {polygon.TrailByte2, 13}, {polygon.PolyValue3, 14},
                 {polygon.PolyByte1, 15}, {polygon.PolyValue4, 16}, {polygon.ShapeBlock[0], 17}});

  host.Clear();
  host.SetFill("PcbApi_QueryComponent", 4, 32);
  TPcbComponent component(3);
  component.Sync(kFetch);
  EXPECT_THAT(host.Names(), ElementsAre("PcbApi_GetObjectBitField2", "PcbApi_GetObjectBitField3",
                                        "PcbApi_QueryComponentChannelOffset", "PcbApi_QueryComponentKind",
                                        "PcbApi_QueryComponent", "PcbApi_QueryComponentEx",
                                        "PcbApi_QueryComponentSourceLinks", "PcbApi_QueryDefaultPCB3DModel"));
  EXPECT_EQ(component.GetLayer(), 32);
  ExpectFetched({{component.AuxByte, 5}, {component.DesignatorHandle, 6}, {component.SecondHandle, 7},
                 {component.Byte1, 9}, {component.Byte2, 10}, {component.X, 11}, {component.Y, 12},
                 {component.Value1, 13}, {component.Byte3, 15}, {component.ExValue1, 2}, {component.ExByte2, 4}});
  EXPECT_EQ(component.Rotation, F(14));
  EXPECT_EQ(component.Text.Str(), RecordingHost::DefaultText(8));
  EXPECT_EQ(component.SourceLinks[7].Str(), RecordingHost::DefaultText(9));
}

TEST_F(PrimitivesTest, MovingATrackOrFillKeepsItsExtentAndAnArcMovesOnlyItsCentre) {
  TPcbTrack track(1);
  track.SetX(-5);
  track.SetY(10);
  track.SetX2(95);
  track.SetY2(-30);
  track.MoveBy(7, -3);
  EXPECT_EQ(track.X, 2);
  EXPECT_EQ(track.Y, 7);
  EXPECT_EQ(track.X2 - track.X, 100);
  EXPECT_EQ(track.Y2 - track.Y, -40);

  TPcbFill fill(1);
  fill.SetX(0);
  fill.SetY(0);
  fill.SetX2(40);
  fill.SetY2(20);
  fill.MoveBy(-10, 10);
  EXPECT_EQ(fill.X2 - fill.X, 40);
  EXPECT_EQ(fill.Y2 - fill.Y, 20);
  EXPECT_EQ(fill.Y, 10);

  TPcbArc arc(1);
  arc.SetRadius(50);
  arc.MoveBy(1, 2);
  EXPECT_EQ(arc.X, 1);
  EXPECT_EQ(arc.Y, 2);
  EXPECT_EQ(arc.Radius, 50);
}

// Fetch, change nothing, store: every by-reference value of every directional query goes back
// to the host exactly as the host handed it out, for every kind of wrapper.
class RoundTripTest : public ::testing::TestWithParam<int> {
 protected:
  RecordingHost host;
};

std::vector<HostCall> DirectionalCalls(const std::vector<HostCall>& calls) {
  std::vector<HostCall> result;
  for (const HostCall& call : calls) {
    if (call.Directional) result.push_back(call);
  }
  return result;
}

TEST_P(RoundTripTest, UnchangedCopyGoesBackAsFetched) {
  host.SetResult("PcbApi_GetObjectIdFromObjectHandle", GetParam());
  host.SetFill("PcbApi_QueryVia", 4, 33);        // a layer number that exists
  host.SetFill("PcbApi_QueryComponent", 4, 57);  // a layer number that exists
  host.SetFill("PcbApi_References_Count", 2, 3);

  const std::unique_ptr<TPCBObject> wrapper = WrapHostObject(21);
  ASSERT_NE(wrapper, nullptr);
  const std::vector<HostCall> fetched = DirectionalCalls(host.Calls);
  host.Clear();
  wrapper->Sync(kStore);
  const std::vector<HostCall> stored = DirectionalCalls(host.Calls);

  ASSERT_EQ(stored.size(), fetched.size());
  ASSERT_GE(stored.size(), 3U);
  EXPECT_EQ(stored[0].Name, "PcbApi_GetObjectBitField2");
  EXPECT_EQ(stored[1].Name, "PcbApi_GetObjectBitField3");
  for (std::size_t c = 0; c < stored.size(); ++c) {
    const HostCall& out = fetched[c];
    const HostCall& in = stored[c];
    ASSERT_EQ(in.Name, out.Name);
    EXPECT_EQ(out.Int(0), kFetch);
    EXPECT_EQ(in.Int(0), kStore);
    EXPECT_EQ(in.Int(1), 21);
    ASSERT_EQ(in.Args.size(), out.Args.size());
    for (std::size_t i = 2; i < in.Args.size(); ++i) {
      const test::HostArg& sent = in.Args[i];
      const test::HostArg& handedOut = out.Args[i];
      if (!sent.ByRef) {
        EXPECT_EQ(sent.Int, handedOut.Int) << in.Name << " argument " << i;
      } else if (sent.ArgType == test::HostArg::Type::Text) {
        EXPECT_EQ(sent.Text, handedOut.OutText) << in.Name << " argument " << i;
      } else if (sent.ArgType == test::HostArg::Type::F64) {
        EXPECT_EQ(sent.Float, handedOut.OutFloat) << in.Name << " argument " << i;
      } else {
        EXPECT_EQ(sent.Int, handedOut.OutInt) << in.Name << " argument " << i;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(EveryKind, RoundTripTest,
                         ::testing::Values(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21,
                                           22, 26));

}  // namespace
}  // namespace zz
