#include <gtest/gtest.h>

#include <cstring>

#include "standin/PcbServer.h"
#include "standin/Registration.h"
#include "standin/Server.h"

namespace standin {
namespace {

using zz::kFetch;
using zz::kStore;

class BoardQueries : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  Server& server() { return TheServer(); }
};

struct Header {
  int32_t H1 = 0;
  zz::TText255 H2;
  uint8_t H3 = 0;
  int32_t H4 = 0, H5 = 0, H6 = 0, H7 = 0;
  uint8_t H8 = 0;
  uint32_t CurrentLayerId = 0;
  int32_t Trailer = 0;
  zz::TStatus Query(zz::TSyncDirection d, zz::THandle board) {
    return PcbApi_QueryBoard(d, board, &H1, &H2, &H3, &H4, &H5, &H6, &H7, &H8, &CurrentLayerId, &Trailer);
  }
};

// ---- Adding objects ----

TEST_F(BoardQueries, ObjectsJoinTheBoardOnceInTheOrderAdded) {
  const zz::THandle board = PcbApi_GetCurrentBoardHandle();
  const zz::THandle a = PcbApi_CreateObject(4);
  const zz::THandle b = PcbApi_CreateObject(2);
  const zz::THandle c = PcbApi_CreateObject(6);
  EXPECT_TRUE(server().CurrentBoard().Objects.empty());  // created objects are on no board yet
  EXPECT_EQ(PcbApi_AddObjectToContainer(board, c), 0);
  EXPECT_EQ(PcbApi_AddObjectToContainer(board, a), 0);
  EXPECT_EQ(PcbApi_AddObjectToContainer(board, b), 0);
  EXPECT_NE(PcbApi_AddObjectToContainer(board, a), 0);
  EXPECT_EQ(server().CurrentBoard().Objects, (std::vector<zz::THandle>{c, a, b}));
  EXPECT_EQ(server().OwnerBoard(a), board);
}

TEST_F(BoardQueries, UnknownObjectsAndBoardsAreRefused) {
  const zz::THandle board = PcbApi_GetCurrentBoardHandle();
  const zz::THandle a = PcbApi_CreateObject(4);
  EXPECT_NE(PcbApi_AddObjectToContainer(board, 0), 0);
  EXPECT_NE(PcbApi_AddObjectToContainer(board, a + 1), 0);
  EXPECT_NE(PcbApi_AddObjectToContainer(board, -5), 0);
  EXPECT_NE(PcbApi_AddObjectToContainer(0, a), 0);
  EXPECT_NE(PcbApi_AddObjectToContainer(a, a), 0);  // an object handle is no board
  EXPECT_NE(PcbApi_AddObjectToContainer(board + 1, a), 0);
  EXPECT_TRUE(server().CurrentBoard().Objects.empty());
  EXPECT_EQ(server().OwnerBoard(a), 0);
}

// ---- Several boards ----

TEST_F(BoardQueries, ObjectsGoToTheBoardNamedAndOnlyToOne) {
  const zz::THandle first = PcbApi_GetCurrentBoardHandle();
  const zz::THandle second = server().CreateBoard();
  ASSERT_NE(second, 0);
  ASSERT_NE(second, first);
  EXPECT_EQ(PcbApi_GetCurrentBoardHandle(), first);

  const zz::THandle a = PcbApi_CreateObject(4);
  EXPECT_EQ(PcbApi_AddObjectToContainer(second, a), 0);
  EXPECT_NE(PcbApi_AddObjectToContainer(first, a), 0);
  EXPECT_TRUE(server().FindBoard(first)->Objects.empty());
  EXPECT_EQ(server().FindBoard(second)->Objects, std::vector<zz::THandle>{a});
}

TEST_F(BoardQueries, TheCurrentBoardCanBeChanged) {
  const zz::THandle first = PcbApi_GetCurrentBoardHandle();
  const zz::THandle second = server().CreateBoard();
  EXPECT_TRUE(server().SetCurrentBoard(second));
  EXPECT_EQ(PcbApi_GetCurrentBoardHandle(), second);
  EXPECT_FALSE(server().SetCurrentBoard(12345));
  EXPECT_EQ(PcbApi_GetCurrentBoardHandle(), second);
  EXPECT_TRUE(server().SetCurrentBoard(first));
  EXPECT_EQ(&server().CurrentBoard(), server().FindBoard(first));
}

TEST_F(BoardQueries, ResetGivesAFreshBoardSet) {
  const zz::THandle second = server().CreateBoard();
  server().SetCurrentBoard(second);
  PcbApi_AddObjectToContainer(PcbApi_GetCurrentBoardHandle(), PcbApi_CreateObject(4));
  server().Messages().push_back("old");
  Reset();
  EXPECT_EQ(server().BoardCount(), 1U);
  EXPECT_EQ(server().ObjectCount(), 0U);
  EXPECT_TRUE(server().CurrentBoard().Objects.empty());
  EXPECT_TRUE(server().Messages().empty());
  EXPECT_EQ(PcbApi_CreateObject(4), 1);
}

// ---- Current layer ----

TEST_F(BoardQueries, CurrentLayerIsTopLayerUntilChanged) {
  Header h;
  ASSERT_EQ(h.Query(kFetch, PcbApi_GetCurrentBoardHandle()), 0);
  EXPECT_EQ(h.CurrentLayerId, 1U);
}

TEST_F(BoardQueries, CurrentLayerTravelsAsALayerIdentifier) {
  Board& board = server().CurrentBoard();
  SetCurrentLayer(board, 32);  // BottomLayer: signal layer 65535
  Header h;
  ASSERT_EQ(h.Query(kFetch, board.Handle), 0);
  EXPECT_EQ(h.CurrentLayerId, zz::SignalLayerId(65535));
  SetCurrentLayer(board, 57);  // Mechanical1
  ASSERT_EQ(h.Query(kFetch, board.Handle), 0);
  EXPECT_EQ(h.CurrentLayerId, zz::MechanicalLayerId(1));

  // An identifier beyond the classic range reads back as the last classic layer of its kind.
  h.CurrentLayerId = zz::SignalLayerId(40);
  ASSERT_EQ(h.Query(kStore, board.Handle), 0);
  EXPECT_EQ(CurrentLayerNumber(board), 31);
}

TEST_F(BoardQueries, HeaderValuesAreKeptAsStored) {
  const zz::THandle board = PcbApi_GetCurrentBoardHandle();
  Header in;
  in.H1 = 1;
  in.H2 = "Board text";
  in.H3 = 3;
  in.H4 = 4;
  in.H7 = 7;
  in.H8 = 8;
  in.CurrentLayerId = 33;
  in.Trailer = -9;
  ASSERT_EQ(in.Query(kStore, board), 0);
  Header out;
  ASSERT_EQ(out.Query(kFetch, board), 0);
  EXPECT_EQ(out.H1, 1);
  EXPECT_EQ(out.H2.View(), "Board text");
  EXPECT_EQ(out.H3, 3);
  EXPECT_EQ(out.H4, 4);
  EXPECT_EQ(out.H7, 7);
  EXPECT_EQ(out.H8, 8);
  EXPECT_EQ(out.CurrentLayerId, 33U);
  EXPECT_EQ(out.Trailer, -9);
  EXPECT_NE(out.Query(kFetch, 0), 0);
}

// ---- Layers ----

struct Layer {
  zz::TText255 Name;
  int32_t Copper = 0;
  uint8_t Flag1 = 0, Flag2 = 0, Prev = 0xEE, Next = 0xEE, Flag3 = 0;
  zz::TStatus Query(zz::TSyncDirection d, uint8_t number, zz::THandle board) {
    return PcbApi_QueryLayer(d, number, board, &Name, &Copper, &Flag1, &Flag2, &Prev, &Next, &Flag3);
  }
};

TEST_F(BoardQueries, LayersCarryTheirNamesAndTheSignalStackRunsTopToBottom) {
  const zz::THandle board = PcbApi_GetCurrentBoardHandle();
  for (int n = 1; n <= 82; ++n) {
    Layer layer;
    ASSERT_EQ(layer.Query(kFetch, static_cast<uint8_t>(n), board), 0);
    EXPECT_EQ(layer.Name.View(), zz::LayerNameTable[n].View());
    EXPECT_EQ(layer.Copper, 14000);
  }
  // Walk the stack as the plug-in does: from the first layer without a predecessor.
  std::vector<int> walk;
  Layer layer;
  ASSERT_EQ(layer.Query(kFetch, 1, board), 0);
  EXPECT_EQ(layer.Prev, 0);
  for (int n = 1; n != 0 && walk.size() < 100; n = layer.Next) {
    walk.push_back(n);
    ASSERT_EQ(layer.Query(kFetch, static_cast<uint8_t>(n), board), 0);
  }
  ASSERT_EQ(walk.size(), 32U);
  EXPECT_EQ(walk.front(), 1);
  EXPECT_EQ(walk.back(), 32);
  Layer overlay;
  ASSERT_EQ(overlay.Query(kFetch, 33, board), 0);
  EXPECT_EQ(overlay.Prev, 0);
  EXPECT_EQ(overlay.Next, 0);
}

TEST_F(BoardQueries, StoredLayerValuesStayWithTheirBoard) {
  const zz::THandle first = PcbApi_GetCurrentBoardHandle();
  const zz::THandle second = server().CreateBoard();
  Layer in;
  ASSERT_EQ(in.Query(kFetch, 5, first), 0);
  in.Name = "Signal 4";
  in.Copper = 7000;
  in.Next = 0;
  ASSERT_EQ(in.Query(kStore, 5, first), 0);
  Layer out;
  ASSERT_EQ(out.Query(kFetch, 5, first), 0);
  EXPECT_EQ(out.Name.View(), "Signal 4");
  EXPECT_EQ(out.Copper, 7000);
  EXPECT_EQ(out.Next, 0);
  ASSERT_EQ(out.Query(kFetch, 5, second), 0);
  EXPECT_EQ(out.Name.View(), "MidLayer4");
  EXPECT_NE(out.Query(kFetch, 83, first), 0);
}

TEST_F(BoardQueries, OnlyTheSixteenPlanesAnswerAsInternalPlanes) {
  const zz::THandle board = PcbApi_GetCurrentBoardHandle();
  zz::TText255 name, net;
  int32_t copper = 0;
  uint8_t f1 = 0, f2 = 0, prev = 0, next = 0;
  ASSERT_EQ(PcbApi_QueryInternalPlane(kFetch, 39, board, &name, &copper, &f1, &f2, &prev, &next, &net), 0);
  EXPECT_EQ(name.View(), "InternalPlane1");
  EXPECT_EQ(net.View(), "(No Net)");
  EXPECT_NE(PcbApi_QueryInternalPlane(kFetch, 38, board, &name, &copper, &f1, &f2, &prev, &next, &net), 0);
  EXPECT_NE(PcbApi_QueryInternalPlane(kFetch, 55, board, &name, &copper, &f1, &f2, &prev, &next, &net), 0);
}

TEST_F(BoardQueries, LayerPairsFollowTheCountGiven) {
  const zz::THandle board = PcbApi_GetCurrentBoardHandle();
  int32_t count = -1;
  ASSERT_EQ(PcbApi_QueryBoardLayerPairsCount(board, &count, 1), 0);
  EXPECT_EQ(count, 0);
  count = 2;
  ASSERT_EQ(PcbApi_QueryBoardLayerPairsCount(board, &count, 0), 0);
  uint32_t a = 1, b = 32;
  uint8_t flag2 = 4, flag1 = 5;
  ASSERT_EQ(PcbApi_QueryBoardLayerPairAt(kStore, board, 1, &a, &b, &flag2, &flag1), 0);
  a = b = 0;
  flag2 = flag1 = 0;
  ASSERT_EQ(PcbApi_QueryBoardLayerPairAt(kFetch, board, 1, &a, &b, &flag2, &flag1), 0);
  EXPECT_EQ(std::make_tuple(a, b, flag2, flag1), std::make_tuple(1U, 32U, 4, 5));
  EXPECT_NE(PcbApi_QueryBoardLayerPairAt(kFetch, board, 2, &a, &b, &flag2, &flag1), 0);
  count = 257;
  EXPECT_NE(PcbApi_QueryBoardLayerPairsCount(board, &count, 0), 0);
  count = -1;
  EXPECT_NE(PcbApi_QueryBoardLayerPairsCount(board, &count, 0), 0);
  ASSERT_EQ(PcbApi_QueryBoardLayerPairsCount(board, &count, 1), 0);
  EXPECT_EQ(count, 2);
}

TEST_F(BoardQueries, PrinterOptionsKeepTheirWholeBlock) {
  const zz::THandle board = PcbApi_GetCurrentBoardHandle();
  zz::TText255 t1("a"), t2("b"), t3("c");
  uint8_t b[13] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
  int32_t v1 = 21, v2 = 22, v3 = 23;
  double d[6] = {0.5, 1.5, 2.5, 3.5, 4.5, 5.5};
  uint8_t block[zz::kPrinterBlockSize];
  for (int i = 0; i < zz::kPrinterBlockSize; ++i) block[i] = static_cast<uint8_t>(100 + i);
  ASSERT_EQ(PcbApi_QueryBoardPrinterOptions(kStore, board, &t1, &t2, &t3, &b[0], &b[1], &b[2], &b[3], &b[4], &b[5], &v1,
                                            &d[0], &d[1], &d[2], block, &b[6], &b[7], &d[3], &d[4], &d[5], &v2, &v3,
                                            &b[8], &b[9], &b[10], &b[11], &b[12]),
            0);
  uint8_t got[zz::kPrinterBlockSize] = {};
  zz::TText255 g1, g2, g3;
  uint8_t gb[13] = {};
  int32_t gv1 = 0, gv2 = 0, gv3 = 0;
  double gd[6] = {};
  ASSERT_EQ(PcbApi_QueryBoardPrinterOptions(kFetch, board, &g1, &g2, &g3, &gb[0], &gb[1], &gb[2], &gb[3], &gb[4],
                                            &gb[5], &gv1, &gd[0], &gd[1], &gd[2], got, &gb[6], &gb[7], &gd[3], &gd[4],
                                            &gd[5], &gv2, &gv3, &gb[8], &gb[9], &gb[10], &gb[11], &gb[12]),
            0);
  EXPECT_EQ(std::memcmp(got, block, sizeof block), 0);
  EXPECT_EQ(std::memcmp(gb, b, sizeof b), 0);
  EXPECT_EQ(std::make_tuple(gv1, gv2, gv3), std::make_tuple(21, 22, 23));
  EXPECT_EQ(gd[5], 5.5);
  EXPECT_EQ(g3.View(), "c");
}

TEST_F(BoardQueries, IndexedBoardEntriesRefuseIndicesOutsideTheirRange) {
  const zz::THandle board = PcbApi_GetCurrentBoardHandle();
  uint8_t value = 9;
  EXPECT_EQ(PcbApi_QueryBoardOutputOptionsPlotLayers(kStore, board, 109, &value), 0);
  value = 0;
  EXPECT_EQ(PcbApi_QueryBoardOutputOptionsPlotLayers(kFetch, board, 109, &value), 0);
  EXPECT_EQ(value, 9);
  EXPECT_NE(PcbApi_QueryBoardOutputOptionsPlotLayers(kFetch, board, 0, &value), 0);
  EXPECT_NE(PcbApi_QueryBoardOutputOptionsFlipLayers(kFetch, board, 110, &value), 0);
  int32_t v1 = 0, v2 = 0, v3 = 0;
  EXPECT_NE(PcbApi_QueryBoardPrinterOptionsPlotterPen(kFetch, board, 9, &v1, &v2), 0);
  EXPECT_NE(PcbApi_QueryBoardPrinterOptionsCompositeLayer(kFetch, board, 83, &v1, &v2, &value, &v3), 0);
  EXPECT_NE(PcbApi_QueryBoardLayerInfo(kFetch, board, 83, &value, &value, &v1), 0);
}

}  // namespace
}  // namespace standin
