// The stand-in's compact storage: values shared between objects must never leak from one object
// to another, and a fetch gives back exactly what was stored.

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <random>

#include "QueryFields.h"
#include "standin/ObjectKinds.h"
#include "standin/Registration.h"
#include "standin/Server.h"

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
  EXPECT_EQ(TheServer().Boards().CurrentBoard().Objects.size(), 1'000'000U);
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

// Many objects of every kind with random values, stored, then fetched back in another order: a
// shared style must never hand one object's values to another.
TEST(CompactStorage, EveryObjectGetsBackExactlyWhatItStored) {
  Reset();
  std::mt19937 rng(5);
  const auto range = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const auto any = [&] { return range(-3, 3) * 1000000; };  // few values: much sharing
  const auto angle = [&] {
    const double values[] = {0.0, -0.0, 90.0, 359.99999999999994, std::numeric_limits<double>::quiet_NaN()};
    return values[range(0, 4)];
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
      t = test::Track{{1, 2, 1u + static_cast<uint32_t>(range(0, 2))}, any(), any(), any(), any(), any(), any()};
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
      p.TopShape = static_cast<uint8_t>(range(0, 9));
      p.Rotation = angle();
      if (range(0, 9) == 0) p.Name = "P1";
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

}  // namespace
}  // namespace standin
