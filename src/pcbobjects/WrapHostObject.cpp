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
  switch (static_cast<TObjectKind>(kind)) {
    case TObjectKind::Arc:
      return std::make_unique<TPcbArc>(handle);
    case TObjectKind::Pad:
      return std::make_unique<TPcbPad>(handle);
    case TObjectKind::Via:
      return std::make_unique<TPcbVia>(handle);
    case TObjectKind::Track:
      return std::make_unique<TPcbTrack>(handle);
    case TObjectKind::Text:
      return std::make_unique<TPcbText>(handle);
    case TObjectKind::Fill:
      return std::make_unique<TPcbFill>(handle);
    case TObjectKind::FromTo:
      return std::make_unique<TPcbFromTo>(handle);
    case TObjectKind::Net:
      return std::make_unique<TPcbNet>(handle);
    case TObjectKind::Component:
      return std::make_unique<TPcbComponent>(handle);
    case TObjectKind::Polygon:
      return std::make_unique<TPcbPolygon>(handle);
    case TObjectKind::Region:
      return std::make_unique<TPCBRegion>(handle);
    case TObjectKind::ComponentBody:
      return std::make_unique<TPcbComponentBody>(handle);
    case TObjectKind::Dimension:
      return std::make_unique<TPcbDimension>(handle);
    case TObjectKind::Coordinate:
      return std::make_unique<TPcbCoordinate>(handle);
    case TObjectKind::ObjectClass:
      return std::make_unique<TPCBObjectClass>(handle);
    case TObjectKind::Rule:
      return std::make_unique<TPcbRule>(handle);
    case TObjectKind::ManualFromTo:
      return std::make_unique<TPcbManualFromTo>(handle);
    case TObjectKind::DifferentialPair:
      return std::make_unique<TPcbDifferentialPair>(handle);
    case TObjectKind::Violation:
      return std::make_unique<TPcbViolation>(handle);
    case TObjectKind::Embedded:
      return std::make_unique<TPcbEmbedded>(handle);
    case TObjectKind::EmbeddedBoard:
      return std::make_unique<TPcbEmbeddedBoard>(handle);
    case TObjectKind::SplitPlane:
      return std::make_unique<TPcbSplitPlane>(handle);
    case TObjectKind::BoardOutline:
      return std::make_unique<TPcbBoardOutline>(handle);
    default:
      return nullptr;
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
