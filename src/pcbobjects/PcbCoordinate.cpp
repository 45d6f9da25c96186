#include "pcbobjects/PcbCoordinate.h"

#include "host/HostRoutines.h"

namespace zz {

TStatus TPcbCoordinate::Sync(TSyncDirection direction) {
  SyncBitFields(direction);
  return host::PcbApi_QueryCoordinate(direction, Handle, &StateFlags, &IndexWord, &AuxByte, &X, &Y, &LayerId,
                                      &Values[0], &Values[1], &Values[2], &Values[3], &Values[4], &Values[5]);
}

}  // namespace zz
