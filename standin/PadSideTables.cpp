#include "standin/PadSideTables.h"

#include <algorithm>

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

uint8_t PadSideTables::ShapeOnLayer(const PadRecord& pad, uint8_t layer) const {
  if (pad.Layers != kNoSideEntry) {
    const PadLayerOverrides& own = layers_[pad.Layers - 1];
    if (own.HasShape[layer]) return own.Shape[layer];
  }
  return DerivedShape(pad, layer);
}

void PadSideTables::SizeOnLayer(const PadRecord& pad, uint8_t layer, int32_t& xSize, int32_t& ySize) const {
  if (pad.Layers != kNoSideEntry) {
    const PadLayerOverrides& own = layers_[pad.Layers - 1];
    if (own.HasSize[layer]) {
      xSize = own.XSize[layer];
      ySize = own.YSize[layer];
      return;
    }
  }
  DerivedSize(pad, layer, xSize, ySize);
}

uint8_t PadSideTables::CornerPercentOnLayer(const PadRecord& pad, uint8_t layer) const {
  if (pad.Layers == kNoSideEntry) return 0;
  const PadLayerOverrides& own = layers_[pad.Layers - 1];
  return own.HasPercent[layer] ? own.CornerPercent[layer] : 0;
}

int32_t PadSideTables::CornerRadiusOnLayer(const PadRecord& pad, uint8_t layer) const {
  const int64_t percent = CornerPercentOnLayer(pad, layer);
  if (percent == 0) return 0;
  int32_t xSize = 0;
  int32_t ySize = 0;
  SizeOnLayer(pad, layer, xSize, ySize);
  return static_cast<int32_t>(std::min<int64_t>(xSize, ySize) * percent / 200);
}

uint8_t PadSideTables::DerivedShape(const PadRecord& pad, uint8_t layer) {
  return layer == 32 ? pad.BotShape : (layer >= 2 && layer <= 31 ? pad.MidShape : pad.TopShape);
}

void PadSideTables::DerivedSize(const PadRecord& pad, uint8_t layer, int32_t& xSize, int32_t& ySize) {
  if (layer == 32) {
    xSize = pad.BotXSize;
    ySize = pad.BotYSize;
  } else if (layer >= 2 && layer <= 31) {
    xSize = pad.MidXSize;
    ySize = pad.MidYSize;
  } else {
    xSize = pad.TopXSize;
    ySize = pad.TopYSize;
  }
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
