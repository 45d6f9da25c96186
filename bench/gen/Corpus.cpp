// Corpora of small varied Gerber files, with aperture table files beside the RS-274-D ones.

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "gen/GeneratorParts.h"
#include "gen/GerberGenerator.h"

namespace zzbench {
namespace {

using parts::Cat;
using parts::Decimal;
using parts::Vec;

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

// Departures from a clean file. They draw from a random sequence of their own, so that a corpus
// without them keeps its bytes, and when off they draw nothing.
class Roughness {
 public:
  Roughness(bool on, uint64_t seed) : on_(on), rng_(seed) {}
  bool On() const { return on_; }
  bool Chance(int percent) { return on_ && rng_.Percent(percent); }
  int64_t Range(int64_t lo, int64_t hi) { return rng_.Range(lo, hi); }
  template <std::size_t N>
  const char* Pick(const std::array<const char*, N>& items) {
    return items[static_cast<std::size_t>(rng_.Range(0, static_cast<int64_t>(N) - 1))];
  }

 private:
  bool on_;
  Random rng_;
};

// One file's settings: what the statements look like and how long a unit of the file is.
struct FileStyle {
  bool Inch = true;
  Format Fmt{2, 4};
  bool TrailingOmitted = false;
  std::string_view LineEnd = "\r\n";
  bool Packed = false;     // up to three data statements on a line
  bool LongDCodes = true;  // D01 rather than D1
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
    return negative ? Cat('-', digits) : digits;
  }
  std::string DCode(int n) const { return n < 10 && style_.LongDCodes ? Cat("D0", n) : Cat('D', n); }

 private:
  void EndPackedLine() {
    if (onLine_ != 0) {
      onLine_ = 0;
      NewLine();
    }
  }
  void NewLine() { text_ += style_.LineEnd; }

