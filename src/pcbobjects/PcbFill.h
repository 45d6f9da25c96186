#pragma once

#include "pcbobjects/PCBObject.h"

namespace zz {

// A filled rectangle between the corners (X, Y) and (X2, Y2), rotated by Rotation degrees.
class TPcbFill final : public TPCBObject {
 public:
  static constexpr TObjectKind Kind = TObjectKind::Fill;

  explicit TPcbFill(THandle handle) : TPCBObject(handle, Kind) {}

  TStatus Sync(TSyncDirection direction) override;
  void MoveBy(int32_t dx, int32_t dy) override;
  int32_t GetX2() const override { return X2; }
  int32_t GetY2() const override { return Y2; }
  int32_t GetExtValue1() const override { return ExtValue1; }
  double GetRotation() const override { return Rotation; }
  void SetX2(int32_t value) override { X2 = value; }
  void SetY2(int32_t value) override { Y2 = value; }
  void SetExtValue1(int32_t value) override { ExtValue1 = value; }
  void SetRotation(double degrees) override { Rotation = degrees; }

  int32_t X2 = 0;
  int32_t Y2 = 0;
  int32_t ExtValue1 = 0;
  double Rotation = 0.0;
};

}  // namespace zz
