#include "pcbobjects/PcbBoard.h"

#include <algorithm>

namespace zz {
namespace {

constexpr TLayerNumber kFirstInternalPlane = 39;
constexpr TLayerNumber kLastInternalPlane = 54;

}  // namespace

TPcbBoard::TPcbBoard(THandle boardHandle) : Handle(boardHandle) {
  for (TLayerNumber n = 1; n <= kLayerCount; ++n) {
    if (n >= kFirstInternalPlane && n <= kLastInternalPlane) {
      Layers[n] = std::make_unique<TInternalPlane>(boardHandle, n);
    } else {
      Layers[n] = std::make_unique<TLayerObject>(boardHandle, n);
    }
  }
}

TPcbBoard::~TPcbBoard() {
  for (auto& pair : LayerPairs) pair.reset();
  LayerPairs.clear();
  for (TLayerNumber n = 1; n <= kLayerCount; ++n) Layers[n].reset();
}

TStatus TPcbBoard::Sync(TSyncDirection direction) {
  // The current layer travels as an identifier; one without a classic number comes back as 0.
  const TStatus status = host::PcbApi_QueryBoard(direction, Handle, Header, CurrentLayer, Trailer);

  for (TLayerNumber n = 1; n <= kLayerCount; ++n) {
    uint8_t scratch = 0;
    host::PcbApi_QueryBoardLayerInfo(direction, Handle, n, &scratch, &scratch, &LayerInfo[n]);
  }
  for (TLayerNumber n = 1; n <= kLayerCount; ++n) Layers[n]->Sync(direction);

  host::PcbApi_QueryBoardSplitPlaneMode(direction, Handle, &SplitPlaneMode);
  SyncGrids(direction);
  SyncOutputOptions(direction);
  SyncGerberOptions(direction);
  SyncPrinterOptions(direction);
  SyncPlacerOptions(direction);
  SyncEcoOptions(direction);
  SyncLayerPairs(direction);

  TDielectric& d1 = ExternalDielectric1;
  TDielectric& d2 = ExternalDielectric2;
  host::PcbApi_QueryBoardExternalDielectrics(direction, Handle, &d1.Material, &d1.Type, &d1.Constant, &d1.Height,
                                             &d2.Material, &d2.Type, &d2.Constant, &d2.Height);
  return status;
}

TStatus TPcbBoard::AddObject(THandle objectHandle) {
  if (objectHandle == 0) return 1;
  return host::PcbApi_AddObjectToContainer(Handle, objectHandle);
}

void TPcbBoard::SyncGrids(TSyncDirection direction) {
  TBoardGrids& g = Grids;
  host::PcbApi_QueryBoardGridsEx(direction, Handle, &g.Field14, &g.Field1, &g.Field2, &g.Field3, &g.Field4, &g.Field5,
                                 &g.Field7, &g.Field8, &GridExtra1, &GridExtra2, &g.Field9, &g.Field10, &g.Field12,
                                 &g.Field13);
  g.Field6 = g.Field7;
  g.Field11 = g.Field12;
}

void TPcbBoard::SyncOutputOptions(TSyncDirection direction) {
  auto& v = OutputOptions.Values;
  auto& f = OutputOptions.Flags;
  host::PcbApi_QueryBoardOutputOptions(direction, Handle, &v[0], &v[1], &f[0], &f[1], &f[2], &f[3], &f[4], &f[5], &f[6],
                                       &f[7], &f[8], &f[9], &f[10], &f[11], &f[12], &f[13], &f[14], &f[15], &f[16],
                                       &f[17], &f[18], &f[19], &f[20], &f[21]);
  for (int i = 1; i <= kOutputLayerCount; ++i) {
    host::PcbApi_QueryBoardOutputOptionsPlotLayers(direction, Handle, static_cast<uint8_t>(i), &PlotLayers[i]);
  }
  for (int i = 1; i <= kOutputLayerCount; ++i) {
    host::PcbApi_QueryBoardOutputOptionsFlipLayers(direction, Handle, static_cast<uint8_t>(i), &FlipLayers[i]);
  }
}

void TPcbBoard::SyncGerberOptions(TSyncDirection direction) {
  auto& b = GerberOptions.Field1To10;
  auto& v = GerberOptions.Field13To19;  // v[k] is field 13 + k
  host::PcbApi_QueryBoardGerberOptions(direction, Handle, &b[0], &b[1], &b[2], &b[3], &v[0], &b[4], &b[5], &b[6], &b[7],
                                       &b[8], &b[9], &GerberOptions.Field11, &GerberOptions.Field12, &v[1], &v[2],
                                       &v[4], &v[5], &v[6], &v[3]);
}

void TPcbBoard::SyncPrinterOptions(TSyncDirection direction) {
  TBoardPrinterOptions& p = PrinterOptions;
  host::PcbApi_QueryBoardPrinterOptions(
      direction, Handle, &p.Texts[0], &p.Texts[1], &p.Texts[2], &p.Bytes1[0], &p.Bytes1[1], &p.Bytes1[2], &p.Bytes1[3],
      &p.Bytes1[4], &p.Bytes1[5], &p.Value1, &p.Doubles1[0], &p.Doubles1[1], &p.Doubles1[2], p.Block.data(),
      &p.Bytes2[0], &p.Bytes2[1], &p.Doubles2[0], &p.Doubles2[1], &p.Doubles2[2], &p.Values2[0], &p.Values2[1],
      &p.Bytes3[0], &p.Bytes3[1], &p.Bytes3[2], &p.Bytes3[3], &p.Bytes3[4]);
  for (int i = 1; i <= kPlotterPenCount; ++i) {
    host::PcbApi_QueryBoardPrinterOptionsPlotterPen(direction, Handle, static_cast<uint8_t>(i), &PlotterPens[i].Value1,
                                                    &PlotterPens[i].Value2);
  }
  for (TLayerNumber n = 1; n <= kLayerCount; ++n) {
    TCompositeLayer& c = CompositeLayers[n];
    host::PcbApi_QueryBoardPrinterOptionsCompositeLayer(direction, Handle, n, &c.Value1, &c.Value2, &c.Byte1,
                                                        &c.Value3);
  }
}

void TPcbBoard::SyncPlacerOptions(TSyncDirection direction) {
  TPlacerOptions& p = PlacerOptions;
  host::PcbApi_QueryBoardAdvancedPlacerOptions(direction, Handle, &p.Text1, &p.Text2, &p.Bytes[0], &p.Bytes[1],
                                               &p.Bytes[2], &p.Bytes[3]);
}

void TPcbBoard::SyncEcoOptions(TSyncDirection direction) {
  host::PcbApi_QueryBoardEngineeringChangeOrderOptions(direction, Handle, &EcoOptions.Option, &EcoOptions.Text);
}

void TPcbBoard::SyncLayerPairs(TSyncDirection direction) {
  if (direction == kFetch) {
    LayerPairs.clear();
    int32_t count = 0;
    if (host::PcbApi_QueryBoardLayerPairsCount(Handle, &count, 1) != 0) count = 0;
    // A pair index is one byte: a larger count from the host cannot be addressed.
    count = std::clamp(count, int32_t{0}, kMaxLayerPairs);
    for (int32_t index = 0; index < count; ++index) {
      auto pair = std::make_unique<TPcblayerPair>();
      host::PcbApi_QueryBoardLayerPairAt(direction, Handle, static_cast<uint8_t>(index), &pair->LayerIdA,
                                         &pair->LayerIdB, &pair->PairFlag2, &pair->PairFlag1);
      NamePair(*pair);
      LayerPairs.push_back(std::move(pair));
    }
    return;
  }

  // The list decides how many pairs go out, whatever the host left in the count; as on fetch,
  // no more than a byte index can address (a wrapped index would overwrite pair 0).
  const std::size_t sent = std::min(LayerPairs.size(), static_cast<std::size_t>(kMaxLayerPairs));
  int32_t count = static_cast<int32_t>(sent);
  host::PcbApi_QueryBoardLayerPairsCount(Handle, &count, 0);
  for (std::size_t index = 0; index < sent; ++index) {
    TPcblayerPair& pair = *LayerPairs[index];
    host::PcbApi_QueryBoardLayerPairAt(direction, Handle, static_cast<uint8_t>(index), &pair.LayerIdA, &pair.LayerIdB,
                                       &pair.PairFlag2, &pair.PairFlag1);
  }
}

// The layer earlier in the stack comes first; on equal positions layer B does. A layer without
// a classic number has no record: it is named "NoLayer" and has position 0.
void TPcbBoard::NamePair(TPcblayerPair& pair) const {
  const TLayerObject* recordA = Layer(pair.LayerNumberA());
  const TLayerObject* recordB = Layer(pair.LayerNumberB());
  const TText255 nameA = recordA ? recordA->Name : TText255(LayerNameTable[0]);
  const TText255 nameB = recordB ? recordB->Name : TText255(LayerNameTable[0]);
  const int32_t positionA = StackPosition(ElectricalLayerSet, recordA);
  const int32_t positionB = StackPosition(ElectricalLayerSet, recordB);

  const TText255& first = positionB <= positionA ? nameB : nameA;
  const TText255& second = positionB <= positionA ? nameA : nameB;
  pair.Name = first;
  pair.Name.Append(" - ");
  pair.Name.Append(second.View());
}

TLayerObject* TPcbBoard::Layer(TLayerNumber n) const {
  if (n < 1 || n > kLayerCount) return nullptr;
  return Layers[n].get();
}

TLayerObject* TPcbBoard::FirstStackLayer() const {
  for (TLayerNumber n = 1; n <= kLayerCount; ++n) {
    if (Layers[n]->PrevLayer == 0) return Layers[n].get();
  }
  return nullptr;
}

TLayerObject* TPcbBoard::NextStackLayer(const TLayerObject& record) const {
  if (record.NextLayer == 0) return nullptr;
  return Layer(record.NextLayer);
}

int32_t TPcbBoard::StackPosition(const TLayerSet& set, const TLayerObject* record) const {
  if (record == nullptr || !set.Contains(record->LayerNumber)) return 0;
  int32_t count = 0;
  bool reached = false;
  const TLayerObject* current = FirstStackLayer();
  // A chain has at most 82 records; the host's links may loop.
  for (int steps = 0; current != nullptr && !reached && steps < kLayerCount; ++steps) {
    if (set.Contains(current->LayerNumber)) ++count;
    reached = current == record;
    current = NextStackLayer(*current);
  }
  return count;
}

}  // namespace zz
