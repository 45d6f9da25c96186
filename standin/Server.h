#pragma once

// The stand-in's PCB server: every object ever created (handle = index + 1, records by kind),
// the boards, the messages the plug-in showed and the progress display. The entry points of
// PcbServer.h answer from the one instance that TheServer() returns; tests and the tool read
// and prepare it through this class.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "standin/Board.h"
#include "standin/Progress.h"
#include "standin/Records.h"

namespace standin {

// Board handles live in a range of their own, so that an object handle passed as a board (or
// the other way round) is refused instead of being taken for something else.
constexpr THandle kBoardHandleBase = 0x40000000;
constexpr std::size_t kMaxObjects = static_cast<std::size_t>(kBoardHandleBase) - 1;
constexpr std::size_t kMaxBoards = 0xFFFF;

class Server {
 public:
  Server();
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  // A fresh board set: no objects, one empty board that is current, no messages.
  void Reset();

  // ---- Objects ----
  // A new object on no board with the kind's defaults; 0 when the kind has no object class
  // (0, 23 to 25, above 26) or no more objects can be held.
  THandle CreateObject(uint8_t kind);
  std::size_t ObjectCount() const { return slots_.size(); }
  // None for an unknown handle.
  TObjectKind KindOf(THandle handle) const {
    const ObjectSlot* slot = SlotOf(handle);
    return slot != nullptr ? slot->Kind : TObjectKind::None;
  }
  // The board the object was added to, or 0.
  THandle OwnerBoard(THandle handle) const;

  const ObjectSlot* SlotOf(THandle handle) const {
    const uint32_t index = static_cast<uint32_t>(handle) - 1U;
    return index < slots_.size() ? &slots_[index] : nullptr;
  }
  TrackRecord* FindTrack(THandle handle) { return Find(handle, TObjectKind::Track, tracks_); }
  FillRecord* FindFill(THandle handle) { return Find(handle, TObjectKind::Fill, fills_); }
  ArcRecord* FindArc(THandle handle) { return Find(handle, TObjectKind::Arc, arcs_); }
  PadRecord* FindPad(THandle handle) { return Find(handle, TObjectKind::Pad, pads_); }
  const TrackRecord* FindTrack(THandle handle) const { return Find(handle, TObjectKind::Track, tracks_); }
  const FillRecord* FindFill(THandle handle) const { return Find(handle, TObjectKind::Fill, fills_); }
  const ArcRecord* FindArc(THandle handle) const { return Find(handle, TObjectKind::Arc, arcs_); }
  const PadRecord* FindPad(THandle handle) const { return Find(handle, TObjectKind::Pad, pads_); }
  // The common values of an object of any kind, or null.
  CommonFields* FindCommon(THandle handle);
  const CommonFields* FindCommon(THandle handle) const;

  // ---- Pad side tables ----
  // The pad's carried values; the shared defaults when it has none of its own.
  const PadExtras& ExtrasOf(const PadRecord& pad) const;
  // Keeps the values, giving the pad a side entry only when they are not the defaults.
  bool StoreExtras(PadRecord& pad, const PadExtras& extras);
  // Per-layer values: the layer's own where it has one, else top (layer 1 and every layer
  // outside 2..32), mid (2..31) or bottom (32). Layer must be 0..82.
  uint8_t PadShapeOnLayer(const PadRecord& pad, uint8_t layer) const {
    if (pad.Layers != kNoSideEntry) {
      const PadLayerOverrides& own = padLayers_[pad.Layers - 1];
      if (own.HasShape[layer]) return own.Shape[layer];
    }
    return layer == 32 ? pad.BotShape : (layer >= 2 && layer <= 31 ? pad.MidShape : pad.TopShape);
  }
  void PadSizeOnLayer(const PadRecord& pad, uint8_t layer, int32_t& xSize, int32_t& ySize) const {
    if (pad.Layers != kNoSideEntry) {
      const PadLayerOverrides& own = padLayers_[pad.Layers - 1];
      if (own.HasSize[layer]) {
        xSize = own.XSize[layer];
        ySize = own.YSize[layer];
        return;
      }
    }
    DerivedSize(pad, layer, xSize, ySize);
  }
  uint8_t PadCornerPercentOnLayer(const PadRecord& pad, uint8_t layer) const {
    if (pad.Layers == kNoSideEntry) return 0;
    const PadLayerOverrides& own = padLayers_[pad.Layers - 1];
    return own.HasPercent[layer] ? own.CornerPercent[layer] : 0;
  }
  // Percent of half the smaller side.
  int32_t PadCornerRadiusOnLayer(const PadRecord& pad, uint8_t layer) const;
  bool SetPadShapeOnLayer(PadRecord& pad, uint8_t layer, uint8_t shape);
  bool SetPadSizeOnLayer(PadRecord& pad, uint8_t layer, int32_t xSize, int32_t ySize);
  bool SetPadCornerPercentOnLayer(PadRecord& pad, uint8_t layer, uint8_t percent);
  bool HasLayerOverrides(const PadRecord& pad) const { return pad.Layers != kNoSideEntry; }

