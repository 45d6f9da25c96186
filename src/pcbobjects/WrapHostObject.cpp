#include "pcbobjects/WrapHostObject.h"

#include "host/HostRoutines.h"
#include "pcbobjects/PCBObjectClass.h"
#include "pcbobjects/PCBRegion.h"
#include "pcbobjects/PcbArc.h"
#include "pcbobjects/PcbComponent.h"
#include "pcbobjects/PcbComponentBody.h"
#include "pcbobjects/PcbCoordinate.h"
#include "pcbobjects/PcbDifferentialPair.h"
#include "pcbobjects/PcbDimension.h"
#include "pcbobjects/PcbEmbedded.h"
#include "pcbobjects/PcbEmbeddedBoard.h"
#include "pcbobjects/PcbFill.h"
#include "pcbobjects/PcbFromTo.h"
#include "pcbobjects/PcbNet.h"
#include "pcbobjects/PcbPad.h"
#include "pcbobjects/PcbPolygon.h"
#include "pcbobjects/PcbRule.h"
#include "pcbobjects/PcbSplitPlane.h"
#include "pcbobjects/PcbText.h"
#include "pcbobjects/PcbTrack.h"
#include "pcbobjects/PcbVia.h"
#include "pcbobjects/PcbViolation.h"

namespace zz {
namespace {

std::unique_ptr<TPCBObject> NewWrapper(uint8_t kind, THandle handle) {
  switch (kind) {
    case static_cast<uint8_t>(TObjectKind::Arc): return std::make_unique<TPcbArc>(handle);
    case static_cast<uint8_t>(TObjectKind::Pad): return std::make_unique<TPcbPad>(handle);
    case static_cast<uint8_t>(TObjectKind::Via): return std::make_unique<TPcbVia>(handle);
    case static_cast<uint8_t>(TObjectKind::Track): return std::make_unique<TPcbTrack>(handle);
    case static_cast<uint8_t>(TObjectKind::Text): return std::make_unique<TPcbText>(handle);
    case static_cast<uint8_t>(TObjectKind::Fill): return std::make_unique<TPcbFill>(handle);
    case static_cast<uint8_t>(TObjectKind::FromTo): return std::make_unique<TPcbFromTo>(handle);
    case static_cast<uint8_t>(TObjectKind::Net): return std::make_unique<TPcbNet>(handle);
    case static_cast<uint8_t>(TObjectKind::Component): return std::make_unique<TPcbComponent>(handle);
    case static_cast<uint8_t>(TObjectKind::Polygon): return std::make_unique<TPcbPolygon>(handle);
    case static_cast<uint8_t>(TObjectKind::Region): return std::make_unique<TPCBRegion>(handle);
    case static_cast<uint8_t>(TObjectKind::ComponentBody): return std::make_unique<TPcbComponentBody>(handle);
    case static_cast<uint8_t>(TObjectKind::Dimension): return std::make_unique<TPcbDimension>(handle);
    case static_cast<uint8_t>(TObjectKind::Coordinate): return std::make_unique<TPcbCoordinate>(handle);
    case static_cast<uint8_t>(TObjectKind::ObjectClass): return std::make_unique<TPCBObjectClass>(handle);
    case static_cast<uint8_t>(TObjectKind::Rule): return std::make_unique<TPcbRule>(handle);
    case static_cast<uint8_t>(TObjectKind::ManualFromTo): return std::make_unique<TPcbManualFromTo>(handle);
    case static_cast<uint8_t>(TObjectKind::DifferentialPair): return std::make_unique<TPcbDifferentialPair>(handle);
    case static_cast<uint8_t>(TObjectKind::Violation): return std::make_unique<TPcbViolation>(handle);
    case static_cast<uint8_t>(TObjectKind::Embedded): return std::make_unique<TPcbEmbedded>(handle);
    case static_cast<uint8_t>(TObjectKind::EmbeddedBoard): return std::make_unique<TPcbEmbeddedBoard>(handle);
    case static_cast<uint8_t>(TObjectKind::SplitPlane): return std::make_unique<TPcbSplitPlane>(handle);
    case static_cast<uint8_t>(TObjectKind::BoardOutline): return std::make_unique<TPcbBoardOutline>(handle);
    default: return nullptr;
  }
}

}  // namespace

std::unique_ptr<TPCBObject> WrapHostObject(THandle handle) {
  std::unique_ptr<TPCBObject> wrapper = NewWrapper(host::PcbApi_GetObjectIdFromObjectHandle(handle), handle);
  if (wrapper) wrapper->Sync(kFetch);
  return wrapper;
}

void GetObjectDisplayString(THandle handle, TText255& out) {
  out.Clear();
  if (handle == 0) return;
  if (const std::unique_ptr<TPCBObject> wrapper = WrapHostObject(handle)) wrapper->GetText(out);
}

}  // namespace zz
