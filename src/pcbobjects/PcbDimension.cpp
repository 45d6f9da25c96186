#include "pcbobjects/PcbDimension.h"

#include <algorithm>

#include "host/HostRoutines.h"

namespace zz {

TPcbDimension::TPcbDimension(THandle handle)
    : TPcbGroupObject(handle, Kind), References(std::make_unique<std::array<TDimensionReference, kMaxReferences>>()) {}

TStatus TPcbDimension::Sync(TSyncDirection direction) {
  SyncBitFields(direction);
  const TStatus dimensionStatus = host::PcbApi_QueryDimension(direction, Handle, &StateFlags, &IndexWord, &AuxByte, &X,
                                                              &Y, &D1, &D2, &LayerId, &D3, &D4, &D5, &D6, &D7, &D8);

  host::PcbApi_References_Count(direction, Handle, &ReferenceCount);
  // The count comes from the host unchecked; the table holds 200 entries.
  ReferenceCount = std::clamp(ReferenceCount, int32_t{0}, kMaxReferences);
  for (int32_t c = 0; c < ReferenceCount; ++c) {
    TDimensionReference& entry = (*References)[static_cast<std::size_t>(c)];
    host::PcbApi_References_At(direction, Handle, c, &entry.Value1, &entry.Value2, &entry.Value3, &entry.Value4);
  }

  const TStatus extendedStatus =
      host::PcbApi_QueryExtDimension(direction, Handle, &E1, &E2, &E3, &E4, &E5, &E6, &E7, &E8, &E9, &E10, &E11, &E12,
                                     &E13, &E14, &E15, &E16, &E17, &E18, &E19);
  return dimensionStatus & extendedStatus;
}

}  // namespace zz
