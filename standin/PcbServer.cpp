#include "standin/PcbServer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <tuple>

#include "standin/Exchange.h"
#include "standin/Geometry.h"
#include "standin/Server.h"

// The answers have internal linkage, so that each one is compiled into its export below rather
// than reached through one more call.
namespace standin::entries {
namespace {

using zz::THandle;
using zz::TStatus;
using zz::TSyncDirection;
using zz::TText20;
using zz::TText255;

constexpr TStatus kDone = 0;
constexpr TStatus kRefused = 1;

Server& S() { return TheServer(); }
ObjectStore& Objects() { return TheServer().Objects(); }
BoardSet& Boards() { return TheServer().Boards(); }

bool IsLayerNumber(uint8_t layer) { return layer <= zz::kMaxClassicLayer; }

// Runs an exchange with the board, after the checks every board query makes.
template <typename Fn>
TStatus WithBoard(TSyncDirection direction, THandle boardHandle, Fn&& exchange) {
  if (!IsDirection(direction)) return kRefused;
  Board* board = Boards().FindBoard(boardHandle);
  if (board == nullptr) return kRefused;
  exchange(*board);
  return kDone;
}

// Queries of kinds the importer never creates: status 0, every value left as it is.
constexpr auto AnswerZero = [](auto&&...) -> TStatus { return kDone; };

int32_t OutwardFloor(double v) {
  if (!(v > std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(std::max(std::floor(v), static_cast<double>(std::numeric_limits<int32_t>::min())));
}

int32_t OutwardCeil(double v) {
  if (!(v < std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(std::min(std::ceil(v), static_cast<double>(std::numeric_limits<int32_t>::max())));
}

// ---- Objects ----

uint8_t PcbApi_GetObjectIdFromObjectHandle(THandle handle) { return static_cast<uint8_t>(Objects().KindOf(handle)); }

THandle PcbApi_CreateObject(uint8_t kind) { return Objects().CreateObject(kind); }

TStatus PcbApi_AddObjectToContainer(THandle board, THandle object) { return S().AddObject(board, object); }

// The field is a template argument: both flag-byte queries are written once. Each primitive
// created asks four times, mostly storing what is stored already.
template <uint8_t CommonFields::*Field>
void ExchangeFlagByte(TSyncDirection direction, THandle handle, uint8_t* bits) {
  const CommonFields* stored = Objects().FindCommon(handle);
  if (stored == nullptr || !IsDirection(direction) || bits == nullptr) return;
  if (direction == zz::kFetch) {
    *bits = stored->*Field;
    return;
  }
  if (*bits == stored->*Field) return;
  CommonFields c = *stored;
  c.*Field = *bits;
  Objects().SetCommon(handle, c);
}

void PcbApi_GetObjectBitField2(TSyncDirection direction, THandle handle, uint8_t* bits) {
  ExchangeFlagByte<&CommonFields::BitField2>(direction, handle, bits);
}

void PcbApi_GetObjectBitField3(TSyncDirection direction, THandle handle, uint8_t* bits) {
  ExchangeFlagByte<&CommonFields::BitField3>(direction, handle, bits);
}

TStatus PcbApi_QueryPrimitive(TSyncDirection direction, THandle handle, uint16_t* StateFlags, uint16_t* IndexWord,
                              uint32_t* LayerId, int32_t* AuxValue1, int32_t* AuxValue2, uint8_t* AuxByte) {
  const CommonFields* stored = Objects().FindCommon(handle);
  if (stored == nullptr || !IsDirection(direction)) return kRefused;
  CommonFields c = *stored;
  Exchange(direction, std::tie(c.StateFlags, c.IndexWord, c.LayerId, c.AuxValue1, c.AuxValue2, c.AuxByte), StateFlags,
           IndexWord, LayerId, AuxValue1, AuxValue2, AuxByte);
  if (direction == zz::kStore && !Objects().SetCommon(handle, c)) return kRefused;
  return kDone;
}

#define ZZ_STANDIN_COMMON_TIE(c) c.StateFlags, c.IndexWord, c.LayerId, c.AuxValue1, c.AuxByte, c.AuxValue2

// Each object query works on a copy of the object's row and style, put back whole after a store.
TStatus PcbApi_QueryTrack(TSyncDirection direction, THandle handle, ZZ_PCBAPI_COMMON_P, int32_t* X, int32_t* Y,
                          int32_t* X2, int32_t* Y2, int32_t* Width, int32_t* ExtValue1, int32_t* ExtValue2,
                          int32_t* ExtValue3) {
  ObjectStore& s = Objects();
  const uint32_t row = s.RowOf(handle, TObjectKind::Track);
  if (row == ObjectStore::kNoRow || !IsDirection(direction)) return kRefused;
  TrackRow r;
  TrackStyle t;
  s.Copy<TrackKind>(row, r, t);
  Exchange(
      direction,
      std::tie(ZZ_STANDIN_COMMON_TIE(t.Common), r.X, r.Y, r.X2, r.Y2, t.Width, t.ExtValue1, t.ExtValue2, t.ExtValue3),
      ZZ_PCBAPI_COMMON_A, X, Y, X2, Y2, Width, ExtValue1, ExtValue2, ExtValue3);
  if (direction == zz::kStore && !s.Put<TrackKind>(row, r, t)) return kRefused;
  return kDone;
}

TStatus PcbApi_QueryFill(TSyncDirection direction, THandle handle, ZZ_PCBAPI_COMMON_P, int32_t* X, int32_t* Y,
                         int32_t* X2, int32_t* Y2, int32_t* ExtValue1, double* Rotation) {
  ObjectStore& s = Objects();
  const uint32_t row = s.RowOf(handle, TObjectKind::Fill);
  if (row == ObjectStore::kNoRow || !IsDirection(direction)) return kRefused;
  FillRow r;
  FillStyle f;
  s.Copy<FillKind>(row, r, f);
  Exchange(direction, std::tie(ZZ_STANDIN_COMMON_TIE(f.Common), r.X, r.Y, r.X2, r.Y2, f.ExtValue1, f.Rotation),
           ZZ_PCBAPI_COMMON_A, X, Y, X2, Y2, ExtValue1, Rotation);
  if (direction == zz::kStore && !s.Put<FillKind>(row, r, f)) return kRefused;
  return kDone;
}

TStatus PcbApi_QueryArc(TSyncDirection direction, THandle handle, ZZ_PCBAPI_COMMON_P, int32_t* X, int32_t* Y,
                        int32_t* Radius, double* StartAngle, double* EndAngle, int32_t* LineWidth, int32_t* ExtValue1) {
  ObjectStore& s = Objects();
  const uint32_t row = s.RowOf(handle, TObjectKind::Arc);
  if (row == ObjectStore::kNoRow || !IsDirection(direction)) return kRefused;
  ArcRow r;
  ArcStyle a;
  s.Copy<ArcKind>(row, r, a);
  Exchange(
      direction,
      std::tie(ZZ_STANDIN_COMMON_TIE(a.Common), r.X, r.Y, r.Radius, r.StartAngle, r.EndAngle, a.LineWidth, a.ExtValue1),
      ZZ_PCBAPI_COMMON_A, X, Y, Radius, StartAngle, EndAngle, LineWidth, ExtValue1);
  if (direction == zz::kStore && !s.Put<ArcKind>(row, r, a)) return kRefused;
  return kDone;
}

TStatus PcbApi_QueryPad(TSyncDirection direction, THandle handle, ZZ_PCBAPI_COMMON_P, int32_t* X, int32_t* Y,
                        int32_t* TopXSize, int32_t* TopYSize, int32_t* MidXSize, int32_t* MidYSize, int32_t* BotXSize,
                        int32_t* BotYSize, int32_t* HoleSize, uint8_t* TopShape, uint8_t* MidShape, uint8_t* BotShape,
                        TText20* Name, uint8_t* PadByte1, uint8_t* PadByte2, double* Rotation, TText20* PadText1,
                        TText20* PadText2, int32_t* PadValue1, TText20* PadText3, uint8_t* PadByte3, uint8_t* PadByte4,
                        int32_t* PadValue2, int64_t* PadValue5, int32_t* PadValue3, int32_t* PadValue4,
                        int32_t* PadValue6, uint8_t* PadViaFlag1, uint8_t* PadViaFlag2) {
  ObjectStore& s = Objects();
  const uint32_t row = s.RowOf(handle, TObjectKind::Pad);
  if (row == ObjectStore::kNoRow || !IsDirection(direction)) return kRefused;
  PadRow r;
  PadStyle p;
  s.Copy<PadKind>(row, r, p);
  PadExtras e = s.PadSides().Extras(p.Extras);
  Exchange(
      direction,
      std::tie(e.Name, e.PadByte1, e.PadByte2, e.PadText1, e.PadText2, e.PadValue1, e.PadText3, e.PadByte3, e.PadByte4,
               e.PadValue2, e.PadValue5, e.PadValue3, e.PadValue4, e.PadValue6, e.PadViaFlag1, e.PadViaFlag2),
      Name, PadByte1, PadByte2, PadText1, PadText2, PadValue1, PadText3, PadByte3, PadByte4, PadValue2, PadValue5,
      PadValue3, PadValue4, PadValue6, PadViaFlag1, PadViaFlag2);
  Exchange(direction,
           std::tie(ZZ_STANDIN_COMMON_TIE(p.Common), r.X, r.Y, p.TopXSize, p.TopYSize, p.MidXSize, p.MidYSize,
                    p.BotXSize, p.BotYSize, p.HoleSize, p.TopShape, p.MidShape, p.BotShape, p.Rotation),
           ZZ_PCBAPI_COMMON_A, X, Y, TopXSize, TopYSize, MidXSize, MidYSize, BotXSize, BotYSize, HoleSize, TopShape,
           MidShape, BotShape, Rotation);
  // The carried values and the pad's own go in together: if they cannot be kept, the pad stays as it was.
  if (direction == zz::kStore && !s.PutPad(row, r, p, e)) return kRefused;
  return kDone;
}

#undef ZZ_STANDIN_COMMON_TIE

TStatus PcbApi_QueryPadStackMode(TSyncDirection direction, THandle handle, uint8_t* StackMode) {
  ObjectStore& s = Objects();
  const uint32_t row = s.RowOf(handle, TObjectKind::Pad);
  if (row == ObjectStore::kNoRow || !IsDirection(direction)) return kRefused;
  if (direction == zz::kFetch) {
    detail::Put(StackMode, s.PadStyleOf(row).StackMode);
    return kDone;
  }
  PadRecord p = s.Get<PadKind>(row);
  const uint8_t before = p.StackMode;
  Exchange(direction, std::tie(p.StackMode), StackMode);
  if (p.StackMode != before) {
    const PadExtras extras = s.PadSides().Extras(p.Extras);
    if (!s.SetPad(row, p, extras)) return kRefused;
  }
  return kDone;
}

// One per-layer query: general(side tables, pad's style, layer, out...) answers for a pad and
// a layer 0..82; simple(pad's style, layer, out...) the same for a pad without values of its
// own on any layer.
template <typename Simple, typename General, typename... Out>
[[gnu::noinline]] TStatus AnyPadOnLayer(THandle handle, uint8_t layer, Simple, General general, Out*... out) {
  const ObjectStore& objects = Objects();
  const PadStyle* pad = objects.FindPadStyle(handle);
  if (pad == nullptr || !IsLayerNumber(layer) || ((out == nullptr) || ...)) return kRefused;
  general(objects.PadSides(), *pad, layer, *out...);
  return kDone;
}

// A pad's fetch asks each per-layer query 83 times in a row. The pad asked about last, when no
// layer has values of its own, answers from its top, mid and bottom values in a few
// instructions without a stack frame; anything else takes the general answer, out of line.
template <typename Simple, typename General, typename... Out>
TStatus OnLayer(THandle handle, uint8_t layer, Simple simple, General general, Out*... out) {
  const ObjectStore::LastPad& last = Objects().LastPadAsked();
  if (handle == last.SimpleHandle && IsLayerNumber(layer) && ((out != nullptr) && ...)) [[likely]] {
    simple(*last.Style, layer, *out...);
    return kDone;
  }
  return AnyPadOnLayer(handle, layer, simple, general, out...);
}

TStatus PcbApi_QueryPadOrViaShapeOnLayer(THandle handle, uint8_t layer, uint8_t* shape) {
  return OnLayer(
      handle, layer, [](const PadStyle& pad, uint8_t l, uint8_t& out) { out = PadSideTables::DerivedShape(pad, l); },
      [](const PadSideTables& t, const PadStyle& pad, uint8_t l, uint8_t& out) { out = t.ShapeOnLayer(pad, l); },
      shape);
}

TStatus PcbApi_QueryPadOrViaSizeOnLayer(THandle handle, uint8_t layer, int32_t* xSize, int32_t* ySize) {
  return OnLayer(
      handle, layer,
      [](const PadStyle& pad, uint8_t l, int32_t& x, int32_t& y) { PadSideTables::DerivedSize(pad, l, x, y); },
      [](const PadSideTables& t, const PadStyle& pad, uint8_t l, int32_t& x, int32_t& y) {
        t.SizeOnLayer(pad, l, x, y);
      },
      xSize, ySize);
}

TStatus PcbApi_QueryPadCornerRadiusOnLayer(THandle handle, uint8_t layer, int32_t* radius) {
  return OnLayer(
      handle, layer, [](const PadStyle&, uint8_t, int32_t& out) { out = 0; },
      [](const PadSideTables& t, const PadStyle& pad, uint8_t l, int32_t& out) { out = t.CornerRadiusOnLayer(pad, l); },
      radius);
}

TStatus PcbApi_QueryPadCRPercentageOnLayer(THandle handle, uint8_t layer, uint8_t* percent) {
  return OnLayer(
      handle, layer, [](const PadStyle&, uint8_t, uint8_t& out) { out = 0; },
      [](const PadSideTables& t, const PadStyle& pad, uint8_t l, uint8_t& out) {
        out = t.CornerPercentOnLayer(pad, l);
      },
      percent);
}

TStatus PcbApi_SetPadShapeOnLayer(THandle handle, uint8_t layer, uint8_t shape) {
  const uint32_t row = Objects().RowOf(handle, TObjectKind::Pad);
  if (row == ObjectStore::kNoRow || !IsLayerNumber(layer)) return kRefused;
  return Objects().SetPadShapeOnLayer(row, layer, shape) ? kDone : kRefused;
}

TStatus PcbApi_SetPadSizeOnLayer(THandle handle, uint8_t layer, int32_t xSize, int32_t ySize) {
  const uint32_t row = Objects().RowOf(handle, TObjectKind::Pad);
  if (row == ObjectStore::kNoRow || !IsLayerNumber(layer)) return kRefused;
  return Objects().SetPadSizeOnLayer(row, layer, xSize, ySize) ? kDone : kRefused;
}

TStatus PcbApi_SetCRPctOnLayer(THandle handle, uint8_t layer, uint8_t percent) {
  const uint32_t row = Objects().RowOf(handle, TObjectKind::Pad);
  if (row == ObjectStore::kNoRow || !IsLayerNumber(layer)) return kRefused;
  return Objects().SetPadCornerPercentOnLayer(row, layer, percent) ? kDone : kRefused;
}

// Left, bottom, right, top, rounded outward.
TStatus PcbApi_QueryObjectBoundingRectangle(THandle handle, int32_t* V1, int32_t* V2, int32_t* V3, int32_t* V4) {
  if (Objects().KindOf(handle) == TObjectKind::None) return kRefused;
  const std::optional<Box> box = ObjectBounds(Objects(), handle);
  if (!box) return kDone;
  detail::Put(V1, OutwardFloor(box->Left));
  detail::Put(V2, OutwardFloor(box->Bottom));
  detail::Put(V3, OutwardCeil(box->Right));
  detail::Put(V4, OutwardCeil(box->Top));
  return kDone;
}

TStatus PcbApi_QueryObjectImport_FromUser(THandle handle) {
  return Objects().KindOf(handle) == TObjectKind::None ? kRefused : kDone;
}

TStatus PcbApi_QueryObjectGraphicallyInvalidate(THandle handle) {
  return Objects().KindOf(handle) == TObjectKind::None ? kRefused : kDone;
}

// ---- Board ----

THandle PcbApi_GetCurrentBoardHandle() { return Boards().CurrentBoardHandle(); }

TStatus PcbApi_QueryBoard(TSyncDirection direction, THandle board, int32_t* Header1, TText255* Header2,
                          uint8_t* Header3, int32_t* Header4, int32_t* Header5, int32_t* Header6, int32_t* Header7,
                          uint8_t* Header8, uint32_t* CurrentLayerId, int32_t* Trailer) {
  return WithBoard(direction, board, [&](Board& b) {
    zz::host::BoardHeader& h = b.Header;
    Exchange(direction,
             std::tie(h.Header1, h.Header2, h.Header3, h.Header4, h.Header5, h.Header6, h.Header7, h.Header8,
                      b.CurrentLayerId, b.Trailer),
             Header1, Header2, Header3, Header4, Header5, Header6, Header7, Header8, CurrentLayerId, Trailer);
  });
}

TStatus PcbApi_QueryBoardGridsEx(TSyncDirection direction, THandle board, uint8_t* G14, uint8_t* G1, uint8_t* G2,
                                 uint8_t* G3, double* G4, double* G5, double* G7, double* G8, int32_t* E1, uint8_t* E2,
                                 double* G9, double* G10, double* G12, double* G13) {
  return WithBoard(direction, board, [&](Board& b) {
    Exchange(direction, b.Grids, G14, G1, G2, G3, G4, G5, G7, G8, E1, E2, G9, G10, G12, G13);
  });
}

TStatus PcbApi_QueryBoardSplitPlaneMode(TSyncDirection direction, THandle board, uint8_t* Mode) {
  return WithBoard(direction, board, [&](Board& b) { Exchange(direction, std::tie(b.SplitPlaneMode), Mode); });
}

// AskCount non-zero: the host reports its count; zero: the host takes the caller's count
// (0 to 256, the pair index being one byte) and keeps that many pairs.
TStatus PcbApi_QueryBoardLayerPairsCount(THandle boardHandle, int32_t* Count, uint8_t AskCount) {
  Board* board = Boards().FindBoard(boardHandle);
  if (board == nullptr || Count == nullptr) return kRefused;
  if (AskCount != 0) {
    *Count = static_cast<int32_t>(board->LayerPairs.size());
    return kDone;
  }
  if (*Count < 0 || *Count > 256) return kRefused;
  try {
    board->LayerPairs.resize(static_cast<std::size_t>(*Count));
  } catch (const std::bad_alloc&) {
    return kRefused;
  }
  return kDone;
}

TStatus PcbApi_QueryBoardLayerPairAt(TSyncDirection direction, THandle boardHandle, uint8_t Index, uint32_t* LayerIdA,
                                     uint32_t* LayerIdB, uint8_t* PairFlag2, uint8_t* PairFlag1) {
  Board* board = Boards().FindBoard(boardHandle);
  if (board == nullptr || !IsDirection(direction) || Index >= board->LayerPairs.size()) return kRefused;
  LayerPair& pair = board->LayerPairs[Index];
  Exchange(direction, std::tie(pair.LayerIdA, pair.LayerIdB, pair.PairFlag2, pair.PairFlag1), LayerIdA, LayerIdB,
           PairFlag2, PairFlag1);
  return kDone;
}

TStatus PcbApi_QueryBoardEngineeringChangeOrderOptions(TSyncDirection direction, THandle board, uint8_t* Option,
                                                       TText255* Text) {
  return WithBoard(direction, board, [&](Board& b) { Exchange(direction, b.EcoOptions, Option, Text); });
}

TStatus PcbApi_QueryBoardOutputOptions(TSyncDirection direction, THandle board, int32_t* V1, int32_t* V2, uint8_t* B1,
                                       uint8_t* B2, uint8_t* B3, uint8_t* B4, uint8_t* B5, uint8_t* B6, uint8_t* B7,
                                       uint8_t* B8, uint8_t* B9, uint8_t* B10, uint8_t* B11, uint8_t* B12, uint8_t* B13,
                                       uint8_t* B14, uint8_t* B15, uint8_t* B16, uint8_t* B17, uint8_t* B18,
                                       uint8_t* B19, uint8_t* B20, uint8_t* B21, uint8_t* B22) {
  return WithBoard(direction, board, [&](Board& b) {
    Exchange(direction, b.OutputOptions, V1, V2, B1, B2, B3, B4, B5, B6, B7, B8, B9, B10, B11, B12, B13, B14, B15, B16,
             B17, B18, B19, B20, B21, B22);
  });
}

namespace {

TStatus ExchangePlotEntry(TSyncDirection direction, THandle boardHandle, uint8_t index, uint8_t* value,
                          std::array<uint8_t, 110> Board::*entries) {
  Board* board = Boards().FindBoard(boardHandle);
  if (board == nullptr || !IsDirection(direction) || index < kFirstPlotEntry || index > kLastPlotEntry) {
    return kRefused;
  }
  Exchange(direction, std::tie((board->*entries)[index]), value);
  return kDone;
}

}  // namespace

TStatus PcbApi_QueryBoardOutputOptionsPlotLayers(TSyncDirection direction, THandle board, uint8_t Index,
                                                 uint8_t* Value) {
  return ExchangePlotEntry(direction, board, Index, Value, &Board::PlotLayers);
}

TStatus PcbApi_QueryBoardOutputOptionsFlipLayers(TSyncDirection direction, THandle board, uint8_t Index,
                                                 uint8_t* Value) {
  return ExchangePlotEntry(direction, board, Index, Value, &Board::FlipLayers);
}

TStatus PcbApi_QueryBoardAdvancedPlacerOptions(TSyncDirection direction, THandle board, TText255* T1, TText255* T2,
                                               uint8_t* B1, uint8_t* B2, uint8_t* B3, uint8_t* B4) {
  return WithBoard(direction, board, [&](Board& b) { Exchange(direction, b.PlacerOptions, T1, T2, B1, B2, B3, B4); });
}

TStatus PcbApi_QueryBoardGerberOptions(TSyncDirection direction, THandle board, uint8_t* F1, uint8_t* F2, uint8_t* F3,
                                       uint8_t* F4, int32_t* F13, uint8_t* F5, uint8_t* F6, uint8_t* F7, uint8_t* F8,
                                       uint8_t* F9, uint8_t* F10, int32_t* F11, TText255* F12, int32_t* F14,
                                       int32_t* F15, int32_t* F17, int32_t* F18, int32_t* F19, int32_t* F16) {
  return WithBoard(direction, board, [&](Board& b) {
    Exchange(direction, b.GerberOptions, F1, F2, F3, F4, F13, F5, F6, F7, F8, F9, F10, F11, F12, F14, F15, F17, F18,
             F19, F16);
  });
}

TStatus PcbApi_QueryBoardPrinterOptions(TSyncDirection direction, THandle board, TText255* T1, TText255* T2,
                                        TText255* T3, uint8_t* B1, uint8_t* B2, uint8_t* B3, uint8_t* B4, uint8_t* B5,
                                        uint8_t* B6, int32_t* V1, double* D1, double* D2, double* D3, uint8_t* Block27,
                                        uint8_t* B7, uint8_t* B8, double* D4, double* D5, double* D6, int32_t* V2,
                                        int32_t* V3, uint8_t* B9, uint8_t* B10, uint8_t* B11, uint8_t* B12,
                                        uint8_t* B13) {
  return WithBoard(direction, board, [&](Board& b) {
    Exchange(direction, b.PrinterOptionsHead, T1, T2, T3, B1, B2, B3, B4, B5, B6, V1, D1, D2, D3);
    if (Block27 != nullptr) {
      if (direction == zz::kFetch) {
        std::memcpy(Block27, b.PrinterBlock.data(), b.PrinterBlock.size());
      } else {
        std::memcpy(b.PrinterBlock.data(), Block27, b.PrinterBlock.size());
      }
    }
    Exchange(direction, b.PrinterOptionsTail, B7, B8, D4, D5, D6, V2, V3, B9, B10, B11, B12, B13);
  });
}

TStatus PcbApi_QueryBoardPrinterOptionsPlotterPen(TSyncDirection direction, THandle boardHandle, uint8_t Index,
                                                  int32_t* V1, int32_t* V2) {
  if (Index < 1 || Index > kLastPlotterPen) return kRefused;
  return WithBoard(direction, boardHandle, [&](Board& b) {
    Exchange(direction, std::tie(b.PlotterPens[Index][0], b.PlotterPens[Index][1]), V1, V2);
  });
}

TStatus PcbApi_QueryBoardPrinterOptionsCompositeLayer(TSyncDirection direction, THandle boardHandle, uint8_t Index,
                                                      int32_t* V1, int32_t* V2, uint8_t* B1, int32_t* V3) {
  if (Index < 1 || Index > zz::kMaxClassicLayer) return kRefused;
  return WithBoard(direction, boardHandle, [&](Board& b) {
    Board::CompositeLayer& entry = b.CompositeLayers[Index];
    Exchange(direction, std::tie(entry.V1, entry.V2, entry.B1, entry.V3), V1, V2, B1, V3);
  });
}

TStatus PcbApi_QueryBoardLayerInfo(TSyncDirection direction, THandle boardHandle, uint8_t LayerNumber,
                                   uint8_t* /*Scratch1*/, uint8_t* /*Scratch2*/, int32_t* Info) {
  if (!IsLayerNumber(LayerNumber)) return kRefused;
  return WithBoard(direction, boardHandle,
                   [&](Board& b) { Exchange(direction, std::tie(b.Layers[LayerNumber].Info), Info); });
}

TStatus PcbApi_QueryLayer(TSyncDirection direction, uint8_t LayerNumber, THandle boardHandle, TText255* Name,
                          int32_t* CopperThickness, uint8_t* LayerFlag1, uint8_t* LayerFlag2, uint8_t* PrevLayer,
                          uint8_t* NextLayer, uint8_t* LayerFlag3) {
  if (!IsLayerNumber(LayerNumber)) return kRefused;
  return WithBoard(direction, boardHandle, [&](Board& b) {
    LayerRecord& l = b.Layers[LayerNumber];
    Exchange(direction,
             std::tie(l.Name, l.CopperThickness, l.LayerFlag1, l.LayerFlag2, l.PrevLayer, l.NextLayer, l.LayerFlag3),
             Name, CopperThickness, LayerFlag1, LayerFlag2, PrevLayer, NextLayer, LayerFlag3);
  });
}

// Only the sixteen internal planes (layers 39 to 54) answer as planes.
TStatus PcbApi_QueryInternalPlane(TSyncDirection direction, uint8_t LayerNumber, THandle boardHandle, TText255* Name,
                                  int32_t* CopperThickness, uint8_t* LayerFlag1, uint8_t* LayerFlag2,
                                  uint8_t* PrevLayer, uint8_t* NextLayer, TText255* NetName) {
  if (LayerNumber < 39 || LayerNumber > 54) return kRefused;
  return WithBoard(direction, boardHandle, [&](Board& b) {
    LayerRecord& l = b.Layers[LayerNumber];
    Exchange(direction,
             std::tie(l.Name, l.CopperThickness, l.LayerFlag1, l.LayerFlag2, l.PrevLayer, l.NextLayer, l.NetName), Name,
             CopperThickness, LayerFlag1, LayerFlag2, PrevLayer, NextLayer, NetName);
  });
}

TStatus PcbApi_QueryLayerDielectric(TSyncDirection direction, uint8_t LayerNumber, THandle boardHandle,
                                    TText255* Material, uint8_t* Type, double* Constant, int32_t* Height) {
  if (!IsLayerNumber(LayerNumber)) return kRefused;
  return WithBoard(direction, boardHandle, [&](Board& b) {
    LayerRecord& l = b.Layers[LayerNumber];
    Exchange(direction, std::tie(l.DielectricMaterial, l.DielectricType, l.DielectricConstant, l.DielectricHeight),
             Material, Type, Constant, Height);
  });
}

TStatus PcbApi_QueryBoardExternalDielectrics(TSyncDirection direction, THandle board, TText255* Material1,
                                             uint8_t* Type1, double* Constant1, int32_t* Height1, TText255* Material2,
                                             uint8_t* Type2, double* Constant2, int32_t* Height2) {
  return WithBoard(direction, board, [&](Board& b) {
    Exchange(direction, b.ExternalDielectrics, Material1, Type1, Constant1, Height1, Material2, Type2, Constant2,
             Height2);
  });
}

// ---- Progress display ----

void PcbApi_Percent_Init(const TText255* Text, int32_t Total) {
  S().Ui().Progress().Init(Text != nullptr ? Text->View() : std::string_view(), Total);
}

// Called once per character.
void PcbApi_Percent_Update() { S().Ui().Progress().Update(); }

void PcbApi_Percent_Finish() { S().Ui().Progress().Finish(); }

// ---- Kinds the importer never creates ----

constexpr auto PcbApi_QueryEmbedded = AnswerZero;
constexpr auto PcbApi_QueryRule = AnswerZero;
constexpr auto PcbApi_QueryViolation = AnswerZero;
constexpr auto PcbApi_QueryEmbeddedBoard = AnswerZero;
constexpr auto PcbApi_QueryText = AnswerZero;
constexpr auto PcbApi_QueryTrueTypeTextInfo = AnswerZero;
constexpr auto PcbApi_QueryBarCodeTextInfo = AnswerZero;
constexpr auto PcbApi_QueryVia = AnswerZero;
constexpr auto PcbApi_QueryCoordinate = AnswerZero;
constexpr auto PcbApi_QueryDimension = AnswerZero;
constexpr auto PcbApi_QueryExtDimension = AnswerZero;
constexpr auto PcbApi_References_Count = AnswerZero;
constexpr auto PcbApi_References_At = AnswerZero;
constexpr auto PcbApi_QueryPolygon = AnswerZero;
constexpr auto PcbApi_QuerySplitPlane = AnswerZero;
constexpr auto PcbApi_QueryComponent = AnswerZero;
constexpr auto PcbApi_QueryComponentEx = AnswerZero;
constexpr auto PcbApi_QueryComponentSourceLinks = AnswerZero;
constexpr auto PcbApi_QueryDefaultPCB3DModel = AnswerZero;
constexpr auto PcbApi_QueryComponentChannelOffset = AnswerZero;
constexpr auto PcbApi_QueryComponentKind = AnswerZero;
constexpr auto PcbApi_QueryFromTo = AnswerZero;
constexpr auto PcbApi_QueryManualFromTo = AnswerZero;
constexpr auto PcbApi_QueryNet = AnswerZero;
constexpr auto PcbApi_QueryClass = AnswerZero;
constexpr auto PcbApi_AddMemberToClass = AnswerZero;
constexpr auto PcbApi_GetMemberFromClassAt = AnswerZero;
constexpr auto PcbApi_RemoveAllMembersFromClass = AnswerZero;
constexpr auto PcbApi_GetDesignatorDisplayString = AnswerZero;
constexpr auto PcbApi_QueryRegion = AnswerZero;

}  // namespace
}  // namespace standin::entries

// Every export forwards to its answer above; the list guarantees the exact signatures.
#define ZZ_STANDIN_DEFINE_ENTRY(Name, Ret, Neutral, Params, Args) \
  extern "C" Ret ZZ_WINAPI Name Params { return ::standin::entries::Name Args; }
ZZ_PCBAPI_ENTRIES(ZZ_STANDIN_DEFINE_ENTRY)
#undef ZZ_STANDIN_DEFINE_ENTRY

namespace standin {
namespace {

struct NamedEntry {
  const char* Name;
  void* Address;
};

const NamedEntry kEntries[] = {
#define ZZ_STANDIN_NAMED_ENTRY(Name, Ret, Neutral, Params, Args) {#Name, reinterpret_cast<void*>(&::Name)},
    ZZ_PCBAPI_ENTRIES(ZZ_STANDIN_NAMED_ENTRY)
#undef ZZ_STANDIN_NAMED_ENTRY
};

}  // namespace

void* PcbServerEntry(const char* name) {
  if (name == nullptr) return nullptr;
  for (const NamedEntry& entry : kEntries) {
    if (std::strcmp(entry.Name, name) == 0) return entry.Address;
  }
  return nullptr;
}

}  // namespace standin
