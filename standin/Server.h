#pragma once

// The stand-in's PCB server: every object ever created (handle = index + 1, rows by kind),
// the boards, the messages the plug-in showed and the progress display. The entry points of
// PcbServer.h answer from the one instance that TheServer() returns; tests and the tool read
// and prepare it through this class.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "standin/Board.h"
#include "standin/Progress.h"
#include "standin/Records.h"
#include "standin/Storage.h"

namespace standin {

// Board handles live in a range of their own, so that an object handle passed as a board (or
// the other way round) is refused instead of being taken for something else.
constexpr THandle kBoardHandleBase = 0x40000000;
constexpr std::size_t kMaxObjects = static_cast<std::size_t>(kBoardHandleBase) - 1;
constexpr std::size_t kMaxBoards = 0xFFFF;

class Server {
 public:
  static constexpr uint32_t kNoRow = UINT32_MAX;

  // The per-layer values of one pad as the four per-layer queries give them. A pad's fetch asks
  // 83 times each, so they are kept at hand for the pad asked about last.
  struct PadLayerAnswers {
    static constexpr int64_t kNone = INT64_MIN;  // no handle, widened, ever equals it
    THandle Handle = 0;
    uint32_t Row = 0;
    bool Simple = false;           // no layer of its own values: top, mid and bottom answer for all
    int64_t SimpleHandle = kNone;  // Handle when Simple, so that one comparison finds a simple pad
    uint8_t Shape[3] = {};
    int32_t XSize[3] = {};
    int32_t YSize[3] = {};
  };

  Server();
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  // A fresh board set: no objects, one empty board that is current, no messages.
  void Reset();

  // ---- Objects ----
  // A new object on no board with the kind's defaults; 0 when the kind has no object class
  // (0, 23 to 25, above 26) or no more objects can be held.
  THandle CreateObject(uint8_t kind);
  // From now on every n-th creation call fails (returns 0), as a host short of memory would;
  // 0 lets every creation succeed again. Reset clears it.
  void FailEveryNthCreation(int32_t n) {
    failEveryNthCreation_ = n;
    creationCalls_ = 0;
  }
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
  // Every stored value of a track, fill, arc or pad; none for an unknown handle or another kind.
  std::optional<TrackRecord> FindTrack(THandle handle) const;
  std::optional<FillRecord> FindFill(THandle handle) const;
  std::optional<ArcRecord> FindArc(THandle handle) const;
  std::optional<PadRecord> FindPad(THandle handle) const;
  // The common values of an object of any kind, or null; valid until the object changes.
  // Asked four times per primitive created, so always compiled into the caller.
  [[gnu::always_inline]] const CommonFields* FindCommon(THandle handle) const {
    const ObjectSlot* slot = SlotOf(handle);
    if (slot == nullptr) return nullptr;
    switch (slot->Kind) {
      case TObjectKind::Track:
        return &trackStyles_[tracks_[slot->Index].Style].Common;
      case TObjectKind::Fill:
        return &fillStyles_[fills_[slot->Index].Style].Common;
      case TObjectKind::Arc:
        return &arcStyles_[arcs_[slot->Index].Style].Common;
      case TObjectKind::Pad:
        return &padStyles_[pads_[slot->Index].Style].Common;
      default:
        return &otherStyles_[others_[slot->Index].Style];
    }
  }

  // ---- Changing objects (the entry points) ----
  // The object's row in the storage of its kind, or kNoRow for an unknown handle or another kind.
  uint32_t RowOf(THandle handle, TObjectKind kind) const {
    const ObjectSlot* slot = SlotOf(handle);
    return slot != nullptr && slot->Kind == kind ? slot->Index : kNoRow;
  }
  TrackRecord Track(uint32_t row) const;
  FillRecord Fill(uint32_t row) const;
  ArcRecord Arc(uint32_t row) const;
  PadRecord Pad(uint32_t row) const;
  // Each false, with nothing changed, when the values cannot be held for want of memory.
  bool SetTrack(uint32_t row, const TrackRecord& track);
  bool SetFill(uint32_t row, const FillRecord& fill);
  bool SetArc(uint32_t row, const ArcRecord& arc);
  // The pad's values and its carried values together; a side entry only when they are not the defaults.
  bool SetPad(uint32_t row, const PadRecord& pad, const PadExtras& extras);
  bool SetCommon(THandle handle, const CommonFields& common);

  // ---- Pad side tables ----
  // The pad's carried values; the shared defaults when it has none of its own.
  const PadExtras& ExtrasOf(const PadRecord& pad) const;
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
  bool SetPadShapeOnLayer(uint32_t row, uint8_t layer, uint8_t shape);
  bool SetPadSizeOnLayer(uint32_t row, uint8_t layer, int32_t xSize, int32_t ySize);
  bool SetPadCornerPercentOnLayer(uint32_t row, uint8_t layer, uint8_t percent);
  bool HasLayerOverrides(const PadRecord& pad) const { return pad.Layers != kNoSideEntry; }

  // The pad's per-layer answers, or null when the handle is not a pad.
  const PadLayerAnswers* LayerAnswers(THandle handle) {
    if (handle == answers_.Handle && handle != 0) return &answers_;
    return FillLayerAnswers(handle);
  }
  // The answers kept for the pad asked about last (Handle 0: none).
  const PadLayerAnswers& CachedLayerAnswers() const { return answers_; }

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
  const PadLayerAnswers* FillLayerAnswers(THandle handle);
  // Gives the pad a layer side entry if it has none; false for want of memory.
  bool EnsureLayerOverrides(uint32_t row);
  void DropLastRow(TObjectKind kind);

  ChunkedVector<ObjectSlot> slots_;
  ChunkedVector<TrackRow> tracks_;
  ChunkedVector<FillRow> fills_;
  ChunkedVector<ArcRow> arcs_;
  ChunkedVector<PadRow> pads_;
  ChunkedVector<OtherRow> others_;
  Interner<TrackStyle> trackStyles_;
  Interner<FillStyle> fillStyles_;
  Interner<ArcStyle> arcStyles_;
  Interner<PadStyle> padStyles_;
  Interner<CommonFields> otherStyles_;
  std::vector<PadExtras> padExtras_;
  std::vector<PadLayerOverrides> padLayers_;
  PadLayerAnswers answers_;

  std::vector<std::unique_ptr<Board>> boards_;
  std::size_t currentBoard_ = 0;
  int32_t failEveryNthCreation_ = 0;
  int32_t creationCalls_ = 0;

  std::vector<std::string> messages_;
  ProgressDisplay progress_;
};

namespace detail {
extern Server* theServer;
Server& MakeServer();
}  // namespace detail

// The instance the entry points answer from, built on first use. Inline: the entry points ask
// for it on every call, a pad's fetch alone making 336 of them.
inline Server& TheServer() {
  Server* server = detail::theServer;
  if (server == nullptr) [[unlikely]]
    return detail::MakeServer();
  return *server;
}

// Name of an object kind as the board dump writes it ("track", "pad", ...).
const char* KindName(TObjectKind kind);

}  // namespace standin
