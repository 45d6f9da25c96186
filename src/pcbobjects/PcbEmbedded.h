#pragma once

#include <memory>

#include "pcbobjects/PCBObject.h"

namespace zz {

// An embedded object: a text and the host's 4096-byte block, passed through whole.
class TPcbEmbedded final : public TPCBObject {
 public:
  static constexpr TObjectKind Kind = TObjectKind::Embedded;

  explicit TPcbEmbedded(THandle handle);

  TStatus Sync(TSyncDirection direction) override;

  TText255 Text;
  // kEmbeddedBufferSize bytes on the heap, zeroed until the first fetch.
  std::unique_ptr<uint8_t[]> Buffer;
};

}  // namespace zz
