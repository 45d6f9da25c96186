#pragma once

#include "pcbobjects/PCBObject.h"

namespace zz {

// A board embedded in the host board; starts on the top layer.
class TPcbEmbeddedBoard final : public TPCBObject {
 public:
  static constexpr TObjectKind Kind = TObjectKind::EmbeddedBoard;

  explicit TPcbEmbeddedBoard(THandle handle);

  TStatus Sync(TSyncDirection direction) override;
  uint8_t GetTextFlag() const override { return TextFlag; }
  void SetTextFlag(uint8_t value) override { TextFlag = value; }

  TText255 BoardText;
  int32_t Value1 = 0;
  int32_t Value2 = 0;
  int32_t Value3 = 0;
  int32_t Value4 = 0;
  double Value5 = 0.0;
  uint8_t TextFlag = 0;
  uint8_t Byte1 = 0;
};

}  // namespace zz
