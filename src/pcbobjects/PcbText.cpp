#include "pcbobjects/PcbText.h"

#include "host/HostRoutines.h"
#include "host/Units.h"

namespace zz {

TPcbText::TPcbText(THandle handle) : TPCBObject(handle, Kind), FontName("Arial"), FontValue(MilToInternal(20)) {}

TStatus TPcbText::Sync(TSyncDirection direction) {
  SyncBitFields(direction);
  host::PcbApi_QueryText(direction, Handle, &StateFlags, &IndexWord, &LayerId, &AuxValue1, &AuxByte, &AuxValue2, &X, &Y,
                         &Size, &TextValue, &Rotation, &TextFlag, &TextString, &Width, &ExtValue2, &ExtValue3);
  TStatus status = host::PcbApi_QueryTrueTypeTextInfo(direction, Handle, &TrueTypeFlag, &FontName, &FontByte1,
                                                      &FontByte2, &FontByte3, &FontValue);
  // Takes no direction: the display string is read in both directions.
  host::PcbApi_GetDesignatorDisplayString(Handle, DisplayText);
  if (host::PcbApi_QueryBarCodeTextInfo(direction, Handle, &BarCodeByte1, &BarCodeByte2, &BarCodeByte3,
                                        &BarCodeByte4) == 1) {
    status = 1;
  }
  return status;
}

}  // namespace zz
