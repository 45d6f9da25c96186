#include "standin/Server.h"

#include <algorithm>
#include <new>

namespace standin {
namespace {

bool HasObjectClass(uint8_t kind) { return (kind >= 1 && kind <= 22) || kind == 26; }

// Empties a vector and gives its memory back (clear() would keep the capacity).
template <typename T>
void Release(std::vector<T>& v) {
  std::vector<T>().swap(v);
}

template <typename T>
std::size_t Held(const std::vector<T>& v) {
  return v.capacity() * sizeof(T);
}

}  // namespace

// Built on first use: the board's layer names come from a table initialised in another unit.
Server& TheServer() {
  static Server server;
  return server;
}

Board::Board(zz::THandle handle) : Handle(handle) {
  for (int n = 0; n <= zz::kMaxClassicLayer; ++n) Layers[n].Name = zz::LayerNameTable[n];
  // The signal layers form the stack from TopLayer (1) through the mid layers to BottomLayer (32).
  for (int n = 1; n <= 32; ++n) {
    Layers[n].PrevLayer = static_cast<uint8_t>(n - 1);
    Layers[n].NextLayer = static_cast<uint8_t>(n == 32 ? 0 : n + 1);
  }
  const zz::TText255 fr4("FR-4");
  ExternalDielectrics = {fr4, 1, 4.8, 126000, fr4, 1, 4.8, 126000};
}

zz::TLayerNumber CurrentLayerNumber(const Board& board) { return zz::LayerNumberFromId(board.Header.CurrentLayerId); }

void SetCurrentLayer(Board& board, zz::TLayerNumber layer) {
  board.Header.CurrentLayerId = zz::LayerIdFromNumber(layer);
}

Server::Server() { Reset(); }

void Server::Reset() {
  Release(slots_);
  Release(tracks_);
  Release(fills_);
  Release(arcs_);
  Release(pads_);
  Release(others_);
  Release(padExtras_);
  Release(padLayers_);
  boards_.clear();
  boards_.push_back(std::make_unique<Board>(kBoardHandleBase + 1));
  currentBoard_ = 0;
  messages_.clear();
  progress_.Reset();
}

THandle Server::CreateObject(uint8_t kind) {
  if (!HasObjectClass(kind) || slots_.size() >= kMaxObjects) return 0;
  try {
    ObjectSlot slot;
    slot.Kind = static_cast<TObjectKind>(kind);
    switch (slot.Kind) {
      case TObjectKind::Track:
        slot.Index = static_cast<uint32_t>(tracks_.size());
        tracks_.emplace_back();
        break;
      case TObjectKind::Fill:
        slot.Index = static_cast<uint32_t>(fills_.size());
        fills_.emplace_back();
        break;
      case TObjectKind::Arc:
        slot.Index = static_cast<uint32_t>(arcs_.size());
        arcs_.emplace_back();
        break;
      case TObjectKind::Pad:
        slot.Index = static_cast<uint32_t>(pads_.size());
        pads_.emplace_back();
        break;
      default:
        slot.Index = static_cast<uint32_t>(others_.size());
        others_.emplace_back();
        break;
    }
    try {
      slots_.push_back(slot);
    } catch (const std::bad_alloc&) {
      DropLastRecord(slot.Kind);  // no half-made object stays behind
      throw;
    }
  } catch (const std::bad_alloc&) {
    return 0;
  }
  return static_cast<THandle>(slots_.size());
}

void Server::DropLastRecord(TObjectKind kind) {
  switch (kind) {
    case TObjectKind::Track:
      tracks_.pop_back();
      break;
    case TObjectKind::Fill:
      fills_.pop_back();
      break;
    case TObjectKind::Arc:
      arcs_.pop_back();
      break;
    case TObjectKind::Pad:
      pads_.pop_back();
      break;
    default:
      others_.pop_back();
      break;
  }
}

THandle Server::OwnerBoard(THandle handle) const {
  const ObjectSlot* slot = SlotOf(handle);
  if (slot == nullptr || slot->Board == 0) return 0;
  return boards_[slot->Board - 1U]->Handle;
}

CommonFields* Server::FindCommon(THandle handle) {
  const ObjectSlot* slot = SlotOf(handle);
  if (slot == nullptr) return nullptr;
  switch (slot->Kind) {
    case TObjectKind::Track:
      return &tracks_[slot->Index].Common;
    case TObjectKind::Fill:
      return &fills_[slot->Index].Common;
    case TObjectKind::Arc:
      return &arcs_[slot->Index].Common;
    case TObjectKind::Pad:
      return &pads_[slot->Index].Common;
    default:
      return &others_[slot->Index].Common;
  }
}

const CommonFields* Server::FindCommon(THandle handle) const { return const_cast<Server*>(this)->FindCommon(handle); }

bool PadExtras::IsDefault() const {
  return Name.Empty() && PadText1.Empty() && PadText2.Empty() && PadText3.Empty() && PadByte1 == 0 && PadByte2 == 0 &&
         PadByte3 == 0 && PadByte4 == 0 && PadValue1 == 0 && PadValue2 == 0 && PadValue3 == 0 && PadValue4 == 0 &&
         PadValue5 == 0 && PadValue6 == 0 && PadViaFlag1 == 0 && PadViaFlag2 == 0;
}

const PadExtras& Server::ExtrasOf(const PadRecord& pad) const {
  static const PadExtras defaults;
  return pad.Extras == kNoSideEntry ? defaults : padExtras_[pad.Extras - 1];
}

bool Server::StoreExtras(PadRecord& pad, const PadExtras& extras) {
  if (pad.Extras != kNoSideEntry) {
    padExtras_[pad.Extras - 1] = extras;
    return true;
  }
  if (extras.IsDefault()) return true;
  try {
    padExtras_.push_back(extras);
  } catch (const std::bad_alloc&) {
    return false;
  }
  pad.Extras = static_cast<uint32_t>(padExtras_.size());
  return true;
}

PadLayerOverrides* Server::OverridesFor(PadRecord& pad) {
  if (pad.Layers == kNoSideEntry) {
    try {
      padLayers_.emplace_back();
    } catch (const std::bad_alloc&) {
      return nullptr;
    }
    pad.Layers = static_cast<uint32_t>(padLayers_.size());
  }
  return &padLayers_[pad.Layers - 1];
}

int32_t Server::PadCornerRadiusOnLayer(const PadRecord& pad, uint8_t layer) const {
  const int64_t percent = PadCornerPercentOnLayer(pad, layer);
  if (percent == 0) return 0;
  int32_t xSize = 0;
  int32_t ySize = 0;
  PadSizeOnLayer(pad, layer, xSize, ySize);
  return static_cast<int32_t>(std::min<int64_t>(xSize, ySize) * percent / 200);
}

// A layer value equal to what the layer would take anyway clears the layer's own value, so a
// pad keeps a side entry only while some layer really differs.
bool Server::SetPadShapeOnLayer(PadRecord& pad, uint8_t layer, uint8_t shape) {
  if (pad.Layers == kNoSideEntry && shape == PadShapeOnLayer(pad, layer)) return true;
  PadLayerOverrides* own = OverridesFor(pad);
  if (own == nullptr) return false;
  own->HasShape[layer] = false;
  if (shape != PadShapeOnLayer(pad, layer)) {
    own->HasShape[layer] = true;
    own->Shape[layer] = shape;
  }
  return true;
}

bool Server::SetPadSizeOnLayer(PadRecord& pad, uint8_t layer, int32_t xSize, int32_t ySize) {
  int32_t derivedX = 0;
  int32_t derivedY = 0;
  DerivedSize(pad, layer, derivedX, derivedY);
  const bool same = xSize == derivedX && ySize == derivedY;
  if (pad.Layers == kNoSideEntry && same) return true;
  PadLayerOverrides* own = OverridesFor(pad);
  if (own == nullptr) return false;
  own->HasSize[layer] = !same;
  own->XSize[layer] = xSize;
  own->YSize[layer] = ySize;
  return true;
}

bool Server::SetPadCornerPercentOnLayer(PadRecord& pad, uint8_t layer, uint8_t percent) {
  if (pad.Layers == kNoSideEntry && percent == 0) return true;
  PadLayerOverrides* own = OverridesFor(pad);
  if (own == nullptr) return false;
  own->HasPercent[layer] = percent != 0;
  own->CornerPercent[layer] = percent;
  return true;
}

THandle Server::CreateBoard() {
  if (boards_.size() >= kMaxBoards) return 0;
  const THandle handle = kBoardHandleBase + static_cast<THandle>(boards_.size()) + 1;
  try {
    boards_.push_back(std::make_unique<Board>(handle));
  } catch (const std::bad_alloc&) {
    return 0;
  }
  return handle;
}

bool Server::SetCurrentBoard(THandle handle) {
  const Board* board = FindBoard(handle);
  if (board == nullptr) return false;
  currentBoard_ = static_cast<std::size_t>(static_cast<uint32_t>(handle - kBoardHandleBase) - 1U);
  return true;
}

zz::TStatus Server::AddObject(THandle boardHandle, THandle object) {
  Board* board = FindBoard(boardHandle);
  if (board == nullptr || object <= 0) return 1;
  const uint32_t index = static_cast<uint32_t>(object) - 1U;
  if (index >= slots_.size() || slots_[index].Board != 0) return 1;
  try {
    board->Objects.push_back(object);
  } catch (const std::bad_alloc&) {
    return 1;
  }
  slots_[index].Board = static_cast<uint16_t>(static_cast<uint32_t>(boardHandle - kBoardHandleBase));
  return 0;
}

std::size_t Server::MemoryUsage() const {
  std::size_t bytes = Held(slots_) + Held(tracks_) + Held(fills_) + Held(arcs_) + Held(pads_) + Held(others_) +
                      Held(padExtras_) + Held(padLayers_);
  for (const auto& board : boards_) bytes += sizeof(Board) + Held(board->Objects) + Held(board->LayerPairs);
  return bytes;
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
