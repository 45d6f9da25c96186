#pragma once

#include "pcbobjects/PCBObject.h"

namespace zz {

// An arc around the centre (X, Y) from StartAngle to EndAngle, counter-clockwise, in degrees.
class TPcbArc final : public TPCBObject {
 public:
  static constexpr TObjectKind Kind = TObjectKind::Arc;

  explicit TPcbArc(THandle handle) : TPCBObject(handle, Kind) {}

  TStatus Sync(TSyncDirection direction) override;
  int32_t GetExtValue1() const override { return ExtValue1; }
  int32_t GetRadius() const override { return Radius; }
  double GetStartAngle() const override { return StartAngle; }
  double GetEndAngle() const override { return EndAngle; }
  int32_t GetLineWidth() const override { return LineWidth; }
  void SetExtValue1(int32_t value) override { ExtValue1 = value; }
  void SetRadius(int32_t value) override { Radius = value; }
  void SetStartAngle(double degrees) override { StartAngle = degrees; }
  void SetEndAngle(double degrees) override { EndAngle = degrees; }
  void SetLineWidth(int32_t value) override { LineWidth = value; }

  int32_t Radius = 0;
  double StartAngle = 0.0;
  double EndAngle = 0.0;
  int32_t LineWidth = 0;
  int32_t ExtValue1 = 0;
};

}  // namespace zz
