#pragma once

#include <cstdint>

#include "host/PcbApiEntries.h"

namespace zz::host {

// The board transfer form's fields before its current layer, held alike by the plug-in's board
// wrapper and by the stand-in's board; the current layer and the trailer travel beside them.
struct BoardHeader {
  int32_t Header1 = 0;
  TText255 Header2;
  uint8_t Header3 = 0;
  int32_t Header4 = 0;
  int32_t Header5 = 0;
  int32_t Header6 = 0;
  int32_t Header7 = 0;
  uint8_t Header8 = 0;
};

}  // namespace zz::host
