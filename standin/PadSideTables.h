#pragma once

// What few pads have: carried values that are not the defaults (names, texts, ...) and
// per-layer values that differ from what the layer takes from the pad's top, mid and bottom
// values. A pad's style holds the index of its entries (kNoSideEntry: none).

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "standin/ObjectKinds.h"
#include "standin/Records.h"

namespace standin {

class PadSideTables {
 public:
  // ---- Carried values ----
  // The entry's values; the shared defaults for kNoSideEntry.
  const PadExtras& Extras(uint32_t entry) const;
  // A new entry; throws std::bad_alloc, leaving the tables as they were.
  uint32_t AddExtras(const PadExtras& extras);
  void DropLastExtras() { extras_.pop_back(); }
  void SetExtras(uint32_t entry, const PadExtras& extras) { extras_[entry - 1] = extras; }

  // ---- Per-layer values ----
  // A new entry in which no layer has values of its own; throws std::bad_alloc, leaving the
  // tables as they were.
  uint32_t AddLayers();
  void DropLastLayers() { layers_.pop_back(); }
  PadLayerOverrides& Layers(uint32_t entry) { return layers_[entry - 1]; }

  // A layer's values for the pad of that style: its own where it has one, else top (layer 1
  // and every layer outside 2..32), mid (2..31) or bottom (32). Layer must be 0..82.
  uint8_t ShapeOnLayer(const PadStyle& pad, uint8_t layer) const;
  void SizeOnLayer(const PadStyle& pad, uint8_t layer, int32_t& xSize, int32_t& ySize) const;
  uint8_t CornerPercentOnLayer(const PadStyle& pad, uint8_t layer) const;
  // Percent of half the smaller side.
  int32_t CornerRadiusOnLayer(const PadStyle& pad, uint8_t layer) const;
  // What the layer takes from the top, mid or bottom values.
  static uint8_t DerivedShape(const PadStyle& pad, uint8_t layer);
  static void DerivedSize(const PadStyle& pad, uint8_t layer, int32_t& xSize, int32_t& ySize);

  void Clear();
  std::size_t MemoryUsage() const;

 private:
  std::vector<PadExtras> extras_;
  std::vector<PadLayerOverrides> layers_;
};

// Inline: the per-layer queries ask them 332 times per pad fetched.
inline uint8_t PadSideTables::ShapeOnLayer(const PadStyle& pad, uint8_t layer) const {
  if (pad.Layers != kNoSideEntry) {
    const PadLayerOverrides& own = layers_[pad.Layers - 1];
    if (own.HasShape[layer]) return own.Shape[layer];
  }
  return DerivedShape(pad, layer);
}

inline void PadSideTables::SizeOnLayer(const PadStyle& pad, uint8_t layer, int32_t& xSize, int32_t& ySize) const {
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

inline uint8_t PadSideTables::CornerPercentOnLayer(const PadStyle& pad, uint8_t layer) const {
  if (pad.Layers == kNoSideEntry) return 0;
  const PadLayerOverrides& own = layers_[pad.Layers - 1];
  return own.HasPercent[layer] ? own.CornerPercent[layer] : 0;
}

inline int32_t PadSideTables::CornerRadiusOnLayer(const PadStyle& pad, uint8_t layer) const {
  const int64_t percent = CornerPercentOnLayer(pad, layer);
  if (percent == 0) return 0;
  int32_t xSize = 0;
  int32_t ySize = 0;
  SizeOnLayer(pad, layer, xSize, ySize);
  return static_cast<int32_t>(std::min<int64_t>(xSize, ySize) * percent / 200);
}

inline uint8_t PadSideTables::DerivedShape(const PadStyle& pad, uint8_t layer) {
  return layer == 32 ? pad.BotShape : (layer >= 2 && layer <= 31 ? pad.MidShape : pad.TopShape);
}

inline void PadSideTables::DerivedSize(const PadStyle& pad, uint8_t layer, int32_t& xSize, int32_t& ySize) {
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

}  // namespace standin
