#pragma once

#include <array>
#include <memory>

#include "pcbobjects/PcbGroupObject.h"

namespace zz {

// One entry of a dimension's reference table, four host values.
struct TDimensionReference {
  int32_t Value1 = 0;
  int32_t Value2 = 0;
  int32_t Value3 = 0;
  int32_t Value4 = 0;
};

// A dimension: the values of the dimension query (D1 to D8), of the extended dimension query
// (E1 to E19), and a table of up to 200 references.
class TPcbDimension final : public TPcbGroupObject {
 public:
  static constexpr TObjectKind Kind = TObjectKind::Dimension;
  static constexpr int32_t kMaxReferences = 200;

  explicit TPcbDimension(THandle handle);

  // Returns the bitwise AND of the dimension and extended dimension queries' statuses.
  TStatus Sync(TSyncDirection direction) override;

  uint8_t E1 = 8;
  int32_t E2 = 0;
  int32_t E3 = 0;
  int32_t D1 = 0;
  int32_t D2 = 0;
  int32_t D3 = 0;
  int32_t D4 = 0;
  int32_t D5 = 0;
  int32_t D6 = 0;
  int32_t D7 = 0;
  int32_t E4 = 0;
  uint8_t E5 = 0;
  int32_t E6 = 0;
  TText255 E7;
  uint8_t E8 = 0;
  int32_t E9 = 0;
  TText255 E10;
  TText255 E11;
  double E12 = 0.0;
  int32_t E13 = 0;
  int32_t E14 = 0;
  int32_t E15 = 0;
  uint8_t E16 = 0;
  int32_t E17 = 0;
  int32_t E18 = 0;
  int32_t E19 = 0;
  uint8_t D8 = 0;
  // On the heap: wrappers may live on the editor's small UI-thread stack.
  std::unique_ptr<std::array<TDimensionReference, kMaxReferences>> References;
  // Entries 0 to ReferenceCount - 1 of References are in use; always within 0..200.
  int32_t ReferenceCount = 0;
};

}  // namespace zz
