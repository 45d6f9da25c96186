#include "standin/ObjectStore.h"

#include <cstring>
#include <new>

namespace standin {
namespace {

bool HasObjectClass(uint8_t kind) { return (kind >= 1 && kind <= 22) || kind == 26; }

}  // namespace

void ObjectStore::Clear() {
  lastPad_ = {};
  slots_.Clear();
  std::apply([](auto&... table) { (table.Clear(), ...); }, tables_);
  padSides_.Clear();
  FailEveryNthCreation(0);
}

THandle ObjectStore::CreateObject(uint8_t kind) {
  if (failEveryNthCreation_ > 0 && ++creationCalls_ % failEveryNthCreation_ == 0) return 0;
  if (!HasObjectClass(kind) || slots_.size() >= kMaxObjects) return 0;
  const auto objectKind = static_cast<TObjectKind>(kind);
  // One pass through the kind's table: consecutive objects are of any kind, so each switch on it
  // is a branch mispredicted about every other time.
  try {
    WithKind(*this, objectKind, [&](auto& table) {
      const uint32_t row = table.Add();
      try {
        slots_.push_back(ObjectSlot{row, objectKind});
      } catch (const std::bad_alloc&) {
        table.DropLast();  // no half-made object stays behind
        throw;
      }
    });
  } catch (const std::bad_alloc&) {
    return 0;
  }
  return static_cast<THandle>(slots_.size());
}

const PadStyle* ObjectStore::KeepPad(THandle handle) const {
  const uint32_t row = RowOf(handle, TObjectKind::Pad);
  if (row == kNoRow) return nullptr;
  const PadStyle& style = Pads().StyleOf(row);
  lastPad_ = {handle, &style, style.Layers == kNoSideEntry ? handle : LastPad::kNone};
  return lastPad_.Style;
}

bool ObjectStore::SetPad(uint32_t row, const PadRecord& pad, const PadExtras& extras) {
  PadRow r{};
  PadStyle s;
  KindTable<PadKind>::Split(pad, r, s);
  return PutPad(row, r, s, extras);
}

bool ObjectStore::PutPad(uint32_t row, const PadRow& r, const PadStyle& style, const PadExtras& extras) {
  // The side-table indices are the store's own, whatever the caller's copy holds.
  PadStyle s;
  std::memcpy(static_cast<void*>(&s), &style, sizeof s);
  const PadStyle& current = Pads().StyleOf(row);
  s.Extras = current.Extras;
  s.Layers = current.Layers;
  // Nothing changes until everything that needs memory has it.
  bool added = false;
  if (s.Extras == kNoSideEntry && !extras.IsDefault()) {
    try {
      s.Extras = padSides_.AddExtras(extras);
    } catch (const std::bad_alloc&) {
      return false;
    }
    added = true;
  }
  try {
    ChangePads().Put(row, r, s);
  } catch (const std::bad_alloc&) {
    if (added) padSides_.DropLastExtras();
    return false;
  }
  if (!added && s.Extras != kNoSideEntry) padSides_.SetExtras(s.Extras, extras);
  return true;
}

bool ObjectStore::SetCommon(THandle handle, const CommonFields& common) {
  const ObjectSlot* slot = SlotOf(handle);
  if (slot == nullptr) return false;
  if (CommonValues(*FindCommon(handle)) == CommonValues(common)) return true;
  const uint32_t row = slot->Index;
  return WithKind(*this, slot->Kind, [&]<typename Kind>(KindTable<Kind>& table) {
    typename Kind::Record record = table.Get(row);
    record.Common = common;
    return Set<Kind>(row, record);
  });
}

// ---- Per-layer pad values ----

bool ObjectStore::EnsureLayerOverrides(uint32_t row) {
  PadRecord pad = Pads().Get(row);
  if (pad.Layers != kNoSideEntry) return true;
  try {
    pad.Layers = padSides_.AddLayers();
  } catch (const std::bad_alloc&) {
    return false;
  }
  try {
    ChangePads().Set(row, pad);
  } catch (const std::bad_alloc&) {
    padSides_.DropLastLayers();
    return false;
  }
  return true;
}

// A layer value equal to what the layer takes anyway (derived) clears the layer's own value, so
// a pad keeps a side entry only while some layer really differs.
template <typename Change>
bool ObjectStore::ChangeLayerValue(uint32_t row, bool derived, Change&& change) {
  if (Pads().StyleOf(row).Layers == kNoSideEntry && derived) return true;
  if (!EnsureLayerOverrides(row)) return false;
  change(padSides_.Layers(Pads().StyleOf(row).Layers));
  return true;
}

bool ObjectStore::SetPadShapeOnLayer(uint32_t row, uint8_t layer, uint8_t shape) {
  const bool derived = shape == PadSideTables::DerivedShape(Pads().StyleOf(row), layer);
  return ChangeLayerValue(row, derived, [&](PadLayerOverrides& own) {
    own.HasShape[layer] = !derived;
    if (!derived) own.Shape[layer] = shape;
  });
}

bool ObjectStore::SetPadSizeOnLayer(uint32_t row, uint8_t layer, int32_t xSize, int32_t ySize) {
  int32_t derivedX = 0;
  int32_t derivedY = 0;
  PadSideTables::DerivedSize(Pads().StyleOf(row), layer, derivedX, derivedY);
  const bool derived = xSize == derivedX && ySize == derivedY;
  return ChangeLayerValue(row, derived, [&](PadLayerOverrides& own) {
    own.HasSize[layer] = !derived;
    own.XSize[layer] = xSize;
    own.YSize[layer] = ySize;
  });
}

bool ObjectStore::SetPadCornerPercentOnLayer(uint32_t row, uint8_t layer, uint8_t percent) {
  return ChangeLayerValue(row, percent == 0, [&](PadLayerOverrides& own) {
    own.HasPercent[layer] = percent != 0;
    own.CornerPercent[layer] = percent;
  });
}

std::size_t ObjectStore::MemoryUsage() const {
  std::size_t bytes = slots_.MemoryUsage() + padSides_.MemoryUsage();
  std::apply([&bytes](const auto&... table) { ((bytes += table.MemoryUsage()), ...); }, tables_);
  return bytes;
}

}  // namespace standin
