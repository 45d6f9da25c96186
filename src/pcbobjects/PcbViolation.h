#pragma once

#include "pcbobjects/PCBObject.h"

namespace zz {

// A design rule violation: two texts and three values carried back and forth.
class TPcbViolation final : public TPCBObject {
 public:
  static constexpr TObjectKind Kind = TObjectKind::Violation;

  explicit TPcbViolation(THandle handle) : TPCBObject(handle, Kind) {}

  TStatus Sync(TSyncDirection direction) override;

  TText255 Text1;
  TText255 Text2;
  int32_t Value1 = 0;
  int32_t Value2 = 0;
  int32_t Value3 = 0;
};

}  // namespace zz
