#include "gen/GerberGenerator.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <ostream>
#include <stdexcept>
#include <string_view>

namespace zzbench {
namespace {

// ---- Integer geometry ----

constexpr int kDirections = 72;  // 5 degree steps
constexpr int64_t kUnit = 1000000;

struct Vec {
  int64_t X;
  int64_t Y;
};

// Sine and cosine by their series, evaluated by the compiler: the table is the same for every target.
constexpr double SeriesSin(double x) {
  double term = x;
  double sum = x;
  for (int n = 1; n < 16; ++n) {
    term = -term * x * x / static_cast<double>((2 * n) * (2 * n + 1));
    sum += term;
  }
  return sum;
}

constexpr double SeriesCos(double x) {
  double term = 1.0;
  double sum = 1.0;
  for (int n = 1; n < 16; ++n) {
    term = -term * x * x / static_cast<double>((2 * n - 1) * (2 * n));
    sum += term;
  }
  return sum;
}

constexpr int64_t RoundToInt(double v) {
  return v < 0 ? -static_cast<int64_t>(-v + 0.5) : static_cast<int64_t>(v + 0.5);
}

constexpr std::array<Vec, kDirections> MakeDirections() {
  constexpr double kPi = 3.14159265358979323846;
  std::array<Vec, kDirections> table{};
  for (int i = 0; i < kDirections; ++i) {
    // -pi..pi, where the series converge quickly.
    const double a = 2.0 * kPi * (i <= kDirections / 2 ? i : i - kDirections) / kDirections;
    table[static_cast<std::size_t>(i)] = {RoundToInt(SeriesCos(a) * kUnit), RoundToInt(SeriesSin(a) * kUnit)};
  }
  return table;
}

constexpr std::array<Vec, kDirections> kDirectionTable = MakeDirections();
static_assert(kDirectionTable[0].X == kUnit && kDirectionTable[0].Y == 0);
static_assert(kDirectionTable[18].X == 0 && kDirectionTable[18].Y == kUnit);
static_assert(kDirectionTable[36].X == -kUnit && kDirectionTable[54].Y == -kUnit);

// a / b rounded half away from zero, so that +v and -v round to opposite values.
int64_t RoundDiv(int64_t a, int64_t b) { return a >= 0 ? (a + b / 2) / b : -((-a + b / 2) / b); }

Vec OnCircle(int64_t radius, int direction) {
  const Vec& u = kDirectionTable[static_cast<std::size_t>(((direction % kDirections) + kDirections) % kDirections)];
  return {RoundDiv(radius * u.X, kUnit), RoundDiv(radius * u.Y, kUnit)};
}

struct Box {
  int64_t Lo;
  int64_t Hi;  // the same range for X and Y
};

struct Arc {
  Vec Offset;  // centre - start: I and J
  Vec End;
  int64_t Radius;
};

// An arc from `start` that stays inside the box: its centre lies towards the middle of the box
// and its radius is at most the start's distance from the nearest edge, so the circle cannot
// cross it. The end lies `sweep` steps further round the circle (counter-clockwise when
// positive); a sweep of a whole turn ends exactly where it started.
Arc InwardArc(Random& rng, Vec start, int64_t radius, const Box& box, int sweep) {
  const int64_t margin = std::min({start.X - box.Lo, box.Hi - start.X, start.Y - box.Lo, box.Hi - start.Y});
  radius = std::max<int64_t>(1, std::min(radius, margin));
  const int64_t middle = (box.Lo + box.Hi) / 2;
  const int d = static_cast<int>(rng.Range(0, kDirections / 4));  // first quadrant, then mirrored
  const bool right = start.X <= middle;
  const bool up = start.Y <= middle;
  const int centreSide = right ? (up ? d : -d) : (up ? kDirections / 2 - d : kDirections / 2 + d);
  const Vec toCentre = OnCircle(radius, centreSide);
  const Vec centre{start.X + toCentre.X, start.Y + toCentre.Y};
  // Seen from the centre the start lies opposite the centre side.
  const Vec fromCentre = OnCircle(radius, centreSide + kDirections / 2 + sweep);
  Arc arc{toCentre, {centre.X + fromCentre.X, centre.Y + fromCentre.Y}, radius};
  if (sweep % kDirections == 0) arc.End = start;
  return arc;
}

// ---- Text ----

void AppendInt(std::string& out, int64_t value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

// A size in units of 10^-decimals as a decimal number with all its decimals ("0.0100").
std::string Decimal(int64_t value, int decimals) {
  std::string digits = std::to_string(value);
  if (static_cast<int>(digits.size()) <= decimals) digits.insert(0, decimals + 1 - digits.size(), '0');
  digits.insert(digits.size() - decimals, 1, '.');
  return digits;
}

}  // namespace

// ---- Random ----

Random::Random(uint64_t seed) {
  uint64_t x = seed;
  for (uint64_t& s : s_) {
    x += 0x9E3779B97F4A7C15ULL;
    uint64_t z = x;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    s = z ^ (z >> 31);
  }
}

uint64_t Random::Next() {
  const auto rotl = [](uint64_t v, int k) { return (v << k) | (v >> (64 - k)); };
  const uint64_t result = rotl(s_[1] * 5, 7) * 9;
  const uint64_t t = s_[1] << 17;
  s_[2] ^= s_[0];
  s_[3] ^= s_[1];
  s_[1] ^= s_[2];
  s_[0] ^= s_[3];
  s_[2] ^= t;
  s_[3] = rotl(s_[3], 45);
  return result;
}

int64_t Random::Range(int64_t lo, int64_t hi) {
  const uint64_t span = static_cast<uint64_t>(hi - lo) + 1;
  if (span == 0) return static_cast<int64_t>(Next());  // the whole 64-bit range
  // Rejection keeps the choice uniform.
  const uint64_t limit = UINT64_MAX - UINT64_MAX % span;
  uint64_t v = Next();
  while (v >= limit) v = Next();
  return lo + static_cast<int64_t>(v % span);
}

// ---- Large files ----

namespace {

enum class ApertureKind { Circle, Rectangle, Obround, Polygon };

struct ApertureDef {
  int DCode;
  ApertureKind Kind;
};

class LargeWriter {
 public:
  LargeWriter(std::ostream& out, uint64_t seed) : out_(out), random_(seed) { buffer_.reserve(kFlushAt + 256); }

