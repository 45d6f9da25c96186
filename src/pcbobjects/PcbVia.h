#pragma once

#include "pcbobjects/PCBObject.h"

namespace zz {

// A via at (X, Y). Its layer travels to and from the host as a classic layer number.
class TPcbVia final : public TPCBObject {
 public:
  static constexpr TObjectKind Kind = TObjectKind::Via;

  explicit TPcbVia(THandle handle) : TPCBObject(handle, Kind) {}

  TStatus Sync(TSyncDirection direction) override;
  bool GetPadViaFlag1() const override { return PadViaFlag1 != 0; }
  void SetPadViaFlag1(bool b) override { PadViaFlag1 = b ? 1 : 0; }
  bool GetPadViaFlag2() const override { return PadViaFlag2 != 0; }
  void SetPadViaFlag2(bool b) override { PadViaFlag2 = b ? 1 : 0; }
  int32_t GetHoleSize() const override { return HoleSize; }
  int32_t GetSize() const override { return Size; }
  uint8_t GetViaAttr1() const override { return ViaAttr1; }
  uint8_t GetViaAttr2() const override { return ViaAttr2; }
  // Answered by the host, not from the copy; 0 when the host query fails.
  int32_t GetSizeOnLayer(TLayerNumber layer) const override;
  uint8_t GetShapeOnLayer(TLayerNumber layer) const override;
  void SetHoleSize(int32_t value) override { HoleSize = value; }
  void SetSize(int32_t value) override { Size = value; }
  void SetViaAttr1(uint8_t value) override { ViaAttr1 = value; }
  void SetViaAttr2(uint8_t value) override { ViaAttr2 = value; }

  int32_t Size = 0;
  int32_t HoleSize = 0;
  uint8_t ViaAttr1 = 0;
  uint8_t ViaAttr2 = 0;
  uint8_t PadViaFlag1 = 0;
  uint8_t PadViaFlag2 = 0;
};

}  // namespace zz
