#include "pcbobjects/PcbVia.h"

#include "host/HostRoutines.h"

namespace zz {

TStatus TPcbVia::Sync(TSyncDirection direction) {
  SyncBitFields(direction);
  TLayerNumber layer = GetLayer();
  const TStatus status =
      host::PcbApi_QueryVia(direction, Handle, &StateFlags, &IndexWord, &layer, &AuxValue1, &AuxByte, &AuxValue2, &X,
                            &Y, &Size, &HoleSize, &ViaAttr1, &ViaAttr2, &PadViaFlag1, &PadViaFlag2);
  SetLayer(layer);
  return status;
}

int32_t TPcbVia::GetSizeOnLayer(TLayerNumber layer) const {
  int32_t size = 0;
  int32_t discarded = 0;
  if (host::PcbApi_QueryPadOrViaSizeOnLayer(Handle, layer, &size, &discarded) != 0) return 0;
  return size;
}

uint8_t TPcbVia::GetShapeOnLayer(TLayerNumber layer) const {
  uint8_t shape = 0;
  if (host::PcbApi_QueryPadOrViaShapeOnLayer(Handle, layer, &shape) != 0) return 0;
  return shape;
}

}  // namespace zz
