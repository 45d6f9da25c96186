#include "pcbobjects/CreateObject.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "RecordingHost.h"
#include "pcbobjects/PcbPad.h"
#include "pcbobjects/PcbTrack.h"

namespace zz {
namespace {

using test::RecordingHost;
using ::testing::ElementsAre;

constexpr THandle kBoard = 7;
constexpr THandle kNewTrack = 4242;

class CreateBoardObjectTest : public ::testing::Test {
 protected:
  RecordingHost host;
  TPcbBoard board{kBoard};
};

TEST_F(CreateBoardObjectTest, TrackGoesThroughCreateFetchStoreAddInThatOrder) {
  board.CurrentLayer = 32;
  host.SetResult("PcbApi_CreateObject", kNewTrack);

  const bool created = CreateBoardObject<TPcbTrack>(board, [](TPcbTrack& track) {
    track.SetX(10);
    track.SetY(20);
    track.SetX2(30);
    track.SetY2(40);
    track.SetWidth(5);
  });

  EXPECT_TRUE(created);
  EXPECT_THAT(host.Names(),
              ElementsAre("PcbApi_CreateObject", "PcbApi_GetObjectBitField2", "PcbApi_GetObjectBitField3",
                          "PcbApi_QueryTrack", "PcbApi_GetObjectBitField2", "PcbApi_GetObjectBitField3",
                          "PcbApi_QueryTrack", "PcbApi_AddObjectToContainer"));
  EXPECT_EQ(host.Calls[0].Int(0), static_cast<int>(TObjectKind::Track));

  const auto queries = host.CallsTo("PcbApi_QueryTrack");
  ASSERT_EQ(queries.size(), 2U);
  EXPECT_EQ(queries[0].Int(0), kFetch);
  EXPECT_EQ(queries[0].Int(1), kNewTrack);
  const test::HostCall& store = queries[1];
  EXPECT_EQ(store.Int(0), kStore);
  EXPECT_EQ(store.Int(1), kNewTrack);
  EXPECT_EQ(store.Int(4), static_cast<int64_t>(LayerIdFromNumber(32)));
  EXPECT_EQ(store.Int(8), 10);
  EXPECT_EQ(store.Int(9), 20);
  EXPECT_EQ(store.Int(10), 30);
  EXPECT_EQ(store.Int(11), 40);
  EXPECT_EQ(store.Int(12), 5);
  // What the caller did not set goes back as the host handed it out.
  EXPECT_EQ(store.Int(2), RecordingHost::DefaultInt(2));
  EXPECT_EQ(store.Int(13), RecordingHost::DefaultInt(13));

  const test::HostCall& add = host.Calls.back();
  EXPECT_EQ(add.Int(0), kBoard);
  EXPECT_EQ(add.Int(1), kNewTrack);
}

TEST_F(CreateBoardObjectTest, HostThatCreatesNothingIsAskedNothingMore) {
  host.SetResult("PcbApi_CreateObject", 0);
  bool fieldsSet = false;
  EXPECT_FALSE(CreateBoardObject<TPcbTrack>(board, [&](TPcbTrack&) { fieldsSet = true; }));
  EXPECT_THAT(host.Names(), ElementsAre("PcbApi_CreateObject"));
  EXPECT_FALSE(fieldsSet);
}

TEST_F(CreateBoardObjectTest, PadIsCreatedWithItsKindOnTheCurrentLayer) {
  board.CurrentLayer = 1;
  host.SetResult("PcbApi_CreateObject", 99);
  CreateBoardObject<TPcbPad>(board, [](TPcbPad& pad) { pad.SetTopXSize(600); });

  EXPECT_EQ(host.Calls.front().Int(0), static_cast<int>(TObjectKind::Pad));
  const auto queries = host.CallsTo("PcbApi_QueryPad");
  ASSERT_EQ(queries.size(), 2U);
  EXPECT_EQ(queries[1].Int(4), static_cast<int64_t>(LayerIdFromNumber(1)));
  EXPECT_EQ(queries[1].Int(10), 600);
  EXPECT_EQ(host.Calls.back().Name, "PcbApi_AddObjectToContainer");
}

}  // namespace
}  // namespace zz
