#include "pcbobjects/PcbArc.h"

#include "host/HostRoutines.h"

namespace zz {

TStatus TPcbArc::Sync(TSyncDirection direction) {
  SyncBitFields(direction);
  return host::PcbApi_QueryArc(direction, Handle, &StateFlags, &IndexWord, &LayerId, &AuxValue1, &AuxByte, &AuxValue2,
                               &X, &Y, &Radius, &StartAngle, &EndAngle, &LineWidth, &ExtValue1);
}

}  // namespace zz
