#include "host/LayerTypes.h"

#include <string>
#include <string_view>

namespace zz {
namespace {

constexpr uint16_t ClassWord(TLayerIdentifier id) { return static_cast<uint16_t>(id >> 16); }
constexpr uint16_t NumberPart(TLayerIdentifier id) { return static_cast<uint16_t>(id & 0xFFFFu); }
// A classic identifier is read as a layer byte, whatever sits in bits 8 to 23.
constexpr uint8_t LowByte(TLayerIdentifier id) { return static_cast<uint8_t>(id & 0xFFu); }
constexpr bool HighByteSet(TLayerIdentifier id) { return (id >> 24) != 0; }
constexpr TLayerIdentifier MakeId(uint16_t classWord, int64_t number) {
  return (static_cast<TLayerIdentifier>(classWord) << 16) | static_cast<TLayerIdentifier>(number);
}

// The constructors' mappings without the raise, so that the number table can be built at compile time.
constexpr bool TrySignalLayerId(int64_t n, TLayerIdentifier& id) {
  if (n == 1) {
    id = 1;
  } else if (n == kMaxLayerIndex) {
    id = 32;
  } else if (n >= 2 && n <= 31) {
    id = static_cast<TLayerIdentifier>(n);
  } else if (n == 0 || (n >= 32 && n < kMaxLayerIndex)) {
    id = MakeId(kSignalLayerClass, n);
  } else {
    return false;
  }
  return true;
}

constexpr bool TryInternalPlaneId(int64_t n, TLayerIdentifier& id) {
  if (n >= 1 && n <= 16) {
    id = static_cast<TLayerIdentifier>(38 + n);
  } else if (n >= 17 && n <= kMaxLayerIndex) {
    id = MakeId(kInternalPlaneClass, n);
  } else {
    return false;
  }
  return true;
}

constexpr bool TryMechanicalLayerId(int64_t n, TLayerIdentifier& id) {
  if (n >= 1 && n <= 16) {
    id = static_cast<TLayerIdentifier>(56 + n);
  } else if (n >= 17 && n <= kMaxLayerIndex) {
    id = MakeId(kMechanicalLayerClass, n);
  } else {
    return false;
  }
  return true;
}

// n + 1 wraps like the host's 64-bit arithmetic instead of overflowing.
constexpr int64_t NextLayer(int64_t n) { return static_cast<int64_t>(static_cast<uint64_t>(n) + 1u); }

[[noreturn]] void RaiseLayerException(const char* what, int64_t n) {
  const auto low = static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(n)));
  throw ELayerException(std::string("Creating ") + what + "(" + std::to_string(low) + ")");
}

constexpr TLayerIdentifier IdFromNumber(TLayerNumber n) {
  TLayerIdentifier id = 0;
  if (n == 1) {
    TrySignalLayerId(1, id);
  } else if (n >= 2 && n <= 31) {
    TrySignalLayerId(NextLayer(n - 1), id);
  } else if (n == 32) {
    TrySignalLayerId(kMaxLayerIndex, id);
  } else if (n >= 39 && n <= 54) {
    TryInternalPlaneId(n - 38, id);
  } else if (n >= 57 && n <= 72) {
    TryMechanicalLayerId(n - 56, id);
  } else if (n <= kMaxClassicLayer) {
    id = n;  // 0, 33 to 38, 55, 56, 73 to 82
  }
  return id;
}

constexpr bool Malformed(TLayerIdentifier id) { return NumberPart(id) == 0 && id != 0; }

constexpr bool SignalLayer(TLayerIdentifier id) {
  if (Malformed(id)) return false;
  return ClassWord(id) == kSignalLayerClass ||
         (ClassWord(id) == kClassicLayerClass && LowByte(id) >= 1 && LowByte(id) <= 32);
}

constexpr bool InternalPlane(TLayerIdentifier id) {
  if (Malformed(id)) return false;
  return ClassWord(id) == kInternalPlaneClass ||
         (ClassWord(id) == kClassicLayerClass && LowByte(id) >= 39 && LowByte(id) <= 54);
}

constexpr bool MechanicalLayer(TLayerIdentifier id) {
  if (Malformed(id)) return false;
  return ClassWord(id) == kMechanicalLayerClass ||
         (ClassWord(id) == kClassicLayerClass && LowByte(id) >= 57 && LowByte(id) <= 72);
}

