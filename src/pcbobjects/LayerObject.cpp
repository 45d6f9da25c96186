#include "pcbobjects/LayerObject.h"

#include "host/HostRoutines.h"

namespace zz {

TLayerObject::TLayerObject(THandle boardHandle, TLayerNumber layerNumber)
    : BoardHandle(boardHandle),
      LayerNumber(layerNumber),
      Name(layerNumber <= kMaxClassicLayer ? LayerNameTable[layerNumber] : TShortString<20>()) {}

TStatus TLayerObject::SyncDielectric(TSyncDirection direction) {
  return host::PcbApi_QueryLayerDielectric(direction, LayerNumber, BoardHandle, &DielectricMaterial, &DielectricType,
                                           &DielectricConstant, &DielectricHeight);
}

TStatus TLayerObject::Sync(TSyncDirection direction) {
  const TStatus status = host::PcbApi_QueryLayer(direction, LayerNumber, BoardHandle, &Name, &CopperThickness,
                                                 &LayerFlag1, &LayerFlag2, &PrevLayer, &NextLayer, &LayerFlag3);
  SyncDielectric(direction);
  return status;
}

TStatus TInternalPlane::Sync(TSyncDirection direction) {
  const TStatus status = host::PcbApi_QueryInternalPlane(direction, LayerNumber, BoardHandle, &Name, &CopperThickness,
                                                         &LayerFlag1, &LayerFlag2, &PrevLayer, &NextLayer, &NetName);
  SyncDielectric(direction);
  return status;
}

}  // namespace zz
