#include "pcbobjects/PcbNet.h"

#include "host/HostRoutines.h"

namespace zz {

TStatus TPcbNet::Sync(TSyncDirection direction) {
  SyncBitFields(direction);
  return host::PcbApi_QueryNet(direction, Handle, &IndexWord, &Name, &Byte1, &Byte2);
}

}  // namespace zz
