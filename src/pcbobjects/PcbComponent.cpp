#include "pcbobjects/PcbComponent.h"

#include "host/HostRoutines.h"
#include "pcbobjects/WrapHostObject.h"

namespace zz {

TStatus TPcbComponent::Sync(TSyncDirection direction) {
  SyncBitFields(direction);
  host::PcbApi_QueryComponentChannelOffset(direction, Handle, &ChannelOffset);
  host::PcbApi_QueryComponentKind(direction, Handle, &ComponentKind);
  TLayerNumber layer = GetLayer();
  const TStatus status =
      host::PcbApi_QueryComponent(direction, Handle, &StateFlags, &IndexWord, &layer, &AuxByte, &DesignatorHandle,
                                  &SecondHandle, &Text, &Byte1, &Byte2, &X, &Y, &Value1, &Rotation, &Byte3);
  SetLayer(layer);
  host::PcbApi_QueryComponentEx(direction, Handle, &ExValue1, &ExByte1, &ExByte2, &ExValue2);
  host::PcbApi_QueryComponentSourceLinks(direction, Handle, &SourceLinks[0], &SourceLinks[1], &SourceLinks[2],
                                         &SourceLinks[3], &SourceLinks[4], &SourceLinks[5], &SourceLinks[6],
                                         &SourceLinks[7]);
  host::PcbApi_QueryDefaultPCB3DModel(direction, Handle, &Default3DModel);
  return status;
}

void TPcbComponent::GetName(TText255& out) const { GetObjectDisplayString(DesignatorHandle, out); }

}  // namespace zz
