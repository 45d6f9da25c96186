#include "pcbobjects/PcbEmbeddedBoard.h"

#include "host/HostRoutines.h"

namespace zz {

TPcbEmbeddedBoard::TPcbEmbeddedBoard(THandle handle) : TPCBObject(handle, Kind) { SetLayer(1); }

TStatus TPcbEmbeddedBoard::Sync(TSyncDirection direction) {
  SyncBitFields(direction);
  return host::PcbApi_QueryEmbeddedBoard(direction, Handle, &StateFlags, &IndexWord, &AuxByte, &X, &Y, &BoardText,
                                         &Value1, &Value2, &Value3, &Value4, &Value5, &TextFlag, &Byte1);
}

}  // namespace zz