  void Line(std::string_view text) {
    buffer_ += text;
    EndLine();
  }
  void EndLine() {
    buffer_ += "\r\n";
    ++stats_.Lines;
    ++stats_.Statements;
    if (buffer_.size() >= kFlushAt) Flush();
  }
  void Flush() {
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    stats_.Bytes += buffer_.size();
    buffer_.clear();
  }
  uint64_t Written() const { return stats_.Bytes + buffer_.size(); }

  std::string& Buffer() { return buffer_; }
  LargeFileStats& Stats() { return stats_; }
  Random& Rng() { return random_; }

 private:
  static constexpr std::size_t kFlushAt = 1 << 20;
  std::ostream& out_;
  Random random_;
  std::string buffer_;
  LargeFileStats stats_;
};

// Coordinates in units of 0.0001 inch; points stay 0.5 inch inside the 10 inch square so that
// arcs of up to 0.4 inch radius never leave it.
constexpr int64_t kMin = 5000;
constexpr int64_t kMax = 95000;

int64_t Clamp(int64_t v) { return std::clamp(v, kMin, kMax); }

}  // namespace

LargeFileStats WriteLargeFile(std::ostream& out, uint64_t seed, uint64_t targetBytes) {
  LargeWriter w(out, seed);
  Random& rng = w.Rng();
  std::string& b = w.Buffer();

  w.Line("%FSLAX24Y24*%");
  w.Line("%MOIN*%");
  b += "G04 zz-gengerber large file, seed ";
  AppendInt(b, static_cast<int64_t>(seed));
  w.Line("*");

  // A few dozen apertures: round ones for drawing and flashing, rectangles and obrounds for flashing.
  std::vector<ApertureDef> round;
  std::vector<ApertureDef> all;
  int dcode = 10;
  for (int i = 0; i < 16; ++i, ++dcode) {
    b += "%ADD";
    AppendInt(b, dcode);
    b += "C,";
    b += Decimal(rng.Range(40, 1000), 4);
    w.Line("*%");
    round.push_back({dcode, ApertureKind::Circle});
  }
  for (int i = 0; i < 20; ++i, ++dcode) {
    const bool rectangle = i < 10;
    b += "%ADD";
    AppendInt(b, dcode);
    b += rectangle ? "R," : "O,";
    b += Decimal(rng.Range(100, 1200), 4);
    b += 'X';
    b += Decimal(rng.Range(100, 1200), 4);
    w.Line("*%");
    all.push_back({dcode, rectangle ? ApertureKind::Rectangle : ApertureKind::Obround});
  }
  all.insert(all.end(), round.begin(), round.end());
  w.Stats().Apertures = all.size();
  w.Line("G75*");
  w.Line("G01*");

  Vec at{Clamp(rng.Range(kMin, kMax)), Clamp(rng.Range(kMin, kMax))};
  ApertureDef current = round[0];
  enum class Mode { Linear, Clockwise, CounterClockwise } mode = Mode::Linear;
  b += 'D';
  AppendInt(b, current.DCode);
  w.Line("*");
  ++w.Stats().Selects;
  b += 'X';
  AppendInt(b, at.X);
  b += 'Y';
  AppendInt(b, at.Y);
  w.Line("D02*");
  ++w.Stats().Moves;

  const auto select = [&](const ApertureDef& aperture) {
    current = aperture;
    b += 'D';
    AppendInt(b, aperture.DCode);
    w.Line("*");
    ++w.Stats().Selects;
  };
  const auto pickRound = [&] { return round[static_cast<std::size_t>(rng.Range(0, round.size() - 1))]; };
  // X and Y of the new point, the unchanged ones left out as the modal registers allow.
  const auto point = [&](Vec to) {
    if (to.X != at.X) {
      b += 'X';
      AppendInt(b, to.X);
    }
    if (to.Y != at.Y) {
      b += 'Y';
      AppendInt(b, to.Y);
    }
    at = to;
  };

  while (w.Written() < targetBytes) {
    const int64_t roll = rng.Range(0, 99);
    if (roll < 60 || roll >= 95) {  // a draw (60 %) or an arc (5 %): round apertures only
      if (current.Kind != ApertureKind::Circle || rng.Percent(3)) select(pickRound());
      if (roll < 60) {
        if (mode != Mode::Linear) {
          b += "G01";
          mode = Mode::Linear;
        }
        Vec to{Clamp(at.X + rng.Range(-2000, 2000)), Clamp(at.Y + rng.Range(-2000, 2000))};
        const int64_t shape = rng.Range(0, 9);  // a fifth of the draws run along an axis
        if (shape == 0) to.X = at.X;
        if (shape == 1) to.Y = at.Y;
        if (to.X == at.X && to.Y == at.Y) to.X = at.X == kMax ? at.X - 1 : at.X + 1;
        point(to);
        w.Line("D01*");
        ++w.Stats().Tracks;
      } else {
        const bool clockwise = rng.Percent(50);
        const Mode wanted = clockwise ? Mode::Clockwise : Mode::CounterClockwise;
        if (mode != wanted) {
          b += clockwise ? "G02" : "G03";
          mode = wanted;
        }
        const int64_t radius = rng.Range(200, 4000);
        const int steps = rng.Percent(5) ? kDirections : static_cast<int>(rng.Range(1, kDirections - 1));
        // The walk keeps points 0.5 inch inside the square; an arc may end up to 0.4 inch
        // nearer its edge, and the next arc shrinks to fit.
        const Arc arc = InwardArc(rng, at, radius, Box{0, 100000}, clockwise ? -steps : steps);
        b += 'X';
        AppendInt(b, arc.End.X);
        b += 'Y';
        AppendInt(b, arc.End.Y);
        b += 'I';
        AppendInt(b, arc.Offset.X);
        b += 'J';
        AppendInt(b, arc.Offset.Y);
        w.Line("D01*");
        at = arc.End;
        ++w.Stats().Arcs;
      }
    } else if (roll < 70) {  // a move (10 %)
      const Vec to{rng.Range(kMin, kMax), rng.Range(kMin, kMax)};
      b += 'X';
      AppendInt(b, to.X);
      b += 'Y';
      AppendInt(b, to.Y);
      at = to;
      w.Line("D02*");
      ++w.Stats().Moves;
    } else {  // a flash (25 %)
      if (rng.Percent(15)) select(all[static_cast<std::size_t>(rng.Range(0, all.size() - 1))]);
      Vec to{Clamp(at.X + rng.Range(-3000, 3000)), Clamp(at.Y + rng.Range(-3000, 3000))};
      b += 'X';
      AppendInt(b, to.X);
      b += 'Y';
      AppendInt(b, to.Y);
      at = to;
      w.Line("D03*");
      ++w.Stats().Pads;
    }
  }
  w.Line("M02*");
  w.Flush();
  return w.Stats();
}

std::string FormatStats(const LargeFileStats& s) {
  std::string text;
  const auto line = [&](const char* key, uint64_t value) {
    text += key;
    text += '=';
    text += std::to_string(value);
    text += '\n';
  };
  line("bytes", s.Bytes);
  line("lines", s.Lines);
  line("statements", s.Statements);
  line("tracks", s.Tracks);
  line("arcs", s.Arcs);
  line("pads", s.Pads);
  line("fills", 0);
  line("moves", s.Moves);
  line("selects", s.Selects);
  line("apertures", s.Apertures);
  return text;
}

// ---- Corpus ----

namespace {

struct Format {
  int Integer;
  int Decimals;
};
constexpr std::array<Format, 4> kFormats{{{2, 3}, {2, 4}, {3, 3}, {2, 5}}};

int64_t Pow10(int n) {
  int64_t v = 1;
  while (n-- > 0) v *= 10;
  return v;
}

// One file's settings: what the statements look like and how long a unit of the file is.
struct FileStyle {
  bool Inch = true;
  Format Fmt{2, 4};
  bool TrailingOmitted = false;
  bool CrLf = true;
  bool Packed = false;     // up to three data statements on a line
  bool LongDCodes = true;  // D01 rather than D1
  int64_t Scale = 10000;   // file units per inch or per millimetre
};

class CorpusWriter {
 public:
  CorpusWriter(const FileStyle& style, Random& rng) : style_(style), rng_(rng) {}

