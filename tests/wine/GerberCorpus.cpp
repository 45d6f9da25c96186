// zz-e2e-corpus: writes a deterministic set of Gerber files, some with an aperture table file
// beside them, for the end-to-end comparison of the plug-in under Wine with the native tool.
//   zz-e2e-corpus OUTDIR COUNT [SEED]
// The same arguments always give the same bytes, on every platform. The files use what the
// importer reads (format and unit statements, %ADD of every shape, D/G codes, linear and circular
// draws in both quadrant modes, flashes, both table-file formats) and a few things it reads and
// ignores, stops at or cannot read, so that every road through an import is walked.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

// splitmix64: small, and the same sequence everywhere (no std distributions, whose results differ
// between standard libraries).
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  int Between(int low, int high) { return low + static_cast<int>(Next() % static_cast<uint64_t>(high - low + 1)); }
  bool Chance(int percent) { return Between(1, 100) <= percent; }
  template <typename T>
  const T& Pick(const std::vector<T>& items) {
    return items[static_cast<std::size_t>(Between(0, static_cast<int>(items.size()) - 1))];
  }

 private:
  uint64_t state_;
};

struct Format {
  int IntegerDigits = 2;
  int DecimalDigits = 4;
  bool LeadingOmitted = true;  // else trailing zeros omitted
  bool Imperial = true;
};

// A coordinate in file units (10^-DecimalDigits inch or mm) written with the format's zero rule.
std::string Coordinate(int64_t value, const Format& format) {
  const int width = format.IntegerDigits + format.DecimalDigits;
  std::string digits = std::to_string(value < 0 ? -value : value);
  while (static_cast<int>(digits.size()) < width) digits.insert(digits.begin(), '0');
  if (format.LeadingOmitted) {
    const std::size_t first = digits.find_first_not_of('0');
    digits = first == std::string::npos ? "0" : digits.substr(first);
  } else {
    const std::size_t last = digits.find_last_not_of('0');
    digits = last == std::string::npos ? "0" : digits.substr(0, last + 1);
  }
  return (value < 0 ? "-" : "") + digits;
}

// A size such as 0.0125 (inch) or 0.300 (mm).
std::string Size(Random& random, bool imperial) {
  const int units = imperial ? random.Between(20, 2500) : random.Between(50, 6000);  // 1/10000 in, 1/1000 mm
  char text[32];
  if (imperial) {
    std::snprintf(text, sizeof text, "%d.%04d", units / 10000, units % 10000);
  } else {
    std::snprintf(text, sizeof text, "%d.%03d", units / 1000, units % 1000);
  }
  return text;
}

struct Aperture {
  int DCode;
  char Shape;  // C, R, O, P
};

class Writer {
 public:
  Writer(Random& random, const std::string& lineEnd) : random_(random), lineEnd_(lineEnd) {}
  void Line(const std::string& text) { text_ += text + lineEnd_; }
  void Statements(const std::vector<std::string>& statements) {
    // Sometimes several statements share a line, as some CAM programs write them.
    std::string line;
    for (const std::string& statement : statements) {
      line += statement;
      if (random_.Chance(70)) {
        Line(line);
        line.clear();
      }
    }
    if (!line.empty()) Line(line);
  }
  const std::string& Text() const { return text_; }

 private:
  Random& random_;
  std::string lineEnd_;
  std::string text_;
};

std::vector<Aperture> ChooseApertures(Random& random) {
  std::vector<Aperture> apertures;
  const int count = random.Between(1, 8);
  int dcode = random.Chance(80) ? 10 : random.Between(10, 990);
  for (int i = 0; i < count && dcode <= 999; ++i) {
    apertures.push_back({dcode, random.Pick(std::vector<char>{'C', 'C', 'R', 'O', 'P'})});
    dcode += random.Between(1, 3);
  }
  return apertures;
}

std::string Definition(Random& random, const Aperture& aperture, bool imperial) {
  std::string text = "%ADD" + std::to_string(aperture.DCode) + aperture.Shape + ",";
  switch (aperture.Shape) {
    case 'C':
      text += Size(random, imperial);
      if (random.Chance(20)) text += "X" + Size(random, imperial);  // a hole, which is not read
      break;
    case 'R':
    case 'O':
      text += Size(random, imperial) + "X" + Size(random, imperial);
      break;
    default:
      text += Size(random, imperial) + "X" + std::to_string(random.Between(3, 12));
      break;
  }
  return text + "*%";
}

