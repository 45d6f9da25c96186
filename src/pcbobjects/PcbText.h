#pragma once

#include "pcbobjects/PCBObject.h"

namespace zz {

// A text object: its string, stroke and TrueType font settings, bar-code settings, and the
// display string the host derives from it.
class TPcbText final : public TPCBObject {
 public:
  static constexpr TObjectKind Kind = TObjectKind::Text;

  explicit TPcbText(THandle handle);

  // Returns the TrueType query's status, or 1 when the bar-code query fails with 1.
  TStatus Sync(TSyncDirection direction) override;
  int32_t GetExtValue2() const override { return ExtValue2; }
  int32_t GetExtValue3() const override { return ExtValue3; }
  double GetRotation() const override { return Rotation; }
  int32_t GetWidth() const override { return Width; }
  int32_t GetSize() const override { return Size; }
  int32_t GetLineWidth() const override { return Width; }
  int32_t GetTextValue() const override { return TextValue; }
  uint8_t GetTextFlag() const override { return TextFlag; }
  void GetText(TText255& out) const override { out = TextString; }
  void SetExtValue2(int32_t value) override { ExtValue2 = value; }
  void SetExtValue3(int32_t value) override { ExtValue3 = value; }
  void SetRotation(double degrees) override { Rotation = degrees; }
  void SetSize(int32_t value) override { Size = value; }
  void SetLineWidth(int32_t value) override { Width = value; }
  void SetTextValue(int32_t value) override { TextValue = value; }
  void SetTextFlag(uint8_t value) override { TextFlag = value; }
  void SetText(std::string_view text) override { TextString.Assign(text); }

  int32_t Size = 0;
  int32_t TextValue = 0;
  double Rotation = 0.0;
  uint8_t TextFlag = 0;
  TText254 TextString;
  int32_t Width = 0;
  int32_t ExtValue2 = 0;
  int32_t ExtValue3 = 0;
  TText254 DisplayText;
  uint8_t TrueTypeFlag = 0;
  TText255 FontName;
  uint8_t FontByte1 = 0;
  uint8_t FontByte2 = 0;
  uint8_t FontByte3 = 0;
  int32_t FontValue = 0;
  uint8_t BarCodeByte1 = 0;
  uint8_t BarCodeByte2 = 0;
  uint8_t BarCodeByte3 = 0;
  uint8_t BarCodeByte4 = 0;
};

}  // namespace zz
