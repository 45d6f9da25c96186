#pragma once

// Every object ever created, in one handle space for all kinds (handle = index + 1): a slot per
// handle naming the kind, the row in that kind's table (ObjectKinds.h) and the board it is on,
// and the pads' side tables.

#include <cstddef>
#include <cstdint>
#include <new>
#include <optional>
#include <tuple>
#include <type_traits>

#include "standin/ChunkedVector.h"
#include "standin/ObjectKinds.h"
#include "standin/PadSideTables.h"
#include "standin/Records.h"

namespace standin {

class ObjectStore {
 public:
  static constexpr uint32_t kNoRow = UINT32_MAX;

  // No objects.
  void Clear();

  // A new object on no board with the kind's defaults; 0 when the kind has no object class
  // (0, 23 to 25, above 26) or no more objects can be held.
  THandle CreateObject(uint8_t kind);
  // From now on every n-th creation call fails (returns 0), as a host short of memory would;
  // 0 lets every creation succeed again. Clear resets it.
  void FailEveryNthCreation(int32_t n) {
    failEveryNthCreation_ = n;
    creationCalls_ = 0;
  }
  std::size_t ObjectCount() const { return slots_.size(); }
  const ObjectSlot* SlotOf(THandle handle) const {
    const uint32_t index = static_cast<uint32_t>(handle) - 1U;
    return index < slots_.size() ? &slots_[index] : nullptr;
  }
  // None for an unknown handle.
  TObjectKind KindOf(THandle handle) const {
    const ObjectSlot* slot = SlotOf(handle);
    return slot != nullptr ? slot->Kind : TObjectKind::None;
  }
  // Board: the board's index + 1. The object must be known.
  void SetBoardOf(THandle handle, uint16_t board) { slots_[static_cast<uint32_t>(handle) - 1U].Board = board; }

  // ---- Reading ----
  // Every stored value of a track, fill, arc or pad; none for an unknown handle or another kind.
  std::optional<TrackRecord> FindTrack(THandle handle) const { return Find<TrackKind>(handle); }
  std::optional<FillRecord> FindFill(THandle handle) const { return Find<FillKind>(handle); }
  std::optional<ArcRecord> FindArc(THandle handle) const { return Find<ArcKind>(handle); }
  std::optional<PadRecord> FindPad(THandle handle) const { return Find<PadKind>(handle); }
  template <typename Kind>
  std::optional<typename Kind::Record> Find(THandle handle) const {
    const uint32_t row = RowOf(handle, Kind::kKind);
    if (row == kNoRow) return std::nullopt;
    return Get<Kind>(row);
  }
  // The common values of an object of any kind, or null; valid until the object changes.
  // Inline: the flag-byte queries ask for them four times per primitive created.
  [[gnu::always_inline]] const CommonFields* FindCommon(THandle handle) const;

  // The object's row in the table of its kind, or kNoRow for an unknown handle or another kind.
  uint32_t RowOf(THandle handle, TObjectKind kind) const {
    const ObjectSlot* slot = SlotOf(handle);
    return slot != nullptr && slot->Kind == kind ? slot->Index : kNoRow;
  }
  // A pad's stored style; the row must be a pad's.
  const PadStyle& PadStyleOf(uint32_t row) const { return Pads().StyleOf(row); }
  // The pad's stored style, or null when the handle is not a pad's; the pad becomes the one
  // asked about last.
  const PadStyle* FindPadStyle(THandle handle) const {
    return handle == lastPad_.Handle ? lastPad_.Style : KeepPad(handle);
  }

  // The style of the pad asked about last. A pad's fetch asks the four per-layer queries 83
  // times each, and finding a style through the slot, row and style chunks costs several times
  // the answer. Styles never change or move once kept, so the entry holds until the pad's row
  // names another style (ChangePads) or the store is cleared.
  struct LastPad {
    static constexpr int64_t kNone = INT64_MIN;  // no handle, widened, ever equals it
    int64_t Handle = kNone;
    const PadStyle* Style = nullptr;  // never null while Handle is a handle
    int64_t SimpleHandle = kNone;     // Handle when no layer has values of its own
  };
  const LastPad& LastPadAsked() const { return lastPad_; }
  template <typename Kind>
  typename Kind::Record Get(uint32_t row) const {
    return std::get<KindTable<Kind>>(tables_).Get(row);
  }