// A plain aperture list, or a keyed table under its header line.
std::string TableFile(Random& random, const std::vector<Aperture>& apertures, const std::string& lineEnd) {
  std::string text;
  const bool keyed = random.Chance(50);
  if (keyed) text += "Kolvex Aperture File" + lineEnd;
  for (const Aperture& aperture : apertures) {
    const int x = random.Between(4, 120);
    const int y = aperture.Shape == 'C' || aperture.Shape == 'P' ? x : random.Between(4, 120);
    if (keyed) {
      static const std::vector<std::string> kShapes = {"Round", "Rectangle", "Octagon", "Relief", "ROUND"};
      static const std::vector<std::string> kUsages = {"FLASHONLY", "STROKEONLY", "MULTIPLE"};
      text += "DCode=" + std::to_string(aperture.DCode) + "|Shape=" + random.Pick(kShapes) +
              "|XSize=" + std::to_string(x) + "mil|YSize=" + std::to_string(y) +
              "mil|HoleSize=" + std::to_string(random.Chance(30) ? random.Between(1, 3) * 10 : 0) +
              "mil|Usage=" + random.Pick(kUsages) + lineEnd;
    } else {
      static const std::vector<std::string> kShapes = {"CIRCULAR", "SQUARE",      "ROUNDED", "OCTAGON",
                                                       "RELIEF",   "RECTANGULAR", "TARGET"};
      static const std::vector<std::string> kUsages = {"FLASH", "STROKE", "MULTI", ""};
      const bool metric = random.Chance(25);
      text += "D" + std::to_string(aperture.DCode) + " " + random.Pick(kShapes) + " " +
              (metric ? std::to_string(x / 40.0).substr(0, 5) + "MM" : std::to_string(x)) + " " + std::to_string(y) +
              " 0 " + random.Pick(kUsages) + lineEnd;
    }
    if (random.Chance(10)) text += "* a line that is not an aperture" + lineEnd;
  }
  return text;
}

// The drawing: selects apertures, moves, draws lines and arcs, flashes.
std::vector<std::string> Body(Random& random, const Format& format, const std::vector<Aperture>& apertures) {
  std::vector<std::string> out;
  const int64_t scale = [&] {
    int64_t s = 1;
    for (int i = 0; i < format.DecimalDigits; ++i) s *= 10;
    return s;
  }();
  // Coordinates within a few inches (or tens of mm) of the origin, some negative.
  const int64_t range = format.Imperial ? 4 * scale : 100 * scale;
  auto coordinate = [&] { return static_cast<int64_t>(random.Next() % static_cast<uint64_t>(2 * range)) - range / 4; };
  auto xy = [&](int64_t x, int64_t y) {
    std::string text;
    if (random.Chance(90)) text += "X" + Coordinate(x, format);
    if (random.Chance(90)) text += "Y" + Coordinate(y, format);
    return text;
  };
  int64_t x = 0;
  int64_t y = 0;
  const int statements = random.Between(10, 160);
  for (int n = 0; n < statements; ++n) {
    const int kind = random.Between(0, 99);
    if (kind < 8 && !apertures.empty()) {
      const Aperture& aperture = random.Pick(apertures);
      out.push_back((random.Chance(40) ? "G54D" : "D") + std::to_string(aperture.DCode) + "*");
    } else if (kind < 22) {
      x = coordinate();
      y = coordinate();
      out.push_back(xy(x, y) + "D02*");
    } else if (kind < 52) {
      x = coordinate();
      y = coordinate();
      out.push_back((random.Chance(30) ? "G01" : "") + xy(x, y) + "D01*");
    } else if (kind < 70) {
      // An arc about a centre off the start point; the end lies roughly on the circle.
      const int64_t i0 = coordinate() / 4;
      const int64_t j0 = coordinate() / 4;
      const bool multi = random.Chance(60);
      const bool clockwise = random.Chance(50);
      std::string statement = multi ? "G75*" : "G74*";
      out.push_back(statement);
      const int64_t cx = x + i0;
      const int64_t cy = y + j0;
      // Turn the start about the centre by a quarter in the arc's direction, or come back to it (a
      // full circle).
      const bool full = random.Chance(15);
      const int64_t dx = x - cx;
      const int64_t dy = y - cy;
      const int64_t ex = full ? x : cx + (clockwise ? dy : -dy);
      const int64_t ey = full ? y : cy + (clockwise ? -dx : dx);
      x = ex;
      y = ey;
      const int64_t i = multi ? i0 : (i0 < 0 ? -i0 : i0);
      const int64_t j = multi ? j0 : (j0 < 0 ? -j0 : j0);
      out.push_back(std::string(clockwise ? "G02" : "G03") + "X" + Coordinate(ex, format) + "Y" +
                    Coordinate(ey, format) + "I" + Coordinate(i, format) + "J" + Coordinate(j, format) + "D01*");
      if (random.Chance(30)) out.push_back("G01*");
    } else if (kind < 90) {
      x = coordinate();
      y = coordinate();
      out.push_back(xy(x, y) + "D03*");
    } else if (kind < 94) {
      out.push_back("G04 comment " + std::to_string(n) + "*");
    } else if (kind < 96) {
      out.push_back(random.Pick(std::vector<std::string>{"%LPC*%", "%LPD*%", "G36*", "G37*", "G90*", "G70*"}));
    } else {
      // Registers only: no D field, so nothing is drawn.
      x = coordinate();
      out.push_back("X" + Coordinate(x, format) + "*");
    }
  }
  // Now and then a statement the importer cannot read, so that its error report is compared too.
  if (random.Chance(4)) {
    static const std::vector<std::string> kBroken = {"D+*", "G-*", "X1.5.5Y0D01*", "%ADD+C,0.1*%", "X99999999999D02*"};
    out.insert(out.begin() + random.Between(0, static_cast<int>(out.size())), random.Pick(kBroken));
  }
  out.push_back("M02*");
  return out;
}