  const FileStyle& style_;
  Random& rng_;
  std::string text_;
  int onLine_ = 0;
};

enum class ApertureKind { Circle, Rectangle, Obround, Polygon };

struct CorpusAperture {
  int DCode;
  ApertureKind Kind;
  int64_t XSize;  // in 10^-4 inch or 10^-3 mm, the file's own units for sizes
  int64_t YSize;
  int Vertices = 0;
};

// A size in the file's units: 10^-4 inch or 10^-3 mm.
std::string SizeText(const FileStyle& style, int64_t size) { return Decimal(size, style.Inch ? 4 : 3); }

// One of each shape, then up to four more, numbered on from firstDCode.
std::vector<CorpusAperture> MakeApertures(const FileStyle& style, int firstDCode, Random& rng) {
  // Sizes: inch 0.004..0.080, mm 0.10..2.00.
  const int64_t lo = style.Inch ? 40 : 100;
  const int64_t hi = style.Inch ? 800 : 2000;
  std::vector<CorpusAperture> apertures;
  int dcode = firstDCode;
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
  std::string s = Cat("%ADD", a.DCode);
  switch (a.Kind) {
    case ApertureKind::Circle:
      s += Cat("C,", SizeText(style, a.XSize));
      if (rng.Percent(20)) s += Cat('X', SizeText(style, a.XSize / 2));  // with a hole
      break;
    case ApertureKind::Rectangle:
      s += Cat("R,", SizeText(style, a.XSize), 'X', SizeText(style, a.YSize));
      break;
    case ApertureKind::Obround:
      s += Cat("O,", SizeText(style, a.XSize), 'X', SizeText(style, a.YSize));
      break;
    case ApertureKind::Polygon:
      s += Cat("P,", SizeText(style, a.XSize), 'X', a.Vertices);
      if (rng.Percent(30)) s += "X45.0";  // rotated
      break;
  }
  return s + "*%";
}

// ---- Aperture table files ----

// How a table file is written: clean tables end their lines with CR LF; rough ones take the
// Gerber file's line ends and carry words, hole sizes and stray lines the reader must cope with.
struct TableStyle {
  const FileStyle& File;
  std::string_view LineEnd;
  Roughness& Rough;
};

constexpr std::string_view kStrayLine = "* a line that is not an aperture";

std::string ListWord(const CorpusAperture& a, TableStyle& table, Random& rng) {
  if (table.Rough.Chance(10)) return "TARGET";  // a shape the list has no aperture class for
  switch (a.Kind) {
    case ApertureKind::Circle:
      return rng.Percent(50) ? "CIRCULAR" : "ROUNDED";
    case ApertureKind::Rectangle:
      return a.XSize == a.YSize ? "SQUARE" : "RECTANGULAR";
    case ApertureKind::Obround:
      return "RELIEF";
    case ApertureKind::Polygon:
      break;
  }
  return "OCTAGON";
}

// The plain list: upper-case words, sizes in mils unless a value carries "MM".
std::string ListTable(const std::vector<CorpusAperture>& apertures, TableStyle table, Random& rng) {
  std::string text = Cat("; aperture list for the photoplotter", table.LineEnd);
  // Sizes are 10^-4 inch (= 0.1 mil) or 10^-3 mm.
  const auto size = [&](int64_t v) { return table.File.Inch ? Decimal(v, 1) : Cat(Decimal(v, 3), "MM"); };
  for (const CorpusAperture& a : apertures) {
    const std::string word = ListWord(a, table, rng);
    constexpr std::array<const char*, 3> kUsages = {"FLASH", "STROKE", "MULTI"};
    const std::string_view usage = table.Rough.Chance(10) ? "" : kUsages[static_cast<std::size_t>(rng.Range(0, 2))];
    const std::string_view separator = rng.Percent(50) ? "  " : "\t";
    text += Cat('D', a.DCode, ' ', word, ' ', size(a.XSize), separator, size(a.YSize), " 0 ", usage, table.LineEnd);
    if (table.Rough.Chance(10)) text += Cat(kStrayLine, table.LineEnd);
  }
  return text;
}

std::string_view KeyedShape(const CorpusAperture& a, TableStyle& table) {
  switch (a.Kind) {
    case ApertureKind::Circle:
      return table.Rough.Chance(30) ? "ROUND" : "Round";
    case ApertureKind::Rectangle:
      return "Rectangle";
    case ApertureKind::Obround:
      return "Relief";
    case ApertureKind::Polygon:
      break;
  }
  return "Octagon";
}

std::string KeyedTable(const std::vector<CorpusAperture>& apertures, TableStyle table, Random& rng) {
  std::string text = Cat("Kolvex Aperture File", table.LineEnd);
  const bool inch = table.File.Inch;
  const auto size = [&](int64_t v) { return inch ? Cat(Decimal(v, 1), "mil") : Cat(Decimal(v, 3), "mm"); };
  for (const CorpusAperture& a : apertures) {
    constexpr std::array<const char*, 3> kUsages = {"FLASHONLY", "STROKEONLY", "MULTIPLE"};
    const std::string hole = table.Rough.Chance(30) ? size(table.Rough.Range(1, 3) * 100) : (inch ? "0mil" : "0mm");
    text += Cat("DCode=", a.DCode, "|Shape=", KeyedShape(a, table), "|XSize=", size(a.XSize),
                "|YSize=", size(a.YSize), "|HoleSize=", hole,
                "|Usage=", kUsages[static_cast<std::size_t>(rng.Range(0, 2))], table.LineEnd);
    if (table.Rough.Chance(10)) text += Cat(kStrayLine, table.LineEnd);
  }
  return text;
}

// ---- The Gerber file ----

// Statements the importer reads and ignores, or reads without drawing.
constexpr std::array<const char*, 7> kIgnoredStatements = {"%LPC*%", "%LPD*%", "G36*", "G37*",
                                                           "G90*",   "G70*",   "G71*"};
// Statements the importer cannot read: the import stops there with an error.
constexpr std::array<const char*, 5> kBrokenStatements = {"D1.5*", "G1-2*", "X1.5.5Y0D01*", "%ADD1.5C,0.1*%",
                                                          "X99999999999D02*"};

// The drawing of one file: moves, linear and rectangle draws, arcs of both kinds, flashes and
// comments, with the modal state the statements leave behind.
class CorpusDrawing {
 public:
  CorpusDrawing(const FileStyle& style, const std::vector<CorpusAperture>& apertures, Random& rng, Roughness& rough)
      : style_(style), apertures_(apertures), rng_(rng), rough_(rough), w_(style, rng) {
    // Points within -0.5..3 inch or -10..75 mm; radii up to 0.3 inch or 7 mm.
    const int64_t perUnit = Pow10(style.Fmt.Decimals);
    lo_ = style.Inch ? -perUnit / 2 : -10 * perUnit;
    hi_ = style.Inch ? 3 * perUnit : 75 * perUnit;
    maxRadius_ = style.Inch ? perUnit * 3 / 10 : 7 * perUnit;
  }