// Category of the classic layers that are neither signal, plane nor mechanical.
constexpr TLayerCategory OtherClassicCategory(uint8_t n) {
  if (n >= 33 && n <= 38) return static_cast<TLayerCategory>(n - 27);
  if (n == 55) return 12;
  if (n == 56) return 13;
  if (n >= 73 && n <= 82) return static_cast<TLayerCategory>(n - 59);
  return 0;
}

constexpr TLayerCategory CategoryOf(TLayerIdentifier id) {
  if (SignalLayer(id)) {
    if (id == 1) return 1;
    if (id == 32) return 3;
    return 2;
  }
  if (InternalPlane(id)) return 4;
  if (MechanicalLayer(id)) return 5;
  if (HighByteSet(id)) return 0;
  return OtherClassicCategory(LowByte(id));
}

constexpr int32_t IndexOf(TLayerIdentifier id) {
  if (HighByteSet(id)) return NumberPart(id);
  if (MechanicalLayer(id)) return LowByte(id) - 56;
  if (SignalLayer(id)) return id == 32 ? static_cast<int32_t>(kMaxLayerIndex) : LowByte(id);
  if (InternalPlane(id)) return LowByte(id) - 38;
  return OtherClassicCategory(LowByte(id));
}

constexpr int32_t Clamp(int32_t v, int32_t lo, int32_t hi) { return v < lo ? lo : (v > hi ? hi : v); }

constexpr TLayerNumber NumberFromId(TLayerIdentifier id) {
  const TLayerCategory category = CategoryOf(id);
  const int32_t index = IndexOf(id);
  // Layers beyond the classic range fall onto the last classic layer of their kind.
  switch (category) {
    case 0:
      return 0;
    case 1:
      return 1;
    case 2:
      return static_cast<TLayerNumber>(Clamp(index - 1, 0, 30) + 1);
    case 3:
      return 32;
    case 4:
      return static_cast<TLayerNumber>(Clamp(index, 0, 16) + 38);
    case 5:
      return static_cast<TLayerNumber>(Clamp(index, 0, 16) + 56);
    default:
      break;
  }
  if (category <= 11) return static_cast<TLayerNumber>(category + 27);
  if (category <= 13) return static_cast<TLayerNumber>(category + 43);
  if (category <= 23) return static_cast<TLayerNumber>(category + 59);
  return 0;
}

constexpr std::array<TLayerIdentifier, 256> MakeIdTable() {
  std::array<TLayerIdentifier, 256> table{};
  for (unsigned n = 0; n < table.size(); ++n) table[n] = IdFromNumber(static_cast<TLayerNumber>(n));
  return table;
}

constexpr std::array<TLayerIdentifier, 256> kIdFromNumber = MakeIdTable();

constexpr bool ClassicNumbersAreTheirOwnIds() {
  for (unsigned n = 0; n <= kMaxClassicLayer; ++n) {
    if (kIdFromNumber[n] != n || NumberFromId(n) != n) return false;
  }
  return true;
}
// LayerNumberFromId's shortcut for classic identifiers relies on this.
static_assert(ClassicNumbersAreTheirOwnIds());

// Written field by field so that the table is built at compile time: code that runs during
// static initialisation in other units (a stand-in's board, say) sees the names already there.
constexpr TShortString<20> LayerName(std::string_view text, int number = 0) {
  TShortString<20> name;
  for (char c : text) name.Chars[name.Length++] = c;
  if (number >= 10) name.Chars[name.Length++] = static_cast<char>('0' + number / 10);
  if (number > 0) name.Chars[name.Length++] = static_cast<char>('0' + number % 10);
  return name;
}

