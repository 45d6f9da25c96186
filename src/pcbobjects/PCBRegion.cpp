#include "pcbobjects/PCBRegion.h"

#include "host/HostRoutines.h"

namespace zz {

TStatus TPCBRegion::Sync(TSyncDirection direction) {
  SyncBitFields(direction);
  return host::PcbApi_QueryRegion(direction, Handle, &RegionByte, &StateFlags, &IndexWord, &LayerId, &AuxValue1,
                                  &AuxByte, &AuxValue2, &RegionValue6, &RegionValue5, &RegionValue1, &RegionValue2,
                                  &RegionValue3, &RegionValue4);
}

}  // namespace zz
