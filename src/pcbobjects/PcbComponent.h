#pragma once

#include <array>

#include "pcbobjects/PcbGroupObject.h"

namespace zz {

// A component. Its layer travels to and from the host as a classic layer number; its name is
// the display string of its designator object.
class TPcbComponent final : public TPcbGroupObject {
 public:
  static constexpr TObjectKind Kind = TObjectKind::Component;

  explicit TPcbComponent(THandle handle) : TPcbGroupObject(handle, Kind) {}

  // Returns the status of the component query; the other component queries' are not looked at.
  TStatus Sync(TSyncDirection direction) override;
  // Asks the host: wraps the designator object and reads its text. Empty for no designator.
  void GetName(TText255& out) const override;
  double GetRotation() const override { return Rotation; }

  int32_t ChannelOffset = 0;
  int32_t ComponentKind = 0;
  THandle DesignatorHandle = 0;
  THandle SecondHandle = 0;
  TText250 Text;
  uint8_t Byte1 = 0;
  uint8_t Byte2 = 0;
  int32_t Value1 = 0;
  double Rotation = 0.0;
  uint8_t Byte3 = 0;
  int32_t ExValue1 = 0;
  uint8_t ExByte1 = 0;
  uint8_t ExByte2 = 0;
  int32_t ExValue2 = 0;
  std::array<TText255, 8> SourceLinks;
  TText255 Default3DModel;
};

}  // namespace zz
