#include "pcbobjects/PcbFromTo.h"

#include "host/HostRoutines.h"

namespace zz {

TStatus TPcbFromTo::Sync(TSyncDirection direction) {
  SyncBitFields(direction);
  return host::PcbApi_QueryFromTo(direction, Handle, &IndexWord, &X, &Y, &FromToAttr1, &X2, &Y2, &FromToAttr2,
                                  &AuxValue1);
}

TStatus TPcbManualFromTo::Sync(TSyncDirection direction) {
  SyncBitFields(direction);
  return host::PcbApi_QueryManualFromTo(direction, Handle, &IndexWord, &Text1, &Text2, &Text3, &Value1);
}

}  // namespace zz
