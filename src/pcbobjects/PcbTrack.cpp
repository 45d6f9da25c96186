#include "pcbobjects/PcbTrack.h"

#include "host/HostRoutines.h"
#include "pcbobjects/BoxGeometry.h"

namespace zz {

TStatus TPcbTrack::Sync(TSyncDirection direction) {
  SyncBitFields(direction);
  return host::PcbApi_QueryTrack(direction, Handle, &StateFlags, &IndexWord, &LayerId, &AuxValue1, &AuxByte, &AuxValue2,
                                 &X, &Y, &X2, &Y2, &Width, &ExtValue1, &ExtValue2, &ExtValue3);
}

void TPcbTrack::MoveBy(int32_t dx, int32_t dy) {
  TPCBObject::MoveBy(dx, dy);
  X2 = geometry::Wrap32(int64_t{X2} + dx);
  Y2 = geometry::Wrap32(int64_t{Y2} + dy);
}

}  // namespace zz
