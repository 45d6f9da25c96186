#include "pcbobjects/PcbPad.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "host/HostRoutines.h"
#include "pcbobjects/BoxGeometry.h"

namespace zz {
namespace {

constexpr TLayerNumber kTopLayer = 1;
constexpr TLayerNumber kFirstMidLayer = 2;
constexpr TLayerNumber kLastMidLayer = 31;
constexpr TLayerNumber kBottomLayer = 32;

}  // namespace

TStatus TPcbPad::Sync(TSyncDirection direction) {
  SyncBitFields(direction);
  const TStatus status = host::PcbApi_QueryPad(
      direction, Handle, &StateFlags, &IndexWord, &LayerId, &AuxValue1, &AuxByte, &AuxValue2, &X, &Y, &TopXSize,
      &TopYSize, &MidXSize, &MidYSize, &BotXSize, &BotYSize, &HoleSize, &TopShape, &MidShape, &BotShape, &Name,
      &PadByte1, &PadByte2, &Rotation, &PadText1, &PadText2, &PadValue1, &PadText3, &PadByte3, &PadByte4, &PadValue2,
      &PadValue5, &PadValue3, &PadValue4, &PadValue6, &PadViaFlag1, &PadViaFlag2);
  // The host refused the pad: its per-layer data is neither fetched nor stored.
  if (status != 0) return status;

  host::PcbApi_QueryPadStackMode(direction, Handle, &StackMode);

  // One loop per case, each making only its calls: a fetch runs this loop 83 times per pad.
  const THandle handle = Handle;
  if (direction == kFetch) {
    const host::detail::DispatchTable& table = host::BoundTable();
    const auto shapeOnLayer = table.PcbApi_QueryPadOrViaShapeOnLayer;
    const auto sizeOnLayer = table.PcbApi_QueryPadOrViaSizeOnLayer;
    const auto radiusOnLayer = table.PcbApi_QueryPadCornerRadiusOnLayer;
    const auto percentOnLayer = table.PcbApi_QueryPadCRPercentageOnLayer;
    for (std::size_t i = 0; i < kLayerCount; ++i) {
      const auto layer = static_cast<TLayerNumber>(i);
      shapeOnLayer(handle, layer, &LayerShape[i]);
      sizeOnLayer(handle, layer, &LayerXSize[i], &LayerYSize[i]);
      radiusOnLayer(handle, layer, &LayerCornerRadius[i]);
      percentOnLayer(handle, layer, &LayerCornerPercent[i]);
    }
    TopCornerPercent = LayerCornerPercent[kTopLayer];
    MidCornerPercent = LayerCornerPercent[kLastMidLayer];  // the last mid layer's value
    BotCornerPercent = LayerCornerPercent[kBottomLayer];
  } else if (StackMode == kFullStackMode) {
    for (std::size_t i = 0; i < kLayerCount; ++i) {
      const auto layer = static_cast<TLayerNumber>(i);
      host::PcbApi_SetPadShapeOnLayer(handle, layer, LayerShape[i]);
      host::PcbApi_SetPadSizeOnLayer(handle, layer, LayerXSize[i], LayerYSize[i]);
      host::PcbApi_SetCRPctOnLayer(handle, layer, LayerCornerPercent[i]);
    }
  } else {
    // Every layer whose shape asks for stored corner percentages sends the three back; most
    // pads have none, so the shapes are searched rather than tested one by one.
    const uint8_t* shape = LayerShape.data();
    const uint8_t* const end = shape + kLayerCount;
    while ((shape = static_cast<const uint8_t*>(
                std::memchr(shape, PadShape::CornerPercentStored, static_cast<std::size_t>(end - shape)))) != nullptr) {
      host::PcbApi_SetCRPctOnLayer(handle, kTopLayer, TopCornerPercent);
      host::PcbApi_SetCRPctOnLayer(handle, kBottomLayer, BotCornerPercent);
      host::PcbApi_SetCRPctOnLayer(handle, kFirstMidLayer, MidCornerPercent);
      if (++shape == end) break;
    }
  }
  return 0;
}

int32_t TPcbPad::GetXSizeOnLayer(TLayerNumber layer) const { return IsLayerNumber(layer) ? LayerXSize[layer] : 0; }
int32_t TPcbPad::GetYSizeOnLayer(TLayerNumber layer) const { return IsLayerNumber(layer) ? LayerYSize[layer] : 0; }
uint8_t TPcbPad::GetShapeOnLayer(TLayerNumber layer) const { return IsLayerNumber(layer) ? LayerShape[layer] : 0; }

int32_t TPcbPad::GetWidthOnLayer(TLayerNumber layer) const {
  return std::min(GetXSizeOnLayer(layer), GetYSizeOnLayer(layer));
}

int32_t TPcbPad::GetCornerRadiusOnLayer(TLayerNumber layer) const {
  return IsLayerNumber(layer) ? LayerCornerRadius[layer] : 0;
}

// coordinate: 0..3 = X of corners 1..4, 4..7 = Y of corners 1..4.
int32_t TPcbPad::LayerCorner(TLayerNumber layer, int coordinate, int32_t e) const {
  if (!IsLayerNumber(layer)) return 0;
  const int32_t w = geometry::Wrap32(int64_t{LayerXSize[layer]} + 2 * int64_t{e});
  const int32_t h = geometry::Wrap32(int64_t{LayerYSize[layer]} + 2 * int64_t{e});
  // A layer of height 0 takes the flat-box corners instead of dividing by zero.
  const geometry::TBoxCorners corners = geometry::RotatedBoxCorners(X, Y, w, h, Rotation);
  return coordinate < 4 ? corners.X[coordinate] : corners.Y[coordinate - 4];
}

int32_t TPcbPad::GetCornerX1OnLayer(TLayerNumber layer, int32_t e) const { return LayerCorner(layer, 0, e); }
int32_t TPcbPad::GetCornerY1OnLayer(TLayerNumber layer, int32_t e) const { return LayerCorner(layer, 4, e); }
int32_t TPcbPad::GetCornerX2OnLayer(TLayerNumber layer, int32_t e) const { return LayerCorner(layer, 1, e); }
int32_t TPcbPad::GetCornerY2OnLayer(TLayerNumber layer, int32_t e) const { return LayerCorner(layer, 5, e); }
int32_t TPcbPad::GetCornerX3OnLayer(TLayerNumber layer, int32_t e) const { return LayerCorner(layer, 2, e); }
int32_t TPcbPad::GetCornerY3OnLayer(TLayerNumber layer, int32_t e) const { return LayerCorner(layer, 6, e); }
int32_t TPcbPad::GetCornerX4OnLayer(TLayerNumber layer, int32_t e) const { return LayerCorner(layer, 3, e); }
int32_t TPcbPad::GetCornerY4OnLayer(TLayerNumber layer, int32_t e) const { return LayerCorner(layer, 7, e); }

// coordinate: 0 = X1, 1 = Y1, 2 = X2, 3 = Y2.
int32_t TPcbPad::CentreLine(TLayerNumber layer, int coordinate) const {
  if (!IsLayerNumber(layer)) return 0;
  const int32_t hx = LayerXSize[layer] / 2;
  const int32_t hy = LayerYSize[layer] / 2;
  if (hx == hy) return (coordinate % 2 == 0) ? X : Y;

  const long double x = X;
  const long double y = Y;
  if (hx > hy) {
    const long double d = int64_t{hx} - hy;
    const long double theta = geometry::Radians(Rotation);
    const long double dx = std::cos(theta) * d;
    const long double dy = std::sin(theta) * d;
    switch (coordinate) {
      case 0:
        return geometry::Nearest(x - dx);
      case 1:
        return geometry::Nearest(y - dy);
      case 2:
        return geometry::Nearest(x + dx);
      default:
        return geometry::Nearest(y + dy);
    }
  }
  const long double d = int64_t{hy} - hx;
  const long double phi = geometry::Radians(90.0L - Rotation);
  const long double dx = std::cos(phi) * d;
  const long double dy = std::sin(phi) * d;
  switch (coordinate) {
    case 0:
      return geometry::Nearest(x - dx);
    case 1:
      return geometry::Nearest(y + dy);
    case 2:
      return geometry::Nearest(x + dx);
    default:
      return geometry::Nearest(y - dy);
  }
}

int32_t TPcbPad::GetX1OnLayer(TLayerNumber layer) const { return CentreLine(layer, 0); }
int32_t TPcbPad::GetY1OnLayer(TLayerNumber layer) const { return CentreLine(layer, 1); }
int32_t TPcbPad::GetX2OnLayer(TLayerNumber layer) const { return CentreLine(layer, 2); }
int32_t TPcbPad::GetY2OnLayer(TLayerNumber layer) const { return CentreLine(layer, 3); }

}  // namespace zz
