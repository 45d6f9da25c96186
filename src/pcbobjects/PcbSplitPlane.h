#pragma once

#include <memory>

#include "pcbobjects/PcbGroupObject.h"

namespace zz {

// A split plane: two host values and the host's shape block, passed through whole.
class TPcbSplitPlane final : public TPcbGroupObject {
 public:
  static constexpr TObjectKind Kind = TObjectKind::SplitPlane;

  explicit TPcbSplitPlane(THandle handle);

  TStatus Sync(TSyncDirection direction) override;

  int32_t Value1 = 0;
  // kShapeBlockSize bytes on the heap, zeroed until the first fetch.
  std::unique_ptr<uint8_t[]> ShapeBlock;
  uint8_t Byte1 = 0;
};

}  // namespace zz
