#pragma once

#include <array>

#include "pcbobjects/PCBObject.h"

namespace zz {

// A design rule: 23 host values carried back and forth.
class TPcbRule final : public TPCBObject {
 public:
  static constexpr TObjectKind Kind = TObjectKind::Rule;

  explicit TPcbRule(THandle handle) : TPCBObject(handle, Kind) {}

  TStatus Sync(TSyncDirection direction) override;

  std::array<uint8_t, 7> LeadingBytes{};
  std::array<TText255, 4> LeadingTexts;
  std::array<uint8_t, 2> MiddleBytes{};
  std::array<int32_t, 4> Values{};
  std::array<TText255, 6> TrailingTexts;
};

}  // namespace zz
