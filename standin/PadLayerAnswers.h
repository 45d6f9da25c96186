#pragma once

// The per-layer values of one pad as the four per-layer queries give them. A pad's fetch asks
// 83 times each, so they are kept at hand for the pad asked about last.

#include <cstdint>

#include "standin/ObjectKinds.h"

namespace standin {

struct PadLayerAnswers {
  static constexpr int64_t kNone = INT64_MIN;  // no handle, widened, ever equals it
  THandle Handle = 0;                          // 0: none kept
  uint32_t Row = 0;
  bool Simple = false;           // no layer of its own values: top, mid and bottom answer for all
  int64_t SimpleHandle = kNone;  // Handle when Simple, so that one comparison finds a simple pad
  uint8_t Shape[3] = {};
  int32_t XSize[3] = {};
  int32_t YSize[3] = {};

  void Keep(THandle handle, uint32_t row, const PadStyle& s) {
    Handle = handle;
    Row = row;
    Simple = s.Layers == kNoSideEntry;
    SimpleHandle = Simple ? handle : kNone;
    Shape[0] = s.TopShape;
    Shape[1] = s.MidShape;
    Shape[2] = s.BotShape;
    XSize[0] = s.TopXSize;
    XSize[1] = s.MidXSize;
    XSize[2] = s.BotXSize;
    YSize[0] = s.TopYSize;
    YSize[1] = s.MidYSize;
    YSize[2] = s.BotYSize;
  }
};

}  // namespace standin
