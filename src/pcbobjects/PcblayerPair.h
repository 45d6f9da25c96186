#pragma once

// A drill layer pair of the board: the two layers a drill runs between.

#include "host/LayerTypes.h"
#include "host/PcbApiEntries.h"

namespace zz {

class TPcblayerPair {
 public:
  TLayerNumber LayerNumberA() const { return LayerNumberFromId(LayerIdA); }
  TLayerNumber LayerNumberB() const { return LayerNumberFromId(LayerIdB); }
  void SetLayerNumberA(TLayerNumber n) { LayerIdA = LayerIdFromNumber(n); }
  void SetLayerNumberB(TLayerNumber n) { LayerIdB = LayerIdFromNumber(n); }

  TText255 Name;
  TLayerIdentifier LayerIdA = LayerIdFromNumber(0);
  TLayerIdentifier LayerIdB = LayerIdFromNumber(0);
  uint8_t PairFlag1 = 0;
  uint8_t PairFlag2 = 0;
};

}  // namespace zz
