#include "cli/Misreadings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <optional>

namespace zzcli {
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

// The importer's text reader: a line end runs from a carriage return to the next line feed; a
// lone line feed is an ordinary character that starts the next line; Ctrl-Z ends the file.
class PluginText {
 public:
  explicit PluginText(std::istream& in) : in_(in) { Fill(); }

  bool AtEnd() const { return pos_ == end_ && eof_; }
  int32_t Line() const { return line_; }

  // Takes the characters up to the next terminator, carriage return or line feed that stand in
  // the buffer, appending them to `out` while it is shorter than `room`.
  void TakeRun(char terminator, std::string& out, std::size_t room) {
    std::size_t end = pos_;
    while (end < end_) {
      const char c = buffer_[end];
      if (c == terminator || c == '\r' || c == '\n') break;
      ++end;
    }
    if (out.size() < room) out.append(buffer_.data() + pos_, std::min(end - pos_, room - out.size()));
    pos_ = end;
  }

  char NextChar() {
    if (AtEnd()) return '\0';
    while (Peek() == '\r') {
      while (!AtEnd() && Take() != '\n') {
      }
      ++line_;
      if (AtEnd()) return '\0';
    }
    const char c = Take();
    if (c == '\n') ++line_;
    return c;
  }

 private:
  char Peek() { return pos_ < end_ || (Fill(), pos_ < end_) ? buffer_[pos_] : '\0'; }
  char Take() {
    const char c = Peek();
    if (pos_ < end_) ++pos_;
    return c;
  }
  void Fill() {
    if (pos_ < end_ || eof_) return;
    in_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    end_ = static_cast<std::size_t>(in_.gcount());
    pos_ = 0;
    const auto ctrlZ = std::find(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(end_), '\x1a');
    if (ctrlZ != buffer_.begin() + static_cast<std::ptrdiff_t>(end_)) {
      end_ = static_cast<std::size_t>(ctrlZ - buffer_.begin());
      eof_ = true;
    }
    if (end_ < buffer_.size()) eof_ = true;
  }

