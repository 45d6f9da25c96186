#include "standin/Server.h"

#include <algorithm>
#include <cstring>
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

namespace detail {

Server* theServer = nullptr;

// Built on first use: the board's layer names come from a table initialised in another unit.
Server& MakeServer() {
  static Server server;
  theServer = &server;
  return server;
}

}  // namespace detail

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

namespace {

void CopyCommon(CommonFields& to, const CommonFields& from) {
  to.LayerId = from.LayerId;
  to.AuxValue1 = from.AuxValue1;
  to.AuxValue2 = from.AuxValue2;
  to.StateFlags = from.StateFlags;
  to.IndexWord = from.IndexWord;
  to.AuxByte = from.AuxByte;
  to.BitField2 = from.BitField2;
  to.BitField3 = from.BitField3;
}

bool SameCommon(const CommonFields& a, const CommonFields& b) {
  return a.LayerId == b.LayerId && a.AuxValue1 == b.AuxValue1 && a.AuxValue2 == b.AuxValue2 &&
         a.StateFlags == b.StateFlags && a.IndexWord == b.IndexWord && a.AuxByte == b.AuxByte &&
         a.BitField2 == b.BitField2 && a.BitField3 == b.BitField3;
}

// Styles are compared byte for byte, so they are built field by field on zeroed memory: no
// stray padding byte may tell two equal styles apart.
void MakeStyle(CommonFields& s, const CommonFields& c) {
  std::memset(static_cast<void*>(&s), 0, sizeof s);
  CopyCommon(s, c);
}

void MakeStyle(TrackStyle& s, const TrackRecord& t) {
  std::memset(static_cast<void*>(&s), 0, sizeof s);
  CopyCommon(s.Common, t.Common);
  s.Width = t.Width;
  s.ExtValue1 = t.ExtValue1;
  s.ExtValue2 = t.ExtValue2;
  s.ExtValue3 = t.ExtValue3;
}

void MakeStyle(FillStyle& s, const FillRecord& f) {
  std::memset(static_cast<void*>(&s), 0, sizeof s);
  CopyCommon(s.Common, f.Common);
  s.ExtValue1 = f.ExtValue1;
  s.Rotation = f.Rotation;
}

void MakeStyle(ArcStyle& s, const ArcRecord& a) {
  std::memset(static_cast<void*>(&s), 0, sizeof s);
  CopyCommon(s.Common, a.Common);
  s.LineWidth = a.LineWidth;
  s.ExtValue1 = a.ExtValue1;
}

void MakeStyle(PadStyle& s, const PadRecord& p) {
  std::memset(static_cast<void*>(&s), 0, sizeof s);
  CopyCommon(s.Common, p.Common);
  s.TopXSize = p.TopXSize;
  s.TopYSize = p.TopYSize;
  s.MidXSize = p.MidXSize;
  s.MidYSize = p.MidYSize;
  s.BotXSize = p.BotXSize;
  s.BotYSize = p.BotYSize;
  s.HoleSize = p.HoleSize;
  s.TopShape = p.TopShape;
  s.MidShape = p.MidShape;
  s.BotShape = p.BotShape;
  s.StackMode = p.StackMode;
  s.Extras = p.Extras;
  s.Layers = p.Layers;
  s.Rotation = p.Rotation;
}

template <typename Style, typename Record>
uint32_t Intern(Interner<Style>& styles, const Record& record) {
  Style style;
  MakeStyle(style, record);
  return styles.Intern(style);
}

}  // namespace

Server::Server() { Reset(); }

void Server::Reset() {
  FailEveryNthCreation(0);
  slots_.Clear();
  tracks_.Clear();
  fills_.Clear();
  arcs_.Clear();
  pads_.Clear();
  others_.Clear();
  trackStyles_.Clear();
  fillStyles_.Clear();
  arcStyles_.Clear();
  padStyles_.Clear();
  otherStyles_.Clear();
  Release(padExtras_);
  Release(padLayers_);
  answers_ = PadLayerAnswers{};
  // The new objects' defaults are the first style of each kind.
  Intern(trackStyles_, TrackRecord{});
  Intern(fillStyles_, FillRecord{});
  Intern(arcStyles_, ArcRecord{});
  Intern(padStyles_, PadRecord{});
  Intern(otherStyles_, CommonFields{});
  boards_.clear();
  boards_.push_back(std::make_unique<Board>(kBoardHandleBase + 1));
  currentBoard_ = 0;
  messages_.clear();
  progress_.Reset();
}

