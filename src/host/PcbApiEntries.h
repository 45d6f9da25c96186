#pragma once

// The entry points of the host PCB server library that the plug-in calls, with their exact
// argument types and order. This list is the ABI contract with the host: the guarded routines
// are generated from it, and a stand-in for the host can declare its exports from it.
//
// ZZ_PCBAPI_ENTRIES(X) calls X(Name, ResultType, NeutralResult, (Parameters), (Arguments))
// once per entry point. NeutralResult is what the guarded routine yields when the entry point
// is not bound; for entry points without a result it is ignored. A result has exactly the width
// the host gives it: a host built by another compiler defines only the low byte of the result
// register for a byte result, so reading 32 bits there would read whatever the host left above.

#include <cstdint>

#include "host/ShortString.h"

namespace zz {

using TSyncDirection = uint8_t;  // 1 = fetch (host fills), 0 = store (host takes)
constexpr TSyncDirection kFetch = 1;
constexpr TSyncDirection kStore = 0;

using THandle = int32_t;  // host board or object handle, 0 = none
using TStatus = int32_t;  // host status, 0 = success

using TText20 = TShortString<20>;
using TText250 = TShortString<250>;
using TText254 = TShortString<254>;
using TText255 = TShortString<255>;

constexpr int kPrinterBlockSize = 27;
constexpr int kShapeBlockSize = 185037;
constexpr int kEmbeddedBufferSize = 4096;

}  // namespace zz

// clang-format off
#define ZZ_PCBAPI_COMMON_P uint16_t* StateFlags, uint16_t* IndexWord, uint32_t* LayerId, int32_t* AuxValue1, uint8_t* AuxByte, int32_t* AuxValue2
#define ZZ_PCBAPI_COMMON_A StateFlags, IndexWord, LayerId, AuxValue1, AuxByte, AuxValue2

