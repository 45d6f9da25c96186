#include <gtest/gtest.h>

#include "QueryFields.h"
#include "standin/Registration.h"
#include "standin/Server.h"

namespace standin {
namespace {

TEST(CompactStorage, RecordsStayWithinAFewDozenBytes) {
  EXPECT_LE(sizeof(ObjectSlot), 8U);
  EXPECT_LE(sizeof(TrackRecord), 52U);
  EXPECT_LE(sizeof(FillRecord), 48U);
  EXPECT_LE(sizeof(ArcRecord), 56U);
  EXPECT_LE(sizeof(PadRecord), 80U);
}

// A board of a million tracks, made the way the plug-in makes them.
TEST(CompactStorage, AMillionTracksFitWellUnder200MB) {
  Reset();
  const zz::THandle board = PcbApi_GetCurrentBoardHandle();
  test::Track t;
  for (int32_t i = 0; i < 1'000'000; ++i) {
    const zz::THandle h = PcbApi_CreateObject(4);
    ASSERT_EQ(t.Query(zz::kFetch, h), 0);
    t.X = i;
    t.X2 = i + 100;
    t.Width = 1000;
    ASSERT_EQ(t.Query(zz::kStore, h), 0);
    ASSERT_EQ(PcbApi_AddObjectToContainer(board, h), 0);
  }
  const std::size_t bytes = TheServer().MemoryUsage();
  EXPECT_LT(bytes, 100U * 1000 * 1000) << bytes;
  EXPECT_EQ(TheServer().CurrentBoard().Objects.size(), 1'000'000U);
  Reset();
  EXPECT_LT(TheServer().MemoryUsage(), 1U * 1000 * 1000);  // a reset gives the memory back
}

// Pads keep side entries only when they need them.
TEST(CompactStorage, PadsWithoutLayerDifferencesCostOnlyTheirRecord) {
  Reset();
  for (int i = 0; i < 1000; ++i) {
    const zz::THandle h = PcbApi_CreateObject(2);
    test::Pad pad;
    pad.Query(zz::kFetch, h);
    pad.TopX = pad.TopY = pad.MidX = pad.MidY = pad.BotX = pad.BotY = 500;
    pad.Query(zz::kStore, h);
  }
  EXPECT_LT(TheServer().MemoryUsage(), sizeof(Board) + 1000 * (sizeof(PadRecord) + sizeof(ObjectSlot)) * 2 + 4096);
}

}  // namespace
}  // namespace standin
