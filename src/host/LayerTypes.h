#pragma once

// Value types shared with the host PCB server: classic layer numbers and their names, layer
// identifiers and their conversions, object kinds, pad shape codes, and the name tables.

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "host/ShortString.h"

namespace zz {

using TLayerNumber = uint8_t;       // classic layer number, 0 to 82
using TLayerIdentifier = uint32_t;  // class word in bits 16..31, number part in bits 0..15
using TLayerCategory = uint8_t;     // 0 to 23

constexpr TLayerNumber kMaxClassicLayer = 82;
constexpr int64_t kMaxLayerIndex = 65535;

constexpr uint16_t kClassicLayerClass = 0x0000;
constexpr uint16_t kSignalLayerClass = 0x0101;
constexpr uint16_t kInternalPlaneClass = 0x0104;
constexpr uint16_t kMechanicalLayerClass = 0x0400;

// Raised by the layer identifier constructors for numbers they cannot represent.
class ELayerException : public std::runtime_error {
 public:
  explicit ELayerException(const std::string& message) : std::runtime_error(message) {}
};

extern const std::array<TShortString<20>, kMaxClassicLayer + 1> LayerNameTable;

TLayerIdentifier SignalLayerId(int64_t n);
TLayerIdentifier MidLayerId(int64_t n);
TLayerIdentifier InternalPlaneId(int64_t n);
TLayerIdentifier MechanicalLayerId(int64_t n);

bool IsNoLayer(TLayerIdentifier id);
bool IsMalformedLayerId(TLayerIdentifier id);
bool IsClassicLayerId(TLayerIdentifier id);
bool IsSignalLayer(TLayerIdentifier id);
bool IsInternalPlane(TLayerIdentifier id);
bool IsMechanicalLayer(TLayerIdentifier id);
bool IsTopLayer(TLayerIdentifier id);
bool IsBottomLayer(TLayerIdentifier id);

TLayerIdentifier LayerIdFromNumber(TLayerNumber n);
TLayerNumber LayerNumberFromId(TLayerIdentifier id);
TLayerCategory LayerCategoryOf(TLayerIdentifier id);
int32_t LayerIndexOf(TLayerIdentifier id);

enum class TObjectKind : uint8_t {
  None = 0,
  Arc = 1,
  Pad = 2,
  Via = 3,
  Track = 4,
  Text = 5,
  Fill = 6,
  FromTo = 7,
  Net = 8,
  Component = 9,
  Polygon = 10,
  Region = 11,
  ComponentBody = 12,
  Dimension = 13,
  Coordinate = 14,
  ObjectClass = 15,
  Rule = 16,
  ManualFromTo = 17,
  DifferentialPair = 18,
  Violation = 19,
  Embedded = 20,
  EmbeddedBoard = 21,
  SplitPlane = 22,
  BoardOutline = 26,
};

// Pad shape codes the importer writes; the host defines the others.
namespace PadShape {
constexpr uint8_t None = 0;
constexpr uint8_t Round = 1;
constexpr uint8_t Rectangle = 2;
constexpr uint8_t Octagon = 3;
constexpr uint8_t Relief = 5;
constexpr uint8_t CornerPercentStored = 9;  // a layer of this shape carries its corner percentage
}  // namespace PadShape

extern const std::array<const char*, 3> HoleShapeNames;
extern const std::array<const char*, 4> HoleMakingMethodNames;
extern const std::array<const char*, 4> Model3DKindNames;
extern const std::array<const char*, 5> Display3DModeNames;
extern const std::array<const char*, 19> BoardEventNames;
extern const std::array<const char*, 4> ComponentSetNames;

}  // namespace zz