#define ZZ_PCBAPI_ENTRIES(X) \
  X(PcbApi_GetObjectIdFromObjectHandle, uint8_t, 0, (::zz::THandle Handle), (Handle)) \
  X(PcbApi_CreateObject, ::zz::THandle, 0, (uint8_t Kind), (Kind)) \
  X(PcbApi_GetCurrentBoardHandle, ::zz::THandle, 0, (), ()) \
  X(PcbApi_Percent_Init, void, 0, (const ::zz::TText255* Text, int32_t Total), (Text, Total)) \
  X(PcbApi_Percent_Update, void, 0, (), ()) \
  X(PcbApi_Percent_Finish, void, 0, (), ()) \
  X(PcbApi_QueryBoard, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Board, int32_t* Header1, ::zz::TText255* Header2, uint8_t* Header3, \
     int32_t* Header4, int32_t* Header5, int32_t* Header6, int32_t* Header7, uint8_t* Header8, uint32_t* CurrentLayerId, \
     int32_t* Trailer), \
    (Direction, Board, Header1, Header2, Header3, Header4, Header5, Header6, Header7, Header8, CurrentLayerId, Trailer)) \
  X(PcbApi_QueryBoardGridsEx, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Board, uint8_t* G14, uint8_t* G1, uint8_t* G2, uint8_t* G3, double* G4, \
     double* G5, double* G7, double* G8, int32_t* E1, uint8_t* E2, double* G9, double* G10, double* G12, double* G13), \
    (Direction, Board, G14, G1, G2, G3, G4, G5, G7, G8, E1, E2, G9, G10, G12, G13)) \
  X(PcbApi_QueryBoardSplitPlaneMode, ::zz::TStatus, 1, \
    (::zz::TSyncDirection Direction, ::zz::THandle Board, uint8_t* Mode), (Direction, Board, Mode)) \
  X(PcbApi_QueryBoardLayerPairsCount, ::zz::TStatus, 1, \
    (::zz::THandle Board, int32_t* Count, uint8_t AskCount), (Board, Count, AskCount)) \
  X(PcbApi_QueryBoardLayerPairAt, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Board, uint8_t Index, uint32_t* LayerIdA, uint32_t* LayerIdB, \
     uint8_t* PairFlag2, uint8_t* PairFlag1), \
    (Direction, Board, Index, LayerIdA, LayerIdB, PairFlag2, PairFlag1)) \
  X(PcbApi_QueryBoardEngineeringChangeOrderOptions, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Board, uint8_t* Option, ::zz::TText255* Text), \
    (Direction, Board, Option, Text)) \
  X(PcbApi_QueryBoardOutputOptions, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Board, int32_t* V1, int32_t* V2, uint8_t* B1, uint8_t* B2, uint8_t* B3, \
     uint8_t* B4, uint8_t* B5, uint8_t* B6, uint8_t* B7, uint8_t* B8, uint8_t* B9, uint8_t* B10, uint8_t* B11, uint8_t* B12, \
     uint8_t* B13, uint8_t* B14, uint8_t* B15, uint8_t* B16, uint8_t* B17, uint8_t* B18, uint8_t* B19, uint8_t* B20, \
     uint8_t* B21, uint8_t* B22), \
    (Direction, Board, V1, V2, B1, B2, B3, B4, B5, B6, B7, B8, B9, B10, B11, B12, B13, B14, B15, B16, B17, B18, B19, B20, \
     B21, B22)) \
  X(PcbApi_QueryBoardOutputOptionsPlotLayers, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Board, uint8_t Index, uint8_t* Value), (Direction, Board, Index, Value)) \
  X(PcbApi_QueryBoardOutputOptionsFlipLayers, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Board, uint8_t Index, uint8_t* Value), (Direction, Board, Index, Value)) \
  X(PcbApi_QueryBoardAdvancedPlacerOptions, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Board, ::zz::TText255* T1, ::zz::TText255* T2, uint8_t* B1, uint8_t* B2, \
     uint8_t* B3, uint8_t* B4), \
    (Direction, Board, T1, T2, B1, B2, B3, B4)) \
  X(PcbApi_QueryBoardGerberOptions, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Board, uint8_t* F1, uint8_t* F2, uint8_t* F3, uint8_t* F4, int32_t* F13, \
     uint8_t* F5, uint8_t* F6, uint8_t* F7, uint8_t* F8, uint8_t* F9, uint8_t* F10, int32_t* F11, ::zz::TText255* F12, \
     int32_t* F14, int32_t* F15, int32_t* F17, int32_t* F18, int32_t* F19, int32_t* F16), \
    (Direction, Board, F1, F2, F3, F4, F13, F5, F6, F7, F8, F9, F10, F11, F12, F14, F15, F17, F18, F19, F16)) \
  X(PcbApi_QueryBoardPrinterOptions, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Board, ::zz::TText255* T1, ::zz::TText255* T2, ::zz::TText255* T3, \
     uint8_t* B1, uint8_t* B2, uint8_t* B3, uint8_t* B4, uint8_t* B5, uint8_t* B6, int32_t* V1, double* D1, double* D2, \
     double* D3, uint8_t* Block27, uint8_t* B7, uint8_t* B8, double* D4, double* D5, double* D6, int32_t* V2, int32_t* V3, \
     uint8_t* B9, uint8_t* B10, uint8_t* B11, uint8_t* B12, uint8_t* B13), \
    (Direction, Board, T1, T2, T3, B1, B2, B3, B4, B5, B6, V1, D1, D2, D3, Block27, B7, B8, D4, D5, D6, V2, V3, B9, B10, B11, \
     B12, B13)) \
  X(PcbApi_QueryBoardPrinterOptionsPlotterPen, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Board, uint8_t Index, int32_t* V1, int32_t* V2), \
    (Direction, Board, Index, V1, V2)) \
  X(PcbApi_QueryBoardPrinterOptionsCompositeLayer, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Board, uint8_t Index, int32_t* V1, int32_t* V2, uint8_t* B1, int32_t* V3), \
    (Direction, Board, Index, V1, V2, B1, V3)) \
  X(PcbApi_QueryEmbedded, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Handle, ::zz::TText255* Text, uint8_t* Buffer4096), \
    (Direction, Handle, Text, Buffer4096)) \
  X(PcbApi_QueryRule, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Handle, uint8_t* B1, uint8_t* B2, uint8_t* B3, uint8_t* B4, uint8_t* B5, \
     uint8_t* B6, uint8_t* B7, ::zz::TText255* T1, ::zz::TText255* T2, ::zz::TText255* T3, ::zz::TText255* T4, uint8_t* B8, \
     uint8_t* B9, int32_t* V1, int32_t* V2, int32_t* V3, int32_t* V4, ::zz::TText255* T5, ::zz::TText255* T6, \
     ::zz::TText255* T7, ::zz::TText255* T8, ::zz::TText255* T9, ::zz::TText255* T10), \
    (Direction, Handle, B1, B2, B3, B4, B5, B6, B7, T1, T2, T3, T4, B8, B9, V1, V2, V3, V4, T5, T6, T7, T8, T9, T10)) \
  X(PcbApi_QueryLayer, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, uint8_t LayerNumber, ::zz::THandle Board, ::zz::TText255* Name, int32_t* CopperThickness, \
     uint8_t* LayerFlag1, uint8_t* LayerFlag2, uint8_t* PrevLayer, uint8_t* NextLayer, uint8_t* LayerFlag3), \
    (Direction, LayerNumber, Board, Name, CopperThickness, LayerFlag1, LayerFlag2, PrevLayer, NextLayer, LayerFlag3)) \
  X(PcbApi_QueryInternalPlane, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, uint8_t LayerNumber, ::zz::THandle Board, ::zz::TText255* Name, int32_t* CopperThickness, \
     uint8_t* LayerFlag1, uint8_t* LayerFlag2, uint8_t* PrevLayer, uint8_t* NextLayer, ::zz::TText255* NetName), \
    (Direction, LayerNumber, Board, Name, CopperThickness, LayerFlag1, LayerFlag2, PrevLayer, NextLayer, NetName)) \
  X(PcbApi_QueryLayerDielectric, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, uint8_t LayerNumber, ::zz::THandle Board, ::zz::TText255* Material, uint8_t* Type, \
     double* Constant, int32_t* Height), \
    (Direction, LayerNumber, Board, Material, Type, Constant, Height)) \
  X(PcbApi_QueryBoardExternalDielectrics, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Board, ::zz::TText255* Material1, uint8_t* Type1, double* Constant1, \
     int32_t* Height1, ::zz::TText255* Material2, uint8_t* Type2, double* Constant2, int32_t* Height2), \
    (Direction, Board, Material1, Type1, Constant1, Height1, Material2, Type2, Constant2, Height2)) \
  X(PcbApi_QueryViolation, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Handle, ::zz::TText255* T1, ::zz::TText255* T2, int32_t* V1, int32_t* V2, \
     int32_t* V3), \
    (Direction, Handle, T1, T2, V1, V2, V3)) \
  X(PcbApi_QueryBoardLayerInfo, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Board, uint8_t LayerNumber, uint8_t* Scratch1, uint8_t* Scratch2, \
     int32_t* Info), \
    (Direction, Board, LayerNumber, Scratch1, Scratch2, Info)) \
  X(PcbApi_QueryPrimitive, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Handle, uint16_t* StateFlags, uint16_t* IndexWord, uint32_t* LayerId, \
     int32_t* AuxValue1, int32_t* AuxValue2, uint8_t* AuxByte), \
    (Direction, Handle, StateFlags, IndexWord, LayerId, AuxValue1, AuxValue2, AuxByte)) \
  X(PcbApi_QueryFill, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Handle, ZZ_PCBAPI_COMMON_P, int32_t* X, int32_t* Y, int32_t* X2, \
     int32_t* Y2, int32_t* ExtValue1, double* Rotation), \
    (Direction, Handle, ZZ_PCBAPI_COMMON_A, X, Y, X2, Y2, ExtValue1, Rotation)) \
  X(PcbApi_QueryArc, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Handle, ZZ_PCBAPI_COMMON_P, int32_t* X, int32_t* Y, int32_t* Radius, \
     double* StartAngle, double* EndAngle, int32_t* LineWidth, int32_t* ExtValue1), \
    (Direction, Handle, ZZ_PCBAPI_COMMON_A, X, Y, Radius, StartAngle, EndAngle, LineWidth, ExtValue1)) \
  X(PcbApi_QueryEmbeddedBoard, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Handle, uint16_t* StateFlags, uint16_t* IndexWord, uint8_t* AuxByte, \
     int32_t* X, int32_t* Y, ::zz::TText255* BoardText, int32_t* V1, int32_t* V2, int32_t* V3, int32_t* V4, double* D1, \
     uint8_t* TextFlag, uint8_t* B1), \
    (Direction, Handle, StateFlags, IndexWord, AuxByte, X, Y, BoardText, V1, V2, V3, V4, D1, TextFlag, B1)) \
  X(PcbApi_QueryText, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Handle, ZZ_PCBAPI_COMMON_P, int32_t* X, int32_t* Y, int32_t* Size, \
     int32_t* TextValue, double* Rotation, uint8_t* TextFlag, ::zz::TText254* TextString, int32_t* Width, \
     int32_t* ExtValue2, int32_t* ExtValue3), \
    (Direction, Handle, ZZ_PCBAPI_COMMON_A, X, Y, Size, TextValue, Rotation, TextFlag, TextString, Width, ExtValue2, \
     ExtValue3)) \
  X(PcbApi_QueryTrueTypeTextInfo, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Handle, uint8_t* TrueTypeFlag, ::zz::TText255* FontName, \
     uint8_t* FontByte1, uint8_t* FontByte2, uint8_t* FontByte3, int32_t* FontValue), \
    (Direction, Handle, TrueTypeFlag, FontName, FontByte1, FontByte2, FontByte3, FontValue)) \
  X(PcbApi_QueryBarCodeTextInfo, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Handle, uint8_t* B1, uint8_t* B2, uint8_t* B3, uint8_t* B4), \
    (Direction, Handle, B1, B2, B3, B4)) \
  X(PcbApi_QueryVia, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Handle, uint16_t* StateFlags, uint16_t* IndexWord, uint8_t* LayerNumber, \
     int32_t* AuxValue1, uint8_t* AuxByte, int32_t* AuxValue2, int32_t* X, int32_t* Y, int32_t* Size, int32_t* HoleSize, \
     uint8_t* ViaAttr1, uint8_t* ViaAttr2, uint8_t* PadViaFlag1, uint8_t* PadViaFlag2), \
    (Direction, Handle, StateFlags, IndexWord, LayerNumber, AuxValue1, AuxByte, AuxValue2, X, Y, Size, HoleSize, ViaAttr1, \
     ViaAttr2, PadViaFlag1, PadViaFlag2)) \
  X(PcbApi_QueryTrack, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Handle, ZZ_PCBAPI_COMMON_P, int32_t* X, int32_t* Y, int32_t* X2, \
     int32_t* Y2, int32_t* Width, int32_t* ExtValue1, int32_t* ExtValue2, int32_t* ExtValue3), \
    (Direction, Handle, ZZ_PCBAPI_COMMON_A, X, Y, X2, Y2, Width, ExtValue1, ExtValue2, ExtValue3)) \
  X(PcbApi_QueryPad, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Handle, ZZ_PCBAPI_COMMON_P, int32_t* X, int32_t* Y, int32_t* TopXSize, \
     int32_t* TopYSize, int32_t* MidXSize, int32_t* MidYSize, int32_t* BotXSize, int32_t* BotYSize, int32_t* HoleSize, \
     uint8_t* TopShape, uint8_t* MidShape, uint8_t* BotShape, ::zz::TText20* Name, uint8_t* PadByte1, uint8_t* PadByte2, \
     double* Rotation, ::zz::TText20* PadText1, ::zz::TText20* PadText2, int32_t* PadValue1, ::zz::TText20* PadText3, \
     uint8_t* PadByte3, uint8_t* PadByte4, int32_t* PadValue2, int64_t* PadValue5, int32_t* PadValue3, int32_t* PadValue4, \
     int32_t* PadValue6, uint8_t* PadViaFlag1, uint8_t* PadViaFlag2), \
    (Direction, Handle, ZZ_PCBAPI_COMMON_A, X, Y, TopXSize, TopYSize, MidXSize, MidYSize, BotXSize, BotYSize, HoleSize, \
     TopShape, MidShape, BotShape, Name, PadByte1, PadByte2, Rotation, PadText1, PadText2, PadValue1, PadText3, PadByte3, \
     PadByte4, PadValue2, PadValue5, PadValue3, PadValue4, PadValue6, PadViaFlag1, PadViaFlag2)) \
  X(PcbApi_QueryPadOrViaShapeOnLayer, ::zz::TStatus, 0, \
    (::zz::THandle Handle, uint8_t Layer, uint8_t* Shape), (Handle, Layer, Shape)) \
  X(PcbApi_QueryPadOrViaSizeOnLayer, ::zz::TStatus, 0, \
    (::zz::THandle Handle, uint8_t Layer, int32_t* XSize, int32_t* YSize), (Handle, Layer, XSize, YSize)) \
  X(PcbApi_QueryPadCornerRadiusOnLayer, ::zz::TStatus, 0, \
    (::zz::THandle Handle, uint8_t Layer, int32_t* Radius), (Handle, Layer, Radius)) \
  X(PcbApi_QueryPadCRPercentageOnLayer, ::zz::TStatus, 0, \
    (::zz::THandle Handle, uint8_t Layer, uint8_t* Percent), (Handle, Layer, Percent)) \
  X(PcbApi_SetPadShapeOnLayer, ::zz::TStatus, 0, \
    (::zz::THandle Handle, uint8_t Layer, uint8_t Shape), (Handle, Layer, Shape)) \
  X(PcbApi_SetPadSizeOnLayer, ::zz::TStatus, 0, \
    (::zz::THandle Handle, uint8_t Layer, int32_t XSize, int32_t YSize), (Handle, Layer, XSize, YSize)) \
  X(PcbApi_SetCRPctOnLayer, ::zz::TStatus, 0, \
    (::zz::THandle Handle, uint8_t Layer, uint8_t Percent), (Handle, Layer, Percent)) \
  X(PcbApi_QueryPadStackMode, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Handle, uint8_t* StackMode), (Direction, Handle, StackMode)) \
  X(PcbApi_QueryCoordinate, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Handle, uint16_t* StateFlags, uint16_t* IndexWord, uint8_t* AuxByte, \
     int32_t* X, int32_t* Y, uint32_t* LayerId, int32_t* V1, int32_t* V2, int32_t* V3, int32_t* V4, int32_t* V5, int32_t* V6), \
    (Direction, Handle, StateFlags, IndexWord, AuxByte, X, Y, LayerId, V1, V2, V3, V4, V5, V6)) \
  X(PcbApi_QueryDimension, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Handle, uint16_t* StateFlags, uint16_t* IndexWord, uint8_t* AuxByte, \
     int32_t* X, int32_t* Y, int32_t* D1, int32_t* D2, uint32_t* LayerId, int32_t* D3, int32_t* D4, int32_t* D5, int32_t* D6, \
     int32_t* D7, uint8_t* D8), \
    (Direction, Handle, StateFlags, IndexWord, AuxByte, X, Y, D1, D2, LayerId, D3, D4, D5, D6, D7, D8)) \
  X(PcbApi_QueryExtDimension, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Handle, uint8_t* E1, int32_t* E2, int32_t* E3, int32_t* E4, uint8_t* E5, \
     int32_t* E6, ::zz::TText255* E7, uint8_t* E8, int32_t* E9, ::zz::TText255* E10, ::zz::TText255* E11, double* E12, \
     int32_t* E13, int32_t* E14, int32_t* E15, uint8_t* E16, int32_t* E17, int32_t* E18, int32_t* E19), \
    (Direction, Handle, E1, E2, E3, E4, E5, E6, E7, E8, E9, E10, E11, E12, E13, E14, E15, E16, E17, E18, E19)) \
  X(PcbApi_References_Count, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Handle, int32_t* Count), (Direction, Handle, Count)) \
  X(PcbApi_References_At, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Handle, int32_t Index, int32_t* V1, int32_t* V2, int32_t* V3, int32_t* V4), \
    (Direction, Handle, Index, V1, V2, V3, V4)) \
  X(PcbApi_QueryPolygon, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Handle, uint16_t* StateFlags, uint16_t* IndexWord, uint32_t* LayerId, \
     int32_t* AuxValue1, uint8_t* AuxByte, uint8_t* PolyByte2, uint8_t* PolyByte3, uint8_t* PolyByte4, int32_t* PolyValue1, \
     int32_t* PolyValue2, uint8_t* TrailByte1, uint8_t* TrailByte2, int32_t* PolyValue3, uint8_t* PolyByte1, \
     int32_t* PolyValue4, uint8_t* ShapeBlock), \
    (Direction, Handle, StateFlags, IndexWord, LayerId, AuxValue1, AuxByte, PolyByte2, PolyByte3, PolyByte4, PolyValue1, \
     PolyValue2, TrailByte1, TrailByte2, PolyValue3, PolyByte1, PolyValue4, ShapeBlock)) \
  X(PcbApi_QuerySplitPlane, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Handle, uint16_t* StateFlags, uint16_t* IndexWord, uint32_t* LayerId, \
     int32_t* AuxValue1, uint8_t* AuxByte, uint8_t* Byte1, int32_t* Value1, uint8_t* ShapeBlock), \
    (Direction, Handle, StateFlags, IndexWord, LayerId, AuxValue1, AuxByte, Byte1, Value1, ShapeBlock)) \
  X(PcbApi_QueryComponent, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Handle, uint16_t* StateFlags, uint16_t* IndexWord, uint8_t* LayerNumber, \
     uint8_t* AuxByte, int32_t* DesignatorHandle, int32_t* SecondHandle, ::zz::TText250* Text, uint8_t* B1, uint8_t* B2, \
     int32_t* X, int32_t* Y, int32_t* V1, double* Rotation, uint8_t* B3), \
    (Direction, Handle, StateFlags, IndexWord, LayerNumber, AuxByte, DesignatorHandle, SecondHandle, Text, B1, B2, X, Y, V1, \
     Rotation, B3)) \
  X(PcbApi_QueryComponentEx, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Handle, int32_t* V1, uint8_t* B1, uint8_t* B2, int32_t* V2), \
    (Direction, Handle, V1, B1, B2, V2)) \
  X(PcbApi_QueryComponentSourceLinks, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Handle, ::zz::TText255* L1, ::zz::TText255* L2, ::zz::TText255* L3, \
     ::zz::TText255* L4, ::zz::TText255* L5, ::zz::TText255* L6, ::zz::TText255* L7, ::zz::TText255* L8), \
    (Direction, Handle, L1, L2, L3, L4, L5, L6, L7, L8)) \
  X(PcbApi_QueryDefaultPCB3DModel, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Handle, ::zz::TText255* Model), (Direction, Handle, Model)) \
  X(PcbApi_QueryComponentChannelOffset, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Handle, int32_t* ChannelOffset), (Direction, Handle, ChannelOffset)) \
  X(PcbApi_QueryComponentKind, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Handle, int32_t* ComponentKind), (Direction, Handle, ComponentKind)) \
  X(PcbApi_QueryFromTo, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Handle, uint16_t* IndexWord, int32_t* X, int32_t* Y, uint8_t* FromToAttr1, \
     int32_t* X2, int32_t* Y2, uint8_t* FromToAttr2, int32_t* AuxValue1), \
    (Direction, Handle, IndexWord, X, Y, FromToAttr1, X2, Y2, FromToAttr2, AuxValue1)) \
  X(PcbApi_QueryManualFromTo, ::zz::TStatus, 1, \
    (::zz::TSyncDirection Direction, ::zz::THandle Handle, uint16_t* IndexWord, ::zz::TText255* T1, ::zz::TText255* T2, \
     ::zz::TText255* T3, int32_t* V1), \
    (Direction, Handle, IndexWord, T1, T2, T3, V1)) \
  X(PcbApi_QueryNet, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Handle, uint16_t* IndexWord, ::zz::TText255* Name, uint8_t* B1, \
     uint8_t* B2), \
    (Direction, Handle, IndexWord, Name, B1, B2)) \
  X(PcbApi_QueryClass, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Handle, uint16_t* IndexWord, uint8_t* B1, uint8_t* B2, \
     ::zz::TText255* Name), \
    (Direction, Handle, IndexWord, B1, B2, Name)) \
  X(PcbApi_AddMemberToClass, ::zz::TStatus, 1, \
    (::zz::THandle ClassHandle, const ::zz::TText255* Member), (ClassHandle, Member)) \
  X(PcbApi_GetMemberFromClassAt, ::zz::TStatus, 1, \
    (::zz::THandle ClassHandle, int32_t Index, ::zz::TText255* Member), (ClassHandle, Index, Member)) \
  X(PcbApi_RemoveAllMembersFromClass, ::zz::TStatus, 1, (::zz::THandle ClassHandle), (ClassHandle)) \
  X(PcbApi_AddObjectToContainer, ::zz::TStatus, 0, \
    (::zz::THandle Board, ::zz::THandle Object), (Board, Object)) \
  X(PcbApi_QueryObjectBoundingRectangle, ::zz::TStatus, 0, \
    (::zz::THandle Handle, int32_t* V1, int32_t* V2, int32_t* V3, int32_t* V4), (Handle, V1, V2, V3, V4)) \
  X(PcbApi_QueryObjectImport_FromUser, ::zz::TStatus, 0, (::zz::THandle Handle), (Handle)) \
  X(PcbApi_QueryObjectGraphicallyInvalidate, ::zz::TStatus, 0, (::zz::THandle Handle), (Handle)) \
  X(PcbApi_GetObjectBitField2, void, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Handle, uint8_t* Bits), (Direction, Handle, Bits)) \
  X(PcbApi_GetObjectBitField3, void, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Handle, uint8_t* Bits), (Direction, Handle, Bits)) \
  X(PcbApi_GetDesignatorDisplayString, ::zz::TStatus, 0, \
    (::zz::THandle Handle, ::zz::TText255* Text), (Handle, Text)) \
  X(PcbApi_QueryRegion, ::zz::TStatus, 0, \
    (::zz::TSyncDirection Direction, ::zz::THandle Handle, uint8_t* RegionByte, uint16_t* StateFlags, uint16_t* IndexWord, \
     uint32_t* LayerId, int32_t* AuxValue1, uint8_t* AuxByte, int32_t* AuxValue2, int32_t* RegionValue6, \
     int32_t* RegionValue5, int32_t* RegionValue1, int32_t* RegionValue2, int32_t* RegionValue3, int32_t* RegionValue4), \
    (Direction, Handle, RegionByte, StateFlags, IndexWord, LayerId, AuxValue1, AuxByte, AuxValue2, RegionValue6, \
     RegionValue5, RegionValue1, RegionValue2, RegionValue3, RegionValue4))
// clang-format on
