#pragma once

// The caller's side of the object queries: every field of a track, fill, arc and pad, passed
// to the stand-in's entry points by address as the plug-in's wrappers pass them. Fields() ties
// them all, so whole records compare in one expectation.

#include <tuple>

#include "standin/PcbServer.h"

// Tests fill these records partly, by position or by name; the rest keeps its defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace standin::test {

struct Common {
  uint16_t StateFlags = 0, IndexWord = 0;
  uint32_t LayerId = 0;
  int32_t AuxValue1 = 0;
  uint8_t AuxByte = 0;
  int32_t AuxValue2 = 0;
  auto Fields() const { return std::tie(StateFlags, IndexWord, LayerId, AuxValue1, AuxByte, AuxValue2); }
};
#define ZZ_TEST_COMMON &C.StateFlags, &C.IndexWord, &C.LayerId, &C.AuxValue1, &C.AuxByte, &C.AuxValue2

struct Track {
  Common C;
  int32_t X = 0, Y = 0, X2 = 0, Y2 = 0, Width = 0, Ext1 = 0, Ext2 = 0, Ext3 = 0;
  zz::TStatus Query(zz::TSyncDirection d, zz::THandle h) {
    return PcbApi_QueryTrack(d, h, ZZ_TEST_COMMON, &X, &Y, &X2, &Y2, &Width, &Ext1, &Ext2, &Ext3);
  }
  auto Fields() const { return std::tuple_cat(C.Fields(), std::tie(X, Y, X2, Y2, Width, Ext1, Ext2, Ext3)); }
};

struct Fill {
  Common C;
  int32_t X = 0, Y = 0, X2 = 0, Y2 = 0, Ext1 = 0;
  double Rotation = 0.0;
  zz::TStatus Query(zz::TSyncDirection d, zz::THandle h) {
    return PcbApi_QueryFill(d, h, ZZ_TEST_COMMON, &X, &Y, &X2, &Y2, &Ext1, &Rotation);
  }
  auto Fields() const { return std::tuple_cat(C.Fields(), std::tie(X, Y, X2, Y2, Ext1, Rotation)); }
};

struct Arc {
  Common C;
  int32_t X = 0, Y = 0, Radius = 0;
  double StartAngle = 0.0, EndAngle = 0.0;
  int32_t LineWidth = 0, Ext1 = 0;
  zz::TStatus Query(zz::TSyncDirection d, zz::THandle h) {
    return PcbApi_QueryArc(d, h, ZZ_TEST_COMMON, &X, &Y, &Radius, &StartAngle, &EndAngle, &LineWidth, &Ext1);
  }
  auto Fields() const {
    return std::tuple_cat(C.Fields(), std::tie(X, Y, Radius, StartAngle, EndAngle, LineWidth, Ext1));
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
    return PcbApi_QueryPad(d, h, ZZ_TEST_COMMON, &X, &Y, &TopX, &TopY, &MidX, &MidY, &BotX, &BotY, &Hole, &TopShape,
                           &MidShape, &BotShape, &Name, &Byte1, &Byte2, &Rotation, &Text1, &Text2, &Value1, &Text3,
                           &Byte3, &Byte4, &Value2, &Value5, &Value3, &Value4, &Value6, &ViaFlag1, &ViaFlag2);
  }
  auto Fields() const {
    return std::tuple_cat(C.Fields(), std::tie(X, Y, TopX, TopY, MidX, MidY, BotX, BotY, Hole, TopShape, MidShape,
                                               BotShape, Byte1, Byte2, Rotation, Value1, Byte3, Byte4, Value2, Value5,
                                               Value3, Value4, Value6, ViaFlag1, ViaFlag2));
  }
  auto Texts() const { return std::make_tuple(Name.Str(), Text1.Str(), Text2.Str(), Text3.Str()); }
};
#undef ZZ_TEST_COMMON

// A new object of the kind, fetched, changed by `set`, stored and added to the current board.
template <typename Fields, typename Set>
zz::THandle Place(uint8_t kind, Set&& set) {
  const zz::THandle h = PcbApi_CreateObject(kind);
  Fields f;
  f.Query(zz::kFetch, h);
  set(f);
  f.Query(zz::kStore, h);
  PcbApi_AddObjectToContainer(PcbApi_GetCurrentBoardHandle(), h);
  return h;
}

}  // namespace standin::test
