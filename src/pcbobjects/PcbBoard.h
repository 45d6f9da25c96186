#pragma once

// TPcbBoard: the wrapper of one host board document. The import run fetches the board once,
// reads CurrentLayer for every new primitive and adds each primitive to the board by handle.
// Besides the board-level settings it owns one record per classic layer 1 to 82 and the list of
// drill layer pairs. It is large (a few kilobytes): keep it on the heap.

#include <array>
#include <memory>
#include <vector>

#include "host/HostRoutines.h"
#include "pcbobjects/LayerObject.h"
#include "pcbobjects/PcblayerPair.h"

namespace zz {

// A set of classic layer numbers.
class TLayerSet {
 public:
  constexpr TLayerSet(TLayerNumber first, TLayerNumber last) { AddRange(first, last); }
  constexpr TLayerSet& AddRange(TLayerNumber first, TLayerNumber last) {
    for (unsigned n = first; n <= last; ++n) Bits[n / 64] |= uint64_t{1} << (n % 64);
    return *this;
  }
  constexpr bool Contains(TLayerNumber n) const { return (Bits[n / 64] >> (n % 64)) & 1U; }

 private:
  std::array<uint64_t, 4> Bits{};
};

// Signal layers and internal planes: the layers that count for stack positions.
inline constexpr TLayerSet ElectricalLayerSet = TLayerSet(1, 32).AddRange(39, 54);

struct TDielectric {
  TText255 Material = TLayerObject::kDefaultDielectricMaterial;
  uint8_t Type = TLayerObject::kDefaultDielectricType;
  double Constant = TLayerObject::kDefaultDielectricConstant;
  int32_t Height = TLayerObject::kDefaultDielectricHeight;
};

// The grid block; fields 6 and 11 are copies of fields 7 and 12.
struct TBoardGrids {
  uint8_t Field1 = 0;
  uint8_t Field2 = 0;
  uint8_t Field3 = 0;
  double Field4 = 0.0;
  double Field5 = 0.0;
  double Field6 = 0.0;
  double Field7 = 0.0;
  double Field8 = 0.0;
  double Field9 = 0.0;
  double Field10 = 0.0;
  double Field11 = 0.0;
  double Field12 = 0.0;
  double Field13 = 0.0;
  uint8_t Field14 = 0;
};

struct TBoardOutputOptions {
  std::array<int32_t, 2> Values{};
  std::array<uint8_t, 22> Flags{};
};

struct TBoardGerberOptions {
  std::array<uint8_t, 10> Field1To10{};
  int32_t Field11 = 0;
  TText255 Field12;
  std::array<int32_t, 7> Field13To19{};
};

struct TBoardPrinterOptions {
  std::array<TText255, 3> Texts;
  std::array<uint8_t, 6> Bytes1{};
  int32_t Value1 = 0;
  std::array<double, 3> Doubles1{};
  std::array<uint8_t, kPrinterBlockSize> Block{};
  std::array<uint8_t, 2> Bytes2{};
  std::array<double, 3> Doubles2{};
  std::array<int32_t, 2> Values2{};
  std::array<uint8_t, 5> Bytes3{};
};

struct TPlotterPen {
  int32_t Value1 = 0;
  int32_t Value2 = 0;
};

struct TCompositeLayer {
  int32_t Value1 = 0;
  int32_t Value2 = 0;
  uint8_t Byte1 = 0;
  int32_t Value3 = 0;
};

struct TPlacerOptions {
  TText255 Text1;
  TText255 Text2;
  std::array<uint8_t, 4> Bytes{};
};

struct TEcoOptions {
  uint8_t Option = 0;
  TText255 Text;
};

class TPcbBoard {
 public:
  static constexpr TLayerNumber kLayerCount = kMaxClassicLayer;  // records 1 to 82
  static constexpr int kOutputLayerCount = 109;
  static constexpr int kPlotterPenCount = 8;
  // Pair indices travel as one byte, so no board has more pairs than this.
  static constexpr int32_t kMaxLayerPairs = 256;

  // Makes no host call; everything but the defaults is zero until the first fetch.
  explicit TPcbBoard(THandle boardHandle);
  virtual ~TPcbBoard();
  TPcbBoard(const TPcbBoard&) = delete;
  TPcbBoard& operator=(const TPcbBoard&) = delete;

  // Exchanges the whole board state with the host; returns the board query's status only.
  /* 0 */ virtual TStatus Sync(TSyncDirection direction);

  // Places a new object on the board. 1 without a host call for handle 0.
  TStatus AddObject(THandle objectHandle);

  void SyncGrids(TSyncDirection direction);
  void SyncOutputOptions(TSyncDirection direction);
  void SyncGerberOptions(TSyncDirection direction);
  void SyncPrinterOptions(TSyncDirection direction);
  void SyncPlacerOptions(TSyncDirection direction);
  void SyncEcoOptions(TSyncDirection direction);
  void SyncLayerPairs(TSyncDirection direction);

  // The layer record of number n (1 to 82), or none.
  TLayerObject* Layer(TLayerNumber n) const;
  // The stack walk follows host links; it checks each link and stops after 82 records, so a
  // broken or cyclic chain ends the walk.
  TLayerObject* FirstStackLayer() const;
  TLayerObject* NextStackLayer(const TLayerObject& record) const;
  // The 1-based position of the record among the set's layers in stack order; 0 when the
  // record's layer is not in the set.
  int32_t StackPosition(const TLayerSet& set, const TLayerObject* record) const;

  THandle Handle = 0;
  host::BoardHeader Header;
  TDielectric ExternalDielectric1;
  TDielectric ExternalDielectric2;
  // The board's current layer: every new primitive is put on it.
  TLayerNumber CurrentLayer = 0;
  std::array<std::unique_ptr<TLayerObject>, kLayerCount + 1> Layers;  // [0] unused
  std::vector<std::unique_ptr<TPcblayerPair>> LayerPairs;
  std::array<int32_t, kLayerCount + 1> LayerInfo{};  // [0] unused
  TBoardGrids Grids;
  TBoardOutputOptions OutputOptions;
  std::array<uint8_t, kOutputLayerCount + 1> PlotLayers{};  // [0] unused
  std::array<uint8_t, kOutputLayerCount + 1> FlipLayers{};  // [0] unused
  TBoardGerberOptions GerberOptions;
  TBoardPrinterOptions PrinterOptions;
  std::array<TPlotterPen, kPlotterPenCount + 1> PlotterPens{};     // [0] unused
  std::array<TCompositeLayer, kLayerCount + 1> CompositeLayers{};  // [0] unused
  TPlacerOptions PlacerOptions;
  TEcoOptions EcoOptions;
  int32_t GridExtra1 = 0;
  uint8_t GridExtra2 = 0;
  int32_t Trailer = 0;
  uint8_t SplitPlaneMode = 1;

 private:
  void NamePair(TPcblayerPair& pair) const;
};

}  // namespace zz