struct Corpus {
  std::filesystem::path Folder;
  int Written = 0;

  void Write(const std::string& name, const std::string& text) {
    std::ofstream out(Folder / name, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!out) {
      std::fprintf(stderr, "zz-e2e-corpus: cannot write %s\n", (Folder / name).string().c_str());
      std::exit(1);
    }
    ++Written;
  }
};

// Extensions of Gerber files; none starts with "a", whose table-file candidate would be the file
// itself on a file system that ignores letter case and not on one that does not.
const std::vector<std::string> kExtensions = {".gbr", ".gtl", ".gbl", ".GBR", ".pho", ".g1", ".g12", ".ger", ".cmp"};

void WriteFile(Corpus& corpus, Random& random, int index) {
  Format format;
  format.IntegerDigits = random.Between(2, 4);
  format.DecimalDigits = random.Between(3, 5);
  format.LeadingOmitted = random.Chance(80);
  format.Imperial = random.Chance(60);
  // Mostly CR LF; a line feed alone is an ordinary character to the importer, and some files have
  // no line ends at all.
  const int lineEndChoice = random.Between(1, 10);
  const std::string lineEnd = lineEndChoice <= 8 ? "\r\n" : (lineEndChoice == 9 ? "\n" : "");
  const bool rs274d = random.Chance(30);
  const bool noApertures = random.Chance(5);  // stops at the first move: "Aperture Table Not Found"
  const std::vector<Aperture> apertures = ChooseApertures(random);

  char name[32];
  std::snprintf(name, sizeof name, "f%03d", index);
  const std::string stem = name;
  // Now and then no extension: the first table-file candidate is then the Gerber file itself.
  const std::string extension = random.Chance(3) ? std::string() : random.Pick(kExtensions);

  Writer writer(random, lineEnd);
  std::string first = std::string(format.LeadingOmitted ? "%FSLA" : "%FSTA") + "X" +
                      std::to_string(format.IntegerDigits) + std::to_string(format.DecimalDigits) + "Y" +
                      std::to_string(format.IntegerDigits) + std::to_string(format.DecimalDigits) + "*%";
  if (random.Chance(10)) first = "G04 generated " + stem + "*" + first;
  writer.Line(first);
  if (random.Chance(90)) writer.Line(format.Imperial ? "%MOIN*%" : "%MOMM*%");
  if (!rs274d && !noApertures) {
    for (const Aperture& aperture : apertures) writer.Line(Definition(random, aperture, format.Imperial));
  }
  writer.Statements(Body(random, format, noApertures ? std::vector<Aperture>{} : apertures));
  corpus.Write(stem + extension, writer.Text());

  if (rs274d && !noApertures) {
    // The changed extension (".gbr" -> ".Abr"), ".apr", both (the first wins) or neither (the
    // import stops at the first move).
    const int choice = random.Between(1, 10);
    if (!extension.empty() && (choice <= 5 || choice == 9)) {
      std::string changed = extension;
      changed[1] = 'A';
      corpus.Write(stem + changed, TableFile(random, apertures, lineEnd));
    }
    if ((choice >= 6 && choice <= 8) || choice == 9 || (extension.empty() && choice <= 5)) {
      corpus.Write(stem + ".apr", TableFile(random, apertures, lineEnd));
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::fprintf(stderr, "usage: zz-e2e-corpus OUTDIR COUNT [SEED]\n");
    return 2;
  }
  const int count = std::atoi(argv[2]);
  const uint64_t seed = argc == 4 ? std::strtoull(argv[3], nullptr, 10) : 20240611;
  if (count <= 0) {
    std::fprintf(stderr, "zz-e2e-corpus: COUNT must be a positive number\n");
    return 2;
  }
  Corpus corpus{argv[1]};
  std::error_code error;
  std::filesystem::create_directories(corpus.Folder, error);
  Random random(seed);
  for (int i = 1; i <= count; ++i) WriteFile(corpus, random, i);
  std::printf("zz-e2e-corpus: %d Gerber files, %d files in all, in %s\n", count, corpus.Written, argv[1]);
  return 0;
}
