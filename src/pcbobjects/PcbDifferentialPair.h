#pragma once

#include "pcbobjects/PCBObject.h"

namespace zz {

// A differential pair: exchanged through the common primitive query only.
class TPcbDifferentialPair final : public TPCBObject {
 public:
  static constexpr TObjectKind Kind = TObjectKind::DifferentialPair;

  explicit TPcbDifferentialPair(THandle handle) : TPCBObject(handle, Kind) {}
};

}  // namespace zz
