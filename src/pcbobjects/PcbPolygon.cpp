#include "pcbobjects/PcbPolygon.h"

#include "host/HostRoutines.h"

namespace zz {

TPcbPolygon::TPcbPolygon(THandle handle, TObjectKind kind)
    : TPcbGroupObject(handle, kind), ShapeBlock(std::make_unique<uint8_t[]>(kShapeBlockSize)) {}

TStatus TPcbPolygon::Sync(TSyncDirection direction) {
  SyncBitFields(direction);
  return host::PcbApi_QueryPolygon(direction, Handle, &StateFlags, &IndexWord, &LayerId, &AuxValue1, &AuxByte,
                                   &PolyByte2, &PolyByte3, &PolyByte4, &PolyValue1, &PolyValue2, &TrailByte1,
                                   &TrailByte2, &PolyValue3, &PolyByte1, &PolyValue4, ShapeBlock.get());
}

}  // namespace zz
