#pragma once

// The caller's side of the object queries: every field of a track, fill, arc and pad, passed
// to the stand-in's entry points by address as the plug-in's wrappers pass them.

#include "standin/PcbServer.h"

namespace standin::test {

struct Common {
  uint16_t StateFlags = 0;
  uint16_t IndexWord = 0;
  uint32_t LayerId = 0;
  int32_t AuxValue1 = 0;
  uint8_t AuxByte = 0;
  int32_t AuxValue2 = 0;
};

struct Track {
  Common C;
  int32_t X = 0, Y = 0, X2 = 0, Y2 = 0, Width = 0, Ext1 = 0, Ext2 = 0, Ext3 = 0;
  zz::TStatus Query(zz::TSyncDirection d, zz::THandle h) {
    return PcbApi_QueryTrack(d, h, &C.StateFlags, &C.IndexWord, &C.LayerId, &C.AuxValue1, &C.AuxByte, &C.AuxValue2, &X,
                             &Y, &X2, &Y2, &Width, &Ext1, &Ext2, &Ext3);
  }
};

struct Fill {
  Common C;
  int32_t X = 0, Y = 0, X2 = 0, Y2 = 0, Ext1 = 0;
  double Rotation = 0.0;
  zz::TStatus Query(zz::TSyncDirection d, zz::THandle h) {
    return PcbApi_QueryFill(d, h, &C.StateFlags, &C.IndexWord, &C.LayerId, &C.AuxValue1, &C.AuxByte, &C.AuxValue2, &X,
                            &Y, &X2, &Y2, &Ext1, &Rotation);
  }
};

struct Arc {
  Common C;
  int32_t X = 0, Y = 0, Radius = 0;
  double StartAngle = 0.0, EndAngle = 0.0;
  int32_t LineWidth = 0, Ext1 = 0;
  zz::TStatus Query(zz::TSyncDirection d, zz::THandle h) {
    return PcbApi_QueryArc(d, h, &C.StateFlags, &C.IndexWord, &C.LayerId, &C.AuxValue1, &C.AuxByte, &C.AuxValue2, &X,
                           &Y, &Radius, &StartAngle, &EndAngle, &LineWidth, &Ext1);
  }
};

struct Pad {
  Common C;
  int32_t X = 0, Y = 0, TopX = 0, TopY = 0, MidX = 0, MidY = 0, BotX = 0, BotY = 0, Hole = 0;
  uint8_t TopShape = 0, MidShape = 0, BotShape = 0;
  zz::TText20 Name;
  uint8_t Byte1 = 0, Byte2 = 0;
  double Rotation = 0.0;
  zz::TText20 Text1, Text2;
  int32_t Value1 = 0;
  zz::TText20 Text3;
  uint8_t Byte3 = 0, Byte4 = 0;
  int32_t Value2 = 0;
  int64_t Value5 = 0;
  int32_t Value3 = 0, Value4 = 0, Value6 = 0;
  uint8_t ViaFlag1 = 0, ViaFlag2 = 0;
  zz::TStatus Query(zz::TSyncDirection d, zz::THandle h) {
    return PcbApi_QueryPad(d, h, &C.StateFlags, &C.IndexWord, &C.LayerId, &C.AuxValue1, &C.AuxByte, &C.AuxValue2, &X,
                           &Y, &TopX, &TopY, &MidX, &MidY, &BotX, &BotY, &Hole, &TopShape, &MidShape, &BotShape, &Name,
                           &Byte1, &Byte2, &Rotation, &Text1, &Text2, &Value1, &Text3, &Byte3, &Byte4, &Value2, &Value5,
                           &Value3, &Value4, &Value6, &ViaFlag1, &ViaFlag2);
  }
};

}  // namespace standin::test
