#pragma once

#include <string>
#include <vector>

#include "pcbobjects/PCBObject.h"

namespace zz {

// An object class of the host (a named set of nets, components, layers ...) with its members'
// names.
class TPCBObjectClass final : public TPCBObject {
 public:
  static constexpr TObjectKind Kind = TObjectKind::ObjectClass;
  // A host that never reports the end of the member list must not grow the list without end.
  static constexpr int32_t kMaxMembers = 100000;

  explicit TPCBObjectClass(THandle handle) : TPCBObject(handle, Kind) {}

  // Store (direction 0 or 2) replaces the host's members by Members; any other direction appends
  // the host's members to Members. Returns the last status of that member exchange.
  TStatus Sync(TSyncDirection direction) override;

  TText255 Name;
  uint8_t Byte1 = 0;
  uint8_t Byte2 = 0;
  std::vector<std::string> Members;
};

}  // namespace zz
