#pragma once

// What few pads have: carried values that are not the defaults (names, texts, ...) and
// per-layer values that differ from what the layer takes from the pad's top, mid and bottom
// values. A pad's style holds the index of its entries (kNoSideEntry: none).

#include <cstddef>
#include <cstdint>
#include <vector>

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

  // A layer's values: its own where it has one, else top (layer 1 and every layer outside
  // 2..32), mid (2..31) or bottom (32). Layer must be 0..82.
  uint8_t ShapeOnLayer(const PadRecord& pad, uint8_t layer) const;
  void SizeOnLayer(const PadRecord& pad, uint8_t layer, int32_t& xSize, int32_t& ySize) const;
  uint8_t CornerPercentOnLayer(const PadRecord& pad, uint8_t layer) const;
  // Percent of half the smaller side.
  int32_t CornerRadiusOnLayer(const PadRecord& pad, uint8_t layer) const;
  // What the layer takes from the top, mid or bottom values.
  static uint8_t DerivedShape(const PadRecord& pad, uint8_t layer);
  static void DerivedSize(const PadRecord& pad, uint8_t layer, int32_t& xSize, int32_t& ySize);

  void Clear();
  std::size_t MemoryUsage() const;

 private:
  std::vector<PadExtras> extras_;
  std::vector<PadLayerOverrides> layers_;
};

}  // namespace standin
