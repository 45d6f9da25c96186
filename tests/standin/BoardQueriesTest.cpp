#include <gtest/gtest.h>

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
  static std::vector<zz::THandle> Handles(const Board& board) { return {board.Objects.begin(), board.Objects.end()}; }
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
  auto Fields() const { return std::make_tuple(H1, H2.Str(), H3, H4, H5, H6, H7, H8, CurrentLayerId, Trailer); }
};

struct Layer {
  zz::TText255 Name;
  int32_t Copper = 0;
  uint8_t Flag1 = 0, Flag2 = 0, Prev = 0xEE, Next = 0xEE, Flag3 = 0;
  zz::TStatus Query(zz::TSyncDirection d, uint8_t number, zz::THandle board) {
    return PcbApi_QueryLayer(d, number, board, &Name, &Copper, &Flag1, &Flag2, &Prev, &Next, &Flag3);
  }
};

TEST_F(BoardQueries, ObjectsJoinTheBoardOnceInTheOrderAdded) {
  const zz::THandle board = PcbApi_GetCurrentBoardHandle();
  const zz::THandle a = PcbApi_CreateObject(4), b = PcbApi_CreateObject(2), c = PcbApi_CreateObject(6);
  EXPECT_TRUE(server().Boards().CurrentBoard().Objects.empty());  // created objects are on no board yet
  for (const zz::THandle h : {c, a, b}) EXPECT_EQ(PcbApi_AddObjectToContainer(board, h), 0);
  EXPECT_NE(PcbApi_AddObjectToContainer(board, a), 0);
  // Unknown objects, unknown boards, an object handle given as board: refused.
  for (const auto& [to, what] : {std::pair{board, 0}, {board, c + 1}, {board, -5}, {0, a}, {a, a}, {board + 1, a}}) {
    EXPECT_NE(PcbApi_AddObjectToContainer(to, what), 0) << to << ' ' << what;
  }
  EXPECT_EQ(Handles(server().Boards().CurrentBoard()), (std::vector<zz::THandle>{c, a, b}));
  EXPECT_EQ(server().OwnerBoard(a), board);
}

TEST_F(BoardQueries, SeveralBoardsEachKeepTheirObjectsAndLayers) {
  const zz::THandle first = PcbApi_GetCurrentBoardHandle();
  const zz::THandle second = server().Boards().CreateBoard();
  ASSERT_NE(second, 0);
  EXPECT_EQ(PcbApi_GetCurrentBoardHandle(), first);
  const zz::THandle a = PcbApi_CreateObject(4);
  EXPECT_EQ(PcbApi_AddObjectToContainer(second, a), 0);
  EXPECT_NE(PcbApi_AddObjectToContainer(first, a), 0);  // an object lives on one board only
  EXPECT_TRUE(server().Boards().FindBoard(first)->Objects.empty());
  EXPECT_EQ(Handles(*server().Boards().FindBoard(second)), std::vector<zz::THandle>{a});

  Layer layer;
  ASSERT_EQ(layer.Query(kFetch, 5, first), 0);
  layer.Name = "Signal 4";
  ASSERT_EQ(layer.Query(kStore, 5, first), 0);
  ASSERT_EQ(layer.Query(kFetch, 5, second), 0);
  EXPECT_EQ(layer.Name.View(), "MidLayer4");

  EXPECT_TRUE(server().Boards().SetCurrentBoard(second));
  EXPECT_EQ(PcbApi_GetCurrentBoardHandle(), second);
  EXPECT_FALSE(server().Boards().SetCurrentBoard(12345));
  EXPECT_EQ(PcbApi_GetCurrentBoardHandle(), second);
}

