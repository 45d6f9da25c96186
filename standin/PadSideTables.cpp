#include "standin/PadSideTables.h"

namespace standin {

const PadExtras& PadSideTables::Extras(uint32_t entry) const {
  static const PadExtras defaults;
  return entry == kNoSideEntry ? defaults : extras_[entry - 1];
}

uint32_t PadSideTables::AddExtras(const PadExtras& extras) {
  extras_.push_back(extras);
  return static_cast<uint32_t>(extras_.size());
}

uint32_t PadSideTables::AddLayers() {
  layers_.emplace_back();
  return static_cast<uint32_t>(layers_.size());
}

void PadSideTables::Clear() {
  // swap, not clear(): the memory goes back too
  std::vector<PadExtras>().swap(extras_);
  std::vector<PadLayerOverrides>().swap(layers_);
}

std::size_t PadSideTables::MemoryUsage() const {
  return extras_.capacity() * sizeof(PadExtras) + layers_.capacity() * sizeof(PadLayerOverrides);
}

}  // namespace standin
