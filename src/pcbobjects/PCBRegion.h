#pragma once

#include "pcbobjects/PCBObject.h"

namespace zz {

// A region: only host values carried back and forth; its X and Y are not exchanged.
class TPCBRegion final : public TPCBObject {
 public:
  static constexpr TObjectKind Kind = TObjectKind::Region;

  explicit TPCBRegion(THandle handle) : TPCBObject(handle, Kind) {}

  TStatus Sync(TSyncDirection direction) override;

  int32_t RegionValue1 = 0;
  int32_t RegionValue2 = 0;
  int32_t RegionValue3 = 0;
  int32_t RegionValue4 = 0;
  uint8_t RegionByte = 0;
  int32_t RegionValue5 = 0;
  int32_t RegionValue6 = 0;
};

}  // namespace zz
