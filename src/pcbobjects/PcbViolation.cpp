#include "pcbobjects/PcbViolation.h"

#include "host/HostRoutines.h"

namespace zz {

TStatus TPcbViolation::Sync(TSyncDirection direction) {
  SyncBitFields(direction);
  return host::PcbApi_QueryViolation(direction, Handle, &Text1, &Text2, &Value1, &Value2, &Value3);
}

}  // namespace zz
