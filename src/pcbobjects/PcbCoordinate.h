#pragma once

#include <array>

#include "pcbobjects/PcbGroupObject.h"

namespace zz {

// A coordinate marker: six host values carried back and forth.
class TPcbCoordinate final : public TPcbGroupObject {
 public:
  static constexpr TObjectKind Kind = TObjectKind::Coordinate;

  explicit TPcbCoordinate(THandle handle) : TPcbGroupObject(handle, Kind) {}

  TStatus Sync(TSyncDirection direction) override;

  std::array<int32_t, 6> Values{};
};

}  // namespace zz