  // A parameter statement, alone on its line.
  void Parameter(std::string_view text) {
    EndPackedLine();
    text_ += text;
    NewLine();
  }
  // A data statement (its "*" included); packed files put a few on one line.
  void Data(std::string_view text) {
    text_ += text;
    if (style_.Packed && ++onLine_ < 3 && rng_.Percent(60)) return;
    onLine_ = 0;
    NewLine();
  }
  void EndPackedLine() {
    if (onLine_ != 0) {
      onLine_ = 0;
      NewLine();
    }
  }
  std::string Finish() {
    EndPackedLine();
    return std::move(text_);
  }

  // A coordinate in file units, as the format writes it.
  std::string Number(int64_t value) const {
    const bool negative = value < 0;
    std::string digits = std::to_string(negative ? -value : value);
    if (style_.TrailingOmitted) {
      const std::size_t width = static_cast<std::size_t>(style_.Fmt.Integer + style_.Fmt.Decimals);
      if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
      const std::size_t last = digits.find_last_not_of('0');
      digits = last == std::string::npos ? "0" : digits.substr(0, last + 1);
    }
    return (negative ? "-" : "") + digits;
  }
  std::string DCode(int n) const {
    if (n < 10 && style_.LongDCodes) return "D0" + std::to_string(n);
    return "D" + std::to_string(n);
  }

