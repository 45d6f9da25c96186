#include "pcbobjects/PcbEmbedded.h"

#include "host/HostRoutines.h"

namespace zz {

TPcbEmbedded::TPcbEmbedded(THandle handle)
    : TPCBObject(handle, Kind), Buffer(std::make_unique<uint8_t[]>(kEmbeddedBufferSize)) {}

TStatus TPcbEmbedded::Sync(TSyncDirection direction) {
  SyncBitFields(direction);
  return host::PcbApi_QueryEmbedded(direction, Handle, &Text, Buffer.get());
}

}  // namespace zz