  // Format and units (rough files may lack the units), a comment, the apertures when defined in the file.
  void WriteHeader(bool defineApertures, std::string_view stem) {
    std::string format = Cat("%FS", style_.TrailingOmitted ? 'T' : 'L', "AX", style_.Fmt.Integer,
                             style_.Fmt.Decimals, 'Y', style_.Fmt.Integer, style_.Fmt.Decimals, "*%");
    if (rough_.Chance(10)) format = Cat("G04 generated ", stem, '*', format);  // on the format's line
    w_.Parameter(format);
    if (!rough_.Chance(10)) w_.Parameter(style_.Inch ? "%MOIN*%" : "%MOMM*%");
    w_.Data(Cat("G04 zz-gengerber corpus file, ",
                defineApertures ? "apertures defined in the file" : "apertures from a table", '*'));
    if (defineApertures) {
      for (const CorpusAperture& a : apertures_) w_.Parameter(DefinitionStatement(style_, a, rng_));
    }
  }

  void WriteOperations() {
    Select(ByKind(ApertureKind::Circle));
    const Vec start = RandomPoint();
    w_.Data(Cat(XY(start, true), w_.DCode(2), '*'));
    const int operations = static_cast<int>(rng_.Range(20, 60));
    const int broken = rough_.Chance(4) ? static_cast<int>(rough_.Range(0, operations - 1)) : -1;
    for (int i = 0; i < operations; ++i) {
      if (i == broken) w_.Data(rough_.Pick(kBrokenStatements));
      if (rough_.Chance(8)) WriteIgnoredStatement();
      WriteOperation(i);
    }
  }

  std::string Finish() {
    w_.Data("M02*");
    return w_.Finish();
  }

 private:
  void WriteOperation(int i) {
    switch (rng_.Range(0, 9)) {
      case 0:
        Move();
        break;
      case 1:
      case 2:
      case 3:
        Draw();
        break;
      case 4:
      case 5:
        DrawArc();
        break;
      case 6:
      case 7:
      case 8:
        Flash();
        break;
      default:
        w_.Data(Cat("G04 note ", i, ", nothing to draw*"));
        break;
    }
  }

  void Move() {
    const bool keepUnchanged = rng_.Percent(50);
    const Vec to = RandomPoint();
    w_.Data(Cat(XY(to, keepUnchanged), w_.DCode(2), '*'));
  }

  // A linear draw, with a round or (for a fill) rectangular aperture.
  void Draw() {
    Select(rng_.Percent(75) ? ByKind(ApertureKind::Circle) : ByKind(ApertureKind::Rectangle));
    Vec to = RandomPoint();
    if (rng_.Percent(30)) to.Y = at_.Y;
    if (to.X == at_.X && to.Y == at_.Y) ++to.X;
    const std::string g = Interpolation("G01");
    w_.Data(Cat(g, XY(to, false), w_.DCode(1), '*'));
  }

  // An arc, single- or multi-quadrant, either way round.
  void DrawArc() {
    Select(ByKind(ApertureKind::Circle));
    const bool single = rng_.Percent(40);
    if (single == multiQuadrant_ || mode_.empty()) {
      w_.Data(single ? "G74*" : "G75*");
      multiQuadrant_ = !single;
      mode_.clear();  // G74 switches to linear in some readers; say the mode again
    }
    const bool clockwise = rng_.Percent(50);
    const int64_t radius = rng_.Range(maxRadius_ / 10, maxRadius_);
    int steps;
    if (single) {
      steps = static_cast<int>(rng_.Range(1, parts::kDirections / 4));  // within 90 degrees
    } else {
      steps = rng_.Percent(25) ? parts::kDirections : static_cast<int>(rng_.Range(1, parts::kDirections - 1));
    }
    const parts::Box box{lo_ - maxRadius_, hi_ + maxRadius_};
    const parts::Arc arc = parts::InwardArc(rng_, at_, radius, box, clockwise ? -steps : steps);
    // Single-quadrant offsets carry no sign; the reader finds the centre's side.
    const int64_t i0 = single ? std::abs(arc.Offset.X) : arc.Offset.X;
    const int64_t j0 = single ? std::abs(arc.Offset.Y) : arc.Offset.Y;
    std::string s = Cat(Interpolation(clockwise ? "G02" : "G03"), 'X', w_.Number(arc.End.X), 'Y', w_.Number(arc.End.Y));
    if (i0 != 0 || rng_.Percent(50)) s += Cat('I', w_.Number(i0));
    if (j0 != 0 || rng_.Percent(50)) s += Cat('J', w_.Number(j0));
    at_ = arc.End;
    w_.Data(Cat(s, w_.DCode(1), '*'));
  }

  // A flash with any aperture.
  void Flash() {
    if (rng_.Percent(60)) Select(apertures_[static_cast<std::size_t>(rng_.Range(0, apertures_.size() - 1))].DCode);
    const bool keepUnchanged = rng_.Percent(50);
    const Vec to = RandomPoint();
    w_.Data(Cat(XY(to, keepUnchanged), w_.DCode(3), '*'));
  }

