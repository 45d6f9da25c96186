#pragma once

// One board document of the stand-in: the objects added to it in order, its current layer, its
// layer records and the board-level settings the board queries exchange.

#include <array>
#include <cstdint>
#include <vector>

#include "host/BoardHeader.h"
#include "host/LayerTypes.h"
#include "host/PcbApiEntries.h"
#include "standin/ChunkedVector.h"
#include "standin/Exchange.h"

namespace standin {

struct LayerRecord {
  zz::TText255 Name;  // from LayerNameTable
  int32_t CopperThickness = 14000;
  uint8_t LayerFlag1 = 0;
  uint8_t LayerFlag2 = 0;
  uint8_t PrevLayer = 0;  // stack links: the signal layers run from TopLayer down to BottomLayer
  uint8_t NextLayer = 0;
  uint8_t LayerFlag3 = 0;
  zz::TText255 NetName{"(No Net)"};
  zz::TText255 DielectricMaterial{"FR-4"};
  uint8_t DielectricType = 1;
  double DielectricConstant = 4.8;
  int32_t DielectricHeight = 126000;
  int32_t Info = 0;  // the value of the board layer info query
};

struct LayerPair {
  uint32_t LayerIdA = 0;
  uint32_t LayerIdB = 0;
  uint8_t PairFlag2 = 0;
  uint8_t PairFlag1 = 0;
};

// Printer options around their 27-byte block, which travels by address as a whole.
using PrinterHead = std::tuple<zz::TText255, zz::TText255, zz::TText255, uint8_t, uint8_t, uint8_t, uint8_t, uint8_t,
                               uint8_t, int32_t, double, double, double>;
using PrinterTail =
    std::tuple<uint8_t, uint8_t, double, double, double, int32_t, int32_t, uint8_t, uint8_t, uint8_t, uint8_t, uint8_t>;

struct Board {
  explicit Board(zz::THandle handle);

  zz::THandle Handle;
  ChunkedVector<zz::THandle> Objects;  // in the order added; a large board grows without copying

  zz::host::BoardHeader Header;
  uint32_t CurrentLayerId = 1;  // TopLayer
  int32_t Trailer = 0;
  std::array<LayerRecord, zz::kMaxClassicLayer + 1> Layers;  // indexed by classic layer number
  std::vector<LayerPair> LayerPairs;
  uint8_t SplitPlaneMode = 0;

  StoredValues<signature::PcbApi_QueryBoardGridsEx, 2> Grids{};
  StoredValues<signature::PcbApi_QueryBoardOutputOptions, 2> OutputOptions{};
  std::array<uint8_t, 110> PlotLayers{};  // entries 1..109
  std::array<uint8_t, 110> FlipLayers{};
  StoredValues<signature::PcbApi_QueryBoardGerberOptions, 2> GerberOptions{};
  PrinterHead PrinterOptionsHead{};
  std::array<uint8_t, zz::kPrinterBlockSize> PrinterBlock{};
  PrinterTail PrinterOptionsTail{};
  std::array<std::array<int32_t, 2>, 9> PlotterPens{};  // entries 1..8
  struct CompositeLayer {
    int32_t V1 = 0;
    int32_t V2 = 0;
    uint8_t B1 = 0;
    int32_t V3 = 0;
  };
  std::array<CompositeLayer, zz::kMaxClassicLayer + 1> CompositeLayers{};  // entries 1..82
  StoredValues<signature::PcbApi_QueryBoardAdvancedPlacerOptions, 2> PlacerOptions{};
  StoredValues<signature::PcbApi_QueryBoardEngineeringChangeOrderOptions, 2> EcoOptions{};
  StoredValues<signature::PcbApi_QueryBoardExternalDielectrics, 2> ExternalDielectrics{};
};

// The current layer travels as a layer identifier; the tool and the dump speak layer numbers.
zz::TLayerNumber CurrentLayerNumber(const Board& board);
void SetCurrentLayer(Board& board, zz::TLayerNumber layer);

constexpr uint8_t kFirstPlotEntry = 1;
constexpr uint8_t kLastPlotEntry = 109;
constexpr uint8_t kLastPlotterPen = 8;

}  // namespace standin
