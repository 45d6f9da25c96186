#pragma once

#include "pcbobjects/PCBObject.h"

namespace zz {

// A straight track from (X, Y) to (X2, Y2).
class TPcbTrack final : public TPCBObject {
 public:
  static constexpr TObjectKind Kind = TObjectKind::Track;

  explicit TPcbTrack(THandle handle) : TPCBObject(handle, Kind) {}

  TStatus Sync(TSyncDirection direction) override;
  void MoveBy(int32_t dx, int32_t dy) override;
  int32_t GetX2() const override { return X2; }
  int32_t GetY2() const override { return Y2; }
  int32_t GetExtValue1() const override { return ExtValue1; }
  int32_t GetExtValue2() const override { return ExtValue2; }
  int32_t GetExtValue3() const override { return ExtValue3; }
  int32_t GetWidth() const override { return Width; }
  void SetX2(int32_t value) override { X2 = value; }
  void SetY2(int32_t value) override { Y2 = value; }
  void SetExtValue1(int32_t value) override { ExtValue1 = value; }
  void SetExtValue2(int32_t value) override { ExtValue2 = value; }
  void SetExtValue3(int32_t value) override { ExtValue3 = value; }
  void SetWidth(int32_t value) override { Width = value; }

  int32_t X2 = 0;
  int32_t Y2 = 0;
  int32_t Width = 0;
  int32_t ExtValue1 = 0;
  int32_t ExtValue2 = 0;
  int32_t ExtValue3 = 0;
};

}  // namespace zz