  std::istream& in_;
  std::array<char, 1 << 16> buffer_{};
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool eof_ = false;
  int32_t line_ = 1;
};

struct Statement {
  std::string Text;  // at most 255 characters, as the importer keeps it
  int32_t Line = 1;
};

// Into `s`, whose text keeps its capacity from one statement to the next.
void ReadStatement(PluginText& text, Statement& s) {
  s.Text.clear();
  char c = text.NextChar();
  while ((c == '\0' || c == '\n') && !text.AtEnd()) c = text.NextChar();
  if (c == '\n') c = '\0';
  s.Line = text.Line();
  char terminator = '*';
  const auto append = [&s](char ch) {
    if (s.Text.size() < 255) s.Text += ch;
  };
  if (c == '%') {
    terminator = '%';
    append(c);
    c = text.NextChar();
  }
  while (c != terminator && !text.AtEnd()) {
    append(c);
    // The ordinary characters ahead in the buffer at once; line ends one at a time.
    text.TakeRun(terminator, s.Text, 255);
    c = text.NextChar();
  }
  append(c);
}

bool NumberChar(char c) { return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'; }

// The importer's field: the number characters after the first occurrence of key.
std::string_view Field(std::string_view s, std::string_view key) {
  const std::size_t at = s.find(key);
  if (at == std::string_view::npos) return {};
  std::size_t end = at + key.size();
  while (end < s.size() && NumberChar(s[end])) ++end;
  return s.substr(at + key.size(), end - at - key.size());
}

std::optional<int> Integer(std::string_view digits) {
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  int value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

double Decimal(std::string_view text) {
  const std::string copy(text);
  return std::strtod(copy.c_str(), nullptr);
}

std::string Trimmed(std::string_view s) {
  std::string out;
  for (const char c : s) out += (static_cast<unsigned char>(c) < 32) ? ' ' : c;
  const auto first = out.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return out.substr(first, out.find_last_not_of(' ') - first + 1);
}

// The first G number a statement starts with, as the file means it ("G04 ...", "G36*").
std::optional<int> LeadingG(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\n' || s[i] == '\t')) ++i;
  if (i >= s.size() || s[i] != 'G') return std::nullopt;
  std::size_t end = ++i;
  while (end < s.size() && s[end] >= '0' && s[end] <= '9') ++end;
  return Integer(s.substr(i, end - i));
}

// The number after a letter in a parameter statement ("%SRX3Y2..." gives 3 for "X").
std::optional<double> ParameterNumber(std::string_view s, std::string_view key) {
  const std::size_t at = s.find(key);
  if (at == std::string_view::npos) return std::nullopt;
  std::size_t end = at + key.size();
  while (end < s.size() && NumberChar(s[end])) ++end;
  if (end == at + key.size()) return std::nullopt;
  return Decimal(s.substr(at + key.size(), end - at - key.size()));
}

// Digit strings as the format means them, in units of the last decimal digit; units and scale
// do not matter here, only equality and ratios of lengths.
struct Format {
  int Integers = 2;
  int Decimals = 4;
  bool TrailingOmitted = false;

  int64_t Decode(std::string_view digits) const {
    if (digits.find('.') != std::string_view::npos) {
      return std::llround(Decimal(digits) * std::pow(10.0, Decimals));
    }
    bool negative = false;
    int64_t value = 0;
    int count = 0;
    for (const char c : digits) {
      if (c == '-') negative = true;
      // Past 18 digits the value means nothing here, and must not overflow.
      if (c >= '0' && c <= '9' && count < 18) {
        value = value * 10 + (c - '0');
        ++count;
      }
    }
    if (TrailingOmitted) {
      for (; count < Integers + Decimals && count < 18; ++count) value *= 10;
    }
    return negative ? -value : value;
  }
};

struct Point {
  int64_t X = -1;
  int64_t Y = -1;
  bool operator==(const Point&) const = default;
};

enum class Op : uint8_t { None, Draw, Move, Flash };
enum class Interp : uint8_t { Linear, Clockwise, CounterClockwise };

struct ApertureSeen {
  bool Rectangle = false;   // as the importer takes it
  bool SizeUnread = false;  // a standard aperture whose size the importer reads as 0
  bool Macro = false;
};

// Does centre c put points a and b at the same distance?
bool Centres(Point a, Point b, double cx, double cy) {
  const double ra = std::hypot(static_cast<double>(a.X) - cx, static_cast<double>(a.Y) - cy);
  const double rb = std::hypot(static_cast<double>(b.X) - cx, static_cast<double>(b.Y) - cy);
  return std::abs(ra - rb) <= std::max(2.0, 1e-3 * std::max(ra, rb));
}

class Scanner {
 public:
  explicit Scanner(const ScanOptions& options) : haveTable_(options.TableFile), recognised_(options.Recognised) {}

  PluginReading Run(std::istream& in) {
    PluginText text(in);
    // The importer takes the first statement with "%" as the format statement and drops those
    // before it. A file it does not recognise is read as if its format statement came first.
    Statement s;
    while (!text.AtEnd()) {
      ReadStatement(text, s);
      if (s.Text.find(recognised_ ? "%" : "%FS") != std::string::npos) {
        Format(s);
        break;
      }
    }
    while (!text.AtEnd()) {
      ReadStatement(text, s);
      if (s.Text.find('%') != std::string::npos) {
        Parameter(s);
      } else {
        Data(s);
      }
    }
    reading_.Lines = text.Line();
    if (unitsDiffered_) {
      reading_.Global = formatUnits_ ? Cause::UnitsInFormat : Cause::UnitsByGCode;
    } else if (reading_.Has(Cause::IncrementalCoordinates)) {
      reading_.Global = Cause::IncrementalCoordinates;
    } else if (reading_.Has(Cause::ImageParameters)) {
      reading_.Global = Cause::ImageParameters;
    }
    return std::move(reading_);
  }

 private:
  void Format(const Statement& s) {
    std::string upper = s.Text;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::size_t x = upper.find('X');
    if (x != std::string::npos && x + 2 < upper.size()) {
      format_.Integers = std::isdigit(static_cast<unsigned char>(upper[x + 1])) ? upper[x + 1] - '0' : 0;
      format_.Decimals = std::isdigit(static_cast<unsigned char>(upper[x + 2])) ? upper[x + 2] - '0' : 0;
      format_.TrailingOmitted = upper.find('T') != std::string::npos;
    }
    const std::size_t fs = upper.find("FS");
    if (fs != std::string::npos && upper.find("FSLI") != std::string::npos) {
      reading_.Note(Cause::IncrementalCoordinates, s.Line, s.Text);
    }
    // What the file means: units given inside the format statement.
    if (s.Text.find("MOIN") != std::string::npos) {
      realImperial_ = true;
      formatUnits_ = true;
      reading_.Note(Cause::UnitsInFormat, s.Line, s.Text);
    } else if (s.Text.find("MOMM") != std::string::npos) {
      realImperial_ = false;
      formatUnits_ = true;
    }
  }

  void Parameter(const Statement& s) {
    const std::string_view t = s.Text;
    // The importer: three substring tests.
    if (t.find("MOIN") != std::string_view::npos) plugImperial_ = true;
    if (t.find("MOMM") != std::string_view::npos) plugImperial_ = false;
    if (t.find("ADD") != std::string_view::npos) PluginDefinition(t);

    // What the file means.
    if (t.find("%MOIN") != std::string_view::npos) realImperial_ = true;
    if (t.find("%MOMM") != std::string_view::npos) realImperial_ = false;
    if (t.rfind("%AM", 0) == 0) reading_.Note(Cause::MacroPads, s.Line, t);
    if (t.rfind("%ADD", 0) == 0) RealDefinition(s);
    if (t.rfind("%AB", 0) == 0 && t.size() > 4 && t[3] == 'D') reading_.Note(Cause::BlockApertures, s.Line, t);
    const std::size_t lp = t.rfind("%LP");
    if (lp != std::string_view::npos && lp + 3 < t.size()) {
      clear_ = t[lp + 3] == 'C';
      if (clear_) reading_.Note(Cause::ClearPolarity, s.Line, t);
    }
    if (t.rfind("%SR", 0) == 0) {
      const double nx = ParameterNumber(t, "X").value_or(1.0);
      const double ny = ParameterNumber(t, "Y").value_or(1.0);
      if (nx * ny > 1.0) reading_.Note(Cause::StepAndRepeat, s.Line, t);
    }
    if (ImageParameterApplies(t)) reading_.Note(Cause::ImageParameters, s.Line, t);
    if (t.rfind("%LM", 0) == 0 || t.rfind("%LR", 0) == 0 || t.rfind("%LS", 0) == 0) {
      const bool identity =
          t.rfind("%LMN*", 0) == 0 || ParameterNumber(t, "%LR") == 0.0 || ParameterNumber(t, "%LS") == 1.0;
      transformed_ = !identity;
      if (transformed_) reading_.Note(Cause::ObjectTransforms, s.Line, t);
    }
  }

  static bool ImageParameterApplies(std::string_view t) {
    if (t.rfind("%IPNEG", 0) == 0) return true;
    if (t.rfind("%MI", 0) == 0)
      return ParameterNumber(t, "A").value_or(0) != 0 || ParameterNumber(t, "B").value_or(0) != 0;
    if (t.rfind("%OF", 0) == 0)
      return ParameterNumber(t, "A").value_or(0) != 0 || ParameterNumber(t, "B").value_or(0) != 0;
    if (t.rfind("%SF", 0) == 0)
      return ParameterNumber(t, "A").value_or(1) != 1 || ParameterNumber(t, "B").value_or(1) != 1;
    if (t.rfind("%IR", 0) == 0) return ParameterNumber(t, "%IR").value_or(0) != 0;
    if (t.rfind("%ASAY", 0) == 0) return true;
    return false;
  }

  // The importer's definition: shape by substring, sizes after "C,", "O,", "R,", "P,".
  void PluginDefinition(std::string_view t) {
    const std::optional<int> n = Integer(Field(t, "ADD"));
    if (!n) return;
    plugDCode_ = *n;
    if (*n < 10 || *n > 999) return;
    for (const char* shape : {"C", "O", "R", "P"}) {
      if (t.find(shape) == std::string_view::npos) continue;
      haveTable_ = true;
      plugApertures_[*n].Rectangle = shape[0] == 'R';
      return;
    }
  }

  void RealDefinition(const Statement& s) {
    const std::string_view t = s.Text;
    std::size_t i = 4;
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i;
    const std::optional<int> n = Integer(t.substr(4, i - 4));
    if (!n) return;
    const std::size_t nameEnd = t.find_first_of(",*%", i);
    const std::string_view name = t.substr(i, nameEnd == std::string_view::npos ? 0 : nameEnd - i);
    ApertureSeen& seen = plugApertures_[*n];
    seen.SizeUnread = false;
    seen.Macro = false;
    realDCode_ = *n;  // what the importer does too; the file means nothing by it
    if (name != "C" && name != "R" && name != "O" && name != "P") {
      seen.Macro = true;
      reading_.Note(Cause::MacroPads, s.Line, t);
      return;
    }
    if (nameEnd < t.size() && t[nameEnd] == ',' && nameEnd + 1 < t.size() &&
        (t[nameEnd + 1] == ' ' || t[nameEnd + 1] == '\t')) {
      seen.SizeUnread = true;
      reading_.Note(Cause::ApertureSizeUnread, s.Line, t);
    }
  }

  void Data(const Statement& s) {
    const std::string_view t = s.Text;
    const std::optional<int> realG = LeadingG(t);
    const bool comment = realG == 4;

    // The importer's fields.
    Op op = Op::None;
    bool selects = false;
    if (const std::optional<int> d = Integer(Field(t, "D"))) {
      if (*d == 1) op = Op::Draw;
      if (*d == 2) op = Op::Move;
      if (*d == 3) op = Op::Flash;
      if (*d >= 10 && *d <= 999) {
        plugDCode_ = *d;
        selects = true;
      }
    }
    if (const std::optional<int> g = Integer(Field(t, "G"))) {
      if (*g == 1 || *g == 74) plugInterp_ = Interp::Linear;
      if (*g == 2) plugInterp_ = Interp::Clockwise;
      if (*g == 3) plugInterp_ = Interp::CounterClockwise;
    }
    const std::string_view fx = Field(t, "X");
    const std::string_view fy = Field(t, "Y");
    const std::string_view fi = Field(t, "I");
    const std::string_view fj = Field(t, "J");
    const bool coordinates = !fx.empty() || !fy.empty();

    if (comment) {
      if (op != Op::None || selects || coordinates || !fi.empty() || !fj.empty()) {
        reading_.Note(Cause::CommentFields, s.Line, t);
        if (selects) dcodeCause_ = Cause::CommentFields;
      }
    }
    const Point realStart = realPoint_;
    if (!comment) RealData(s, coordinates);
    if (!fx.empty()) plugReg_.X = format_.Decode(fx);
    if (!fy.empty()) plugReg_.Y = format_.Decode(fy);
    if (!fi.empty()) plugI_ = format_.Decode(fi);
    if (!fj.empty()) plugJ_ = format_.Decode(fj);

    if (op == Op::None || stopped_) return;
    if (!haveTable_) {
      // The importer ends the run here with "Aperture Table Not Found".
      stopped_ = true;
      reading_.FirstOperationWithoutApertures = s.Line;
      reading_.FirstOperationCause = comment ? Cause::CommentFields : Cause::ImportStopped;
      reading_.Note(Cause::ImportStopped, s.Line, t);
      return;
    }
    Execute(s, op, comment, realStart);
  }

  // The file's own reading of a data statement that is not a comment.
  void RealData(const Statement& s, bool coordinates) {
    const std::string_view t = s.Text;
    // Real statements: the G code it starts with, and the D code at its end.
    if (const std::optional<int> g = LeadingG(t)) {
      if (*g == 74) singleQuadrant_ = true;
      if (*g == 75) singleQuadrant_ = false;
      if (*g == 36) {
        inRegion_ = true;
        reading_.Note(Cause::Regions, s.Line, t);
      }
      if (*g == 37) inRegion_ = false;
      if (*g == 70 || *g == 71) realImperial_ = *g == 70;
      if (*g == 70 && !plugImperial_) reading_.Note(Cause::UnitsByGCode, s.Line, t);
      if (*g == 91) reading_.Note(Cause::IncrementalCoordinates, s.Line, t);
    }
    Op op = Op::None;
    const std::size_t d = t.rfind('D');
    if (d != std::string_view::npos) {
      std::size_t end = d + 1;
      while (end < t.size() && std::isdigit(static_cast<unsigned char>(t[end]))) ++end;
      if (const std::optional<int> n = Integer(t.substr(d + 1, end - d - 1))) {
        if (*n == 1) op = Op::Draw;
        if (*n == 2) op = Op::Move;
        if (*n == 3) op = Op::Flash;
        if (*n >= 10) {
          realDCode_ = *n;
          dcodeCause_ = Cause::None;
        }
      }
    }
    if (op == Op::None && coordinates) {
      reading_.Note(Cause::CoordinatesWithoutOperation, s.Line, t);
      op = realOp_;  // the operation carries over, as older files expect
      if (op != Op::None) {
        reading_.LineCauses.emplace(s.Line, Cause::CoordinatesWithoutOperation);
        pointCause_ = Cause::CoordinatesWithoutOperation;
      }
    } else if (op != Op::None) {
      realOp_ = op;
    }
    Point next = realPoint_;
    if (const std::string_view fx = Field(t, "X"); !fx.empty()) next.X = format_.Decode(fx);
    if (const std::string_view fy = Field(t, "Y"); !fy.empty()) next.Y = format_.Decode(fy);
    if (op != Op::None) realPoint_ = next;
  }

  void Execute(const Statement& s, Op op, bool comment, Point realStart) {
    const Point start = plugPoint_;
    const bool startDiffers = !(start == realStart);
    plugPoint_ = plugReg_;
    if (op == Op::Move) {
      if (comment && !(plugPoint_ == realPoint_)) pointCause_ = Cause::CommentFields;
      return;
    }
    Cause cause = Cause::None;
    const ApertureSeen& aperture = plugApertures_[plugDCode_];
    if (comment) {
      cause = Cause::CommentFields;
    } else if (clear_) {
      cause = Cause::ClearPolarity;
    } else if (inRegion_ && op == Op::Draw) {
      cause = Cause::RegionContours;
      reading_.Note(Cause::RegionContours, s.Line, s.Text);
    } else if (plugDCode_ != realDCode_ && dcodeCause_ != Cause::None) {
      cause = dcodeCause_;
    } else if (aperture.SizeUnread) {
      cause = Cause::ApertureSizeUnread;
      reading_.LineCauses.emplace(s.Line, cause);
    } else if (transformed_ && op == Op::Flash) {
      cause = Cause::ObjectTransforms;
      reading_.LineCauses.emplace(s.Line, cause);
    } else if (op == Op::Draw && startDiffers && pointCause_ != Cause::None) {
      cause = pointCause_;
      reading_.LineCauses.emplace(s.Line, cause);
    } else if (op == Op::Draw && plugInterp_ != Interp::Linear && singleQuadrant_ && (plugI_ != 0 || plugJ_ != 0)) {
      const double cx = static_cast<double>(start.X + plugI_);
      const double cy = static_cast<double>(start.Y + plugJ_);
      if (!Centres(start, plugPoint_, cx, cy)) {
        cause = Cause::UnsignedArcOffsets;
        reading_.Note(cause, s.Line, s.Text);
        reading_.LineCauses.emplace(s.Line, cause);
      }
    } else if (op == Op::Draw && plugInterp_ == Interp::Linear && aperture.Rectangle && start.X != plugPoint_.X &&
               start.Y != plugPoint_.Y) {
      cause = Cause::SlantedRectangleStrokes;
      reading_.Note(cause, s.Line, s.Text);
    }
    if (plugImperial_ != realImperial_) unitsDiffered_ = true;
    if (op == Op::Draw && plugInterp_ != Interp::Linear) plugI_ = plugJ_ = 0;
    reading_.ObjectCauses.push_back(cause);
    if (plugPoint_ == realPoint_) pointCause_ = Cause::None;
  }

  PluginReading reading_;
  ::zzcli::Format format_;
  bool haveTable_;
  bool recognised_;
  bool stopped_ = false;
  // The importer's state.
  bool plugImperial_ = false;
  int plugDCode_ = -1;
  Interp plugInterp_ = Interp::Linear;
  Point plugReg_{0, 0};
  int64_t plugI_ = 0;
  int64_t plugJ_ = 0;
  Point plugPoint_;
  std::unordered_map<int, ApertureSeen> plugApertures_;
  // What the file means.
  bool realImperial_ = false;
  bool formatUnits_ = false;
  bool unitsDiffered_ = false;
  int realDCode_ = -1;
  Op realOp_ = Op::None;
  bool singleQuadrant_ = true;
  bool inRegion_ = false;
  bool clear_ = false;
  bool transformed_ = false;
  Point realPoint_;
  // Why the importer's current point or aperture is not the file's, while it is not.
  Cause pointCause_ = Cause::None;
  Cause dcodeCause_ = Cause::None;
};

}  // namespace

std::string_view CauseKey(Cause cause) { return kCauseTexts[static_cast<std::size_t>(cause)].Key; }
std::string_view CauseWords(Cause cause) { return kCauseTexts[static_cast<std::size_t>(cause)].Words; }

void PluginReading::Note(Cause cause, int32_t line, std::string_view statement) {
  CauseStatements& statements = Statements[static_cast<std::size_t>(cause)];
  ++statements.Count;
  if (statements.First.size() < kFirstKept) statements.First.emplace_back(line, Trimmed(statement));
}

PluginReading ScanPluginReading(std::istream& in, const ScanOptions& options) { return Scanner(options).Run(in); }

PluginReading ScanPluginReading(const std::string& path, const ScanOptions& options) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  return ScanPluginReading(in, options);
}

}  // namespace zzcli
