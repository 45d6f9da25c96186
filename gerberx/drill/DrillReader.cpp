#include "gerberx/drill/DrillReader.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <map>
#include <optional>

#include "gerberx/Geometry.h"

namespace gerberx::drill {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }

// A tool's diameter as written, in the units that were in force where it was defined; a tool
// defined before any units statement takes the units in force where it drills (a header
// without units followed by M71 in the body means millimetres for its tools too).
struct Tool {
  double Value = 0;
  bool UnitsKnown = false;
  bool Metric = false;
};

struct Field {
  char Letter;
  std::string_view Value;
};

enum class Zeros : std::uint8_t { Unstated, Leading, Trailing };  // LZ: leading zeros kept; TZ: trailing zeros kept

class Reader {
 public:
  Reader(std::string fileName, const DrillLimits& limits) : file_(std::move(fileName)), limits_(limits) {}

  DrillFile Read(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && !ended_) {
      std::size_t end = at;
      while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
      ++line_;
      line_text_ = text.substr(at, end - at);
      if (line_text_.size() > limits_.MaxLineLength) {
        Fail("a line longer than " + std::to_string(limits_.MaxLineLength) + " characters");
      }
      Line(line_text_);
      // "\r\n" is one line end; a lone "\r" or "\n" another.
      at = end + (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n' ? 2 : 1);
    }
    out_.Metric = metric_;
    out_.UnitsStated = unitsStated_;
    out_.Plated = plated_ && nonPlated_ ? Plating::Mixed
                  : plated_             ? Plating::Plated
                  : nonPlated_          ? Plating::NonPlated
                                        : Plating::Unknown;
    if (mixed_) out_.Plated = Plating::Mixed;
    return std::move(out_);
  }

 private:
  [[noreturn]] void Fail(const std::string& reason) const {
    throw ReadError(file_, line_, std::string(Trim(line_text_)), reason);
  }

  void Line(std::string_view raw) {
    if (const std::size_t semi = raw.find(';'); semi != std::string_view::npos) {
      Comment(raw.substr(semi + 1));
      raw = raw.substr(0, semi);
    }
    std::string_view line = Trim(raw);
    if (line.empty()) return;
    for (const char c : line) {
      if (static_cast<unsigned char>(c) < 0x20 && c != '\t') Fail("a control character: this is no drill file text");
    }
    // Block delete: the switch that would skip such lines is off on every machine's start.
    if (line.front() == '/') line = Trim(line.substr(1));
    if (line.empty()) return;
    if (line == "%") {  // end of the header, or the rewind stop at the top of a file
      inHeader_ = false;
      return;
    }
    if (line.starts_with("M48")) {
      inHeader_ = true;
      return;
    }
    if (line == "M95") {
      inHeader_ = false;
      return;
    }
    if (line.size() > 1 && IsUpper(line[0]) && IsUpper(line[1])) {
      Keyword(line);
      return;
    }
    if (inHeader_) {
      HeaderLine(line);
      return;
    }
    BodyLine(line);
  }

  // X2 attributes in comments, and the plating comments of other writers.
  void Comment(std::string_view text) {
    text = Trim(text);
    if (const std::size_t at = text.find("TF.FileFunction,"); at != std::string_view::npos) {
      const std::string_view value = text.substr(at + 16);
      if (value.starts_with("Plated")) plated_ = true;
      if (value.starts_with("NonPlated")) nonPlated_ = true;
      if (value.starts_with("MixedPlating")) mixed_ = true;
    }
    if (text.starts_with("TYPE=PLATED")) plated_ = true;
    if (text.starts_with("TYPE=NON_PLATED")) nonPlated_ = true;
    // ";FILE_FORMAT=2:4" and ";FORMAT={3:3/ absolute / metric / ...}": digits before and after
    // the implied decimal point.
    for (const std::string_view key : {std::string_view("FILE_FORMAT="), std::string_view("FORMAT={")}) {
      if (text.starts_with(key) && text.size() >= key.size() + 3) {
        const std::string_view f = text.substr(key.size(), 4);
        if (IsDigit(f[0]) && f[1] == ':' && IsDigit(f[2]) && (f.size() == 3 || !IsDigit(f[3]))) {
          intDigits_ = f[0] - '0';
          decDigits_ = f[2] - '0';
        }
      }
    }
  }

