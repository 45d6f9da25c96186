#include "pcbobjects/PcbBoard.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "RecordingHost.h"

namespace zz {
namespace {

using test::HostCall;
using test::RecordingHost;
using ::testing::ElementsAre;
using ::testing::Pair;

constexpr THandle kBoard = 3;

int64_t D(std::size_t arg) { return RecordingHost::DefaultInt(arg); }

// Consecutive calls of one name collapsed into (name, count).
std::vector<std::pair<std::string, int>> Runs(const std::vector<std::string>& names) {
  std::vector<std::pair<std::string, int>> runs;
  for (const std::string& name : names) {
    if (!runs.empty() && runs.back().first == name) {
      ++runs.back().second;
    } else {
      runs.emplace_back(name, 1);
    }
  }
  return runs;
}

class PcbBoardTest : public ::testing::Test {
 protected:
  // The host's layer stack: record n links to prev[n] and next[n]; layers keep their names.
  void ServeStack(std::map<int, std::pair<int, int>> links, int defaultPrev) {
    auto answer = [links, defaultPrev](HostCall& call) {
      const int n = static_cast<int>(call.Int(1));
      call.SetText(3, LayerNameTable[static_cast<std::size_t>(n)].View());
      const auto link = links.find(n);
      call.SetInt(7, link != links.end() ? link->second.first : defaultPrev);
      call.SetInt(8, link != links.end() ? link->second.second : 0);
    };
    host.OnCall("PcbApi_QueryLayer", answer);
    host.OnCall("PcbApi_QueryInternalPlane", answer);
  }

  // The host's layer pairs, as (identifier A, identifier B).
  void ServePairs(std::vector<std::pair<TLayerIdentifier, TLayerIdentifier>> pairs) {
    host.SetFill("PcbApi_QueryBoardLayerPairsCount", 1, static_cast<int64_t>(pairs.size()));
    host.OnCall("PcbApi_QueryBoardLayerPairAt", [pairs](HostCall& call) {
      const auto& pair = pairs.at(static_cast<std::size_t>(call.Int(2)));
      call.SetInt(3, pair.first);
      call.SetInt(4, pair.second);
    });
  }

  std::vector<std::string> PairNames() const {
    std::vector<std::string> names;
    for (const auto& pair : board->LayerPairs) names.push_back(pair->Name.Str());
    return names;
  }

