#pragma once

// How the stand-in keeps millions of objects in little memory. An object is a small row of the
// values that differ from object to object (coordinates, angles) and the index of a "style":
// every other value of the object (common values, sizes, shapes, carried values) in one block
// that objects with equal values share (Interner.h), so a track costs 20 bytes and a pad 12.
//
// Each kind says once which values of its record go into the row and which into the style;
// assembling a record, taking one apart and making a new object are written once for all kinds
// (KindTable).

#include <cstdint>
#include <cstring>
#include <tuple>

#include "standin/ChunkedVector.h"
#include "standin/Interner.h"
#include "standin/Records.h"

namespace standin {

// ---- Rows and styles ----

struct TrackRow {
  int32_t X, Y, X2, Y2;
  uint32_t Style;
};
struct TrackStyle {
  CommonFields Common;
  int32_t Width, ExtValue1, ExtValue2, ExtValue3;
};

struct FillRow {
  int32_t X, Y, X2, Y2;
  uint32_t Style;
};
struct FillStyle {
  CommonFields Common;
  int32_t ExtValue1;
  double Rotation;
};

struct ArcRow {
  int32_t X, Y, Radius;
  uint32_t Style;
  double StartAngle, EndAngle;
};
struct ArcStyle {
  CommonFields Common;
  int32_t LineWidth, ExtValue1;
};

struct PadRow {
  int32_t X, Y;
  uint32_t Style;
};
struct PadStyle {
  CommonFields Common;
  int32_t TopXSize, TopYSize, MidXSize, MidYSize, BotXSize, BotYSize;
  int32_t HoleSize;
  uint8_t TopShape, MidShape, BotShape, StackMode;
  uint32_t Extras, Layers;
  double Rotation;
};

// Kinds the importer never creates: the common values only.
struct OtherRow {
  uint32_t Style;
};
struct OtherStyle {
  CommonFields Common;
};

static_assert(sizeof(TrackRow) == 20 && sizeof(FillRow) == 20 && sizeof(ArcRow) == 32 && sizeof(PadRow) == 12);

// ---- Which value goes where ----
// The value lists apply to the record and to the row or style alike: the names match.

inline auto CommonValues(auto& c) {
  return std::tie(c.LayerId, c.AuxValue1, c.AuxValue2, c.StateFlags, c.IndexWord, c.AuxByte, c.BitField2, c.BitField3);
}

// What every kind description names: its kind number and its record, row and style.
template <TObjectKind K, typename RecordT, typename RowT, typename StyleT>
struct KindTypes {
  static constexpr TObjectKind kKind = K;
  using Record = RecordT;
  using Row = RowT;
  using Style = StyleT;
};

struct TrackKind : KindTypes<TObjectKind::Track, TrackRecord, TrackRow, TrackStyle> {
  static auto RowValues(auto& r) { return std::tie(r.X, r.Y, r.X2, r.Y2); }
  static auto StyleValues(auto& s) { return std::tie(s.Width, s.ExtValue1, s.ExtValue2, s.ExtValue3); }
};

struct FillKind : KindTypes<TObjectKind::Fill, FillRecord, FillRow, FillStyle> {
  static auto RowValues(auto& r) { return std::tie(r.X, r.Y, r.X2, r.Y2); }
  static auto StyleValues(auto& s) { return std::tie(s.ExtValue1, s.Rotation); }
};

struct ArcKind : KindTypes<TObjectKind::Arc, ArcRecord, ArcRow, ArcStyle> {
  static auto RowValues(auto& r) { return std::tie(r.X, r.Y, r.Radius, r.StartAngle, r.EndAngle); }
  static auto StyleValues(auto& s) { return std::tie(s.LineWidth, s.ExtValue1); }
};

struct PadKind : KindTypes<TObjectKind::Pad, PadRecord, PadRow, PadStyle> {
  static auto RowValues(auto& r) { return std::tie(r.X, r.Y); }
  static auto StyleValues(auto& s) {
    return std::tie(s.TopXSize, s.TopYSize, s.MidXSize, s.MidYSize, s.BotXSize, s.BotYSize, s.HoleSize, s.TopShape,
                    s.MidShape, s.BotShape, s.StackMode, s.Extras, s.Layers, s.Rotation);
  }
};

// Every kind but the four above (kKind None stands for them all).
struct OtherKind : KindTypes<TObjectKind::None, GenericRecord, OtherRow, OtherStyle> {
  static auto RowValues(auto&) { return std::tie(); }
  static auto StyleValues(auto&) { return std::tie(); }
};

// ---- The objects of one kind ----

template <typename Kind>
class KindTable {
 public:
  using Record = typename Kind::Record;
  using Row = typename Kind::Row;
  using Style = typename Kind::Style;

  // The kind's defaults are its first style.
  KindTable() { Clear(); }

  std::size_t size() const { return rows_.size(); }
  const CommonFields& Common(uint32_t row) const { return styles_[rows_[row].Style].Common; }
  const Style& StyleOf(uint32_t row) const { return styles_[rows_[row].Style]; }

  Record Get(uint32_t row) const {
    const Row& r = rows_[row];
    const Style& s = styles_[r.Style];
    Record record;
    CommonValues(record.Common) = CommonValues(s.Common);
    Kind::RowValues(record) = Kind::RowValues(r);
    Kind::StyleValues(record) = Kind::StyleValues(s);
    return record;
  }
  // Throws std::bad_alloc, leaving the object as it was, when a new style cannot be held.
  void Set(uint32_t row, const Record& record) {
    Row r{};
    Style s;
    Split(record, r, s);
    Put(row, r, s);
  }
  // The object's row and style as stored, to change value by value and Put back: a store need
  // not assemble the whole record and take it apart again. The style is copied byte for byte,
  // so its zeroed padding stays zero.
  void Copy(uint32_t row, Row& r, Style& s) const {
    r = rows_[row];
    std::memcpy(static_cast<void*>(&s), &styles_[r.Style], sizeof s);
  }
  // The row's Style is ignored; throws std::bad_alloc, leaving the object as it was, when a new
  // style cannot be held.
  void Put(uint32_t row, Row r, const Style& s) {
    r.Style = styles_.Intern(s);
    rows_[row] = r;
  }
  // The record's values in a row and a style. Styles are compared byte for byte, so the style
  // is built on zeroed memory: no stray padding byte may tell two equal styles apart.
  static void Split(const Record& record, Row& r, Style& s) {
    std::memset(static_cast<void*>(&s), 0, sizeof s);
    CommonValues(s.Common) = CommonValues(record.Common);
    Kind::StyleValues(s) = Kind::StyleValues(record);
    Kind::RowValues(r) = Kind::RowValues(record);
  }
  // A new object with the defaults; throws std::bad_alloc, leaving the table as it was.
  uint32_t Add() {
    Row r{};
    rows_.push_back(r);
    return static_cast<uint32_t>(rows_.size() - 1);
  }
  void DropLast() { rows_.pop_back(); }

  void Clear() {
    rows_.Clear();
    styles_.Clear();
    Row r{};
    Style s;
    Split(Record{}, r, s);
    styles_.Intern(s);
  }
  std::size_t MemoryUsage() const { return rows_.MemoryUsage() + styles_.MemoryUsage(); }

 private:
  ChunkedVector<Row> rows_;
  Interner<Style> styles_;
};

}  // namespace standin
