#include "pcbobjects/PcbSplitPlane.h"

#include "host/HostRoutines.h"

namespace zz {

TPcbSplitPlane::TPcbSplitPlane(THandle handle)
    : TPcbGroupObject(handle, Kind), ShapeBlock(std::make_unique<uint8_t[]>(kShapeBlockSize)) {}

TStatus TPcbSplitPlane::Sync(TSyncDirection direction) {
  SyncBitFields(direction);
  return host::PcbApi_QuerySplitPlane(direction, Handle, &StateFlags, &IndexWord, &LayerId, &AuxValue1, &AuxByte,
                                      &Byte1, &Value1, ShapeBlock.get());
}

}  // namespace zz
