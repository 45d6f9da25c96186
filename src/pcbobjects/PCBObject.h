#pragma once

// TPCBObject: a short-lived wrapper around one object of the host board. It holds the host's
// handle and a local copy of the object's properties; getters and setters work on the copy, and
// Sync exchanges the whole copy with the host in one direction.
//
// The virtual operations are declared in their fixed slot order (the number before each).
// Getters of properties the base class lacks return 0, false, 0.0 or an empty text and their
// setters do nothing; the descendants override them.

#include <cstdint>
#include <string_view>

#include "host/LayerTypes.h"
#include "host/PcbApiEntries.h"

namespace zz {

class TPCBObject {
 public:
  explicit TPCBObject(THandle handle) : TPCBObject(handle, TObjectKind::None) {}
  virtual ~TPCBObject() = default;

  // A wrapper stands for one host object; copies would only blur which copy was stored.
  TPCBObject(const TPCBObject&) = delete;
  TPCBObject& operator=(const TPCBObject&) = delete;

  /*   0 */ virtual TStatus Sync(TSyncDirection direction);
  /*   1 */ virtual TStatus GetBoundingRectangle(int32_t& v1, int32_t& v2, int32_t& v3, int32_t& v4) const;
  /*   2 */ virtual void MoveBy(int32_t dx, int32_t dy);
  /*   3 */ virtual bool ImportFromUser();
  /*   4 */ virtual TStatus GraphicallyInvalidate();
  /*   5 */ virtual bool GetStateFlag0010() const;
  /*   6 */ virtual bool GetBitField2Bit10() const;
  /*   7 */ virtual bool GetBitField2Bit01() const;
  /*   8 */ virtual bool GetBitField2Bit02() const;
  /*   9 */ virtual bool GetBitField2Bit08() const;
  /*  10 */ virtual bool GetBitField2Bit20() const;
  /*  11 */ virtual bool GetBitField2Bit40() const;
  /*  12 */ virtual void SetStateFlag0010(bool b);
  /*  13 */ virtual bool GetStateFlag0008() const;
  /*  14 */ virtual void SetStateFlag0008AndStore(bool b);
  /*  15 */ virtual bool GetStateFlag0100Clear() const;
  /*  16 */ virtual void SetStateFlag0100ClearAndStore(bool b);
  /*  17 */ virtual bool GetBitField3Any() const;
  /*  18 */ virtual void SetBitField3Both(bool b);
  /*  19 */ virtual bool GetBitField3Bit02() const;
  /*  20 */ virtual void SetBitField3Bit02(bool b);
  /*  21 */ virtual bool GetBitField3Bit04() const;
  /*  22 */ virtual void SetBitField3Bit04(bool b);
  /*  23 */ virtual bool GetStateFlag0800() const;
  /*  24 */ virtual void SetStateFlag0800(bool b);
  /*  25 */ virtual bool GetStateFlag2000() const;
  /*  26 */ virtual void SetStateFlag2000(bool b);
  /*  27 */ virtual bool GetPadViaFlag1() const;
  /*  28 */ virtual void SetPadViaFlag1(bool b);
  /*  29 */ virtual bool GetPadViaFlag2() const;
  /*  30 */ virtual void SetPadViaFlag2(bool b);
  /*  31 */ virtual bool GetStateFlag1000() const;
  /*  32 */ virtual void SetStateFlag1000(bool b);
  /*  33 */ virtual bool GetStateFlag4000() const;
  /*  34 */ virtual void SetStateFlag4000(bool b);
  /*  35 */ virtual bool GetStateFlag8000() const;
  /*  36 */ virtual void SetStateFlag8000(bool b);
  /*  37 */ virtual THandle GetHandle() const;
  /*  38 */ virtual TObjectKind GetObjectKind() const;
  /*  39 */ virtual int32_t GetX() const;
  /*  40 */ virtual int32_t GetY() const;
  /*  41 */ virtual int32_t GetX2() const;
  /*  42 */ virtual int32_t GetY2() const;
  /*  43 */ virtual uint16_t GetStateFlags() const;
  /*  44 */ virtual uint16_t GetIndexWord() const;
  /*  45 */ virtual TLayerNumber GetLayer() const;
  /*  46 */ virtual uint8_t GetAuxByte() const;
  /*  47 */ virtual int32_t GetAuxValue1() const;
  /*  48 */ virtual int32_t GetAuxValue2() const;
  /*  49 */ virtual int32_t GetExtValue1() const;
  /*  50 */ virtual int32_t GetExtValue2() const;
  /*  51 */ virtual int32_t GetExtValue3() const;
  /*  52 */ virtual int32_t GetTopXSize() const;
  /*  53 */ virtual int32_t GetTopYSize() const;
  /*  54 */ virtual int32_t GetMidXSize() const;
  /*  55 */ virtual int32_t GetMidYSize() const;
  /*  56 */ virtual int32_t GetBotXSize() const;
  /*  57 */ virtual int32_t GetBotYSize() const;
  /*  58 */ virtual int32_t GetHoleSize() const;
  /*  59 */ virtual uint8_t GetTopShape() const;
  /*  60 */ virtual uint8_t GetMidShape() const;
  /*  61 */ virtual uint8_t GetBotShape() const;
  /*  62 */ virtual void GetName(TText255& out) const;
  /*  63 */ virtual double GetRotation() const;
  /*  64 */ virtual int32_t GetWidth() const;
  /*  65 */ virtual uint8_t GetShape() const;
  /*  66 */ virtual int32_t GetSize() const;
  /*  67 */ virtual int32_t GetXSize() const;
  /*  68 */ virtual int32_t GetYSize() const;
  /*  69 */ virtual uint8_t GetViaAttr1() const;
  /*  70 */ virtual uint8_t GetViaAttr2() const;
  /*  71 */ virtual int32_t GetRadius() const;
  /*  72 */ virtual double GetStartAngle() const;
  /*  73 */ virtual double GetEndAngle() const;
  /*  74 */ virtual int32_t GetLineWidth() const;
  /*  75 */ virtual int32_t GetBoundsValue1() const;
  /*  76 */ virtual int32_t GetBoundsValue2() const;
  /*  77 */ virtual int32_t GetBoundsValue3() const;
  /*  78 */ virtual int32_t GetBoundsValue4() const;
  /*  79 */ virtual int32_t GetTextValue() const;
  /*  80 */ virtual uint8_t GetTextFlag() const;
  /*  81 */ virtual void GetText(TText255& out) const;
  /*  82 */ virtual uint8_t GetFromToAttr1() const;
  /*  83 */ virtual uint8_t GetFromToAttr2() const;
  /*  84 */ virtual int32_t GetCornerX1(int32_t e) const;
  /*  85 */ virtual int32_t GetCornerY1(int32_t e) const;
  /*  86 */ virtual int32_t GetCornerX2(int32_t e) const;
  /*  87 */ virtual int32_t GetCornerY2(int32_t e) const;
  /*  88 */ virtual int32_t GetCornerX3(int32_t e) const;
  /*  89 */ virtual int32_t GetCornerY3(int32_t e) const;
  /*  90 */ virtual int32_t GetCornerX4(int32_t e) const;
  /*  91 */ virtual int32_t GetCornerY4(int32_t e) const;
  /*  92 */ virtual int32_t GetSizeOnLayer(TLayerNumber layer) const;
  /*  93 */ virtual int32_t GetXSizeOnLayer(TLayerNumber layer) const;
  /*  94 */ virtual int32_t GetYSizeOnLayer(TLayerNumber layer) const;
  /*  95 */ virtual uint8_t GetShapeOnLayer(TLayerNumber layer) const;
  /*  96 */ virtual int32_t GetWidthOnLayer(TLayerNumber layer) const;
  /*  97 */ virtual int32_t GetCornerX1OnLayer(TLayerNumber layer, int32_t e) const;
  /*  98 */ virtual int32_t GetCornerY1OnLayer(TLayerNumber layer, int32_t e) const;
  /*  99 */ virtual int32_t GetCornerX2OnLayer(TLayerNumber layer, int32_t e) const;
  /* 100 */ virtual int32_t GetCornerY2OnLayer(TLayerNumber layer, int32_t e) const;
  /* 101 */ virtual int32_t GetCornerX3OnLayer(TLayerNumber layer, int32_t e) const;
  /* 102 */ virtual int32_t GetCornerY3OnLayer(TLayerNumber layer, int32_t e) const;
  /* 103 */ virtual int32_t GetCornerX4OnLayer(TLayerNumber layer, int32_t e) const;
  /* 104 */ virtual int32_t GetCornerY4OnLayer(TLayerNumber layer, int32_t e) const;
  /* 105 */ virtual int32_t GetX1OnLayer(TLayerNumber layer) const;
  /* 106 */ virtual int32_t GetY1OnLayer(TLayerNumber layer) const;
  /* 107 */ virtual int32_t GetX2OnLayer(TLayerNumber layer) const;
  /* 108 */ virtual int32_t GetY2OnLayer(TLayerNumber layer) const;
  /* 109 */ virtual void SetHandle(THandle value);
  /* 110 */ virtual void SetObjectKind(TObjectKind value);
  /* 111 */ virtual void SetX(int32_t value);
  /* 112 */ virtual void SetY(int32_t value);
  /* 113 */ virtual void SetX2(int32_t value);
  /* 114 */ virtual void SetY2(int32_t value);
  /* 115 */ virtual void SetStateFlags(uint16_t value);
  /* 116 */ virtual void SetIndexWord(uint16_t value);
  /* 117 */ virtual void SetLayer(TLayerNumber layer);
  /* 118 */ virtual void SetAuxByte(uint8_t value);
  /* 119 */ virtual void SetAuxValue1(int32_t value);
  /* 120 */ virtual void SetAuxValue2(int32_t value);
  /* 121 */ virtual void SetExtValue1(int32_t value);
  /* 122 */ virtual void SetExtValue2(int32_t value);
  /* 123 */ virtual void SetExtValue3(int32_t value);
  /* 124 */ virtual void SetTopXSize(int32_t value);
  /* 125 */ virtual void SetTopYSize(int32_t value);
  /* 126 */ virtual void SetMidXSize(int32_t value);
  /* 127 */ virtual void SetMidYSize(int32_t value);
  /* 128 */ virtual void SetBotXSize(int32_t value);
  /* 129 */ virtual void SetBotYSize(int32_t value);
  /* 130 */ virtual void SetHoleSize(int32_t value);
  /* 131 */ virtual void SetTopShape(uint8_t value);
  /* 132 */ virtual void SetMidShape(uint8_t value);
  /* 133 */ virtual void SetBotShape(uint8_t value);
  /* 134 */ virtual void SetName(std::string_view text);
  /* 135 */ virtual void SetRotation(double degrees);
  /* 136 */ virtual void SetWidth(int32_t value);
  /* 137 */ virtual void SetShape(uint8_t value);
  /* 138 */ virtual void SetSize(int32_t value);
  /* 139 */ virtual void SetXSize(int32_t value);
  /* 140 */ virtual void SetYSize(int32_t value);
  /* 141 */ virtual void SetViaAttr1(uint8_t value);
  /* 142 */ virtual void SetViaAttr2(uint8_t value);
  /* 143 */ virtual void SetRadius(int32_t value);
  /* 144 */ virtual void SetStartAngle(double degrees);
  /* 145 */ virtual void SetEndAngle(double degrees);
  /* 146 */ virtual void SetLineWidth(int32_t value);
  /* 147 */ virtual void SetTextValue(int32_t value);
  /* 148 */ virtual void SetTextFlag(uint8_t value);
  /* 149 */ virtual void SetText(std::string_view text);
  /* 150 */ virtual void SetFromToAttr1(uint8_t value);
  /* 151 */ virtual void SetFromToAttr2(uint8_t value);

