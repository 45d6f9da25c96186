#pragma once

#include "pcbobjects/PCBObject.h"

namespace zz {

// A component body: exchanged through the common primitive query only.
class TPcbComponentBody final : public TPCBObject {
 public:
  static constexpr TObjectKind Kind = TObjectKind::ComponentBody;

  explicit TPcbComponentBody(THandle handle) : TPCBObject(handle, Kind) {}
};

}  // namespace zz