  // ---- Changing (the entry points) ----
  // Each false, with nothing changed, when the values cannot be held for want of memory.
  // Set<PadKind> keeps the pad's carried values.
  template <typename Kind>
  bool Set(uint32_t row, const typename Kind::Record& record);
  // The pad's values and its carried values together; a side entry only when they are not the defaults.
  bool SetPad(uint32_t row, const PadRecord& pad, const PadExtras& extras);
  // The object's stored row and style (KindTable::Copy), changed and put back whole; the way
  // the object queries store. PutPad keeps the pad's side-table indices as stored.
  template <typename Kind>
  void Copy(uint32_t row, typename Kind::Row& r, typename Kind::Style& s) const {
    std::get<KindTable<Kind>>(tables_).Copy(row, r, s);
  }
  template <typename Kind>
  bool Put(uint32_t row, const typename Kind::Row& r, const typename Kind::Style& s) {
    static_assert(!std::is_same_v<Kind, PadKind>, "pads go through PutPad");
    try {
      std::get<KindTable<Kind>>(tables_).Put(row, r, s);
    } catch (const std::bad_alloc&) {
      return false;
    }
    return true;
  }
  bool PutPad(uint32_t row, const PadRow& r, const PadStyle& s, const PadExtras& extras);
  bool SetCommon(THandle handle, const CommonFields& common);

  // ---- Pads ----
  const PadSideTables& PadSides() const { return padSides_; }
  // Layer must be 0..82.
  bool SetPadShapeOnLayer(uint32_t row, uint8_t layer, uint8_t shape);
  bool SetPadSizeOnLayer(uint32_t row, uint8_t layer, int32_t xSize, int32_t ySize);
  bool SetPadCornerPercentOnLayer(uint32_t row, uint8_t layer, uint8_t percent);

  // Bytes held for objects and side tables (capacities, not sizes).
  std::size_t MemoryUsage() const;

 private:
  using Tables = std::tuple<KindTable<TrackKind>, KindTable<FillKind>, KindTable<ArcKind>, KindTable<PadKind>,
                            KindTable<OtherKind>>;

  // Looks the pad up and keeps it in lastPad_.
  const PadStyle* KeepPad(THandle handle) const;
  // Calls fn with the table of the kind (const as self is).
  template <typename Self, typename Fn>
  static decltype(auto) WithKind(Self& self, TObjectKind kind, Fn&& fn) {
    switch (kind) {
      case TObjectKind::Track:
        return fn(std::get<KindTable<TrackKind>>(self.tables_));
      case TObjectKind::Fill:
        return fn(std::get<KindTable<FillKind>>(self.tables_));
      case TObjectKind::Arc:
        return fn(std::get<KindTable<ArcKind>>(self.tables_));
      case TObjectKind::Pad:
        return fn(std::get<KindTable<PadKind>>(self.tables_));
      default:
        return fn(std::get<KindTable<OtherKind>>(self.tables_));
    }
  }
  const KindTable<PadKind>& Pads() const { return std::get<KindTable<PadKind>>(tables_); }
  // The one way to change a pad's row: it forgets the pad kept in lastPad_.
  KindTable<PadKind>& ChangePads() {
    lastPad_ = {};
    return std::get<KindTable<PadKind>>(tables_);
  }

  // Gives the pad a layer side entry if it has none; false for want of memory.
  bool EnsureLayerOverrides(uint32_t row);
  template <typename Change>
  bool ChangeLayerValue(uint32_t row, bool derived, Change&& change);

  ChunkedVector<ObjectSlot> slots_;
  Tables tables_;
  PadSideTables padSides_;
  mutable LastPad lastPad_;
  int32_t failEveryNthCreation_ = 0;
  int32_t creationCalls_ = 0;
};

inline const CommonFields* ObjectStore::FindCommon(THandle handle) const {
  const ObjectSlot* slot = SlotOf(handle);
  if (slot == nullptr) return nullptr;
  return WithKind(*this, slot->Kind, [slot](const auto& table) { return &table.Common(slot->Index); });
}

template <typename Kind>
bool ObjectStore::Set(uint32_t row, const typename Kind::Record& record) {
  if constexpr (std::is_same_v<Kind, PadKind>) {
    return SetPad(row, record, padSides_.Extras(Pads().StyleOf(row).Extras));
  } else {
    try {
      std::get<KindTable<Kind>>(tables_).Set(row, record);
    } catch (const std::bad_alloc&) {
      return false;
    }
    return true;
  }
}

}  // namespace standin