  // True when the object lies on classic layer `layer`: its identifier equals that layer's.
  bool IsOnLayer(TLayerNumber layer) const { return LayerIdFromNumber(layer) == LayerId; }

  THandle Handle = 0;
  TObjectKind ObjectKind = TObjectKind::None;
  int32_t X = 0;
  int32_t Y = 0;
  uint16_t StateFlags = 0;
  uint8_t BitField2 = 0;
  uint8_t BitField3 = 0;
  uint16_t IndexWord = 0;
  uint8_t AuxByte = 0;
  int32_t AuxValue1 = 0;
  int32_t AuxValue2 = 0;
  TLayerIdentifier LayerId = 0;

 protected:
  TPCBObject(THandle handle, TObjectKind kind) : Handle(handle), ObjectKind(kind) {}

  // The two flag-byte exchanges that open every Sync, in every class.
  void SyncBitFields(TSyncDirection direction);

  void SetStateFlag(uint16_t mask, bool b) {
    StateFlags = b ? static_cast<uint16_t>(StateFlags | mask) : static_cast<uint16_t>(StateFlags & ~mask);
  }
  bool StateFlag(uint16_t mask) const { return (StateFlags & mask) != 0; }

 private:
  int32_t BoundsValue(int index) const;
  int32_t Corner(int coordinate, int32_t e) const;
};

}  // namespace zz
