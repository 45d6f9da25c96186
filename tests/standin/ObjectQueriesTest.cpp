#include <gtest/gtest.h>

#include <limits>

#include "QueryFields.h"
#include "standin/Registration.h"
#include "standin/Server.h"

namespace standin {
namespace {

using zz::kFetch;
using zz::kStore;

constexpr uint8_t kArc = 1, kPad = 2, kVia = 3, kTrack = 4, kFill = 6;
constexpr int32_t kMin = std::numeric_limits<int32_t>::min(), kMax = std::numeric_limits<int32_t>::max();
const test::Common kDistinct{0x8421, 0x1234, zz::SignalLayerId(40), -7, 0xA5, 123456789};

class ObjectQueries : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
};

// Stores every field with a distinct value, fetches into a fresh record and compares all.
template <typename Fields>
void ExpectRoundTrip(uint8_t kind, const Fields& in) {
  const zz::THandle h = PcbApi_CreateObject(kind);
  Fields stored = in;
  ASSERT_EQ(stored.Query(kStore, h), 0);
  Fields out;
  ASSERT_EQ(out.Query(kFetch, h), 0);
  EXPECT_EQ(out.Fields(), in.Fields());
}

TEST_F(ObjectQueries, StoredRecordsComeBackFieldForField) {
  ExpectRoundTrip(kTrack, test::Track{kDistinct, -1, 2, kMin, kMax, 100000, 11, 12, 13});
  ExpectRoundTrip(kFill, test::Fill{kDistinct, -50000, -25000, 1050000, 25000, 5, 12.345678901234567});
  // Angles exactly, also a float widened to double as the importer stores them.
  ExpectRoundTrip(kArc, test::Arc{kDistinct, 10, -20, 1000, static_cast<double>(-44.999992f), 0.1 + 360.0, 77, 3});
  ExpectRoundTrip(kPad, test::Pad{kDistinct, 1,     2,     3,       4,
                                  5,         6,     7,     8,       9,
                                  2,         3,     5,     "PAD-1", 21,
                                  22,        33.25, "one", "two",   41,
                                  "three",   23,    24,    42,      int64_t{1} << 40,
                                  43,        44,    46,    1,       2});
  const zz::THandle h = PcbApi_CreateObject(kPad);
  test::Pad in{.Name = "PAD-1", .Text1 = "one", .Text3 = "three"};
  in.Query(kStore, h);
  test::Pad out;
  out.Query(kFetch, h);
  EXPECT_EQ(out.Texts(), std::make_tuple("PAD-1", "one", "", "three"));
}

TEST_F(ObjectQueries, NewObjectsTakeTheDocumentedDefaults) {
  test::Track track{.C = {.LayerId = 77}, .X = 99};  // the fetch must overwrite every field
  ASSERT_EQ(track.Query(kFetch, PcbApi_CreateObject(kTrack)), 0);
  EXPECT_EQ(track.Fields(), test::Track{.C = {.LayerId = 1}}.Fields());
  const zz::THandle pad = PcbApi_CreateObject(kPad);
  test::Pad p;
  ASSERT_EQ(p.Query(kFetch, pad), 0);
  EXPECT_EQ(p.Fields(), (test::Pad{.C = {.LayerId = 1}, .TopShape = 1, .MidShape = 1, .BotShape = 1}.Fields()));
  uint8_t stackMode = 99;
  ASSERT_EQ(PcbApi_QueryPadStackMode(kFetch, pad, &stackMode), 0);
  EXPECT_EQ(stackMode, 0);
  EXPECT_EQ(TheServer().Objects().FindPad(pad)->Extras, kNoSideEntry);  // no carried values, no side entry
}

TEST_F(ObjectQueries, TextWithAnOverlongLengthByteIsCutToItsCapacity) {
  const zz::THandle h = PcbApi_CreateObject(kPad);
  test::Pad in{.Name = "ABC"};
  in.Name.Length = 200;  // a caller's broken length byte
  ASSERT_EQ(in.Query(kStore, h), 0);
  test::Pad out;
  ASSERT_EQ(out.Query(kFetch, h), 0);
  EXPECT_EQ(out.Name.Length, 20);
}

TEST_F(ObjectQueries, WrongKindUnknownHandleOrDirectionIsRefusedAndChangesNothing) {
  const zz::THandle track = PcbApi_CreateObject(kTrack);
  test::Fill fill{.X = 42};
  EXPECT_NE(fill.Query(kFetch, track), 0);
  EXPECT_NE(fill.Query(kStore, track), 0);
  test::Track t{.X = 42};
  for (const zz::THandle bad : {0, -1, track + 1, kBoardHandleBase + 1}) {
    EXPECT_NE(t.Query(kFetch, bad), 0) << bad;
    EXPECT_EQ(PcbApi_GetObjectIdFromObjectHandle(bad), 0) << bad;
  }
  EXPECT_NE(t.Query(2, track), 0);
  EXPECT_EQ(fill.X, 42);
  EXPECT_EQ(t.X, 42);
  ASSERT_EQ(t.Query(kFetch, track), 0);
  EXPECT_EQ(t.X, 0);  // none of the refused stores reached the track
}

TEST_F(ObjectQueries, CommonValuesAndFlagBytesAreSharedByEveryQueryOfTheObject) {
  const zz::THandle h = PcbApi_CreateObject(kArc);
  test::Arc arc{kDistinct};
  ASSERT_EQ(arc.Query(kStore, h), 0);
  uint16_t flags = 0, index = 0;
  uint32_t layer = 0;
  int32_t aux1 = 0, aux2 = 0;
  uint8_t auxByte = 0;
  // Here the second value comes before the byte, the reverse of the object queries.
  ASSERT_EQ(PcbApi_QueryPrimitive(kFetch, h, &flags, &index, &layer, &aux1, &aux2, &auxByte), 0);
  EXPECT_EQ(std::tie(flags, index, layer, aux1, auxByte, aux2), kDistinct.Fields());

  uint8_t bits = 0x5A, got = 0;
  PcbApi_GetObjectBitField2(kStore, h, &bits);
  PcbApi_GetObjectBitField2(kFetch, h, &got);
  EXPECT_EQ(got, 0x5A);
  PcbApi_GetObjectBitField3(kFetch, h, &got);
  EXPECT_EQ(got, 0);
  got = 0x77;
  PcbApi_GetObjectBitField2(kFetch, 0, &got);
  EXPECT_EQ(got, 0x77);
}

TEST_F(ObjectQueries, FlagBytesAndCommonValuesChangeOnlyTheirObject) {
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
  EXPECT_EQ(TheServer().Objects().FindCommon(b)->BitField2, 0);

  // The next fetch sees a change made by any other road, and a handle given out again after a
  // reset answers for its new object.
  standin::CommonFields common = *TheServer().Objects().FindCommon(a);
  common.BitField2 = 0x11;
  ASSERT_TRUE(TheServer().Objects().SetCommon(a, common));
  PcbApi_GetObjectBitField2(zz::kFetch, a, &bits);
  EXPECT_EQ(bits, 0x11);
  TheServer().Reset();
  ASSERT_EQ(PcbApi_CreateObject(4), a);
  PcbApi_GetObjectBitField2(zz::kFetch, a, &bits);
  EXPECT_EQ(bits, 0);
}

TEST_F(ObjectQueries, OnlyKindsWithAnObjectClassAreCreated) {
  for (const int kind : {0, 23, 24, 25, 27, 255}) EXPECT_EQ(PcbApi_CreateObject(static_cast<uint8_t>(kind)), 0) << kind;
  for (const int kind : {1, 2, 3, 4, 5, 6, 11, 22, 26}) {
    EXPECT_EQ(PcbApi_GetObjectIdFromObjectHandle(PcbApi_CreateObject(static_cast<uint8_t>(kind))), kind);
  }
  EXPECT_EQ(TheServer().Objects().ObjectCount(), 9U);
  uint16_t flags = 7, index = 7;
  uint8_t layer = 7, b = 7;
  int32_t v = 7, x = 7;
  // A via keeps no record of its own: its query answers 0 and leaves the values alone.
  EXPECT_EQ(PcbApi_QueryVia(kFetch, 3, &flags, &index, &layer, &v, &b, &v, &x, &v, &v, &v, &b, &b, &b, &b), 0);
  EXPECT_EQ(std::tie(x, layer), std::make_tuple(7, 7));
}

TEST_F(ObjectQueries, BoundingRectangleCoversTheStroke) {
  const zz::THandle h = test::Place<test::Track>(kTrack, [](test::Track& t) {
    t.X2 = 1000;
    t.Width = 100;
  });
  int32_t v[4] = {};
  ASSERT_EQ(PcbApi_QueryObjectBoundingRectangle(h, &v[0], &v[1], &v[2], &v[3]), 0);
  EXPECT_EQ(std::tie(v[0], v[1], v[2], v[3]), std::make_tuple(-50, -50, 1050, 50));
  EXPECT_NE(PcbApi_QueryObjectBoundingRectangle(0, &v[0], &v[1], &v[2], &v[3]), 0);
}

}  // namespace
}  // namespace standin