  RecordingHost host;
  std::unique_ptr<TPcbBoard> board = std::make_unique<TPcbBoard>(kBoard);
};

TEST_F(PcbBoardTest, NewBoardHasDefaultLayerRecordsAndMakesNoHostCall) {
  EXPECT_TRUE(host.Calls.empty());
  EXPECT_EQ(board->Layer(0), nullptr);
  EXPECT_EQ(board->Layer(83), nullptr);
  for (TLayerNumber n = 1; n <= 82; ++n) {
    const TLayerObject* record = board->Layer(n);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->LayerNumber, n);
    EXPECT_EQ(record->BoardHandle, kBoard);
    EXPECT_EQ(record->Name, TText255(LayerNameTable[n]));
    EXPECT_EQ(dynamic_cast<const TInternalPlane*>(record) != nullptr, n >= 39 && n <= 54) << int{n};
  }
  EXPECT_EQ(board->Layer(2)->Name.Str(), "MidLayer1");
  EXPECT_EQ(board->Layer(1)->CopperThickness, 14000);
  EXPECT_EQ(board->Layer(1)->DielectricMaterial.Str(), "FR-4");
  EXPECT_EQ(dynamic_cast<const TInternalPlane&>(*board->Layer(39)).NetName.Str(), "(No Net)");
  EXPECT_EQ(board->ExternalDielectric2.Height, 126000);
  EXPECT_EQ(board->ExternalDielectric1.Constant, 4.8);
  EXPECT_EQ(board->SplitPlaneMode, 1);
  EXPECT_TRUE(board->LayerPairs.empty());
}

TEST_F(PcbBoardTest, FetchRunsTheTwelveStepsInOrder) {
  ASSERT_EQ(board->Sync(kFetch), 0);
  std::vector<std::pair<std::string, int>> expected = {{"PcbApi_QueryBoard", 1}, {"PcbApi_QueryBoardLayerInfo", 82}};
  for (int n = 1; n <= 82; ++n) {
    expected.emplace_back(n >= 39 && n <= 54 ? "PcbApi_QueryInternalPlane" : "PcbApi_QueryLayer", 1);
    expected.emplace_back("PcbApi_QueryLayerDielectric", 1);
  }
  const std::vector<std::pair<std::string, int>> rest = {
      {"PcbApi_QueryBoardSplitPlaneMode", 1},
      {"PcbApi_QueryBoardGridsEx", 1},
      {"PcbApi_QueryBoardOutputOptions", 1},
      {"PcbApi_QueryBoardOutputOptionsPlotLayers", 109},
      {"PcbApi_QueryBoardOutputOptionsFlipLayers", 109},
      {"PcbApi_QueryBoardGerberOptions", 1},
      {"PcbApi_QueryBoardPrinterOptions", 1},
      {"PcbApi_QueryBoardPrinterOptionsPlotterPen", 8},
      {"PcbApi_QueryBoardPrinterOptionsCompositeLayer", 82},
      {"PcbApi_QueryBoardAdvancedPlacerOptions", 1},
      {"PcbApi_QueryBoardEngineeringChangeOrderOptions", 1},
      {"PcbApi_QueryBoardLayerPairsCount", 1},
      {"PcbApi_QueryBoardExternalDielectrics", 1}};
  expected.insert(expected.end(), rest.begin(), rest.end());
  EXPECT_EQ(Runs(host.Names()), expected);

  for (const HostCall& call : host.Calls) {
    if (call.Name == "PcbApi_QueryLayer" || call.Name == "PcbApi_QueryLayerDielectric" ||
        call.Name == "PcbApi_QueryInternalPlane") {
      EXPECT_EQ(call.Int(2), kBoard) << call.Name;  // the board handle comes third here
    } else if (call.Name == "PcbApi_QueryBoardLayerPairsCount") {
      EXPECT_EQ(call.Int(0), kBoard);
      EXPECT_EQ(call.Int(2), 1);
    } else {
      EXPECT_EQ(call.Int(1), kBoard) << call.Name;
    }
  }
  const auto info = host.CallsTo("PcbApi_QueryBoardLayerInfo");
  EXPECT_EQ(info.front().Int(2), 1);
  EXPECT_EQ(info.back().Int(2), 82);
  EXPECT_EQ(board->LayerInfo[82], D(5));
  EXPECT_EQ(host.CallsTo("PcbApi_QueryBoardOutputOptionsFlipLayers").back().Int(2), 109);
  EXPECT_EQ(host.CallsTo("PcbApi_QueryBoardPrinterOptionsCompositeLayer").back().Int(2), 82);
}

TEST_F(PcbBoardTest, SyncReportsOnlyTheBoardQuerysStatus) {
  host.SetResult("PcbApi_QueryLayer", 4);
  host.SetResult("PcbApi_QueryBoardGridsEx", 4);
  EXPECT_EQ(board->Sync(kFetch), 0);
  host.SetResult("PcbApi_QueryBoard", 2);
  EXPECT_EQ(board->Sync(kStore), 2);
  EXPECT_EQ(host.Calls.back().Name, "PcbApi_QueryBoardExternalDielectrics");
}

TEST_F(PcbBoardTest, OptionBlocksTakeTheHostsArgumentOrder) {
  board->Sync(kFetch);
  const TBoardGrids& g = board->Grids;
  EXPECT_EQ(g.Field14, D(2));
  EXPECT_EQ(g.Field1, D(3));
  EXPECT_EQ(g.Field7, RecordingHost::DefaultFloat(8));
  EXPECT_EQ(g.Field6, g.Field7);
  EXPECT_EQ(g.Field12, RecordingHost::DefaultFloat(14));
  EXPECT_EQ(g.Field11, g.Field12);
  EXPECT_EQ(board->GridExtra1, D(10));
  EXPECT_EQ(board->GridExtra2, D(11));

  const TBoardGerberOptions& gerber = board->GerberOptions;
  EXPECT_EQ(gerber.Field1To10[3], D(5));
  EXPECT_EQ(gerber.Field13To19[0], D(6));  // field 13 comes fifth
  EXPECT_EQ(gerber.Field1To10[4], D(7));
  EXPECT_EQ(gerber.Field11, D(13));
  EXPECT_EQ(gerber.Field12.Str(), RecordingHost::DefaultText(14));
  EXPECT_EQ(gerber.Field13To19[1], D(15));
  EXPECT_EQ(gerber.Field13To19[4], D(17));  // field 17
  EXPECT_EQ(gerber.Field13To19[6], D(19));  // field 19
  EXPECT_EQ(gerber.Field13To19[3], D(20));  // field 16 comes last

  EXPECT_EQ(board->Header.Header2.Str(), RecordingHost::DefaultText(3));
  EXPECT_EQ(board->Trailer, D(11));
  EXPECT_EQ(board->PrinterOptions.Bytes3[4], D(27));
  EXPECT_EQ(board->EcoOptions.Text.Str(), RecordingHost::DefaultText(3));
  EXPECT_EQ(board->ExternalDielectric2.Height, D(9));
  EXPECT_EQ(board->Layer(40)->NextLayer, D(8));
}

TEST_F(PcbBoardTest, CurrentLayerTravelsAsAnIdentifier) {
  host.SetFill("PcbApi_QueryBoard", 10, InternalPlaneId(20));
  board->Sync(kFetch);
  EXPECT_EQ(board->CurrentLayer, 54);

  host.SetFill("PcbApi_QueryBoard", 10, 0x01010000);  // no classic number
  board->Sync(kFetch);
  EXPECT_EQ(board->CurrentLayer, 0);

  host.Clear();
  board->CurrentLayer = 32;
  board->Sync(kStore);
  EXPECT_EQ(host.Calls.front().Int(10), LayerIdFromNumber(32));
}

TEST_F(PcbBoardTest, AddObjectPlacesObjectsButNotHandleZero) {
  EXPECT_EQ(board->AddObject(0), 1);
  EXPECT_TRUE(host.Calls.empty());
  host.SetResult("PcbApi_AddObjectToContainer", 0);
  EXPECT_EQ(board->AddObject(66), 0);
  ASSERT_EQ(host.Calls.size(), 1U);
  EXPECT_EQ(host.Calls[0].Int(0), kBoard);
  EXPECT_EQ(host.Calls[0].Int(1), 66);
}

// --- Layer pairs ---

TEST_F(PcbBoardTest, FetchWithoutPairsEmptiesTheList) {
  ServePairs({{1, 32}, {57, 58}});
  board->Sync(kFetch);
  ASSERT_EQ(board->LayerPairs.size(), 2U);
  EXPECT_EQ(board->LayerPairs[1]->PairFlag2, D(5));
  EXPECT_EQ(board->LayerPairs[1]->PairFlag1, D(6));

  ServePairs({});
  board->Sync(kFetch);
  EXPECT_TRUE(board->LayerPairs.empty());
}

TEST_F(PcbBoardTest, FailedPairCountGivesNoPairs) {
  ServePairs({{1, 32}, {1, 32}});
  host.SetResult("PcbApi_QueryBoardLayerPairsCount", 1);
  board->SyncLayerPairs(kFetch);
  EXPECT_TRUE(board->LayerPairs.empty());
  EXPECT_EQ(host.CountOf("PcbApi_QueryBoardLayerPairAt"), 0U);
}

TEST_F(PcbBoardTest, PairCountBeyondAByteIndexIsBounded) {
  host.SetFill("PcbApi_QueryBoardLayerPairsCount", 1, 1000000);
  board->SyncLayerPairs(kFetch);
  EXPECT_EQ(board->LayerPairs.size(), 256U);
  EXPECT_EQ(host.CallsTo("PcbApi_QueryBoardLayerPairAt").back().Int(2), 255);

  for (int i = 0; i < 44; ++i) board->LayerPairs.push_back(std::make_unique<TPcblayerPair>());
  host.Clear();
  board->SyncLayerPairs(kStore);
  EXPECT_EQ(host.CallsTo("PcbApi_QueryBoardLayerPairsCount").at(0).Int(1), 256);
  const auto sent = host.CallsTo("PcbApi_QueryBoardLayerPairAt");
  ASSERT_EQ(sent.size(), 256U);
  EXPECT_EQ(sent.back().Int(2), 255);
}

TEST_F(PcbBoardTest, PairsAreNamedInStackOrderWhicheverWayTheHostReportsThem) {
  ServeStack({{1, {0, 32}}, {32, {1, 0}}}, 1);
  ServePairs({{1, 32}, {32, 1}});
  board->Sync(kFetch);
  EXPECT_THAT(PairNames(), ElementsAre("TopLayer - BottomLayer", "TopLayer - BottomLayer"));
  EXPECT_EQ(board->LayerPairs[1]->LayerNumberA(), 32);
}

TEST_F(PcbBoardTest, PairsOutsideTheElectricalSetNameLayerBFirst) {
  ServeStack({{1, {0, 32}}, {32, {1, 0}}}, 1);
  ServePairs({{MechanicalLayerId(1), MechanicalLayerId(2)}});
  board->Sync(kFetch);
  EXPECT_THAT(PairNames(), ElementsAre("Mechanical2 - Mechanical1"));
}

TEST_F(PcbBoardTest, PairWithALayerWithoutClassicNumberCallsItNoLayer) {
  ServeStack({{1, {0, 32}}, {32, {1, 0}}}, 1);
  ServePairs({{0x01010000, 1}, {32, 0}});
  board->Sync(kFetch);
  EXPECT_THAT(PairNames(), ElementsAre("NoLayer - TopLayer", "NoLayer - BottomLayer"));
}

TEST_F(PcbBoardTest, StorePairsSendsTheListWhateverCountTheHostLeaves) {
  board->LayerPairs.push_back(std::make_unique<TPcblayerPair>());
  board->LayerPairs.push_back(std::make_unique<TPcblayerPair>());
  board->LayerPairs[1]->SetLayerNumberA(39);
  host.OnCall("PcbApi_QueryBoardLayerPairsCount", [](HostCall& call) {
    EXPECT_EQ(call.Int(1), 2);
    EXPECT_EQ(call.Int(2), 0);  // the byte 0 hands the count to the host
  });
  board->SyncLayerPairs(kStore);
  const auto sent = host.CallsTo("PcbApi_QueryBoardLayerPairAt");
  ASSERT_EQ(sent.size(), 2U);
  EXPECT_EQ(sent[1].Int(0), kStore);
  EXPECT_EQ(sent[1].Int(2), 1);
  EXPECT_EQ(sent[1].Int(3), InternalPlaneId(1));
  EXPECT_EQ(board->LayerPairs.size(), 2U);
}

// --- Stack walk ---

TEST_F(PcbBoardTest, StackPositionCountsElectricalLayersDownTheChain) {
  // 1 -> 57 (mechanical) -> 2 -> 39 (plane) -> 32
  ServeStack({{1, {0, 57}}, {57, {1, 2}}, {2, {57, 39}}, {39, {2, 32}}, {32, {39, 0}}}, 1);
  board->Sync(kFetch);
  EXPECT_EQ(board->FirstStackLayer(), board->Layer(1));
  EXPECT_EQ(board->NextStackLayer(*board->Layer(1)), board->Layer(57));
  EXPECT_EQ(board->StackPosition(ElectricalLayerSet, board->Layer(1)), 1);
  EXPECT_EQ(board->StackPosition(ElectricalLayerSet, board->Layer(2)), 2);
  EXPECT_EQ(board->StackPosition(ElectricalLayerSet, board->Layer(39)), 3);
  EXPECT_EQ(board->StackPosition(ElectricalLayerSet, board->Layer(32)), 4);
  EXPECT_EQ(board->StackPosition(ElectricalLayerSet, board->Layer(57)), 0);
  // Not on the chain: the number of set layers on the whole chain.
  EXPECT_EQ(board->StackPosition(ElectricalLayerSet, board->Layer(5)), 4);
}

TEST_F(PcbBoardTest, StackWithoutAFirstLayerGivesPositionZero) {
  ServeStack({}, 7);
  board->Sync(kFetch);
  EXPECT_EQ(board->FirstStackLayer(), nullptr);
  for (TLayerNumber n : {1, 2, 32, 39}) EXPECT_EQ(board->StackPosition(ElectricalLayerSet, board->Layer(n)), 0);
}

TEST_F(PcbBoardTest, CyclicOrBrokenStackLinksEndTheWalk) {
  ServeStack({{1, {0, 2}}, {2, {1, 1}}}, 1);  // 1 -> 2 -> 1 -> ...
  board->Sync(kFetch);
  EXPECT_EQ(board->StackPosition(ElectricalLayerSet, board->Layer(32)), 82);

  ServeStack({{1, {0, 2}}, {2, {1, 200}}}, 1);  // a link beyond the records
  board->Sync(kFetch);
  EXPECT_EQ(board->NextStackLayer(*board->Layer(2)), nullptr);
  EXPECT_EQ(board->StackPosition(ElectricalLayerSet, board->Layer(32)), 2);
}

}  // namespace
}  // namespace zz
