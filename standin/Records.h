#pragma once

// The records of the objects the stand-in's board holds, as the queries exchange them and the
// board's readers see them: every stored value of one object. The server keeps them in a
// shorter form (ObjectKinds.h) and assembles a record when asked; rarely used carried values of
// pads live in side tables reached by an index in the record.

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>

#include "host/LayerTypes.h"
#include "host/PcbApiEntries.h"

namespace standin {

using zz::THandle;
using zz::TObjectKind;

constexpr int kLayerSlots = zz::kMaxClassicLayer + 1;  // per-layer pad data, layers 0..82
constexpr uint32_t kNoSideEntry = 0;                   // side-table index 0 = none, else index + 1

// Board handles live in a range of their own, so that an object handle passed as a board (or
// the other way round) is refused instead of being taken for something else.
constexpr THandle kBoardHandleBase = 0x40000000;
constexpr std::size_t kMaxObjects = static_cast<std::size_t>(kBoardHandleBase) - 1;
constexpr std::size_t kMaxBoards = 0xFFFF;

// The values every object exchanges: the common part of the object queries and the two flag
// bytes.
struct CommonFields {
  uint32_t LayerId = 1;  // TopLayer
  int32_t AuxValue1 = 0;
  int32_t AuxValue2 = 0;
  uint16_t StateFlags = 0;
  uint16_t IndexWord = 0;
  uint8_t AuxByte = 0;
  uint8_t BitField2 = 0;
  uint8_t BitField3 = 0;
};

struct TrackRecord {
  CommonFields Common;
  int32_t X = 0, Y = 0, X2 = 0, Y2 = 0;
  int32_t Width = 0;
  int32_t ExtValue1 = 0, ExtValue2 = 0, ExtValue3 = 0;
};

struct FillRecord {
  CommonFields Common;
  int32_t X = 0, Y = 0, X2 = 0, Y2 = 0;
  int32_t ExtValue1 = 0;
  double Rotation = 0.0;
};

struct ArcRecord {
  CommonFields Common;
  int32_t X = 0, Y = 0;  // centre
  int32_t Radius = 0;
  int32_t LineWidth = 0;
  int32_t ExtValue1 = 0;
  double StartAngle = 0.0;
  double EndAngle = 0.0;
};

struct PadRecord {
  CommonFields Common;
  int32_t X = 0, Y = 0;
  int32_t TopXSize = 0, TopYSize = 0;
  int32_t MidXSize = 0, MidYSize = 0;
  int32_t BotXSize = 0, BotYSize = 0;
  int32_t HoleSize = 0;
  uint8_t TopShape = zz::PadShape::Round;
  uint8_t MidShape = zz::PadShape::Round;
  uint8_t BotShape = zz::PadShape::Round;
  uint8_t StackMode = 0;           // 0 simple; 2 would make the plug-in send every layer on store
  uint32_t Extras = kNoSideEntry;  // PadExtras, only when a carried value is not at its default
  uint32_t Layers = kNoSideEntry;  // PadLayerOverrides, only when a layer differs
  double Rotation = 0.0;
};

// Objects of the kinds the importer never creates keep only the common values.
struct GenericRecord {
  CommonFields Common;
};

// Carried pad values that nearly every pad leaves at their defaults (empty texts, zeros).
struct PadExtras {
  zz::TText20 Name;
  zz::TText20 PadText1;
  zz::TText20 PadText2;
  zz::TText20 PadText3;
  uint8_t PadByte1 = 0, PadByte2 = 0, PadByte3 = 0, PadByte4 = 0;
  int32_t PadValue1 = 0, PadValue2 = 0, PadValue3 = 0, PadValue4 = 0, PadValue6 = 0;
  int64_t PadValue5 = 0;
  uint8_t PadViaFlag1 = 0, PadViaFlag2 = 0;

  bool IsDefault() const;
};

// Per-layer pad values that differ from what the layer takes from the top/mid/bottom values.
struct PadLayerOverrides {
  std::bitset<kLayerSlots> HasShape;
  std::bitset<kLayerSlots> HasSize;
  std::bitset<kLayerSlots> HasPercent;
  std::array<uint8_t, kLayerSlots> Shape{};
  std::array<int32_t, kLayerSlots> XSize{};
  std::array<int32_t, kLayerSlots> YSize{};
  std::array<uint8_t, kLayerSlots> CornerPercent{};
};

// Where a handle's record lives: the handle is the slot's index + 1.
struct ObjectSlot {
  uint32_t Index = 0;  // into the record vector of its kind
  TObjectKind Kind = TObjectKind::None;
  uint8_t Spare = 0;
  uint16_t Board = 0;  // 0 = not added yet, else the board's index + 1
};

// Name of an object kind as the board dump writes it ("track", "pad", ...).
const char* KindName(TObjectKind kind);

static_assert(sizeof(CommonFields) == 20);
static_assert(sizeof(ObjectSlot) == 8);
static_assert(sizeof(TrackRecord) <= 52);
static_assert(sizeof(FillRecord) <= 48);
static_assert(sizeof(ArcRecord) <= 56);
static_assert(sizeof(PadRecord) <= 80);

}  // namespace standin
