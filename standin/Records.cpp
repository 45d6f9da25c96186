#include "standin/Records.h"

namespace standin {

bool PadExtras::IsDefault() const {
  return Name.Empty() && PadText1.Empty() && PadText2.Empty() && PadText3.Empty() && PadByte1 == 0 && PadByte2 == 0 &&
         PadByte3 == 0 && PadByte4 == 0 && PadValue1 == 0 && PadValue2 == 0 && PadValue3 == 0 && PadValue4 == 0 &&
         PadValue5 == 0 && PadValue6 == 0 && PadViaFlag1 == 0 && PadViaFlag2 == 0;
}

const char* KindName(TObjectKind kind) {
  switch (kind) {
    case TObjectKind::Arc:
      return "arc";
    case TObjectKind::Pad:
      return "pad";
    case TObjectKind::Via:
      return "via";
    case TObjectKind::Track:
      return "track";
    case TObjectKind::Text:
      return "text";
    case TObjectKind::Fill:
      return "fill";
    case TObjectKind::FromTo:
      return "from_to";
    case TObjectKind::Net:
      return "net";
    case TObjectKind::Component:
      return "component";
    case TObjectKind::Polygon:
      return "polygon";
    case TObjectKind::Region:
      return "region";
    case TObjectKind::ComponentBody:
      return "component_body";
    case TObjectKind::Dimension:
      return "dimension";
    case TObjectKind::Coordinate:
      return "coordinate";
    case TObjectKind::ObjectClass:
      return "object_class";
    case TObjectKind::Rule:
      return "rule";
    case TObjectKind::ManualFromTo:
      return "manual_from_to";
    case TObjectKind::DifferentialPair:
      return "differential_pair";
    case TObjectKind::Violation:
      return "violation";
    case TObjectKind::Embedded:
      return "embedded";
    case TObjectKind::EmbeddedBoard:
      return "embedded_board";
    case TObjectKind::SplitPlane:
      return "split_plane";
    case TObjectKind::BoardOutline:
      return "board_outline";
    case TObjectKind::None:
      break;
  }
  return "none";
}

}  // namespace standin
