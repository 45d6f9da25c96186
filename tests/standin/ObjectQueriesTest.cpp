#include <gtest/gtest.h>

#include <cstring>

#include "QueryFields.h"
#include "standin/Registration.h"
#include "standin/Server.h"

namespace standin {
namespace {

using test::Arc;
using test::Fill;
using test::Pad;
using test::Track;
using zz::kFetch;
using zz::kStore;

constexpr uint8_t kArc = 1, kPad = 2, kVia = 3, kTrack = 4, kFill = 6;

class ObjectQueries : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
};

test::Common DistinctCommon() {
  test::Common c;
  c.StateFlags = 0x8421;
  c.IndexWord = 0x1234;
  c.LayerId = zz::SignalLayerId(40);
  c.AuxValue1 = -7;
  c.AuxByte = 0xA5;
  c.AuxValue2 = 123456789;
  return c;
}

void ExpectSameCommon(const test::Common& a, const test::Common& b) {
  EXPECT_EQ(a.StateFlags, b.StateFlags);
  EXPECT_EQ(a.IndexWord, b.IndexWord);
  EXPECT_EQ(a.LayerId, b.LayerId);
  EXPECT_EQ(a.AuxValue1, b.AuxValue1);
  EXPECT_EQ(a.AuxByte, b.AuxByte);
  EXPECT_EQ(a.AuxValue2, b.AuxValue2);
}

TEST_F(ObjectQueries, NewObjectsTakeTheDocumentedDefaults) {
  Track track;
  track.X = 99;  // the fetch must overwrite every field
  track.C.LayerId = 77;
  ASSERT_EQ(track.Query(kFetch, PcbApi_CreateObject(kTrack)), 0);
  EXPECT_EQ(track.C.LayerId, 1U);
  EXPECT_EQ(track.X, 0);
  EXPECT_EQ(track.Width, 0);

  Pad pad;
  const zz::THandle padHandle = PcbApi_CreateObject(kPad);
  ASSERT_EQ(pad.Query(kFetch, padHandle), 0);
  EXPECT_EQ(pad.C.LayerId, 1U);
  EXPECT_EQ(pad.TopX, 0);
  EXPECT_EQ(pad.TopShape, zz::PadShape::Round);
  EXPECT_EQ(pad.BotShape, zz::PadShape::Round);
  EXPECT_TRUE(pad.Name.Empty());
  uint8_t stackMode = 99;
  ASSERT_EQ(PcbApi_QueryPadStackMode(kFetch, padHandle, &stackMode), 0);
  EXPECT_EQ(stackMode, 0);
}

TEST_F(ObjectQueries, StoredTrackComesBackFieldForField) {
  const zz::THandle h = PcbApi_CreateObject(kTrack);
  Track in;
  in.C = DistinctCommon();
  in.X = -1;
  in.Y = 2;
  in.X2 = -2147483647 - 1;
  in.Y2 = 2147483647;
  in.Width = 100000;
  in.Ext1 = 11;
  in.Ext2 = 12;
  in.Ext3 = 13;
  ASSERT_EQ(in.Query(kStore, h), 0);
  Track out;
  ASSERT_EQ(out.Query(kFetch, h), 0);
  ExpectSameCommon(in.C, out.C);
  EXPECT_EQ(out.X, -1);
  EXPECT_EQ(out.Y, 2);
  EXPECT_EQ(out.X2, in.X2);
  EXPECT_EQ(out.Y2, in.Y2);
  EXPECT_EQ(out.Width, 100000);
  EXPECT_EQ(out.Ext1, 11);
  EXPECT_EQ(out.Ext2, 12);
  EXPECT_EQ(out.Ext3, 13);
}

TEST_F(ObjectQueries, StoredFillComesBackFieldForField) {
  const zz::THandle h = PcbApi_CreateObject(kFill);
  Fill in;
  in.C = DistinctCommon();
  in.X = -50000;
  in.Y = -25000;
  in.X2 = 1050000;
  in.Y2 = 25000;
  in.Ext1 = 5;
  in.Rotation = 12.345678901234567;
  ASSERT_EQ(in.Query(kStore, h), 0);
  Fill out;
  ASSERT_EQ(out.Query(kFetch, h), 0);
  ExpectSameCommon(in.C, out.C);
  EXPECT_EQ(out.X, -50000);
  EXPECT_EQ(out.Y, -25000);
  EXPECT_EQ(out.X2, 1050000);
  EXPECT_EQ(out.Y2, 25000);
  EXPECT_EQ(out.Ext1, 5);
  EXPECT_EQ(out.Rotation, in.Rotation);
}

TEST_F(ObjectQueries, StoredArcComesBackWithExactAngles) {
  const zz::THandle h = PcbApi_CreateObject(kArc);
  Arc in;
  in.C = DistinctCommon();
  in.X = 10;
  in.Y = -20;
  in.Radius = 1000;
  in.StartAngle = -44.99999237060547;  // a float widened to double, as the importer stores it
  in.EndAngle = 0.1 + 360.0;
  in.LineWidth = 77;
  in.Ext1 = 3;
  ASSERT_EQ(in.Query(kStore, h), 0);
  Arc out;
  ASSERT_EQ(out.Query(kFetch, h), 0);
  ExpectSameCommon(in.C, out.C);
  EXPECT_EQ(out.X, 10);
  EXPECT_EQ(out.Y, -20);
  EXPECT_EQ(out.Radius, 1000);
  EXPECT_EQ(out.StartAngle, in.StartAngle);
  EXPECT_EQ(out.EndAngle, in.EndAngle);
  EXPECT_EQ(out.LineWidth, 77);
  EXPECT_EQ(out.Ext1, 3);
}

TEST_F(ObjectQueries, StoredPadComesBackWithItsCarriedValues) {
  const zz::THandle h = PcbApi_CreateObject(kPad);
  Pad in;
  in.C = DistinctCommon();
  in.X = 1;
  in.Y = 2;
  in.TopX = 3;
  in.TopY = 4;
  in.MidX = 5;
  in.MidY = 6;
  in.BotX = 7;
  in.BotY = 8;
  in.Hole = 9;
  in.TopShape = 2;
  in.MidShape = 3;
  in.BotShape = 5;
  in.Name = "PAD-1";
  in.Byte1 = 21;
  in.Byte2 = 22;
  in.Rotation = 33.25;
  in.Text1 = "one";
  in.Text2 = "two";
  in.Value1 = 41;
  in.Text3 = "three";
  in.Byte3 = 23;
  in.Byte4 = 24;
  in.Value2 = 42;
  in.Value5 = int64_t{1} << 40;
  in.Value3 = 43;
  in.Value4 = 44;
  in.Value6 = 46;
  in.ViaFlag1 = 1;
  in.ViaFlag2 = 2;
  ASSERT_EQ(in.Query(kStore, h), 0);
  Pad out;
  ASSERT_EQ(out.Query(kFetch, h), 0);
  ExpectSameCommon(in.C, out.C);
  EXPECT_EQ(std::make_tuple(out.X, out.Y, out.TopX, out.TopY, out.MidX, out.MidY, out.BotX, out.BotY, out.Hole),
            std::make_tuple(1, 2, 3, 4, 5, 6, 7, 8, 9));
  EXPECT_EQ(std::make_tuple(out.TopShape, out.MidShape, out.BotShape), std::make_tuple(2, 3, 5));
  EXPECT_EQ(out.Name.View(), "PAD-1");
  EXPECT_EQ(out.Text1.View(), "one");
  EXPECT_EQ(out.Text2.View(), "two");
  EXPECT_EQ(out.Text3.View(), "three");
  EXPECT_EQ(std::make_tuple(out.Byte1, out.Byte2, out.Byte3, out.Byte4), std::make_tuple(21, 22, 23, 24));
  EXPECT_EQ(out.Rotation, 33.25);
  EXPECT_EQ(std::make_tuple(out.Value1, out.Value2, out.Value3, out.Value4, out.Value6),
            std::make_tuple(41, 42, 43, 44, 46));
  EXPECT_EQ(out.Value5, int64_t{1} << 40);
  EXPECT_EQ(out.ViaFlag1, 1);
  EXPECT_EQ(out.ViaFlag2, 2);
}

TEST_F(ObjectQueries, PadWithoutCarriedValuesNeedsNoSideEntry) {
  const zz::THandle h = PcbApi_CreateObject(kPad);
  Pad pad;
  ASSERT_EQ(pad.Query(kFetch, h), 0);
  pad.TopX = pad.TopY = 100;
  ASSERT_EQ(pad.Query(kStore, h), 0);
  EXPECT_EQ(TheServer().FindPad(h)->Extras, kNoSideEntry);
}

TEST_F(ObjectQueries, TextWithAnOverlongLengthByteIsCutToItsCapacity) {
  const zz::THandle h = PcbApi_CreateObject(kPad);
  Pad in;
  in.Name = "ABC";
  in.Name.Length = 200;  // a caller's broken length byte
  ASSERT_EQ(in.Query(kStore, h), 0);
  Pad out;
  ASSERT_EQ(out.Query(kFetch, h), 0);
  EXPECT_LE(out.Name.Length, 20);
  EXPECT_EQ(out.Name.View().substr(0, 3), "ABC");
}

TEST_F(ObjectQueries, QueryOfAnotherKindIsRefusedAndChangesNothing) {
  const zz::THandle track = PcbApi_CreateObject(kTrack);
  Fill fill;
  fill.X = 42;
  EXPECT_NE(fill.Query(kFetch, track), 0);
  EXPECT_EQ(fill.X, 42);
  EXPECT_NE(fill.Query(kStore, track), 0);
  Track t;
  ASSERT_EQ(t.Query(kFetch, track), 0);
  EXPECT_EQ(t.X, 0);
}

TEST_F(ObjectQueries, UnknownHandlesAndDirectionsAreRefused) {
  const zz::THandle h = PcbApi_CreateObject(kTrack);
  Track t;
  t.X = 42;
  for (const zz::THandle bad : {0, -1, h + 1, standin::kBoardHandleBase + 1}) {
    EXPECT_NE(t.Query(kFetch, bad), 0) << bad;
    EXPECT_EQ(PcbApi_GetObjectIdFromObjectHandle(bad), 0) << bad;
  }
  EXPECT_NE(t.Query(2, h), 0);
  EXPECT_EQ(t.X, 42);
  ASSERT_EQ(t.Query(kFetch, h), 0);
  EXPECT_EQ(t.X, 0);  // the refused direction stored nothing
}

TEST_F(ObjectQueries, FlagBytesAreKeptPerObject) {
  const zz::THandle a = PcbApi_CreateObject(kTrack);
  const zz::THandle b = PcbApi_CreateObject(kPad);
  uint8_t bits = 0x5A;
  PcbApi_GetObjectBitField2(kStore, a, &bits);
  bits = 0x06;
  PcbApi_GetObjectBitField3(kStore, b, &bits);
  uint8_t got = 0xFF;
  PcbApi_GetObjectBitField2(kFetch, a, &got);
  EXPECT_EQ(got, 0x5A);
  PcbApi_GetObjectBitField3(kFetch, a, &got);
  EXPECT_EQ(got, 0);
  PcbApi_GetObjectBitField3(kFetch, b, &got);
  EXPECT_EQ(got, 0x06);
  got = 0x77;
  PcbApi_GetObjectBitField2(kFetch, 0, &got);  // unknown handle: nothing happens
  EXPECT_EQ(got, 0x77);
}

TEST_F(ObjectQueries, PrimitiveQuerySharesTheCommonValuesOfEveryKind) {
  const zz::THandle h = PcbApi_CreateObject(kArc);
  Arc arc;
  arc.C = DistinctCommon();
  ASSERT_EQ(arc.Query(kStore, h), 0);
  uint16_t flags = 0, index = 0;
  uint32_t layer = 0;
  int32_t aux1 = 0, aux2 = 0;
  uint8_t auxByte = 0;
  // Here the second value comes before the byte, the reverse of the object queries.
  ASSERT_EQ(PcbApi_QueryPrimitive(kFetch, h, &flags, &index, &layer, &aux1, &aux2, &auxByte), 0);
  EXPECT_EQ(flags, arc.C.StateFlags);
  EXPECT_EQ(index, arc.C.IndexWord);
  EXPECT_EQ(layer, arc.C.LayerId);
  EXPECT_EQ(aux1, arc.C.AuxValue1);
  EXPECT_EQ(aux2, arc.C.AuxValue2);
  EXPECT_EQ(auxByte, arc.C.AuxByte);
}

TEST_F(ObjectQueries, OnlyKindsWithAnObjectClassAreCreated) {
  for (const int kind : {0, 23, 24, 25, 27, 255}) EXPECT_EQ(PcbApi_CreateObject(static_cast<uint8_t>(kind)), 0) << kind;
  for (const int kind : {1, 2, 3, 4, 5, 6, 11, 22, 26}) {
    const zz::THandle h = PcbApi_CreateObject(static_cast<uint8_t>(kind));
    ASSERT_NE(h, 0) << kind;
    EXPECT_EQ(PcbApi_GetObjectIdFromObjectHandle(h), kind);
  }
  EXPECT_EQ(TheServer().ObjectCount(), 9U);
}

TEST_F(ObjectQueries, HandlesCountUpFromOne) {
  EXPECT_EQ(PcbApi_CreateObject(kTrack), 1);
  EXPECT_EQ(PcbApi_CreateObject(kPad), 2);
  EXPECT_EQ(PcbApi_CreateObject(kFill), 3);
}

TEST_F(ObjectQueries, OtherKindsAnswerZeroAndLeaveValuesAlone) {
  const zz::THandle via = PcbApi_CreateObject(kVia);
  uint16_t flags = 7, index = 7;
  uint8_t layer = 7, auxByte = 7, attr1 = 7, attr2 = 7, f1 = 7, f2 = 7;
  int32_t aux1 = 7, aux2 = 7, x = 7, y = 7, size = 7, hole = 7;
  EXPECT_EQ(PcbApi_QueryVia(kFetch, via, &flags, &index, &layer, &aux1, &auxByte, &aux2, &x, &y, &size, &hole, &attr1,
                            &attr2, &f1, &f2),
            0);
  EXPECT_EQ(x, 7);
  EXPECT_EQ(layer, 7);
}

TEST_F(ObjectQueries, BoundingRectangleCoversTheObject) {
  const zz::THandle h = PcbApi_CreateObject(kTrack);
  Track t;
  t.C.LayerId = 1;
  t.X = 0;
  t.Y = 0;
  t.X2 = 1000;
  t.Y2 = 0;
  t.Width = 100;
  ASSERT_EQ(t.Query(kStore, h), 0);
  int32_t v[4] = {};
  ASSERT_EQ(PcbApi_QueryObjectBoundingRectangle(h, &v[0], &v[1], &v[2], &v[3]), 0);
  EXPECT_EQ(v[0], -50);
  EXPECT_EQ(v[1], -50);
  EXPECT_EQ(v[2], 1050);
  EXPECT_EQ(v[3], 50);
  EXPECT_NE(PcbApi_QueryObjectBoundingRectangle(0, &v[0], &v[1], &v[2], &v[3]), 0);
}

}  // namespace
}  // namespace standin
