#include "gerber/Dispatch.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <tuple>
#include <utility>

#include "gerber/Coordinates.h"
#include "gerber/StatementReader.h"
#include "host/Errors.h"
#include "host/Units.h"

namespace zz {
namespace {

// Character classes by table: every character of every data statement passes through them.
constexpr std::array<bool, 256> kFieldChar = [] {
  std::array<bool, 256> table{};
  for (char c = '0'; c <= '9'; ++c) table[static_cast<unsigned char>(c)] = true;
  table['+'] = table['-'] = table['.'] = true;
  return table;
}();

bool IsFieldChar(char c) { return kFieldChar[static_cast<unsigned char>(c)]; }

// The field characters from `start` on.
std::string_view FieldAfter(std::string_view statement, std::size_t start) {
  std::size_t end = start;
  while (end < statement.size() && IsFieldChar(statement[end])) ++end;
  return statement.substr(start, end - start);
}

// The digit's value, or more than 9 for any other character.
unsigned DigitValue(char c) { return static_cast<unsigned>(static_cast<unsigned char>(c)) - unsigned{'0'}; }

// The fields of a statement, found in one forward pass: where each key first occurs and, for the
// usual field of plain digits (after a sign, for X, Y, I and J), their value, read on the way.
// Field characters are never keys, so the pass goes on after the digits it has read.
struct StatementFields {
  enum Key : uint8_t { kOther, kPercent, kD, kG, kX, kY, kI, kJ, kKeyCount };
  static constexpr std::size_t kNone = std::string_view::npos;
  static constexpr std::array<uint8_t, 256> kKeyOf = [] {
    std::array<uint8_t, 256> table{};
    table['%'] = kPercent;
    table['D'] = kD;
    table['G'] = kG;
    table['X'] = kX;
    table['Y'] = kY;
    table['I'] = kI;
    table['J'] = kJ;
    return table;
  }();

  struct Field {
    std::size_t Key = kNone;  // position of the key letter
    uint64_t Digits = 0;      // the plain digits as a number
    uint8_t Length = 0;       // how many; 0: not plain digits
    bool Negative = false;
  };
  std::array<Field, kKeyCount> At;