  // Polarity, region, absolute-notation or unit statements, coordinates without an operation
  // (they only set the registers), or a linear mode statement of its own.
  void WriteIgnoredStatement() {
    const int64_t kind = rough_.Range(0, kIgnoredStatements.size() + 1);
    if (kind < static_cast<int64_t>(kIgnoredStatements.size())) {
      const std::string_view statement = kIgnoredStatements[static_cast<std::size_t>(kind)];
      if (statement.front() == '%') {
        w_.Parameter(statement);
      } else {
        w_.Data(statement);
      }
    } else if (kind == static_cast<int64_t>(kIgnoredStatements.size())) {
      at_.X = rough_.Range(lo_, hi_);
      w_.Data(Cat('X', w_.Number(at_.X), '*'));
    } else {
      w_.Data("G01*");
      mode_ = "G01";
    }
  }

  void Select(int dcode) {
    if (dcode == selected_) return;
    selected_ = dcode;
    w_.Data(Cat(rng_.Percent(40) ? "G54" : "", w_.DCode(dcode), '*'));
  }

  int ByKind(ApertureKind kind) const {
    for (const CorpusAperture& a : apertures_) {
      if (a.Kind == kind) return a.DCode;
    }
    return apertures_.front().DCode;
  }

  Vec RandomPoint() {
    const int64_t x = rng_.Range(lo_, hi_);
    return {x, rng_.Range(lo_, hi_)};
  }

  std::string XY(Vec to, bool keepUnchanged) {
    std::string s;
    if (keepUnchanged || to.X != at_.X) s += Cat('X', w_.Number(to.X));
    if (keepUnchanged || to.Y != at_.Y) s += Cat('Y', w_.Number(to.Y));
    at_ = to;
    return s;
  }

  // The G code of the interpolation mode, left out now and then when the mode is already set.
  std::string Interpolation(std::string_view g) {
    if (mode_ == g && rng_.Percent(70)) return {};
    mode_ = g;
    return mode_;
  }