constexpr std::array<TShortString<20>, kMaxClassicLayer + 1> MakeLayerNameTable() {
  std::array<TShortString<20>, kMaxClassicLayer + 1> names;
  const auto numbered = [&](int first, int last, std::string_view stem) {
    for (int n = first; n <= last; ++n) names[n] = LayerName(stem, n - first + 1);
  };
  names[0] = LayerName("NoLayer");
  names[1] = LayerName("TopLayer");
  numbered(2, 31, "MidLayer");
  names[32] = LayerName("BottomLayer");
  names[33] = LayerName("TopOverlay");
  names[34] = LayerName("BottomOverlay");
  names[35] = LayerName("TopPaste");
  names[36] = LayerName("BottomPaste");
  names[37] = LayerName("TopSolder");
  names[38] = LayerName("BottomSolder");
  numbered(39, 54, "InternalPlane");
  names[55] = LayerName("DrillGuide");
  names[56] = LayerName("KeepOutLayer");
  numbered(57, 72, "Mechanical");
  names[73] = LayerName("DrillDrawing");
  names[74] = LayerName("MultiLayer");
  names[75] = LayerName("ConnectLayer");
  names[76] = LayerName("BackGroundLayer");
  names[77] = LayerName("DRCErrorLayer");
  names[78] = LayerName("HighlightLayer");
  names[79] = LayerName("GridColor1");
  names[80] = LayerName("GridColor10");
  names[81] = LayerName("PadHoleLayer");
  names[82] = LayerName("ViaHoleLayer");
  return names;
}

}  // namespace

constinit const std::array<TShortString<20>, kMaxClassicLayer + 1> LayerNameTable = MakeLayerNameTable();

TLayerIdentifier SignalLayerId(int64_t n) {
  TLayerIdentifier id = 0;
  if (!TrySignalLayerId(n, id)) RaiseLayerException("SignalLayer", n);
  return id;
}

TLayerIdentifier MidLayerId(int64_t n) { return SignalLayerId(NextLayer(n)); }

TLayerIdentifier InternalPlaneId(int64_t n) {
  TLayerIdentifier id = 0;
  if (!TryInternalPlaneId(n, id)) RaiseLayerException("InternalPlaneLayer", n);
  return id;
}

TLayerIdentifier MechanicalLayerId(int64_t n) {
  TLayerIdentifier id = 0;
  if (!TryMechanicalLayerId(n, id)) RaiseLayerException("MechanicalLayer", n);
  return id;
}

bool IsNoLayer(TLayerIdentifier id) { return id == 0; }
bool IsMalformedLayerId(TLayerIdentifier id) { return Malformed(id); }
bool IsClassicLayerId(TLayerIdentifier id) { return !HighByteSet(id); }
bool IsSignalLayer(TLayerIdentifier id) { return SignalLayer(id); }
bool IsInternalPlane(TLayerIdentifier id) { return InternalPlane(id); }
bool IsMechanicalLayer(TLayerIdentifier id) { return MechanicalLayer(id); }
bool IsTopLayer(TLayerIdentifier id) { return id == 1; }
bool IsBottomLayer(TLayerIdentifier id) { return id == 32; }

TLayerIdentifier LayerIdFromNumber(TLayerNumber n) { return kIdFromNumber[n]; }

TLayerNumber LayerNumberFromId(TLayerIdentifier id) {
  // Every primitive passes through here; classic identifiers are their own numbers.
  if (id <= kMaxClassicLayer) [[likely]]
    return static_cast<TLayerNumber>(id);
  return NumberFromId(id);
}

TLayerCategory LayerCategoryOf(TLayerIdentifier id) { return CategoryOf(id); }
int32_t LayerIndexOf(TLayerIdentifier id) { return IndexOf(id); }

const std::array<const char*, 3> HoleShapeNames = {"Round", "Square", "Slot"};
const std::array<const char*, 4> HoleMakingMethodNames = {"Drilled", "Punched", "Laser Drilled", "Plasma Drilled"};
const std::array<const char*, 4> Model3DKindNames = {"Extruded", "Generic Step Model", "Cylinder", "Sphere"};
const std::array<const char*, 5> Display3DModeNames = {"Solid", "Transparent", "Wireframe", "Hidden", "Not Assigned"};
const std::array<const char*, 19> BoardEventNames = {"Null",
                                                     "Begin Modify",
                                                     "Board Registration",
                                                     "End Modify",
                                                     "Cancel Modify",
                                                     "Create",
                                                     "Destroy",
                                                     "Process Start",
                                                     "Process End",
                                                     "Process Cancel",
                                                     "Yield To Robots",
                                                     "Cycle End",
                                                     "Cycle Start",
                                                     "System InValid",
                                                     "System Valid",
                                                     "View Update",
                                                     "Undo Register",
                                                     "Store Robot State",
                                                     "Recall Robot State"};
const std::array<const char*, 4> ComponentSetNames = {"Top Side Components", "Bottom Side Components",
                                                      "Inside Board Components", "Outside Board Components"};

}  // namespace zz