  // ---- Boards ----
  THandle CreateBoard();  // 0 when no more boards can be held
  Board* FindBoard(THandle handle) {
    const uint32_t index = static_cast<uint32_t>(handle) - static_cast<uint32_t>(kBoardHandleBase) - 1U;
    return index < boards_.size() ? boards_[index].get() : nullptr;
  }
  const Board* FindBoard(THandle handle) const { return const_cast<Server*>(this)->FindBoard(handle); }
  THandle CurrentBoardHandle() const { return boards_[currentBoard_]->Handle; }
  Board& CurrentBoard() { return *boards_[currentBoard_]; }
  const Board& CurrentBoard() const { return *boards_[currentBoard_]; }
  bool SetCurrentBoard(THandle handle);
  std::size_t BoardCount() const { return boards_.size(); }
  // Adds the object to the board once: 0 on success, 1 for an unknown board or object or an
  // object already on a board.
  zz::TStatus AddObject(THandle board, THandle object);

  // ---- Messages and progress ----
  std::vector<std::string>& Messages() { return messages_; }
  const std::vector<std::string>& Messages() const { return messages_; }
  ProgressDisplay& Progress() { return progress_; }
  const ProgressDisplay& Progress() const { return progress_; }

  // Bytes held for objects, side tables and boards (capacities, not sizes).
  std::size_t MemoryUsage() const;

 private:
  template <typename R>
  R* Find(THandle handle, TObjectKind kind, std::vector<R>& records) {
    const uint32_t index = static_cast<uint32_t>(handle) - 1U;
    if (index >= slots_.size()) return nullptr;
    const ObjectSlot slot = slots_[index];
    return slot.Kind == kind ? &records[slot.Index] : nullptr;
  }
  template <typename R>
  const R* Find(THandle handle, TObjectKind kind, const std::vector<R>& records) const {
    const uint32_t index = static_cast<uint32_t>(handle) - 1U;
    if (index >= slots_.size()) return nullptr;
    const ObjectSlot slot = slots_[index];
    return slot.Kind == kind ? &records[slot.Index] : nullptr;
  }
  static void DerivedSize(const PadRecord& pad, uint8_t layer, int32_t& xSize, int32_t& ySize) {
    if (layer == 32) {
      xSize = pad.BotXSize;
      ySize = pad.BotYSize;
    } else if (layer >= 2 && layer <= 31) {
      xSize = pad.MidXSize;
      ySize = pad.MidYSize;
    } else {
      xSize = pad.TopXSize;
      ySize = pad.TopYSize;
    }
  }
  PadLayerOverrides* OverridesFor(PadRecord& pad);
  void DropLastRecord(TObjectKind kind);  // creates the side entry; null when out of memory

  std::vector<ObjectSlot> slots_;
  std::vector<TrackRecord> tracks_;
  std::vector<FillRecord> fills_;
  std::vector<ArcRecord> arcs_;
  std::vector<PadRecord> pads_;
  std::vector<GenericRecord> others_;
  std::vector<PadExtras> padExtras_;
  std::vector<PadLayerOverrides> padLayers_;

  std::vector<std::unique_ptr<Board>> boards_;
  std::size_t currentBoard_ = 0;

  std::vector<std::string> messages_;
  ProgressDisplay progress_;
};

// The instance the entry points answer from.
Server& TheServer();

// Name of an object kind as the board dump writes it ("track", "pad", ...).
const char* KindName(TObjectKind kind);

}  // namespace standin