  const FileStyle& style_;
  const std::vector<CorpusAperture>& apertures_;
  Random& rng_;
  Roughness& rough_;
  CorpusWriter w_;
  int64_t lo_;
  int64_t hi_;
  int64_t maxRadius_;
  Vec at_{0, 0};
  int selected_ = 0;
  std::string mode_;  // the G code of the current interpolation, "" before the first
  bool multiQuadrant_ = false;
};

// ---- The corpus ----

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

// The first sixteen files go through every format, unit and zero rule; then they vary at random.
// Rough files after those take any format from 2.3 to 4.5.
FileStyle ChooseStyle(int i, const CorpusOptions& options, Random& rng, Roughness& rough) {
  FileStyle style;
  const int variant = i < 16 ? i : static_cast<int>(rng.Range(0, 15));
  style.Inch = (variant + variant / 4) % 2 == 0;  // so that the RS-274-D files get both units too
  style.Fmt = kFormats[static_cast<std::size_t>((variant / 2) % 4)];
  if (i >= 16 && rough.Chance(50)) {
    style.Fmt = {static_cast<int>(rough.Range(2, 4)), static_cast<int>(rough.Range(3, 5))};
  }
  style.TrailingOmitted = (variant / 8) % 2 == 1;
  const bool mixed = options.Eol == LineEnds::Mixed || options.Eol == LineEnds::Varied;
  if (options.Eol == LineEnds::Varied && i % 10 == 9) {
    style.LineEnd = "";
  } else if (options.Eol == LineEnds::Lf || (mixed && i % 4 == 3)) {
    style.LineEnd = "\n";
  }
  style.Packed = rng.Percent(20);
  style.LongDCodes = rng.Percent(80);
  return style;
}

// Gerber extensions; none starts with "a", whose changed extension would name the file itself.
constexpr std::array<const char*, 6> kXExtensions = {".gbr", ".gtl", ".gbl", ".gto", ".g1", ".pho"};
constexpr std::array<const char*, 3> kListExtensions = {".gbr", ".gtl", ".g2"};
constexpr std::array<const char*, 4> kRoughExtensions = {".GBR", ".ger", ".cmp", ".g12"};

std::string ChooseExtension(int i, bool rs274x, bool keyed, Roughness& rough) {
  // Without an extension the first table-file candidate is the Gerber file itself.
  if (rough.Chance(3)) return "";
  if (rough.Chance(30)) return rough.Pick(kRoughExtensions);
  if (rs274x) return kXExtensions[static_cast<std::size_t>(i % 6)];
  return keyed ? ".gbl" : kListExtensions[static_cast<std::size_t>((i / 8) % 3)];
}

std::string Describe(bool rs274x, const FileStyle& style) {
  std::string_view lineEnds;
  if (style.LineEnd == "\n") lineEnds = ", LF line ends";
  if (style.LineEnd.empty()) lineEnds = ", no line ends";
  return Cat(rs274x ? "RS-274-X " : "RS-274-D ", style.Inch ? "inch " : "mm ", style.Fmt.Integer, '.',
             style.Fmt.Decimals, style.TrailingOmitted ? " trailing" : " leading", " zeros omitted", lineEnds,
             style.Packed ? ", several statements a line" : "");
}

// The tables of an RS-274-D file: a plain list under the changed extension (x.gbr -> x.Abr) or a
// keyed table x.apr. Rough files may have both (the first wins), neither, or either form under
// either name.
void WriteTables(CorpusFile& file, std::string_view extension, bool keyed, const std::vector<CorpusAperture>& apertures,
                 const FileStyle& style, Random& rng, Roughness& rough) {
  TableStyle table{style, rough.On() ? style.LineEnd : std::string_view("\r\n"), rough};
  bool changed = !keyed;
  bool apr = keyed;
  if (rough.On()) {
    const int64_t placement = rough.Range(1, 10);
    changed = !extension.empty() && (placement <= 5 || placement == 9);
    apr = (placement >= 6 && placement <= 8) || placement == 9 || (extension.empty() && placement <= 5);
  }
  const auto write = [&](const std::filesystem::path& path, bool keyedForm) {
    WriteFile(path, keyedForm ? KeyedTable(apertures, table, rng) : ListTable(apertures, table, rng));
    if (file.Table.empty()) file.Table = path;
    file.Description += keyedForm ? ", keyed aperture table" : ", aperture list";
  };
  if (changed) {
    std::string tableExtension(extension);
    tableExtension[1] = 'A';  // the first letter after the dot
    std::filesystem::path path = file.Gerber;
    write(path.replace_extension(tableExtension), rough.On() ? rough.Chance(50) : false);
  }
  if (apr) {
    std::filesystem::path path = file.Gerber;
    write(path.replace_extension(".apr"), rough.On() ? rough.Chance(50) : true);
  }
  if (!changed && !apr) file.Description += ", no aperture table";
}

CorpusFile WriteCorpusFile(const std::filesystem::path& folder, uint64_t seed, int i, const CorpusOptions& options) {
  const uint64_t fileSeed = seed * 0x100000001B3ULL + static_cast<uint64_t>(i);
  Random rng(fileSeed);
  Roughness rough(options.Rough, fileSeed ^ 0x5EED0F0DD5ULL);
  const FileStyle style = ChooseStyle(i, options, rng, rough);
  // Every fourth file is RS-274-D; its tables alternate between the list and the keyed form.
  const bool rs274x = i % 4 != 2;
  const bool keyed = !rs274x && (i / 4) % 2 == 1;
  const int firstDCode = rough.Chance(20) ? static_cast<int>(rough.Range(10, 990)) : 10;
  const std::vector<CorpusAperture> apertures = MakeApertures(style, firstDCode, rng);

  char stem[32];
  std::snprintf(stem, sizeof stem, "zz%03d-%s-%s-%d%d%c", i, rs274x ? "x" : "d", style.Inch ? "in" : "mm",
                style.Fmt.Integer, style.Fmt.Decimals, style.TrailingOmitted ? 'T' : 'L');
  const std::string extension = ChooseExtension(i, rs274x, keyed, rough);
  CorpusFile file;
  file.Gerber = folder / Cat(stem, extension);
  file.Description = Describe(rs274x, style);

  // Rough files now and then define no apertures at all: the import stops at the first operation.
  const bool defineApertures = rs274x && !rough.Chance(5);
  CorpusDrawing drawing(style, apertures, rng, rough);
  drawing.WriteHeader(defineApertures, stem);
  drawing.WriteOperations();
  WriteFile(file.Gerber, drawing.Finish());
  if (!rs274x) WriteTables(file, extension, keyed, apertures, style, rng, rough);
  return file;
}

}  // namespace

std::vector<CorpusFile> WriteCorpus(const std::filesystem::path& folder, uint64_t seed, int count,
                                    const CorpusOptions& options) {
  std::filesystem::create_directories(folder);
  std::vector<CorpusFile> files;
  for (int i = 0; i < count; ++i) files.push_back(WriteCorpusFile(folder, seed, i, options));
  return files;
}

}  // namespace zzbench