THandle Server::CreateObject(uint8_t kind) {
  if (failEveryNthCreation_ > 0 && ++creationCalls_ % failEveryNthCreation_ == 0) return 0;
  if (!HasObjectClass(kind) || slots_.size() >= kMaxObjects) return 0;
  constexpr uint32_t kDefaultStyle = 0;
  try {
    ObjectSlot slot;
    slot.Kind = static_cast<TObjectKind>(kind);
    switch (slot.Kind) {
      case TObjectKind::Track:
        slot.Index = static_cast<uint32_t>(tracks_.size());
        tracks_.push_back(TrackRow{0, 0, 0, 0, kDefaultStyle});
        break;
      case TObjectKind::Fill:
        slot.Index = static_cast<uint32_t>(fills_.size());
        fills_.push_back(FillRow{0, 0, 0, 0, kDefaultStyle});
        break;
      case TObjectKind::Arc:
        slot.Index = static_cast<uint32_t>(arcs_.size());
        arcs_.push_back(ArcRow{0, 0, 0, kDefaultStyle, 0.0, 0.0});
        break;
      case TObjectKind::Pad:
        slot.Index = static_cast<uint32_t>(pads_.size());
        pads_.push_back(PadRow{0, 0, kDefaultStyle});
        break;
      default:
        slot.Index = static_cast<uint32_t>(others_.size());
        others_.push_back(OtherRow{kDefaultStyle});
        break;
    }
    try {
      slots_.push_back(slot);
    } catch (const std::bad_alloc&) {
      DropLastRow(slot.Kind);  // no half-made object stays behind
      throw;
    }
  } catch (const std::bad_alloc&) {
    return 0;
  }
  return static_cast<THandle>(slots_.size());
}