TEST_F(BoardQueries, ResetGivesAFreshBoardSet) {
  server().Boards().SetCurrentBoard(server().Boards().CreateBoard());
  PcbApi_AddObjectToContainer(PcbApi_GetCurrentBoardHandle(), PcbApi_CreateObject(4));
  server().Ui().Messages().push_back("old");
  Reset();
  EXPECT_EQ(std::make_tuple(server().Boards().BoardCount(), server().Objects().ObjectCount(),
                            server().Ui().Messages().size()),
            std::make_tuple(1U, 0U, 0U));
  EXPECT_EQ(PcbApi_CreateObject(4), 1);
}

TEST_F(BoardQueries, CurrentLayerTravelsAsALayerIdentifier) {
  Board& board = server().Boards().CurrentBoard();
  Header h;
  ASSERT_EQ(h.Query(kFetch, board.Handle), 0);
  EXPECT_EQ(h.CurrentLayerId, 1U);  // TopLayer until changed
  SetCurrentLayer(board, 32);
  ASSERT_EQ(h.Query(kFetch, board.Handle), 0);
  EXPECT_EQ(h.CurrentLayerId, zz::SignalLayerId(65535));
  SetCurrentLayer(board, 57);
  ASSERT_EQ(h.Query(kFetch, board.Handle), 0);
  EXPECT_EQ(h.CurrentLayerId, zz::MechanicalLayerId(1));
  // An identifier beyond the classic range reads back as the last classic layer of its kind.
  h.CurrentLayerId = zz::SignalLayerId(40);
  ASSERT_EQ(h.Query(kStore, board.Handle), 0);
  EXPECT_EQ(CurrentLayerNumber(board), 31);
}

TEST_F(BoardQueries, HeaderValuesAreKeptAsStored) {
  const zz::THandle board = PcbApi_GetCurrentBoardHandle();
  Header in{1, "Board text", 3, 4, 5, 6, 7, 8, 33, -9};
  ASSERT_EQ(in.Query(kStore, board), 0);
  Header out;
  ASSERT_EQ(out.Query(kFetch, board), 0);
  EXPECT_EQ(out.Fields(), in.Fields());
  EXPECT_NE(out.Query(kFetch, 0), 0);
}

TEST_F(BoardQueries, LayersCarryTheirNamesAndTheSignalStackRunsTopToBottom) {
  const zz::THandle board = PcbApi_GetCurrentBoardHandle();
  Layer layer;
  for (uint8_t n = 1; n <= 82; ++n) {
    ASSERT_EQ(layer.Query(kFetch, n, board), 0);
    EXPECT_EQ(layer.Name.View(), zz::LayerNameTable[n].View());
    EXPECT_EQ(layer.Copper, 14000);
    if (n > 32) {
      EXPECT_EQ(std::tie(layer.Prev, layer.Next), std::make_tuple(0, 0)) << int{n};
    }
  }
  // The walk of the plug-in: from the first layer without a predecessor along the links.
  std::vector<int> walk;
  ASSERT_EQ(layer.Query(kFetch, 1, board), 0);
  EXPECT_EQ(layer.Prev, 0);
  for (int n = 1; n != 0 && walk.size() < 100; n = layer.Next) {
    walk.push_back(n);
    ASSERT_EQ(layer.Query(kFetch, static_cast<uint8_t>(n), board), 0);
  }
  EXPECT_EQ(walk.size(), 32U);
  EXPECT_EQ(walk.back(), 32);
  EXPECT_NE(layer.Query(kFetch, 83, board), 0);
}