  void SetUnits(bool metric) {
    metric_ = metric;
    unitsStated_ = true;
  }

  // INCH,LZ  METRIC,TZ,000.000  ICI,ON  FMAT,2  and the header's machine settings.
  void Keyword(std::string_view line) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
      const std::size_t comma = line.find(',', start);
      parts.push_back(Trim(line.substr(start, comma == std::string_view::npos ? comma : comma - start)));
      if (comma == std::string_view::npos) break;
      start = comma + 1;
    }
    const std::string_view word = parts[0];
    if (word == "INCH" || word == "METRIC") {
      SetUnits(word == "METRIC");
      for (std::size_t i = 1; i < parts.size(); ++i) {
        const std::string_view p = parts[i];
        if (p == "LZ") {
          zeros_ = Zeros::Leading;
        } else if (p == "TZ") {
          zeros_ = Zeros::Trailing;
        } else if (const std::size_t dot = p.find('.');
                   dot != std::string_view::npos && p.find_first_not_of("0.") == std::string_view::npos) {
          intDigits_ = static_cast<int>(dot);
          decDigits_ = static_cast<int>(p.size() - dot - 1);
          if (intDigits_ + decDigits_ == 0 || intDigits_ > 9 || decDigits_ > 9 ||
              p.find('.', dot + 1) != std::string_view::npos) {
            Fail("a digit format other than up to nine zeros either side of one point");
          }
        } else if (!p.empty()) {
          Fail("a units option other than LZ, TZ or a digit format");
        }
      }
      return;
    }
    if (word == "ICI") {
      if (parts.size() < 2 || (parts[1] != "ON" && parts[1] != "OFF")) Fail("ICI without ON or OFF");
      incremental_ = parts[1] == "ON";
      return;
    }
    // Machine settings (VER, FMAT, DETECT, ATC, ...): nothing a hole's place or size depends on.
    // In the body, after the first tool or coordinate, another word is no drill command.
    if (inHeader_ || !bodyStarted_ || word == "FMAT" || word == "VER") return;
    Fail("an unknown command");
  }

  // Tool definitions, units and modes; the rest of a header is machine settings.
  void HeaderLine(std::string_view line) {
    if (line.front() == 'T' && line.size() > 1 && IsDigit(line[1])) {
      ToolCommand(line, false);
    } else if (line == "M71" || line == "M72") {
      SetUnits(line == "M71");
    } else if (line == "G90" || line == "G91") {
      incremental_ = line == "G91";
    }
  }

  // Into one buffer for every line: a vector's allocation per line would cost more than the reading.
  const std::vector<Field>& Fields(std::string_view line) {
    std::vector<Field>& fields = fields_;
    fields.clear();
    std::size_t i = 0;
    while (i < line.size()) {
      const char letter = line[i];
      if (letter == ' ' || letter == '\t') {
        ++i;
        continue;
      }
      if (!IsUpper(letter)) Fail(std::string("'") + letter + "' where a command letter belongs");
      const std::size_t start = ++i;
      while (i < line.size() && (IsDigit(line[i]) || line[i] == '.' || line[i] == '+' || line[i] == '-')) ++i;
      fields.push_back({letter, line.substr(start, i - start)});
    }
    return fields;
  }

  int Integer(const Field& f, int max) const {
    int value = 0;
    const auto [end, error] = std::from_chars(f.Value.data(), f.Value.data() + f.Value.size(), value);
    if (f.Value.empty() || error != std::errc() || end != f.Value.data() + f.Value.size() || value < 0 || value > max) {
      Fail(std::string("a malformed number after ") + f.Letter);
    }
    return value;
  }

  // A number as written: with its point, or placed by the zeros mode and the digit format.
  double Number(const Field& f) const {
    std::string_view v = f.Value;
    bool negative = false;
    if (!v.empty() && (v.front() == '+' || v.front() == '-')) {
      negative = v.front() == '-';
      v.remove_prefix(1);
    }
    std::size_t dot = std::string_view::npos, digitCount = 0;
    bool valid = v.size() <= 18;
    for (std::size_t k = 0; k < v.size() && valid; ++k) {
      if (IsDigit(v[k])) {
        ++digitCount;
      } else if (v[k] == '.' && dot == std::string_view::npos) {
        dot = k;
      } else {
        valid = false;
      }
    }
    if (!valid || digitCount == 0) Fail(std::string("a malformed number after ") + f.Letter);
    double value = 0;
    if (dot != std::string_view::npos) {
      std::from_chars(v.data(), v.data() + v.size(), value);
    } else {
      long long digits = 0;
      std::from_chars(v.data(), v.data() + v.size(), digits);
      // Without LZ or TZ the digits are read from the right: leading zero suppression is the
      // format's own default, and the one the files without a statement were written with.
      const int decimals = zeros_ == Zeros::Leading ? static_cast<int>(v.size()) - IntDigits() : DecDigits();
      static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8, 1e9,
                                           1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18};
      const double digitsValue = static_cast<double>(digits);
      // decimals is within -8 .. 18: 1 to 18 digits, and at most 9 digits either side in a format.
      value = decimals >= 0 ? digitsValue / kPowers[decimals] : digitsValue * kPowers[-decimals];
    }
    return negative ? -value : value;
  }

  // The units' usual format, 2.4 for inch and 3.3 for mm, unless the file gives one.
  int IntDigits() const { return intDigits_ >= 0 ? intDigits_ : metric_ ? 3 : 2; }
  int DecDigits() const { return decDigits_ >= 0 ? decDigits_ : metric_ ? 3 : 4; }

  std::int64_t ToUnits(double value, bool metric) const {
    const double units = value * (metric ? kUnitsPerMm : static_cast<double>(kUnitsPerInch));
    if (!(std::abs(units) <= static_cast<double>(kCoordLimit))) Fail("a length beyond the reach of the board");
    return std::llround(units);
  }

  std::int64_t Length(const Field& f) const { return ToUnits(Number(f), metric_); }

  void ToolCommand(std::string_view line, bool select) {
    const std::vector<Field>& fields = Fields(line);
    const int number = Integer(fields[0], 9999);
    std::optional<Tool> defined;
    for (std::size_t i = 1; i < fields.size(); ++i) {
      if (fields[i].Letter == 'C') {
        const double value = Number(fields[i]);
        if (value < 0) Fail("a negative tool diameter");
        defined = Tool{value, unitsStated_, metric_};
        ToUnits(value, metric_);  // in reach
      } else {
        Number(fields[i]);  // feeds, speeds, depths: read, not used
      }
    }
    if (defined) tools_[number] = *defined;
    if (!select) return;
    bodyStarted_ = true;
    plunged_ = false;
    if (tools_.count(number) == 0) {
      if (number != 0) Fail("tool T" + std::to_string(number) + " is used without a diameter in the header or here");
      tool_.reset();  // T0 unloads, unless a tool 0 was defined
      return;
    }
    tool_ = number;
  }

  std::int64_t Diameter() const {
    if (!tool_) Fail("a hole or cut before any tool was selected");
    const Tool& t = tools_.at(*tool_);
    const std::int64_t d = ToUnits(t.Value, t.UnitsKnown ? t.Metric : metric_);
    if (d <= 0) Fail("tool T" + std::to_string(*tool_) + " has no diameter");
    return d;
  }

  void Count(std::size_t more) const {
    if (more > limits_.MaxObjects || out_.ObjectCount() > limits_.MaxObjects - more) {
      Fail("more than " + std::to_string(limits_.MaxObjects) + " holes, slots and routed pieces");
    }
  }

  // Where X and Y take the tool: modal (an axis not given stays), incremental or from the zero set.
  IntPoint Target(IntPoint from, const std::optional<Field>& x, const std::optional<Field>& y) const {
    IntPoint p = from;
    if (x) p.X = (incremental_ ? from.X : origin_.X) + Length(*x);
    if (y) p.Y = (incremental_ ? from.Y : origin_.Y) + Length(*y);
    if (std::abs(p.X) > kCoordLimit || std::abs(p.Y) > kCoordLimit) Fail("a position beyond the reach of the board");
    return p;
  }

  void Drill(IntPoint at) {
    const std::int64_t d = Diameter();
    Count(1);
    out_.Holes.push_back({at, d});
  }

  void GCode(int g) {
    switch (g) {
      case 0:
        routing_ = true;
        motion_ = 0;
        break;
      case 1:
      case 2:
      case 3:
        routing_ = true;
        motion_ = g;
        break;
      case 5:
      case 81:
        routing_ = false;
        plunged_ = false;
        break;
      case 90:
        incremental_ = false;
        break;
      case 91:
        incremental_ = true;
        break;
      case 40:  // cutter compensation off
      case 4:   // dwell: handled by the caller
      case 93:  // zero set: handled by the caller
        break;
      case 41:
      case 42:
        Fail("cutter compensation (G41/G42) is not read: the routed path would lie off its written place");
      default:
        Fail("G" + std::to_string(g) + " is not a drill or route command this reader knows");
    }
  }

  void MCode(int m) {
    switch (m) {
      case 14:  // plunge with depth control
      case 15:
        if (!routing_) Fail("a plunge (M15) outside route mode (G00)");
        plunged_ = true;
        out_.RoutedPaths.push_back(Diameter());
        break;
      case 16:
      case 17:
        plunged_ = false;
        break;
      case 30:
      case 0:
        ended_ = true;
        break;
      case 71:
      case 72:
        SetUnits(m == 71);
        break;
      case 6:   // tool change stop
      case 9:   // stop for inspection
      case 18:  // tool tip check
      case 50:
      case 51:
      case 52:
        break;
      case 1:
      case 2:
      case 8:
      case 25:
      case 31:
      case 70:
      case 80:
      case 90:
        Fail("patterns and their repeats (M25 ... M01, M02, M08) are not read");
      case 97:
      case 98:
        Fail("canned text (M97, M98) is not read");
      default:
        Fail("M" + std::to_string(m) + " is not a drill or route command this reader knows");
    }
  }

  void BodyLine(std::string_view line) {
    // Operator messages: free text.
    if (line.starts_with("M47") || line.starts_with("M45")) return;
    if (line.front() == 'T') {
      // A tool change may carry the first hole of the tool: T2X1.0Y1.0.
      const std::size_t hole = line.find_first_of("XY");
      ToolCommand(line.substr(0, hole), true);
      if (hole != std::string_view::npos) BodyLine(line.substr(hole));
      return;
    }
    const std::vector<Field>& fields = Fields(line);
    std::optional<Field> x, y, x2, y2, i, j, a;
    std::optional<int> repeats;
    bool slot = false, zeroSet = false;
    for (const Field& f : fields) {
      switch (f.Letter) {
        case 'G': {
          const int g = Integer(f, 999);
          if (g == 4) return;  // dwell: the X that follows is a time
          if (g == 85) {
            slot = true;
          } else {
            zeroSet = zeroSet || g == 93;
            GCode(g);
          }
          break;
        }
        case 'M':
          MCode(Integer(f, 999));
          break;
        case 'X':
          (slot ? x2 : x) = f;
          break;
        case 'Y':
          (slot ? y2 : y) = f;
          break;
        case 'I':
          i = f;
          break;
        case 'J':
          j = f;
          break;
        case 'A':
          a = f;
          break;
        case 'R':
          repeats = Integer(f, 1'000'000'000);
          break;
        case 'F':  // feed
        case 'S':  // speed
        case 'N':  // block number
        case 'Z':  // depth
          Number(f);
          break;
        default:
          Fail(std::string("'") + f.Letter + "' is no drill or route command");
      }
    }
    const bool moves = x || y;
    if (moves) bodyStarted_ = true;
    if (zeroSet) {
      origin_ = IntPoint{x ? Length(*x) : 0, y ? Length(*y) : 0};
      return;
    }
    if (repeats) {
      if (routing_) Fail("a repeat (R) in route mode");
      if (!havePosition_) Fail("a repeat (R) before any hole");
      const IntPoint step{x ? Length(*x) : 0, y ? Length(*y) : 0};
      const std::int64_t d = Diameter();
      Count(static_cast<std::size_t>(*repeats));
      for (int k = 0; k < *repeats; ++k) {
        position_ = IntPoint{position_.X + step.X, position_.Y + step.Y};
        if (std::abs(position_.X) > kCoordLimit || std::abs(position_.Y) > kCoordLimit) {
          Fail("a repeat that runs beyond the reach of the board");
        }
        out_.Holes.push_back({position_, d});
      }
      return;
    }
    if (slot) {
      const IntPoint from = Target(position_, x, y);
      const IntPoint to = Target(from, x2, y2);
      const std::int64_t d = Diameter();
      Count(1);
      out_.Slots.push_back({from, to, d});
      position_ = to;
      havePosition_ = true;
      return;
    }
    const bool arc = routing_ && (motion_ == 2 || motion_ == 3) && (moves || i || j);
    if (!moves && !arc) return;
    const IntPoint to = Target(position_, x, y);
    if (!routing_) {
      Drill(to);
    } else if (plunged_ && motion_ == 1 && to != position_) {
      const std::int64_t d = Diameter();
      Count(1);
      out_.RoutedLines.push_back({position_, to, d});
    } else if (plunged_ && arc) {
      const std::int64_t d = Diameter();
      Count(1);
      const IntPoint centre = ArcCentre(position_, to, i, j, a);
      if (std::abs(centre.X) > kCoordLimit || std::abs(centre.Y) > kCoordLimit) {
        Fail("an arc centre beyond the reach of the board");
      }
      out_.RoutedArcs.push_back({position_, to, centre, motion_ == 2, d});
    }
    position_ = to;
    havePosition_ = true;
  }

  // I and J: the centre from the start; A: the radius, the shorter way round.
  IntPoint ArcCentre(IntPoint from, IntPoint to, const std::optional<Field>& i, const std::optional<Field>& j,
                     const std::optional<Field>& a) const {
    if (i || j) return IntPoint{from.X + (i ? Length(*i) : 0), from.Y + (j ? Length(*j) : 0)};
    if (!a) Fail("an arc without its centre (I, J) or radius (A)");
    const double r = static_cast<double>(Length(*a));
    const double dx = static_cast<double>(to.X - from.X), dy = static_cast<double>(to.Y - from.Y);
    const double chord = std::hypot(dx, dy);
    if (chord == 0 || r * 2 < chord * (1 - 1e-9)) Fail("an arc whose radius does not reach from its start to its end");
    const double h = std::sqrt(std::max(0.0, r * r - chord * chord / 4)) * (motion_ == 3 ? 1 : -1);
    // The centre lies left of the chord for a counter-clockwise short arc, right for a clockwise one.
    return IntPoint{std::llround((static_cast<double>(from.X + to.X)) / 2 - h * dy / chord),
                    std::llround((static_cast<double>(from.Y + to.Y)) / 2 + h * dx / chord)};
  }

  std::string file_;
  DrillLimits limits_;
  DrillFile out_;
  int line_ = 0;
  std::string_view line_text_;
  bool inHeader_ = false;
  bool bodyStarted_ = false;
  // No units statement: inch, the format's default (the machine's M72 state after a reset).
  bool metric_ = false;
  bool unitsStated_ = false;
  Zeros zeros_ = Zeros::Unstated;
  int intDigits_ = -1, decDigits_ = -1;
  bool incremental_ = false;
  std::map<int, Tool> tools_;
  std::vector<Field> fields_;
  std::optional<int> tool_;
  IntPoint position_, origin_;
  bool havePosition_ = false;
  bool routing_ = false;
  int motion_ = 0;
  bool plunged_ = false;
  bool ended_ = false;
  bool plated_ = false, nonPlated_ = false, mixed_ = false;
};

}  // namespace