  explicit StatementFields(std::string_view statement) {
    const std::size_t size = statement.size();
    for (std::size_t i = 0; i < size;) {
      const uint8_t key = kKeyOf[static_cast<unsigned char>(statement[i])];
      if (key == kOther || At[key].Key != kNone) {
        ++i;
        continue;
      }
      Field& field = At[key];
      field.Key = i++;
      if (key == kPercent) continue;
      // D and G numbers take at most nine digits (within 32 bits) and no sign; coordinates up
      // to sixteen, so that a seventeenth shows the field is too long for the plain reading.
      const bool coordinate = key >= kX;
      if (coordinate && i < size && (statement[i] == '-' || statement[i] == '+'))
        field.Negative = statement[i++] == '-';
      const std::size_t first = i;
      const std::size_t limit = std::min(size, first + (coordinate ? 16 : 9));
      uint64_t digits = 0;
      for (unsigned d = 0; i < limit && (d = DigitValue(statement[i])) <= 9; ++i) digits = digits * 10 + d;
      if (i > first && (i == size || !IsFieldChar(statement[i]))) {
        field.Digits = digits;
        field.Length = static_cast<uint8_t>(i - first);
      }
    }
  }
  bool Has(Key key) const { return At[key].Key != kNone; }
};

bool Contains(std::string_view statement, std::string_view part) {
  return statement.find(part) != std::string_view::npos;
}

bool HasDigit(std::string_view field) {
  return std::any_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A D, G or ADD number; none for a field without any digit (the "-" of "D-CODE" in a comment),
// which counts as absent.
// D and G numbers of plain digits never get here: the pass that finds them reads them.
std::optional<int32_t> ReadInteger(std::string_view field, std::string_view key) {
  if (!HasDigit(field)) return std::nullopt;
  int32_t value = 0;
  if (!TryReadInteger(field, value)) {
    throw EConversionError(std::string(key) + " number \"" + std::string(field) + "\" is not a valid integer");
  }
  return value;
}

// A D or G field: its characters, and its value when it is one to nine plain digits.
// Plain and IsPlain apart rather than an optional: built in pieces on the stack and read back
// whole, an optional stalls the load that reads it, once per data statement.
struct NumberField {
  std::string_view Text;
  int32_t Plain = 0;
  bool IsPlain = false;
};

NumberField NumberFieldOf(std::string_view statement, const StatementFields::Field& field) {
  if (field.Key == StatementFields::kNone) return {};
  if (field.Length != 0) {
    return {statement.substr(field.Key + 1, field.Length), static_cast<int32_t>(field.Digits), true};
  }
  return {FieldAfter(statement, field.Key + 1)};
}

// The field's number: its plain value, or read from its text; false for a field without digits.
bool FieldNumber(const NumberField& field, std::string_view key, int32_t& number) {
  if (field.IsPlain) {
    number = field.Plain;
    return true;
  }
  const std::optional<int32_t> read = ReadInteger(field.Text, key);
  if (read) number = *read;
  return read.has_value();
}

// A double beyond the float range becomes an infinity, which the unit conversion then
// rejects; the plain conversion would be undefined.
float ToSingle(double value) {
  if (std::isfinite(value) && std::fabs(value) > FLT_MAX) {
    const float infinity = std::numeric_limits<float>::infinity();
    return value > 0 ? infinity : -infinity;
  }
  return static_cast<float>(value);
}

// Both return what of the field is ignored, if anything, and set `n` to the field's number.
std::optional<IgnoredKind> ApplyDField(TGerberState& state, const NumberField& field, int32_t& n) {
  state.Operation = TOperation::None;
  if (field.Text.empty()) return std::nullopt;
  if (!FieldNumber(field, "D", n)) return IgnoredKind::FieldWithoutDigits;
  if (n == 1) {
    state.Operation = TOperation::Draw;
  } else if (n == 2) {
    state.Operation = TOperation::Move;
  } else if (n == 3) {
    state.Operation = TOperation::Flash;
  } else if (n >= TApertureFile::kFirstDCode && n <= TApertureFile::kLastDCode) {
    state.CurrentDCode = n;
  } else {
    return IgnoredKind::DCodeWithoutEffect;
  }
  return std::nullopt;
}

std::optional<IgnoredKind> ApplyGField(TGerberState& state, const NumberField& field, int32_t& n) {
  if (field.Text.empty()) return std::nullopt;
  if (!FieldNumber(field, "G", n)) return IgnoredKind::FieldWithoutDigits;
  switch (n) {
    case 1:
      state.Interpolation = TInterpolation::Linear;
      break;
    case 2:
      state.Interpolation = TInterpolation::Clockwise;
      break;
    case 3:
      state.Interpolation = TInterpolation::CounterClockwise;
      break;
    case 75:
      state.MultiQuadrant = true;
      break;
    case 74:
      state.FullCircleEnabled = false;
      state.Interpolation = TInterpolation::Linear;
      break;
    case 4:   // comment
    case 37:  // region end
    case 54:  // aperture select
    case 55:  // flash prepare
      break;
    case 36:
      return IgnoredKind::Region;
    default:
      return IgnoredKind::GCodeWithoutEffect;
  }
  return std::nullopt;
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// Whether the definition after "ADD<number>" is one of the standard templates read here.
bool NamesStandardTemplate(std::string_view afterNumber) {
  return StartsWith(afterNumber, "C,") || StartsWith(afterNumber, "R,") || StartsWith(afterNumber, "O,") ||
         StartsWith(afterNumber, "P,") || afterNumber == "C*%" || afterNumber.empty();
}

// A present X, Y, I or J field: its plain digits as the pass read them, nearly always; anything
// else goes through the field's text. False when the key has no field characters after it.
bool ApplyCoordinate(const GerberRun& run, std::string_view statement, const StatementFields::Field& field,
                     int32_t& registerValue) {
  int32_t value = 0;
  if (field.Length != 0 && run.Scales.Decode(field.Digits, field.Length, value)) {
    registerValue = field.Negative ? -value : value;
    return true;
  }
  const std::string_view text = FieldAfter(statement, field.Key + 1);
  if (text.empty()) return false;
  registerValue = DecodeCoordinate(run.State, text);
  return true;
}

// The length after key in the file's units, read through a 32-bit float; 0 when the field is
// missing.
int32_t ReadDimension(const TGerberState& state, std::string_view statement, std::string_view key) {
  const std::string_view field = ExtractField(statement, key);
  if (field.empty()) return 0;
  const float value = ToSingle(ReadDecimal(field));
  return state.Imperial ? MilToInternal(static_cast<double>(value) * 1000.0) : MmToInternal(static_cast<double>(value));
}

// %ADD: defines a round, obround, rectangle or octagon aperture in the run's table and
// selects its D-code, even one outside 10..999 (which defines nothing). Without a number after
// "ADD" it neither defines nor selects anything.
void DefineApertureStatement(GerberRun& run, std::string_view statement) {
  const std::optional<int32_t> number = ReadInteger(ExtractField(statement, "ADD"), "ADD");
  if (!number) return;  // "ADD" without a number, as in an attribute's text: no definition
  const int32_t dcode = *number;
  run.State.CurrentDCode = dcode;
  if (dcode < TApertureFile::kFirstDCode || dcode > TApertureFile::kLastDCode) return;

  // The first letter present wins, wherever it stands (a "C" in a macro name makes a circle).
  int32_t xSize = 0;
  int32_t ySize = 0;
  uint8_t shape = 0;
  const auto readSecondSize = [&] {
    return Contains(statement, "X") ? ReadDimension(run.State, statement, "X") : xSize;
  };
  if (Contains(statement, "C")) {
    xSize = ySize = ReadDimension(run.State, statement, "C,");
    shape = kShapeRound;
  } else if (Contains(statement, "O")) {
    xSize = ReadDimension(run.State, statement, "O,");
    ySize = readSecondSize();
    shape = kShapeRound;
  } else if (Contains(statement, "R")) {
    xSize = ReadDimension(run.State, statement, "R,");
    ySize = readSecondSize();
    shape = kShapeRectangle;
  } else if (Contains(statement, "P")) {
    xSize = ySize = ReadDimension(run.State, statement, "P,");
    shape = kShapeOctagon;
  } else {
    return;
  }
  run.HaveApertureTable = true;
  run.ApertureTable.DefineAperture(dcode, xSize, ySize, 0, shape, kUsageMultiple);
}

}  // namespace

std::string_view ExtractField(std::string_view statement, std::string_view key) {
  const std::size_t at = statement.find(key);
  if (at == std::string_view::npos) return {};
  return FieldAfter(statement, at + key.size());
}

bool DispatchStatement(GerberRun& run, std::string_view statement, DataFields& out) {
  TGerberState& state = run.State;
  const StatementFields fields(statement);
  if (fields.Has(StatementFields::kPercent)) {
    if (Contains(statement, "MOIN")) state.Imperial = true;
    if (Contains(statement, "MOMM")) state.Imperial = false;
    if (Contains(statement, "ADD")) DefineApertureStatement(run, statement);
    return false;
  }
  out.IgnoredD = ApplyDField(state, NumberFieldOf(statement, fields.At[StatementFields::kD]), out.D);
  out.IgnoredG = ApplyGField(state, NumberFieldOf(statement, fields.At[StatementFields::kG]), out.G);
  run.Scales.Prepare(state);
  const std::tuple<StatementFields::Key, int32_t*, bool*> registers[] = {
      {StatementFields::kX, &state.CoordX, &out.HasX},
      {StatementFields::kY, &state.CoordY, &out.HasY},
      {StatementFields::kI, &state.CoordI, &out.HasI},
      {StatementFields::kJ, &state.CoordJ, &out.HasJ}};
  for (const auto& [key, value, loaded] : registers) {
    if (fields.Has(key)) *loaded = ApplyCoordinate(run, statement, fields.At[key], *value);
  }
  return true;
}

bool DispatchStatement(GerberRun& run, std::string_view statement) {
  DataFields fields;
  return DispatchStatement(run, statement, fields);
}

// What a parameter statement asks for that is not carried out, judged by its first code.
std::optional<IgnoredKind> IgnoredParameter(std::string_view statement) {
  std::string_view body = statement.substr(statement.find('%') + 1);
  while (!body.empty() && (body.front() == ' ' || body.front() == '\n')) body.remove_prefix(1);
  if (StartsWith(body, "FS") || StartsWith(body, "MO")) return std::nullopt;
  if (StartsWith(body, "AM")) return IgnoredKind::ApertureMacro;
  if (StartsWith(body, "AD")) {
    if (Contains(statement, "ADD") && !HasDigit(ExtractField(statement, "ADD"))) return IgnoredKind::OtherParameter;
    std::string_view rest = body.substr(2);
    if (!rest.empty() && rest.front() == 'D') rest.remove_prefix(1);
    rest.remove_prefix(FieldAfter(rest, 0).size());  // the number as the definition reads it ("+10" too)
    if (NamesStandardTemplate(rest)) return std::nullopt;
    return IgnoredKind::MacroAperture;
  }
  if (StartsWith(body, "LP")) return IgnoredKind::Polarity;
  if (StartsWith(body, "SR")) return IgnoredKind::StepAndRepeat;
  if (!body.empty() && body.front() != '%') return IgnoredKind::OtherParameter;
  return std::nullopt;
}

}  // namespace zz
