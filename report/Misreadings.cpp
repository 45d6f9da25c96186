#include "report/Misreadings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace zzreport {
namespace {

struct CauseText {
  std::string_view Key;
  std::string_view Words;
};

// By Cause.
constexpr std::array<CauseText, kCauseCount> kCauseTexts = {{
    {"none", "nothing"},
    {"not_recognised", "the editor offers the file to no importer"},
    {"import_stopped", "the import stops at \"Aperture Table Not Found\""},
    {"units_in_format", "units inside the format statement are not applied"},
    {"units_by_g_code", "units set by G70/G71 are not applied"},
    {"incremental_coordinates", "incremental coordinates are read as absolute"},
    {"image_parameters", "image parameters (%IP %MI %OF %SF %IR %AS) are not applied"},
    {"object_transforms", "mirror, rotation and scale of objects (%LM %LR %LS) are not applied"},
    {"step_and_repeat", "step-and-repeat: the block is placed once"},
    {"regions", "regions (G36/G37) are not filled"},
    {"macro_pads", "macro apertures: no pads"},
    {"block_apertures", "block apertures (%AB) are not placed"},
    {"clear_polarity", "clear polarity (%LPC): clear objects are drawn dark"},
    {"comment_fields", "comment text read as fields"},
    {"coordinates_without_operation", "coordinates without an operation code draw nothing"},
    {"aperture_size_unread", "aperture size not read (a blank after the comma): size 0"},
    {"unsigned_arc_offsets", "G74 arcs with unsigned offsets: wrong centre"},
    {"region_contours", "region contours drawn as strokes of the aperture selected last"},
    {"slanted_rectangle_strokes", "rectangle aperture along a slanted line: the whole box"},
    {"other", "other differences (arc radii, rounding)"},
}};

std::optional<int> Integer(std::string_view digits) {
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  int value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

bool NumberChar(char c) { return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'; }

std::string Trimmed(std::string_view s) {
  std::string out;
  for (const char c : s) out += (static_cast<unsigned char>(c) < 32) ? ' ' : c;
  const auto first = out.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return out.substr(first, out.find_last_not_of(' ') - first + 1);
}

// The number after a letter in a parameter statement ("%SRX3Y2..." gives 3 for "X").
std::optional<double> ParameterNumber(std::string_view s, std::string_view key) {
  const std::size_t at = s.find(key);
  if (at == std::string_view::npos) return std::nullopt;
  std::size_t end = at + key.size();
  while (end < s.size() && NumberChar(s[end])) ++end;
  if (end == at + key.size()) return std::nullopt;
  return std::strtod(std::string(s.substr(at + key.size(), end - at - key.size())).c_str(), nullptr);
}

bool ImageParameterApplies(std::string_view t) {
  if (t.rfind("%IPNEG", 0) == 0) return true;
  if (t.rfind("%MI", 0) == 0)
    return ParameterNumber(t, "A").value_or(0) != 0 || ParameterNumber(t, "B").value_or(0) != 0;
  if (t.rfind("%OF", 0) == 0)
    return ParameterNumber(t, "A").value_or(0) != 0 || ParameterNumber(t, "B").value_or(0) != 0;
  if (t.rfind("%SF", 0) == 0)
    return ParameterNumber(t, "A").value_or(1) != 1 || ParameterNumber(t, "B").value_or(1) != 1;
  if (t.rfind("%IR", 0) == 0) return ParameterNumber(t, "%IR").value_or(0) != 0;
  return t.rfind("%ASAY", 0) == 0;
}

// The G code a data statement starts with, as the file means it ("G04 ...", "G36*"): the
// importer's G number when the statement begins with its key.
std::optional<int32_t> LeadingG(const zz::StatementEvent& e, std::string_view t) {
  if (e.G == zz::StatementEvent::kAbsent) return std::nullopt;
  const std::size_t first = t.find_first_not_of(" \n\t");
  if (first == std::string_view::npos || t[first] != 'G') return std::nullopt;
  return e.G;
}

// Does centre c put points a and b at the same distance, within two of the file's last digits?
bool Centres(const zz::TGerberState& state, double ax, double ay, double bx, double by, double cx, double cy) {
  const double unitsPerDigit = (state.Imperial ? 1e7 : 1e7 / 25.4) * std::pow(10.0, -state.DecimalDigits);
  const double ra = std::hypot(ax - cx, ay - cy);
  const double rb = std::hypot(bx - cx, by - cy);
  return std::abs(ra - rb) <= std::max(2.0 * unitsPerDigit, 1e-3 * std::max(ra, rb));
}

}  // namespace

std::string_view CauseKey(Cause cause) { return kCauseTexts[static_cast<std::size_t>(cause)].Key; }
std::string_view CauseWords(Cause cause) { return kCauseTexts[static_cast<std::size_t>(cause)].Words; }

void PluginReading::Note(Cause cause, int32_t line, std::string_view statement) {
  CauseStatements& statements = Statements[static_cast<std::size_t>(cause)];
  ++statements.Count;
  if (statements.First.size() < kFirstKept) statements.First.emplace_back(line, Trimmed(statement));
}

bool PluginReading::FoundAny() const {
  if (Global != Cause::None || FirstOperationWithoutApertures != 0 || !LineCauses.empty()) return true;
  for (const CauseStatements& s : Statements) {
    if (s.Count != 0) return true;
  }
  return !ObjectCauses.empty();
}

Cause PluginReading::CauseOfObject(int64_t index) const {
  const auto at = std::lower_bound(ObjectCauses.begin(), ObjectCauses.end(), index,
                                   [](const std::pair<int64_t, Cause>& entry, int64_t i) { return entry.first < i; });
  return at != ObjectCauses.end() && at->first == index ? at->second : Cause::None;
}

void MisreadingWatch::OnRunStart() {
  reading_ = {};
  m_ = {};
}

void MisreadingWatch::OnStatement(const zz::StatementEvent& e) {
  if (!on_) return;
  ++reading_.StatementsRead;
  const int32_t line = e.Line - lineShift_;
  if (e.Format) {
    Format(e, e.Text, line);
  } else if (e.Parameter) {
    Parameter(e.Text, line);
  } else {
    Data(e, e.Text, line);
  }
}

void MisreadingWatch::OnRunEnd(int32_t /*objectsNotCreated*/) {
  if (!on_) return;
  if (m_.UnitsDiffered) {
    reading_.Global = m_.FormatUnits ? Cause::UnitsInFormat : Cause::UnitsByGCode;
  } else if (reading_.Has(Cause::IncrementalCoordinates)) {
    reading_.Global = Cause::IncrementalCoordinates;
  } else if (reading_.Has(Cause::ImageParameters)) {
    reading_.Global = Cause::ImageParameters;
  }
}

void MisreadingWatch::Format(const zz::StatementEvent& e, std::string_view t, int32_t line) {
  // A file that never states its units means the ones the importer has: no cause of its own.
  m_.Imperial = e.State->Imperial;
  reading_.Imperial = e.State->Imperial;
  std::string upper(t);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (upper.find("FSLI") != std::string::npos) Note(Cause::IncrementalCoordinates, line, t);
  // What the file means: units given inside the format statement.
  if (t.find("MOIN") != std::string_view::npos) {
    m_.Imperial = true;
    m_.FormatUnits = true;
    Note(Cause::UnitsInFormat, line, t);
  } else if (t.find("MOMM") != std::string_view::npos) {
    m_.Imperial = false;
    m_.FormatUnits = true;
  }
}

void MisreadingWatch::Parameter(std::string_view t, int32_t line) {
  if (t.find("%MOIN") != std::string_view::npos) m_.Imperial = true;
  if (t.find("%MOMM") != std::string_view::npos) m_.Imperial = false;
  if (t.rfind("%AM", 0) == 0) Note(Cause::MacroPads, line, t);
  if (t.rfind("%ADD", 0) == 0) {
    std::size_t i = 4;
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i;
    if (const std::optional<int> n = Integer(t.substr(4, i - 4))) {
      const std::size_t nameEnd = t.find_first_of(",*%", i);
      const std::string_view name = t.substr(i, nameEnd == std::string_view::npos ? 0 : nameEnd - i);
      // D-codes beyond those the importer defines keep nothing.
      const bool defines = *n >= 10 && *n <= 999;
      if (defines && m_.SizeUnread.size() <= static_cast<std::size_t>(*n)) m_.SizeUnread.resize(1000);
      if (defines) m_.SizeUnread[static_cast<std::size_t>(*n)] = false;
      m_.DCode = *n;  // what the importer does too; the file means nothing by it
      if (name != "C" && name != "R" && name != "O" && name != "P") {
        Note(Cause::MacroPads, line, t);
      } else if (nameEnd < t.size() && t[nameEnd] == ',' && nameEnd + 1 < t.size() &&
                 (t[nameEnd + 1] == ' ' || t[nameEnd + 1] == '\t')) {
        if (defines) m_.SizeUnread[static_cast<std::size_t>(*n)] = true;
        Note(Cause::ApertureSizeUnread, line, t);
      }
    }
  }
  if (t.rfind("%AB", 0) == 0 && t.size() > 4 && t[3] == 'D') Note(Cause::BlockApertures, line, t);
  const std::size_t lp = t.rfind("%LP");
  if (lp != std::string_view::npos && lp + 3 < t.size()) {
    m_.Clear = t[lp + 3] == 'C';
    if (m_.Clear) Note(Cause::ClearPolarity, line, t);
  }
  if (t.rfind("%SR", 0) == 0) {
    const double nx = ParameterNumber(t, "X").value_or(1.0);
    const double ny = ParameterNumber(t, "Y").value_or(1.0);
    if (nx * ny > 1.0) Note(Cause::StepAndRepeat, line, t);
  }
  if (ImageParameterApplies(t)) Note(Cause::ImageParameters, line, t);
  if (t.rfind("%LM", 0) == 0 || t.rfind("%LR", 0) == 0 || t.rfind("%LS", 0) == 0) {
    const bool identity =
        t.rfind("%LMN*", 0) == 0 || ParameterNumber(t, "%LR") == 0.0 || ParameterNumber(t, "%LS") == 1.0;
    m_.Transformed = !identity;
    if (m_.Transformed) Note(Cause::ObjectTransforms, line, t);
  }
}

void MisreadingWatch::Data(const zz::StatementEvent& e, std::string_view t, int32_t line) {
  using zz::TOperation;
  const zz::TGerberState& state = *e.State;
  const std::optional<int32_t> realG = LeadingG(e, t);
  const bool comment = realG == 4;
  const bool coordinates = e.HasX || e.HasY;
  m_.StartX = m_.PointX;
  m_.StartY = m_.PointY;
  const bool selects = e.D >= 10 && e.D <= 999;
  if (comment) {
    if (state.Operation != TOperation::None || selects || coordinates || e.HasI || e.HasJ) {
      Note(Cause::CommentFields, line, t);
      if (selects) m_.DCodeCause = Cause::CommentFields;
    }
  } else {
    // The file's own reading: its G code, its D code, its registers and point.
    if (realG) {
      const int32_t g = *realG;
      if (g == 74) m_.SingleQuadrant = true;
      if (g == 75) m_.SingleQuadrant = false;
      if (g == 36) {
        m_.InRegion = true;
        Note(Cause::Regions, line, t);
      }
      if (g == 37) m_.InRegion = false;
      if (g == 70 || g == 71) m_.Imperial = g == 70;
      if (g == 70 && !state.Imperial) Note(Cause::UnitsByGCode, line, t);
      if (g == 91) Note(Cause::IncrementalCoordinates, line, t);
    }
    TOperation op = e.D == 1   ? TOperation::Draw
                    : e.D == 2 ? TOperation::Move
                    : e.D == 3 ? TOperation::Flash
                               : TOperation::None;
    if (e.D >= 10) {
      m_.DCode = e.D;
      m_.DCodeCause = Cause::None;
    }
    if (op == TOperation::None && coordinates) {
      Note(Cause::CoordinatesWithoutOperation, line, t);
      op = m_.Op;  // the operation carries over, as older files expect
      if (op != TOperation::None) {
        reading_.LineCauses.emplace(line, Cause::CoordinatesWithoutOperation);
        m_.PointCause = Cause::CoordinatesWithoutOperation;
      }
    } else if (op != TOperation::None) {
      m_.Op = op;
    }
    if (e.HasX) m_.X = state.CoordX;
    if (e.HasY) m_.Y = state.CoordY;
    if (op != TOperation::None) {
      m_.PointX = m_.X;
      m_.PointY = m_.Y;
    }
  }
  if (state.Operation == TOperation::None && !e.StopsRun) return;
  if (e.StopsRun) {
    reading_.FirstOperationWithoutApertures = line;
    reading_.FirstOperationCause = comment ? Cause::CommentFields : Cause::ImportStopped;
    Note(Cause::ImportStopped, line, t);
    return;
  }
  Object(e, t, line, comment);
}

void MisreadingWatch::Object(const zz::StatementEvent& e, std::string_view t, int32_t line, bool comment) {
  using zz::TOperation;
  const zz::TGerberState& state = *e.State;
  const TOperation op = state.Operation;
  const bool startDiffers = e.FromX != m_.StartX || e.FromY != m_.StartY;
  const bool atRealPoint = state.PointX == m_.PointX && state.PointY == m_.PointY;
  if (op == TOperation::Move) {
    if (comment && !atRealPoint) m_.PointCause = Cause::CommentFields;
    return;
  }
  Cause cause = Cause::None;
  const auto dcode = static_cast<std::size_t>(state.CurrentDCode);
  const bool sizeUnread = dcode < m_.SizeUnread.size() && m_.SizeUnread[dcode];
  const bool draw = op == TOperation::Draw;
  const bool arc = draw && state.Interpolation != zz::TInterpolation::Linear;
  if (comment) {
    cause = Cause::CommentFields;
  } else if (m_.Clear) {
    cause = Cause::ClearPolarity;
  } else if (m_.InRegion && draw) {
    cause = Cause::RegionContours;
    Note(cause, line, t);
  } else if (state.CurrentDCode != m_.DCode && m_.DCodeCause != Cause::None) {
    cause = m_.DCodeCause;
  } else if (sizeUnread) {
    cause = Cause::ApertureSizeUnread;
    reading_.LineCauses.emplace(line, cause);
  } else if (m_.Transformed && op == TOperation::Flash) {
    cause = Cause::ObjectTransforms;
    reading_.LineCauses.emplace(line, cause);
  } else if (draw && startDiffers && m_.PointCause != Cause::None) {
    cause = m_.PointCause;
    reading_.LineCauses.emplace(line, cause);
  } else if (arc && m_.SingleQuadrant && (e.I != 0 || e.J != 0)) {
    const double cx = static_cast<double>(e.FromX) + e.I;
    const double cy = static_cast<double>(e.FromY) + e.J;
    if (!Centres(state, e.FromX, e.FromY, state.PointX, state.PointY, cx, cy)) {
      cause = Cause::UnsignedArcOffsets;
      Note(cause, line, t);
      reading_.LineCauses.emplace(line, cause);
    }
  } else if (e.Made == zz::MadeObject::Fill && e.FromX != state.PointX && e.FromY != state.PointY) {
    cause = Cause::SlantedRectangleStrokes;
    Note(cause, line, t);
  }
  if (state.Imperial != m_.Imperial) m_.UnitsDiffered = true;
  const auto used = static_cast<std::size_t>(state.CurrentDCode);
  if (e.ApertureDefined && used < 1000 && (used >= m_.ApertureSeen.size() || !m_.ApertureSeen[used])) {
    if (m_.ApertureSeen.size() < 1000) m_.ApertureSeen.resize(1000);
    m_.ApertureSeen[used] = true;
    reading_.Apertures.push_back({state.CurrentDCode, e.ApertureShape, e.ApertureXSize, e.ApertureYSize});
  }
  if (e.Made != zz::MadeObject::None && !e.Refused) {
    if (cause != Cause::None) reading_.ObjectCauses.emplace_back(reading_.ObjectsCreated, cause);
    ++reading_.ObjectsCreated;
  }
  if (atRealPoint) m_.PointCause = Cause::None;
}

}  // namespace zzreport