void Server::DropLastRow(TObjectKind kind) {
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

// ---- Records from rows and styles ----

TrackRecord Server::Track(uint32_t row) const {
  const TrackRow& r = tracks_[row];
  const TrackStyle& s = trackStyles_[r.Style];
  TrackRecord t;
  CopyCommon(t.Common, s.Common);
  t.X = r.X;
  t.Y = r.Y;
  t.X2 = r.X2;
  t.Y2 = r.Y2;
  t.Width = s.Width;
  t.ExtValue1 = s.ExtValue1;
  t.ExtValue2 = s.ExtValue2;
  t.ExtValue3 = s.ExtValue3;
  return t;
}

FillRecord Server::Fill(uint32_t row) const {
  const FillRow& r = fills_[row];
  const FillStyle& s = fillStyles_[r.Style];
  FillRecord f;
  CopyCommon(f.Common, s.Common);
  f.X = r.X;
  f.Y = r.Y;
  f.X2 = r.X2;
  f.Y2 = r.Y2;
  f.ExtValue1 = s.ExtValue1;
  f.Rotation = s.Rotation;
  return f;
}

ArcRecord Server::Arc(uint32_t row) const {
  const ArcRow& r = arcs_[row];
  const ArcStyle& s = arcStyles_[r.Style];
  ArcRecord a;
  CopyCommon(a.Common, s.Common);
  a.X = r.X;
  a.Y = r.Y;
  a.Radius = r.Radius;
  a.LineWidth = s.LineWidth;
  a.ExtValue1 = s.ExtValue1;
  a.StartAngle = r.StartAngle;
  a.EndAngle = r.EndAngle;
  return a;
}

PadRecord Server::Pad(uint32_t row) const {
  const PadRow& r = pads_[row];
  const PadStyle& s = padStyles_[r.Style];
  PadRecord p;
  CopyCommon(p.Common, s.Common);
  p.X = r.X;
  p.Y = r.Y;
  p.TopXSize = s.TopXSize;
  p.TopYSize = s.TopYSize;
  p.MidXSize = s.MidXSize;
  p.MidYSize = s.MidYSize;
  p.BotXSize = s.BotXSize;
  p.BotYSize = s.BotYSize;
  p.HoleSize = s.HoleSize;
  p.TopShape = s.TopShape;
  p.MidShape = s.MidShape;
  p.BotShape = s.BotShape;
  p.StackMode = s.StackMode;
  p.Extras = s.Extras;
  p.Layers = s.Layers;
  p.Rotation = s.Rotation;
  return p;
}

std::optional<TrackRecord> Server::FindTrack(THandle handle) const {
  const uint32_t row = RowOf(handle, TObjectKind::Track);
  if (row == kNoRow) return std::nullopt;
  return Track(row);
}

std::optional<FillRecord> Server::FindFill(THandle handle) const {
  const uint32_t row = RowOf(handle, TObjectKind::Fill);
  if (row == kNoRow) return std::nullopt;
  return Fill(row);
}

std::optional<ArcRecord> Server::FindArc(THandle handle) const {
  const uint32_t row = RowOf(handle, TObjectKind::Arc);
  if (row == kNoRow) return std::nullopt;
  return Arc(row);
}

std::optional<PadRecord> Server::FindPad(THandle handle) const {
  const uint32_t row = RowOf(handle, TObjectKind::Pad);
  if (row == kNoRow) return std::nullopt;
  return Pad(row);
}

// ---- Changing objects ----

bool Server::SetTrack(uint32_t row, const TrackRecord& t) {
  uint32_t style = 0;
  try {
    style = Intern(trackStyles_, t);
  } catch (const std::bad_alloc&) {
    return false;
  }
  tracks_[row] = TrackRow{t.X, t.Y, t.X2, t.Y2, style};
  return true;
}

bool Server::SetFill(uint32_t row, const FillRecord& f) {
  uint32_t style = 0;
  try {
    style = Intern(fillStyles_, f);
  } catch (const std::bad_alloc&) {
    return false;
  }
  fills_[row] = FillRow{f.X, f.Y, f.X2, f.Y2, style};
  return true;
}

bool Server::SetArc(uint32_t row, const ArcRecord& a) {
  uint32_t style = 0;
  try {
    style = Intern(arcStyles_, a);
  } catch (const std::bad_alloc&) {
    return false;
  }
  arcs_[row] = ArcRow{a.X, a.Y, a.Radius, style, a.StartAngle, a.EndAngle};
  return true;
}

bool Server::SetPad(uint32_t row, const PadRecord& pad, const PadExtras& extras) {
  // The side-table indices are the server's own, whatever the caller's copy holds.
  PadRecord p = pad;
  const PadStyle& current = padStyles_[pads_[row].Style];
  p.Extras = current.Extras;
  p.Layers = current.Layers;
  // Nothing changes until everything that needs memory has it.
  bool added = false;
  if (p.Extras == kNoSideEntry && !extras.IsDefault()) {
    try {
      padExtras_.push_back(extras);
    } catch (const std::bad_alloc&) {
      return false;
    }
    p.Extras = static_cast<uint32_t>(padExtras_.size());
    added = true;
  }
  uint32_t style = 0;
  try {
    style = Intern(padStyles_, p);
  } catch (const std::bad_alloc&) {
    if (added) padExtras_.pop_back();
    return false;
  }
  if (!added && p.Extras != kNoSideEntry) padExtras_[p.Extras - 1] = extras;
  pads_[row] = PadRow{p.X, p.Y, style};
  answers_ = PadLayerAnswers{};
  return true;
}

bool Server::SetCommon(THandle handle, const CommonFields& common) {
  const ObjectSlot* slot = SlotOf(handle);
  if (slot == nullptr) return false;
  if (SameCommon(*FindCommon(handle), common)) return true;
  const uint32_t row = slot->Index;
  switch (slot->Kind) {
    case TObjectKind::Track: {
      TrackRecord t = Track(row);
      t.Common = common;
      return SetTrack(row, t);
    }
    case TObjectKind::Fill: {
      FillRecord f = Fill(row);
      f.Common = common;
      return SetFill(row, f);
    }
    case TObjectKind::Arc: {
      ArcRecord a = Arc(row);
      a.Common = common;
      return SetArc(row, a);
    }
    case TObjectKind::Pad: {
      PadRecord p = Pad(row);
      p.Common = common;
      return SetPad(row, p, ExtrasOf(p));
    }
    default:
      try {
        others_[row].Style = Intern(otherStyles_, common);
      } catch (const std::bad_alloc&) {
        return false;
      }
      return true;
  }
}

bool PadExtras::IsDefault() const {
  return Name.Empty() && PadText1.Empty() && PadText2.Empty() && PadText3.Empty() && PadByte1 == 0 && PadByte2 == 0 &&
         PadByte3 == 0 && PadByte4 == 0 && PadValue1 == 0 && PadValue2 == 0 && PadValue3 == 0 && PadValue4 == 0 &&
         PadValue5 == 0 && PadValue6 == 0 && PadViaFlag1 == 0 && PadViaFlag2 == 0;
}

const PadExtras& Server::ExtrasOf(const PadRecord& pad) const {
  static const PadExtras defaults;
  return pad.Extras == kNoSideEntry ? defaults : padExtras_[pad.Extras - 1];
}

// ---- Per-layer pad values ----

const Server::PadLayerAnswers* Server::FillLayerAnswers(THandle handle) {
  const uint32_t row = RowOf(handle, TObjectKind::Pad);
  if (row == kNoRow) return nullptr;
  const PadStyle& s = padStyles_[pads_[row].Style];
  answers_.Handle = handle;
  answers_.Row = row;
  answers_.Simple = s.Layers == kNoSideEntry;
  answers_.SimpleHandle = answers_.Simple ? handle : PadLayerAnswers::kNone;
  answers_.Shape[0] = s.TopShape;
  answers_.Shape[1] = s.MidShape;
  answers_.Shape[2] = s.BotShape;
  answers_.XSize[0] = s.TopXSize;
  answers_.XSize[1] = s.MidXSize;
  answers_.XSize[2] = s.BotXSize;
  answers_.YSize[0] = s.TopYSize;
  answers_.YSize[1] = s.MidYSize;
  answers_.YSize[2] = s.BotYSize;
  return &answers_;
}

bool Server::EnsureLayerOverrides(uint32_t row) {
  PadRecord pad = Pad(row);
  if (pad.Layers != kNoSideEntry) return true;
  try {
    padLayers_.emplace_back();
  } catch (const std::bad_alloc&) {
    return false;
  }
  pad.Layers = static_cast<uint32_t>(padLayers_.size());
  try {
    pads_[row].Style = Intern(padStyles_, pad);
  } catch (const std::bad_alloc&) {
    padLayers_.pop_back();
    return false;
  }
  answers_ = PadLayerAnswers{};
  return true;
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
bool Server::SetPadShapeOnLayer(uint32_t row, uint8_t layer, uint8_t shape) {
  if (Pad(row).Layers == kNoSideEntry && shape == PadShapeOnLayer(Pad(row), layer)) return true;
  if (!EnsureLayerOverrides(row)) return false;
  const PadRecord pad = Pad(row);
  PadLayerOverrides& own = padLayers_[pad.Layers - 1];
  own.HasShape[layer] = false;
  if (shape != PadShapeOnLayer(pad, layer)) {
    own.HasShape[layer] = true;
    own.Shape[layer] = shape;
  }
  answers_ = PadLayerAnswers{};
  return true;
}

bool Server::SetPadSizeOnLayer(uint32_t row, uint8_t layer, int32_t xSize, int32_t ySize) {
  const PadRecord pad = Pad(row);
  int32_t derivedX = 0;
  int32_t derivedY = 0;
  DerivedSize(pad, layer, derivedX, derivedY);
  const bool same = xSize == derivedX && ySize == derivedY;
  if (pad.Layers == kNoSideEntry && same) return true;
  if (!EnsureLayerOverrides(row)) return false;
  PadLayerOverrides& own = padLayers_[Pad(row).Layers - 1];
  own.HasSize[layer] = !same;
  own.XSize[layer] = xSize;
  own.YSize[layer] = ySize;
  answers_ = PadLayerAnswers{};
  return true;
}

bool Server::SetPadCornerPercentOnLayer(uint32_t row, uint8_t layer, uint8_t percent) {
  if (Pad(row).Layers == kNoSideEntry && percent == 0) return true;
  if (!EnsureLayerOverrides(row)) return false;
  PadLayerOverrides& own = padLayers_[Pad(row).Layers - 1];
  own.HasPercent[layer] = percent != 0;
  own.CornerPercent[layer] = percent;
  answers_ = PadLayerAnswers{};
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
  std::size_t bytes = slots_.MemoryUsage() + tracks_.MemoryUsage() + fills_.MemoryUsage() + arcs_.MemoryUsage() +
                      pads_.MemoryUsage() + others_.MemoryUsage() + trackStyles_.MemoryUsage() +
                      fillStyles_.MemoryUsage() + arcStyles_.MemoryUsage() + padStyles_.MemoryUsage() +
                      otherStyles_.MemoryUsage() + Held(padExtras_) + Held(padLayers_);
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