 private:
  void NewLine() { text_ += style_.CrLf ? "\r\n" : "\n"; }
  const FileStyle& style_;
  Random& rng_;
  std::string text_;
  int onLine_ = 0;
};

struct CorpusAperture {
  int DCode;
  ApertureKind Kind;
  int64_t XSize;  // in 10^-4 inch or 10^-3 mm, the file's own units for sizes
  int64_t YSize;
  int Vertices = 0;
};

// A size in the file's units: 10^-4 inch or 10^-3 mm.
std::string SizeText(const FileStyle& style, int64_t size) { return Decimal(size, style.Inch ? 4 : 3); }

std::vector<CorpusAperture> MakeApertures(const FileStyle& style, Random& rng) {
  // Sizes: inch 0.004..0.080, mm 0.10..2.00.
  const int64_t lo = style.Inch ? 40 : 100;
  const int64_t hi = style.Inch ? 800 : 2000;
  std::vector<CorpusAperture> apertures;
  int dcode = 10;
  const auto add = [&](ApertureKind kind) {
    CorpusAperture a{dcode++, kind, rng.Range(lo, hi), rng.Range(lo, hi)};
    if (kind == ApertureKind::Circle || kind == ApertureKind::Polygon) a.YSize = a.XSize;
    if (kind == ApertureKind::Polygon) a.Vertices = static_cast<int>(rng.Range(3, 12));
    apertures.push_back(a);
  };
  add(ApertureKind::Circle);
  add(ApertureKind::Rectangle);
  add(ApertureKind::Obround);
  add(ApertureKind::Polygon);
  for (int n = static_cast<int>(rng.Range(0, 4)); n > 0; --n) add(static_cast<ApertureKind>(rng.Range(0, 3)));
  return apertures;
}

std::string DefinitionStatement(const FileStyle& style, const CorpusAperture& a, Random& rng) {
  std::string s = "%ADD" + std::to_string(a.DCode);
  switch (a.Kind) {
    case ApertureKind::Circle:
      s += "C," + SizeText(style, a.XSize);
      if (rng.Percent(20)) s += "X" + SizeText(style, a.XSize / 2);  // with a hole
      break;
    case ApertureKind::Rectangle:
      s += "R," + SizeText(style, a.XSize) + "X" + SizeText(style, a.YSize);
      break;
    case ApertureKind::Obround:
      s += "O," + SizeText(style, a.XSize) + "X" + SizeText(style, a.YSize);
      break;
    case ApertureKind::Polygon:
      s += "P," + SizeText(style, a.XSize) + "X" + std::to_string(a.Vertices);
      if (rng.Percent(30)) s += "X45.0";  // rotated
      break;
  }
  return s + "*%";
}

// The plain list: upper-case words, sizes in mils unless a value carries "MM".
std::string ListTable(const FileStyle& style, const std::vector<CorpusAperture>& apertures, Random& rng) {
  std::string text = "; aperture list for the photoplotter\r\n";
  for (const CorpusAperture& a : apertures) {
    const auto size = [&](int64_t v) {
      // Sizes are 10^-4 inch (= 0.1 mil) or 10^-3 mm.
      return style.Inch ? Decimal(v, 1) : Decimal(v, 3) + "MM";
    };
    std::string word;
    switch (a.Kind) {
      case ApertureKind::Circle:
        word = rng.Percent(50) ? "CIRCULAR" : "ROUNDED";
        break;
      case ApertureKind::Rectangle:
        word = a.XSize == a.YSize ? "SQUARE" : "RECTANGULAR";
        break;
      case ApertureKind::Obround:
        word = "RELIEF";
        break;
      case ApertureKind::Polygon:
        word = "OCTAGON";
        break;
    }
    const char* usage[] = {"FLASH", "STROKE", "MULTI"};
    text += "D" + std::to_string(a.DCode) + " " + word + " " + size(a.XSize) + (rng.Percent(50) ? "  " : "\t") +
            size(a.YSize) + " 0 " + usage[rng.Range(0, 2)] + "\r\n";
  }
  return text;
}

std::string KeyedTable(const FileStyle& style, const std::vector<CorpusAperture>& apertures, Random& rng) {
  std::string text = "Kolvex Aperture File\r\n";
  for (const CorpusAperture& a : apertures) {
    const auto size = [&](int64_t v) { return style.Inch ? Decimal(v, 1) + "mil" : Decimal(v, 3) + "mm"; };
    const char* shape = "Round";
    switch (a.Kind) {
      case ApertureKind::Circle:
        break;
      case ApertureKind::Rectangle:
        shape = "Rectangle";
        break;
      case ApertureKind::Obround:
        shape = "Relief";
        break;
      case ApertureKind::Polygon:
        shape = "Octagon";
        break;
    }
    const char* usage[] = {"FLASHONLY", "STROKEONLY", "MULTIPLE"};
    text += "DCode=" + std::to_string(a.DCode) + "|Shape=" + shape + "|XSize=" + size(a.XSize) +
            "|YSize=" + size(a.YSize) + "|HoleSize=" + (style.Inch ? "0mil" : "0mm") +
            "|Usage=" + usage[rng.Range(0, 2)] + "\r\n";
  }
  return text;
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

// The body of one file: moves, linear and rectangle draws, arcs of both kinds, flashes and comments.
std::string CorpusBody(const FileStyle& style, const std::vector<CorpusAperture>& apertures, bool rs274x, Random& rng) {
  CorpusWriter w(style, rng);
  w.Parameter("%FS" + std::string(style.TrailingOmitted ? "T" : "L") + "AX" + std::to_string(style.Fmt.Integer) +
              std::to_string(style.Fmt.Decimals) + "Y" + std::to_string(style.Fmt.Integer) +
              std::to_string(style.Fmt.Decimals) + "*%");
  w.Parameter(style.Inch ? "%MOIN*%" : "%MOMM*%");
  w.Data(std::string("G04 zz-gengerber corpus file, ") +
         (rs274x ? "apertures defined in the file" : "apertures from a table") + "*");
  if (rs274x) {
    for (const CorpusAperture& a : apertures) w.Parameter(DefinitionStatement(style, a, rng));
  }

  // Points within -0.5..3 inch or -10..75 mm; radii up to 0.3 inch or 7 mm.
  const int64_t perUnit = Pow10(style.Fmt.Decimals);
  const int64_t lo = style.Inch ? -perUnit / 2 : -10 * perUnit;
  const int64_t hi = style.Inch ? 3 * perUnit : 75 * perUnit;
  const int64_t maxRadius = style.Inch ? perUnit * 3 / 10 : 7 * perUnit;
  const auto coordinate = [&] { return rng.Range(lo, hi); };
  const Box box{lo - maxRadius, hi + maxRadius};
  const auto byKind = [&](ApertureKind kind) {
    for (const CorpusAperture& a : apertures) {
      if (a.Kind == kind) return a.DCode;
    }
    return apertures.front().DCode;
  };

  Vec at{0, 0};
  int selected = 0;
  std::string mode;  // the G code of the current interpolation, "" before the first
  bool multiQuadrant = false;
  const auto select = [&](int dcode) {
    if (dcode == selected) return;
    selected = dcode;
    w.Data((rng.Percent(40) ? "G54" : "") + w.DCode(dcode) + "*");
  };
  const auto xy = [&](Vec to, bool keepUnchanged) {
    std::string s;
    if (keepUnchanged || to.X != at.X) s += "X" + w.Number(to.X);
    if (keepUnchanged || to.Y != at.Y) s += "Y" + w.Number(to.Y);
    at = to;
    return s;
  };
  const auto interpolation = [&](const std::string& g) {
    if (mode == g && rng.Percent(70)) return std::string();
    mode = g;
    return g;
  };

  select(byKind(ApertureKind::Circle));
  w.Data(xy({coordinate(), coordinate()}, true) + w.DCode(2) + "*");
  const int operations = static_cast<int>(rng.Range(20, 60));
  for (int i = 0; i < operations; ++i) {
    switch (rng.Range(0, 9)) {
      case 0:  // a move
        w.Data(xy({coordinate(), coordinate()}, rng.Percent(50)) + w.DCode(2) + "*");
        break;
      case 1:
      case 2:
      case 3: {  // a linear draw, with a round or (for a fill) rectangular aperture
        select(rng.Percent(75) ? byKind(ApertureKind::Circle) : byKind(ApertureKind::Rectangle));
        Vec to{coordinate(), coordinate()};
        if (rng.Percent(30)) to.Y = at.Y;
        if (to.X == at.X && to.Y == at.Y) ++to.X;
        const std::string g = interpolation("G01");
        w.Data(g + xy(to, false) + w.DCode(1) + "*");
        break;
      }
      case 4:
      case 5: {  // an arc, single- or multi-quadrant, either way round
        select(byKind(ApertureKind::Circle));
        const bool single = rng.Percent(40);
        if (single == multiQuadrant || mode.empty()) {
          w.Data(single ? "G74*" : "G75*");
          multiQuadrant = !single;
          mode.clear();  // G74 switches to linear in some readers; say the mode again
        }
        const bool clockwise = rng.Percent(50);
        const int64_t radius = rng.Range(maxRadius / 10, maxRadius);
        int steps;
        if (single) {
          steps = static_cast<int>(rng.Range(1, kDirections / 4));  // within 90 degrees
        } else {
          steps = rng.Percent(25) ? kDirections : static_cast<int>(rng.Range(1, kDirections - 1));
        }
        const Arc arc = InwardArc(rng, at, radius, box, clockwise ? -steps : steps);
        // Single-quadrant offsets carry no sign; the reader finds the centre's side.
        const int64_t i0 = single ? std::abs(arc.Offset.X) : arc.Offset.X;
        const int64_t j0 = single ? std::abs(arc.Offset.Y) : arc.Offset.Y;
        const std::string g = interpolation(clockwise ? "G02" : "G03");
        std::string s = g + "X" + w.Number(arc.End.X) + "Y" + w.Number(arc.End.Y);
        if (i0 != 0 || rng.Percent(50)) s += "I" + w.Number(i0);
        if (j0 != 0 || rng.Percent(50)) s += "J" + w.Number(j0);
        at = arc.End;
        w.Data(s + w.DCode(1) + "*");
        break;
      }
      case 6:
      case 7:
      case 8:  // a flash with any aperture
        if (rng.Percent(60)) select(apertures[static_cast<std::size_t>(rng.Range(0, apertures.size() - 1))].DCode);
        w.Data(xy({coordinate(), coordinate()}, rng.Percent(50)) + w.DCode(3) + "*");
        break;
      default:  // a comment
        w.Data("G04 note " + std::to_string(i) + ", nothing to draw*");
        break;
    }
  }
  w.Data("M02*");
  return w.Finish();
}

}  // namespace

std::vector<CorpusFile> WriteCorpus(const std::filesystem::path& folder, uint64_t seed, int count, LineEnds lineEnds) {
  std::filesystem::create_directories(folder);
  std::vector<CorpusFile> files;
  const char* xExtensions[] = {".gbr", ".gtl", ".gbl", ".gto", ".g1", ".pho"};
  const char* listExtensions[] = {".gbr", ".gtl", ".g2"};
  for (int i = 0; i < count; ++i) {
    Random rng(seed * 0x100000001B3ULL + static_cast<uint64_t>(i));
    FileStyle style;
    // The first sixteen files go through every format, unit and zero rule; then they vary at random.
    const int variant = i < 16 ? i : static_cast<int>(rng.Range(0, 15));
    style.Inch = (variant + variant / 4) % 2 == 0;  // so that the RS-274-D files get both units too
    style.Fmt = kFormats[static_cast<std::size_t>((variant / 2) % 4)];
    style.TrailingOmitted = (variant / 8) % 2 == 1;
    style.CrLf = lineEnds == LineEnds::CrLf || (lineEnds == LineEnds::Mixed && i % 4 != 3);
    style.Packed = rng.Percent(20);
    style.LongDCodes = rng.Percent(80);
    // Every fourth file is RS-274-D; its tables alternate between the list and the keyed form.
    const bool rs274x = i % 4 != 2;
    const bool keyed = !rs274x && (i / 4) % 2 == 1;

    const std::vector<CorpusAperture> apertures = MakeApertures(style, rng);
    char stem[32];
    std::snprintf(stem, sizeof stem, "zz%03d-%s-%s-%d%d%c", i, rs274x ? "x" : "d", style.Inch ? "in" : "mm",
                  style.Fmt.Integer, style.Fmt.Decimals, style.TrailingOmitted ? 'T' : 'L');
    CorpusFile file;
    std::string extension;
    if (rs274x) {
      extension = xExtensions[i % 6];
    } else if (keyed) {
      extension = ".gbl";
    } else {
      extension = listExtensions[(i / 8) % 3];
    }
    file.Gerber = folder / (std::string(stem) + extension);
    file.Description = std::string(rs274x ? "RS-274-X " : "RS-274-D ") + (style.Inch ? "inch " : "mm ") +
                       std::to_string(style.Fmt.Integer) + "." + std::to_string(style.Fmt.Decimals) +
                       (style.TrailingOmitted ? " trailing" : " leading") + " zeros omitted" +
                       (style.CrLf ? "" : ", LF line ends") + (style.Packed ? ", several statements a line" : "");
    WriteFile(file.Gerber, CorpusBody(style, apertures, rs274x, rng));
    if (!rs274x) {
      if (keyed) {
        file.Table = folder / (std::string(stem) + ".apr");
        WriteFile(file.Table, KeyedTable(style, apertures, rng));
        file.Description += ", keyed aperture table";
      } else {
        // The changed extension: its first letter after the dot becomes "A".
        std::string tableExtension = extension;
        tableExtension[1] = 'A';
        file.Table = folder / (std::string(stem) + tableExtension);
        WriteFile(file.Table, ListTable(style, apertures, rng));
        file.Description += ", aperture list";
      }
    }
    files.push_back(file);
  }
  return files;
}

}  // namespace zzbench
