#pragma once

#include <array>

#include "pcbobjects/PCBObject.h"

namespace zz {

// A pad at (X, Y) with top, mid and bottom sizes and shapes, and the host's per-layer data
// (indexed by classic layer number 0 to 82) that travels with it.
class TPcbPad final : public TPCBObject {
 public:
  static constexpr TObjectKind Kind = TObjectKind::Pad;
  static constexpr std::size_t kLayerCount = kMaxClassicLayer + 1;
  // With this stack mode the per-layer data is stored layer by layer.
  static constexpr uint8_t kFullStackMode = 2;

  explicit TPcbPad(THandle handle) : TPCBObject(handle, Kind) {}

  TStatus Sync(TSyncDirection direction) override;
  bool GetPadViaFlag1() const override { return PadViaFlag1 != 0; }
  void SetPadViaFlag1(bool b) override { PadViaFlag1 = b ? 1 : 0; }
  bool GetPadViaFlag2() const override { return PadViaFlag2 != 0; }
  void SetPadViaFlag2(bool b) override { PadViaFlag2 = b ? 1 : 0; }
  int32_t GetTopXSize() const override { return TopXSize; }
  int32_t GetTopYSize() const override { return TopYSize; }
  int32_t GetMidXSize() const override { return MidXSize; }
  int32_t GetMidYSize() const override { return MidYSize; }
  int32_t GetBotXSize() const override { return BotXSize; }
  int32_t GetBotYSize() const override { return BotYSize; }
  int32_t GetHoleSize() const override { return HoleSize; }
  uint8_t GetTopShape() const override { return TopShape; }
  uint8_t GetMidShape() const override { return MidShape; }
  uint8_t GetBotShape() const override { return BotShape; }
  void GetName(TText255& out) const override { out = Name; }
  double GetRotation() const override { return Rotation; }

  // The per-layer accessors read the arrays without an on-layer test; a layer number beyond 82
  // gives 0.
  int32_t GetXSizeOnLayer(TLayerNumber layer) const override;
  int32_t GetYSizeOnLayer(TLayerNumber layer) const override;
  uint8_t GetShapeOnLayer(TLayerNumber layer) const override;
  int32_t GetWidthOnLayer(TLayerNumber layer) const override;
  int32_t GetCornerX1OnLayer(TLayerNumber layer, int32_t e) const override;
  int32_t GetCornerY1OnLayer(TLayerNumber layer, int32_t e) const override;
  int32_t GetCornerX2OnLayer(TLayerNumber layer, int32_t e) const override;
  int32_t GetCornerY2OnLayer(TLayerNumber layer, int32_t e) const override;
  int32_t GetCornerX3OnLayer(TLayerNumber layer, int32_t e) const override;
  int32_t GetCornerY3OnLayer(TLayerNumber layer, int32_t e) const override;
  int32_t GetCornerX4OnLayer(TLayerNumber layer, int32_t e) const override;
  int32_t GetCornerY4OnLayer(TLayerNumber layer, int32_t e) const override;
  // The centre line on a layer: the segment along the longer side, its ends half the shorter
  // side in from the pad's ends.
  int32_t GetX1OnLayer(TLayerNumber layer) const override;
  int32_t GetY1OnLayer(TLayerNumber layer) const override;
  int32_t GetX2OnLayer(TLayerNumber layer) const override;
  int32_t GetY2OnLayer(TLayerNumber layer) const override;

  void SetTopXSize(int32_t value) override { TopXSize = value; }
  void SetTopYSize(int32_t value) override { TopYSize = value; }
  void SetMidXSize(int32_t value) override { MidXSize = value; }
  void SetMidYSize(int32_t value) override { MidYSize = value; }
  void SetBotXSize(int32_t value) override { BotXSize = value; }
  void SetBotYSize(int32_t value) override { BotYSize = value; }
  void SetHoleSize(int32_t value) override { HoleSize = value; }
  void SetTopShape(uint8_t value) override { TopShape = value; }
  void SetMidShape(uint8_t value) override { MidShape = value; }
  void SetBotShape(uint8_t value) override { BotShape = value; }
  void SetName(std::string_view text) override { Name.Assign(text); }
  void SetRotation(double degrees) override { Rotation = degrees; }

  /* 152 */ virtual int32_t GetCornerRadiusOnLayer(TLayerNumber layer) const;

  int32_t TopXSize = 0;
  int32_t TopYSize = 0;
  int32_t MidXSize = 0;
  int32_t MidYSize = 0;
  int32_t BotXSize = 0;
  int32_t BotYSize = 0;
  int32_t HoleSize = 0;
  uint8_t TopShape = 0;
  uint8_t MidShape = 0;
  uint8_t BotShape = 0;
  uint8_t TopCornerPercent = 0;
  uint8_t MidCornerPercent = 0;
  uint8_t BotCornerPercent = 0;
  TText20 Name;
  uint8_t PadByte1 = 0;
  double Rotation = 0.0;
  uint8_t PadByte2 = 0;
  TText20 PadText1;
  TText20 PadText2;
  int32_t PadValue1 = 0;
  TText20 PadText3;
  std::array<int32_t, kLayerCount> LayerXSize{};
  std::array<int32_t, kLayerCount> LayerYSize{};
  std::array<uint8_t, kLayerCount> LayerShape{};
  std::array<int32_t, kLayerCount> LayerCornerRadius{};
  std::array<uint8_t, kLayerCount> LayerCornerPercent{};
  uint8_t StackMode = 0;
  uint8_t PadByte3 = 0;
  uint8_t PadByte4 = 0;
  int32_t PadValue2 = 0;
  int32_t PadValue3 = 0;
  int32_t PadValue4 = 0;
  int64_t PadValue5 = 0;
  int32_t PadValue6 = 0;
  uint8_t PadViaFlag1 = 0;
  uint8_t PadViaFlag2 = 0;

 private:
  static bool IsLayerNumber(TLayerNumber layer) { return layer <= kMaxClassicLayer; }
  int32_t LayerCorner(TLayerNumber layer, int coordinate, int32_t e) const;
  int32_t CentreLine(TLayerNumber layer, int coordinate) const;
};

}  // namespace zz
