#pragma once

#include <memory>

#include "pcbobjects/PcbGroupObject.h"

namespace zz {

// A polygon pour: a few host values and the host's shape block, passed through whole.
class TPcbPolygon : public TPcbGroupObject {
 public:
  static constexpr TObjectKind Kind = TObjectKind::Polygon;

  explicit TPcbPolygon(THandle handle) : TPcbPolygon(handle, Kind) {}

  TStatus Sync(TSyncDirection direction) override;

  uint8_t PolyByte1 = 0;
  uint8_t PolyByte2 = 0;
  uint8_t PolyByte3 = 0;
  uint8_t PolyByte4 = 0;
  int32_t PolyValue1 = 0;
  int32_t PolyValue2 = 0;
  int32_t PolyValue3 = 0;
  int32_t PolyValue4 = 0;
  // kShapeBlockSize bytes on the heap, zeroed until the first fetch.
  std::unique_ptr<uint8_t[]> ShapeBlock;
  uint8_t TrailByte1 = 0;
  uint8_t TrailByte2 = 0;

 protected:
  TPcbPolygon(THandle handle, TObjectKind kind);
};

// The board outline: a polygon of its own kind.
class TPcbBoardOutline final : public TPcbPolygon {
 public:
  static constexpr TObjectKind Kind = TObjectKind::BoardOutline;

  explicit TPcbBoardOutline(THandle handle) : TPcbPolygon(handle, Kind) {}
};

}  // namespace zz