TEST_F(BoardQueries, OnlyTheSixteenPlanesAnswerAsInternalPlanes) {
  const zz::THandle board = PcbApi_GetCurrentBoardHandle();
  zz::TText255 name, net;
  int32_t copper = 0;
  uint8_t f = 0;
  ASSERT_EQ(PcbApi_QueryInternalPlane(kFetch, 39, board, &name, &copper, &f, &f, &f, &f, &net), 0);
  EXPECT_EQ(std::make_tuple(name.Str(), net.Str()), std::make_tuple("InternalPlane1", "(No Net)"));
  EXPECT_NE(PcbApi_QueryInternalPlane(kFetch, 38, board, &name, &copper, &f, &f, &f, &f, &net), 0);
  EXPECT_NE(PcbApi_QueryInternalPlane(kFetch, 55, board, &name, &copper, &f, &f, &f, &f, &net), 0);
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
  a = b = flag2 = flag1 = 0;
  ASSERT_EQ(PcbApi_QueryBoardLayerPairAt(kFetch, board, 1, &a, &b, &flag2, &flag1), 0);
  EXPECT_EQ(std::make_tuple(a, b, flag2, flag1), std::make_tuple(1U, 32U, 4, 5));
  EXPECT_NE(PcbApi_QueryBoardLayerPairAt(kFetch, board, 2, &a, &b, &flag2, &flag1), 0);
  for (const int32_t bad : {257, -1}) {
    count = bad;
    EXPECT_NE(PcbApi_QueryBoardLayerPairsCount(board, &count, 0), 0);
  }
}

TEST_F(BoardQueries, PrinterOptionsKeepTheirWholeBlock) {
  const zz::THandle board = PcbApi_GetCurrentBoardHandle();
  auto query = [board](zz::TSyncDirection d, zz::TText255* t, uint8_t* b, int32_t* v, double* f, uint8_t* block) {
    return PcbApi_QueryBoardPrinterOptions(d, board, &t[0], &t[1], &t[2], &b[0], &b[1], &b[2], &b[3], &b[4], &b[5],
                                           &v[0], &f[0], &f[1], &f[2], block, &b[6], &b[7], &f[3], &f[4], &f[5], &v[1],
                                           &v[2], &b[8], &b[9], &b[10], &b[11], &b[12]);
  };
  zz::TText255 t[3] = {"a", "b", "c"}, gt[3];
  uint8_t b[13] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}, gb[13] = {};
  int32_t v[3] = {21, 22, 23}, gv[3] = {};
  double f[6] = {0.5, 1.5, 2.5, 3.5, 4.5, 5.5}, gf[6] = {};
  std::array<uint8_t, zz::kPrinterBlockSize> block{}, got{};
  for (int i = 0; i < zz::kPrinterBlockSize; ++i) block[i] = static_cast<uint8_t>(100 + i);
  ASSERT_EQ(query(kStore, t, b, v, f, block.data()), 0);
  ASSERT_EQ(query(kFetch, gt, gb, gv, gf, got.data()), 0);
  EXPECT_EQ(got, block);
  EXPECT_TRUE(std::equal(std::begin(b), std::end(b), gb) && std::equal(std::begin(v), std::end(v), gv) &&
              std::equal(std::begin(f), std::end(f), gf) && gt[2].View() == "c");
}

TEST_F(BoardQueries, IndexedBoardEntriesRefuseIndicesOutsideTheirRange) {
  const zz::THandle board = PcbApi_GetCurrentBoardHandle();
  uint8_t value = 9;
  EXPECT_EQ(PcbApi_QueryBoardOutputOptionsPlotLayers(kStore, board, 109, &value), 0);
  value = 0;
  EXPECT_EQ(PcbApi_QueryBoardOutputOptionsPlotLayers(kFetch, board, 109, &value), 0);
  EXPECT_EQ(value, 9);
  int32_t v = 0;
  EXPECT_NE(PcbApi_QueryBoardOutputOptionsPlotLayers(kFetch, board, 0, &value), 0);
  EXPECT_NE(PcbApi_QueryBoardOutputOptionsFlipLayers(kFetch, board, 110, &value), 0);
  EXPECT_NE(PcbApi_QueryBoardPrinterOptionsPlotterPen(kFetch, board, 9, &v, &v), 0);
  EXPECT_NE(PcbApi_QueryBoardPrinterOptionsCompositeLayer(kFetch, board, 83, &v, &v, &value, &v), 0);
  EXPECT_NE(PcbApi_QueryBoardLayerInfo(kFetch, board, 83, &value, &value, &v), 0);
}

}  // namespace
}  // namespace standin
