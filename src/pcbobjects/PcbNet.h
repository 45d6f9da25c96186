#pragma once

#include "pcbobjects/PcbGroupObject.h"

namespace zz {

// A net: its name and two host values.
class TPcbNet final : public TPcbGroupObject {
 public:
  static constexpr TObjectKind Kind = TObjectKind::Net;

  explicit TPcbNet(THandle handle) : TPcbGroupObject(handle, Kind) {}

  TStatus Sync(TSyncDirection direction) override;
  void GetName(TText255& out) const override { out = Name; }

  TText255 Name;
  uint8_t Byte1 = 0;
  uint8_t Byte2 = 0;
};

}  // namespace zz
