#pragma once

// The board's record of one classic layer: its name, copper and dielectric, and its place in
// the layer stack. Internal planes add the name of their net.

#include "host/LayerTypes.h"
#include "host/PcbApiEntries.h"

namespace zz {

class TLayerObject {
 public:
  static constexpr int32_t kDefaultCopperThickness = 14000;
  static constexpr uint8_t kDefaultDielectricType = 1;
  static constexpr double kDefaultDielectricConstant = 4.8;
  static constexpr int32_t kDefaultDielectricHeight = 126000;
  static constexpr const char* kDefaultDielectricMaterial = "FR-4";

  TLayerObject(THandle boardHandle, TLayerNumber layerNumber);
  virtual ~TLayerObject() = default;
  TLayerObject(const TLayerObject&) = delete;
  TLayerObject& operator=(const TLayerObject&) = delete;

  // Exchanges the record with the host; returns the layer query's status (the dielectric
  // query's is not looked at).
  /* 0 */ virtual TStatus Sync(TSyncDirection direction);

  THandle BoardHandle = 0;
  TLayerNumber LayerNumber = 0;
  TText255 Name;
  int32_t CopperThickness = kDefaultCopperThickness;
  TText255 DielectricMaterial = kDefaultDielectricMaterial;
  uint8_t DielectricType = kDefaultDielectricType;
  double DielectricConstant = kDefaultDielectricConstant;
  int32_t DielectricHeight = kDefaultDielectricHeight;
  uint8_t LayerFlag1 = 0;
  uint8_t LayerFlag2 = 0;
  TLayerNumber PrevLayer = 0;  // the layer above in the stack, 0 for none
  TLayerNumber NextLayer = 0;  // the layer below in the stack, 0 for none
  uint8_t LayerFlag3 = 0;

 protected:
  TStatus SyncDielectric(TSyncDirection direction);
};

class TInternalPlane final : public TLayerObject {
 public:
  TInternalPlane(THandle boardHandle, TLayerNumber layerNumber) : TLayerObject(boardHandle, layerNumber) {}

  TStatus Sync(TSyncDirection direction) override;

  TText255 NetName = "(No Net)";
};

}  // namespace zz
