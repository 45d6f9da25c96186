#include "pcbobjects/PCBObject.h"

#include <cstdlib>

#include "host/HostRoutines.h"
#include "pcbobjects/BoxGeometry.h"

namespace zz {

void TPCBObject::SyncBitFields(TSyncDirection direction) {
  host::PcbApi_GetObjectBitField2(direction, Handle, &BitField2);
  host::PcbApi_GetObjectBitField3(direction, Handle, &BitField3);
}

TStatus TPCBObject::Sync(TSyncDirection direction) {
  SyncBitFields(direction);
  return host::PcbApi_QueryPrimitive(direction, Handle, &StateFlags, &IndexWord, &LayerId, &AuxValue1, &AuxValue2,
                                     &AuxByte);
}

TStatus TPCBObject::GetBoundingRectangle(int32_t& v1, int32_t& v2, int32_t& v3, int32_t& v4) const {
  return host::PcbApi_QueryObjectBoundingRectangle(Handle, &v1, &v2, &v3, &v4);
}

void TPCBObject::MoveBy(int32_t dx, int32_t dy) {
  X = geometry::Wrap32(int64_t{X} + dx);
  Y = geometry::Wrap32(int64_t{Y} + dy);
}

bool TPCBObject::ImportFromUser() { return host::PcbApi_QueryObjectImport_FromUser(Handle) == 0; }

TStatus TPCBObject::GraphicallyInvalidate() { return host::PcbApi_QueryObjectGraphicallyInvalidate(Handle); }

bool TPCBObject::GetStateFlag0010() const { return StateFlag(0x0010); }
bool TPCBObject::GetBitField2Bit10() const { return (BitField2 & 0x10) != 0; }
bool TPCBObject::GetBitField2Bit01() const { return (BitField2 & 0x01) != 0; }
bool TPCBObject::GetBitField2Bit02() const { return (BitField2 & 0x02) != 0; }
bool TPCBObject::GetBitField2Bit08() const { return (BitField2 & 0x08) != 0; }
bool TPCBObject::GetBitField2Bit20() const { return (BitField2 & 0x20) != 0; }
bool TPCBObject::GetBitField2Bit40() const { return (BitField2 & 0x40) != 0; }
void TPCBObject::SetStateFlag0010(bool b) { SetStateFlag(0x0010, b); }
bool TPCBObject::GetStateFlag0008() const { return StateFlag(0x0008); }

void TPCBObject::SetStateFlag0008AndStore(bool b) {
  SetStateFlag(0x0008, b);
  Sync(kStore);
}

bool TPCBObject::GetStateFlag0100Clear() const { return !StateFlag(0x0100); }

void TPCBObject::SetStateFlag0100ClearAndStore(bool b) {
  SetStateFlag(0x0100, !b);
  Sync(kStore);
}

bool TPCBObject::GetBitField3Any() const { return GetBitField3Bit02() || GetBitField3Bit04(); }

void TPCBObject::SetBitField3Both(bool b) {
  SetBitField3Bit02(b);
  SetBitField3Bit04(b);
}

bool TPCBObject::GetBitField3Bit02() const { return (BitField3 & 0x02) != 0; }
void TPCBObject::SetBitField3Bit02(bool b) {
  BitField3 = b ? static_cast<uint8_t>(BitField3 | 0x02) : static_cast<uint8_t>(BitField3 & ~0x02);
}
bool TPCBObject::GetBitField3Bit04() const { return (BitField3 & 0x04) != 0; }
void TPCBObject::SetBitField3Bit04(bool b) {
  BitField3 = b ? static_cast<uint8_t>(BitField3 | 0x04) : static_cast<uint8_t>(BitField3 & ~0x04);
}

bool TPCBObject::GetStateFlag0800() const { return StateFlag(0x0800); }
void TPCBObject::SetStateFlag0800(bool b) { SetStateFlag(0x0800, b); }
bool TPCBObject::GetStateFlag2000() const { return StateFlag(0x2000); }
void TPCBObject::SetStateFlag2000(bool b) { SetStateFlag(0x2000, b); }
bool TPCBObject::GetPadViaFlag1() const { return false; }
void TPCBObject::SetPadViaFlag1(bool) {}
bool TPCBObject::GetPadViaFlag2() const { return false; }
void TPCBObject::SetPadViaFlag2(bool) {}
bool TPCBObject::GetStateFlag1000() const { return StateFlag(0x1000); }
void TPCBObject::SetStateFlag1000(bool b) { SetStateFlag(0x1000, b); }
bool TPCBObject::GetStateFlag4000() const { return StateFlag(0x4000); }
void TPCBObject::SetStateFlag4000(bool b) { SetStateFlag(0x4000, b); }
bool TPCBObject::GetStateFlag8000() const { return StateFlag(0x8000); }
void TPCBObject::SetStateFlag8000(bool b) { SetStateFlag(0x8000, b); }

THandle TPCBObject::GetHandle() const { return Handle; }
TObjectKind TPCBObject::GetObjectKind() const { return ObjectKind; }
int32_t TPCBObject::GetX() const { return X; }
int32_t TPCBObject::GetY() const { return Y; }
int32_t TPCBObject::GetX2() const { return X; }
int32_t TPCBObject::GetY2() const { return Y; }
uint16_t TPCBObject::GetStateFlags() const { return StateFlags; }
uint16_t TPCBObject::GetIndexWord() const { return IndexWord; }
TLayerNumber TPCBObject::GetLayer() const { return LayerNumberFromId(LayerId); }
uint8_t TPCBObject::GetAuxByte() const { return AuxByte; }
int32_t TPCBObject::GetAuxValue1() const { return AuxValue1; }
int32_t TPCBObject::GetAuxValue2() const { return AuxValue2; }
int32_t TPCBObject::GetExtValue1() const { return 0; }
int32_t TPCBObject::GetExtValue2() const { return 0; }
int32_t TPCBObject::GetExtValue3() const { return 0; }
int32_t TPCBObject::GetTopXSize() const { return 0; }
int32_t TPCBObject::GetTopYSize() const { return 0; }
int32_t TPCBObject::GetMidXSize() const { return 0; }
int32_t TPCBObject::GetMidYSize() const { return 0; }
int32_t TPCBObject::GetBotXSize() const { return 0; }
int32_t TPCBObject::GetBotYSize() const { return 0; }
int32_t TPCBObject::GetHoleSize() const { return 0; }
uint8_t TPCBObject::GetTopShape() const { return 0; }
uint8_t TPCBObject::GetMidShape() const { return 0; }
uint8_t TPCBObject::GetBotShape() const { return 0; }
void TPCBObject::GetName(TText255& out) const { out.Clear(); }
double TPCBObject::GetRotation() const { return 0.0; }
int32_t TPCBObject::GetWidth() const { return 0; }
uint8_t TPCBObject::GetShape() const { return 0; }
int32_t TPCBObject::GetSize() const { return 0; }
int32_t TPCBObject::GetXSize() const { return GetSize(); }
int32_t TPCBObject::GetYSize() const { return GetSize(); }
uint8_t TPCBObject::GetViaAttr1() const { return 0; }
uint8_t TPCBObject::GetViaAttr2() const { return 0; }
int32_t TPCBObject::GetRadius() const { return 0; }
double TPCBObject::GetStartAngle() const { return 0.0; }
double TPCBObject::GetEndAngle() const { return 0.0; }
int32_t TPCBObject::GetLineWidth() const { return 0; }

int32_t TPCBObject::BoundsValue(int index) const {
  // Whatever the host leaves in the four values counts, also when the query fails.
  int32_t values[4] = {0, 0, 0, 0};
  host::PcbApi_QueryObjectBoundingRectangle(Handle, &values[0], &values[1], &values[2], &values[3]);
  return values[index];
}

int32_t TPCBObject::GetBoundsValue1() const { return BoundsValue(0); }
int32_t TPCBObject::GetBoundsValue2() const { return BoundsValue(1); }
int32_t TPCBObject::GetBoundsValue3() const { return BoundsValue(2); }
int32_t TPCBObject::GetBoundsValue4() const { return BoundsValue(3); }
int32_t TPCBObject::GetTextValue() const { return 0; }
uint8_t TPCBObject::GetTextFlag() const { return 0; }
void TPCBObject::GetText(TText255& out) const { out.Clear(); }
uint8_t TPCBObject::GetFromToAttr1() const { return 0; }
uint8_t TPCBObject::GetFromToAttr2() const { return 0; }

// coordinate: 0..3 = X of corners 1..4, 4..7 = Y of corners 1..4.
int32_t TPCBObject::Corner(int coordinate, int32_t e) const {
  const int32_t x = GetX();
  const int32_t y = GetY();
  const int32_t x2 = GetX2();
  const int32_t y2 = GetY2();
  const int32_t w = geometry::Wrap32(std::llabs(int64_t{geometry::Wrap32(int64_t{x2} - x)}) + 2 * int64_t{e});
  const int32_t h = geometry::Wrap32(std::llabs(int64_t{geometry::Wrap32(int64_t{y2} - y)}) + 2 * int64_t{e});
  // Each coordinate is halved on its own (truncating toward zero) before the sum.
  const int32_t cx = x / 2 + x2 / 2;
  const int32_t cy = y / 2 + y2 / 2;
  const geometry::TBoxCorners corners = geometry::RotatedBoxCorners(cx, cy, w, h, GetRotation());
  return coordinate < 4 ? corners.X[coordinate] : corners.Y[coordinate - 4];
}

int32_t TPCBObject::GetCornerX1(int32_t e) const { return Corner(0, e); }
int32_t TPCBObject::GetCornerY1(int32_t e) const { return Corner(4, e); }
int32_t TPCBObject::GetCornerX2(int32_t e) const { return Corner(1, e); }
int32_t TPCBObject::GetCornerY2(int32_t e) const { return Corner(5, e); }
int32_t TPCBObject::GetCornerX3(int32_t e) const { return Corner(2, e); }
int32_t TPCBObject::GetCornerY3(int32_t e) const { return Corner(6, e); }
int32_t TPCBObject::GetCornerX4(int32_t e) const { return Corner(3, e); }
int32_t TPCBObject::GetCornerY4(int32_t e) const { return Corner(7, e); }

int32_t TPCBObject::GetSizeOnLayer(TLayerNumber layer) const { return IsOnLayer(layer) ? GetSize() : 0; }
int32_t TPCBObject::GetXSizeOnLayer(TLayerNumber layer) const { return IsOnLayer(layer) ? GetXSize() : 0; }
int32_t TPCBObject::GetYSizeOnLayer(TLayerNumber layer) const { return IsOnLayer(layer) ? GetYSize() : 0; }
uint8_t TPCBObject::GetShapeOnLayer(TLayerNumber layer) const { return IsOnLayer(layer) ? GetShape() : 0; }
int32_t TPCBObject::GetWidthOnLayer(TLayerNumber layer) const { return IsOnLayer(layer) ? GetWidth() : 0; }

int32_t TPCBObject::GetCornerX1OnLayer(TLayerNumber layer, int32_t e) const {
  return IsOnLayer(layer) ? GetCornerX1(e) : 0;
}
int32_t TPCBObject::GetCornerY1OnLayer(TLayerNumber layer, int32_t e) const {
  return IsOnLayer(layer) ? GetCornerY1(e) : 0;
}
int32_t TPCBObject::GetCornerX2OnLayer(TLayerNumber layer, int32_t e) const {
  return IsOnLayer(layer) ? GetCornerX2(e) : 0;
}
int32_t TPCBObject::GetCornerY2OnLayer(TLayerNumber layer, int32_t e) const {
  return IsOnLayer(layer) ? GetCornerY2(e) : 0;
}
int32_t TPCBObject::GetCornerX3OnLayer(TLayerNumber layer, int32_t e) const {
  return IsOnLayer(layer) ? GetCornerX3(e) : 0;
}
int32_t TPCBObject::GetCornerY3OnLayer(TLayerNumber layer, int32_t e) const {
  return IsOnLayer(layer) ? GetCornerY3(e) : 0;
}
int32_t TPCBObject::GetCornerX4OnLayer(TLayerNumber layer, int32_t e) const {
  return IsOnLayer(layer) ? GetCornerX4(e) : 0;
}
int32_t TPCBObject::GetCornerY4OnLayer(TLayerNumber layer, int32_t e) const {
  return IsOnLayer(layer) ? GetCornerY4(e) : 0;
}

int32_t TPCBObject::GetX1OnLayer(TLayerNumber layer) const { return IsOnLayer(layer) ? GetX() : 0; }
int32_t TPCBObject::GetY1OnLayer(TLayerNumber layer) const { return IsOnLayer(layer) ? GetY() : 0; }
int32_t TPCBObject::GetX2OnLayer(TLayerNumber layer) const { return IsOnLayer(layer) ? GetX2() : 0; }
int32_t TPCBObject::GetY2OnLayer(TLayerNumber layer) const { return IsOnLayer(layer) ? GetY2() : 0; }

void TPCBObject::SetHandle(THandle value) { Handle = value; }
void TPCBObject::SetObjectKind(TObjectKind value) { ObjectKind = value; }
void TPCBObject::SetX(int32_t value) { X = value; }
void TPCBObject::SetY(int32_t value) { Y = value; }
void TPCBObject::SetX2(int32_t) {}
void TPCBObject::SetY2(int32_t) {}
void TPCBObject::SetStateFlags(uint16_t value) { StateFlags = value; }
void TPCBObject::SetIndexWord(uint16_t value) { IndexWord = value; }
void TPCBObject::SetLayer(TLayerNumber layer) { LayerId = LayerIdFromNumber(layer); }
void TPCBObject::SetAuxByte(uint8_t value) { AuxByte = value; }
void TPCBObject::SetAuxValue1(int32_t value) { AuxValue1 = value; }
void TPCBObject::SetAuxValue2(int32_t value) { AuxValue2 = value; }
void TPCBObject::SetExtValue1(int32_t) {}
void TPCBObject::SetExtValue2(int32_t) {}
void TPCBObject::SetExtValue3(int32_t) {}
void TPCBObject::SetTopXSize(int32_t) {}
void TPCBObject::SetTopYSize(int32_t) {}
void TPCBObject::SetMidXSize(int32_t) {}
void TPCBObject::SetMidYSize(int32_t) {}
void TPCBObject::SetBotXSize(int32_t) {}
void TPCBObject::SetBotYSize(int32_t) {}
void TPCBObject::SetHoleSize(int32_t) {}
void TPCBObject::SetTopShape(uint8_t) {}
void TPCBObject::SetMidShape(uint8_t) {}
void TPCBObject::SetBotShape(uint8_t) {}
void TPCBObject::SetName(std::string_view) {}
void TPCBObject::SetRotation(double) {}
void TPCBObject::SetWidth(int32_t) {}
void TPCBObject::SetShape(uint8_t) {}
void TPCBObject::SetSize(int32_t) {}
void TPCBObject::SetXSize(int32_t) {}
void TPCBObject::SetYSize(int32_t) {}
void TPCBObject::SetViaAttr1(uint8_t) {}
void TPCBObject::SetViaAttr2(uint8_t) {}
void TPCBObject::SetRadius(int32_t) {}
void TPCBObject::SetStartAngle(double) {}
void TPCBObject::SetEndAngle(double) {}
void TPCBObject::SetLineWidth(int32_t) {}
void TPCBObject::SetTextValue(int32_t) {}
void TPCBObject::SetTextFlag(uint8_t) {}
void TPCBObject::SetText(std::string_view) {}
void TPCBObject::SetFromToAttr1(uint8_t) {}
void TPCBObject::SetFromToAttr2(uint8_t) {}

}  // namespace zz