DrillFile ReadDrillText(std::string_view text, const std::string& fileName, const DrillLimits& limits) {
  return Reader(fileName, limits).Read(text);
}

bool LooksLikeDrillFile(std::string_view head) {
  head = head.substr(0, kDrillHeadBytes);
  std::size_t at = 0;
  while (at < head.size()) {
    std::size_t end = head.find_first_of("\r\n", at);
    if (end == std::string_view::npos) end = head.size();
    std::string_view line = head.substr(at, end - at);
    at = end + 1;
    if (const std::size_t semi = line.find(';'); semi != std::string_view::npos) line = line.substr(0, semi);
    line = Trim(line);
    if (line.empty() || line == "%") continue;
    if (line.find('*') != std::string_view::npos || line.starts_with("G04") ||
        (line.front() == '%' && line.size() > 1)) {
      return false;
    }
    if (line.starts_with("M48") || line == "INCH" || line == "METRIC" || line.starts_with("INCH,") ||
        line.starts_with("METRIC,")) {
      return true;
    }
    // T1C0.8, T01F200S100C0.028: a tool with its diameter.
    if (line.front() == 'T' && line.size() > 2 && IsDigit(line[1])) {
      const std::size_t c = line.find('C');
      if (c != std::string_view::npos && c + 1 < line.size() && (IsDigit(line[c + 1]) || line[c + 1] == '.')) {
        return true;
      }
    }
  }
  return false;
}

}  // namespace gerberx::drill
