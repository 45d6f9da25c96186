#pragma once

#include "pcbobjects/PCBObject.h"

namespace zz {

// A from-to connection between (X, Y) and (X2, Y2).
class TPcbFromTo final : public TPCBObject {
 public:
  static constexpr TObjectKind Kind = TObjectKind::FromTo;

  explicit TPcbFromTo(THandle handle) : TPCBObject(handle, Kind) {}

  TStatus Sync(TSyncDirection direction) override;
  int32_t GetX2() const override { return X2; }
  int32_t GetY2() const override { return Y2; }
  uint8_t GetFromToAttr1() const override { return FromToAttr1; }
  uint8_t GetFromToAttr2() const override { return FromToAttr2; }
  void SetX2(int32_t value) override { X2 = value; }
  void SetY2(int32_t value) override { Y2 = value; }
  void SetFromToAttr1(uint8_t value) override { FromToAttr1 = value; }
  void SetFromToAttr2(uint8_t value) override { FromToAttr2 = value; }

  int32_t X2 = 0;
  int32_t Y2 = 0;
  uint8_t FromToAttr1 = 0;
  uint8_t FromToAttr2 = 0;
};

// A from-to entered by hand: three texts and a value carried for the host. Reports the host's
// kind for it, so that callers comparing kinds find it.
class TPcbManualFromTo final : public TPCBObject {
 public:
  static constexpr TObjectKind Kind = TObjectKind::ManualFromTo;

  explicit TPcbManualFromTo(THandle handle) : TPCBObject(handle, Kind) {}

  TStatus Sync(TSyncDirection direction) override;

  TText255 Text1;
  TText255 Text2;
  TText255 Text3;
  int32_t Value1 = 0;
};

}  // namespace zz
