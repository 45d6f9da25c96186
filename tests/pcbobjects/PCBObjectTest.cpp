#include "pcbobjects/PCBObject.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>

#include "RecordingHost.h"
#include "pcbobjects/PcbFill.h"
#include "pcbobjects/PcbTrack.h"
#include "pcbobjects/PcbVia.h"
#include "pcbobjects/WrapHostObject.h"

namespace zz {
namespace {

using test::RecordingHost;
using ::testing::ElementsAre;

int64_t D(std::size_t arg) { return RecordingHost::DefaultInt(arg); }

class PCBObjectTest : public ::testing::Test {
 protected:
  RecordingHost host;
};

// --- Sync of the base class ---

TEST_F(PCBObjectTest, SyncSendsFlagBytesFirstThenThePrimitiveQueryInItsOrder) {
  TPCBObject object(55);
  EXPECT_EQ(object.Sync(kFetch), 0);

  EXPECT_THAT(host.Names(),
              ElementsAre("PcbApi_GetObjectBitField2", "PcbApi_GetObjectBitField3", "PcbApi_QueryPrimitive"));
  for (const test::HostCall& call : host.Calls) {
    EXPECT_EQ(call.Int(0), kFetch) << call.Name;
    EXPECT_EQ(call.Int(1), 55) << call.Name;
  }
  EXPECT_EQ(object.BitField2, D(2));
  EXPECT_EQ(object.BitField3, D(2));
  // QueryPrimitive: StateFlags, IndexWord, LayerId, AuxValue1, AuxValue2, AuxByte.
  EXPECT_EQ(object.StateFlags, D(2));
  EXPECT_EQ(object.IndexWord, D(3));
  EXPECT_EQ(object.LayerId, D(4));
  EXPECT_EQ(object.AuxValue1, D(5));
  EXPECT_EQ(object.AuxValue2, D(6));
  EXPECT_EQ(object.AuxByte, D(7));
}

TEST_F(PCBObjectTest, StoreSendsTheCopyInTheSameOrderAndReturnsTheHostStatus) {
  TPCBObject object(55);
  object.SetStateFlags(0x1234);
  object.SetIndexWord(9);
  object.SetLayer(33);
  object.SetAuxValue1(-1);
  object.SetAuxValue2(-2);
  object.SetAuxByte(3);
  host.SetResult("PcbApi_QueryPrimitive", 6);

  EXPECT_EQ(object.Sync(kStore), 6);
  ASSERT_EQ(host.Calls.size(), 3U);
  const test::HostCall& query = host.Calls[2];
  EXPECT_EQ(query.Int(0), kStore);
  EXPECT_EQ(query.Int(2), 0x1234);
  EXPECT_EQ(query.Int(3), 9);
  EXPECT_EQ(query.Int(4), 33);
  EXPECT_EQ(query.Int(5), -1);
  EXPECT_EQ(query.Int(6), -2);
  EXPECT_EQ(query.Int(7), 3);
}

TEST_F(PCBObjectTest, OnlyTheTwoStoreAtOnceSettersReachTheHost) {
  TPCBObject object(8);
  object.SetStateFlag0010(true);
  object.SetStateFlag0800(true);
  object.SetBitField3Both(true);
  object.SetX(5);
  object.SetLayer(4);
  EXPECT_TRUE(host.Calls.empty());

  object.SetStateFlag0008AndStore(true);
  ASSERT_EQ(host.Calls.size(), 3U);
  EXPECT_EQ(host.Calls[2].Int(0), kStore);
  EXPECT_EQ(host.Calls[2].Int(2), 0x0010 | 0x0800 | 0x0008);
  EXPECT_EQ(host.CallsTo("PcbApi_GetObjectBitField3")[0].Int(2), 0x06);

  host.Clear();
  object.StateFlags = 0;
  object.SetStateFlag0100ClearAndStore(false);  // false sets the bit
  EXPECT_EQ(host.Calls.back().Int(2), 0x0100);
  EXPECT_FALSE(object.GetStateFlag0100Clear());
  object.SetStateFlag0100ClearAndStore(true);
  EXPECT_EQ(host.Calls.back().Int(2), 0);
  EXPECT_TRUE(object.GetStateFlag0100Clear());
}

TEST_F(PCBObjectTest, HostOnlyOperationsPassTheHandleAndReturnTheHostsAnswer) {
  TPCBObject object(31);
  EXPECT_EQ(object.GetBoundsValue1(), D(1));
  EXPECT_EQ(object.GetBoundsValue4(), D(4));
  int32_t v1 = 0, v2 = 0, v3 = 0, v4 = 0;
  object.GetBoundingRectangle(v1, v2, v3, v4);
  EXPECT_EQ(v3, D(3));

  host.SetResult("PcbApi_QueryObjectImport_FromUser", 0);
  EXPECT_TRUE(object.ImportFromUser());
  host.SetResult("PcbApi_QueryObjectImport_FromUser", 2);
  EXPECT_FALSE(object.ImportFromUser());
  host.SetResult("PcbApi_QueryObjectGraphicallyInvalidate", 4);
  EXPECT_EQ(object.GraphicallyInvalidate(), 4);
  for (const test::HostCall& call : host.Calls) EXPECT_EQ(call.Int(0), 31) << call.Name;
}

// --- Layers ---

TEST_F(PCBObjectTest, EveryClassicLayerSurvivesSetLayerAndGetLayer) {
  TPcbTrack track(1);
  for (int n = 0; n <= kMaxClassicLayer; ++n) {
    track.SetLayer(static_cast<TLayerNumber>(n));
    EXPECT_EQ(track.GetLayer(), n);
  }
}

TEST_F(PCBObjectTest, OnLayerGettersAnswerOnlyForTheObjectsOwnLayer) {
  TPcbTrack track(1);
  track.SetX(10);
  track.SetY(20);
  track.SetX2(30);
  track.SetY2(40);
  track.SetWidth(7);
  track.SetLayer(32);

  EXPECT_EQ(track.GetWidthOnLayer(32), 7);
  EXPECT_EQ(track.GetX2OnLayer(32), 30);
  EXPECT_EQ(track.GetY1OnLayer(32), 20);
  EXPECT_EQ(track.GetCornerX2OnLayer(32, 0), 30);
  EXPECT_EQ(track.GetWidthOnLayer(1), 0);
  EXPECT_EQ(track.GetX1OnLayer(1), 0);
  EXPECT_EQ(track.GetCornerY4OnLayer(1, 0), 0);
}

TEST_F(PCBObjectTest, SizeGettersOfAClassWithOnlyASizeAllReturnIt) {
  TPcbVia via(1);
  via.SetSize(500);
  EXPECT_EQ(via.GetXSize(), 500);
  EXPECT_EQ(via.GetYSize(), 500);
}

// --- Corners of the rotated box ---

struct Corners {
  std::array<int32_t, 4> X;
  std::array<int32_t, 4> Y;
};

Corners CornersOf(const TPCBObject& object, int32_t e) {
  return {{object.GetCornerX1(e), object.GetCornerX2(e), object.GetCornerX3(e), object.GetCornerX4(e)},
          {object.GetCornerY1(e), object.GetCornerY2(e), object.GetCornerY3(e), object.GetCornerY4(e)}};
}

void PlaceFill(TPcbFill& fill, int32_t x, int32_t y, int32_t x2, int32_t y2, double rotation) {
  fill.SetX(x);
  fill.SetY(y);
  fill.SetX2(x2);
  fill.SetY2(y2);
  fill.SetRotation(rotation);
}

TEST_F(PCBObjectTest, UnrotatedCornersAreLowerLeftLowerRightUpperLeftUpperRight) {
  TPcbFill fill(1);
  PlaceFill(fill, 40, 40, 160, 60, 0.0);
  Corners c = CornersOf(fill, 0);
  EXPECT_THAT(c.X, ElementsAre(40, 160, 40, 160));
  EXPECT_THAT(c.Y, ElementsAre(40, 40, 60, 60));

  c = CornersOf(fill, 5);
  EXPECT_THAT(c.X, ElementsAre(35, 165, 35, 165));
  EXPECT_THAT(c.Y, ElementsAre(35, 35, 65, 65));
}

TEST_F(PCBObjectTest, RotatedCornersMatchHandComputedValues) {
  TPcbFill fill(1);
  PlaceFill(fill, 70, 40, 130, 60, 90.0);  // 60 x 20 around (100, 50)
  Corners c = CornersOf(fill, 0);
  EXPECT_THAT(c.X, ElementsAre(110, 110, 90, 90));
  EXPECT_THAT(c.Y, ElementsAre(20, 80, 20, 80));

  PlaceFill(fill, 90, 40, 110, 60, 45.0);  // 20 x 20 around (100, 50): half-diagonal 14.14
  c = CornersOf(fill, 0);
  EXPECT_THAT(c.X, ElementsAre(100, 114, 86, 100));
  EXPECT_THAT(c.Y, ElementsAre(36, 50, 50, 64));

  PlaceFill(fill, -30, -10, 30, 10, 30.0);  // (-20.98, -23.66) (30.98, 6.34) (-30.98, -6.34) (20.98, 23.66)
  c = CornersOf(fill, 0);
  EXPECT_THAT(c.X, ElementsAre(-21, 31, -31, 21));
  EXPECT_THAT(c.Y, ElementsAre(-24, 6, -6, 24));

  PlaceFill(fill, 700, -600, 1300, -400, -135.0);
  c = CornersOf(fill, 0);
  EXPECT_THAT(c.X, ElementsAre(1141, 717, 1283, 859));
  EXPECT_THAT(c.Y, ElementsAre(-217, -641, -359, -783));
}

TEST_F(PCBObjectTest, FlatBoxRoundsHalvesToEven) {
  TPcbTrack track(1);
  track.SetX(0);
  track.SetX2(3);  // W = 3, CX = 0 + 1: the ends are at -0.5 and 2.5
  Corners c = CornersOf(track, 0);
  EXPECT_THAT(c.X, ElementsAre(0, 2, 0, 2));
  EXPECT_THAT(c.Y, ElementsAre(0, 0, 0, 0));

  track.SetX(2);
  track.SetX2(3);  // W = 1, CX = 1 + 1: 1.5 and 2.5 both go to 2
  c = CornersOf(track, 0);
  EXPECT_THAT(c.X, ElementsAre(2, 2, 2, 2));
}

TEST_F(PCBObjectTest, CentreIsTheSumOfSeparatelyTruncatedHalves) {
  TPcbVia via(1);  // no second point: X2 = X, Y2 = Y
  via.SetX(5);
  via.SetY(5);
  EXPECT_EQ(via.GetX2(), 5);
  Corners c = CornersOf(via, 0);
  EXPECT_THAT(c.X, ElementsAre(4, 4, 4, 4));
  EXPECT_THAT(c.Y, ElementsAre(4, 4, 4, 4));

  via.SetX(-5);
  via.SetY(-5);
  c = CornersOf(via, 0);
  EXPECT_THAT(c.X, ElementsAre(-4, -4, -4, -4));

  // Expansion alone makes a square of side 2e around the centre.
  via.SetX(5);
  via.SetY(5);
  c = CornersOf(via, 3);
  EXPECT_THAT(c.X, ElementsAre(1, 7, 1, 7));
  EXPECT_THAT(c.Y, ElementsAre(1, 1, 7, 7));
}

TEST_F(PCBObjectTest, CornersBeyondThe32BitRangeAreHeldAtItsEnds) {
  TPcbVia via(1);
  via.SetX(INT32_MAX - 1);
  via.SetY(INT32_MIN + 2);
  const Corners c = CornersOf(via, 100);
  EXPECT_THAT(c.X, ElementsAre(INT32_MAX - 101, INT32_MAX, INT32_MAX - 101, INT32_MAX));
  EXPECT_THAT(c.Y, ElementsAre(INT32_MIN, INT32_MIN, INT32_MIN + 102, INT32_MIN + 102));
}

// --- Wrapping host objects ---

TEST_F(PCBObjectTest, KindsWithoutAWrapperGiveNoneAndNoFetch) {
  for (int kind : {0, 23, 24, 25, 27, 255}) {
    host.Clear();
    host.SetResult("PcbApi_GetObjectIdFromObjectHandle", kind);
    EXPECT_EQ(WrapHostObject(12), nullptr) << kind;
    EXPECT_THAT(host.Names(), ElementsAre("PcbApi_GetObjectIdFromObjectHandle")) << kind;
  }
}

TEST_F(PCBObjectTest, EveryWrappedKindReportsItsOwnCodeAfterAFetch) {
  for (int kind : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 26}) {
    host.Clear();
    host.SetResult("PcbApi_GetObjectIdFromObjectHandle", kind);
    const std::unique_ptr<TPCBObject> wrapper = WrapHostObject(12);
    ASSERT_NE(wrapper, nullptr) << kind;
    EXPECT_EQ(static_cast<int>(wrapper->GetObjectKind()), kind);
    EXPECT_EQ(wrapper->GetHandle(), 12);
    ASSERT_GE(host.Calls.size(), 4U) << kind;
    EXPECT_EQ(host.Calls[1].Name, "PcbApi_GetObjectBitField2");
    EXPECT_EQ(host.Calls[2].Name, "PcbApi_GetObjectBitField3");
    EXPECT_EQ(host.Calls[1].Int(0), kFetch);
  }
}

TEST_F(PCBObjectTest, DisplayStringOfHandleZeroIsEmptyWithoutAHostCall) {
  TText255 text = "stale";
  GetObjectDisplayString(0, text);
  EXPECT_TRUE(text.Empty());
  EXPECT_TRUE(host.Calls.empty());
}

}  // namespace
}  // namespace zz
