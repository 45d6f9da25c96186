// What `zizozudu import` says it leaves out, against a measure that owes nothing to our code:
// gerbv draws the original file, and the imported board written back as Gerber, at 1000 dpi in
// one frame; the share of the original's dark pixels that the board's picture lacks must match
// the tool's "left_out" share within 1 % of the dark area, and the share the board's picture adds
// its "added_share" within 2 %. A cause only counts as checked where it shares a file's area with
// what is read right: each cause met must have at least two files whose share is neither 0 nor 1.
//
// Usage: zz-left-out-vs-gerbv TOOL WORKDIR FILE...
// A file the importer does not recognise is also tried made readable by hand (its format
// statement moved to the top), as a user would. Exit 77 (skipped) without gerbv.

#include <png.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

constexpr double kNmPerUnit = 2.54;  // internal units of 1/10000 mil
constexpr double kPi = 3.14159265358979323846;
constexpr double kTolerance = 0.01;
// gerbv draws every line at least a pixel wide: what the board adds along thin lines shows wider.
constexpr double kAddedTolerance = 0.02;
constexpr int kPartialFilesPerCause = 2;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

int Run(const std::string& command) {
  const int status = std::system(command.c_str());
  return status == -1 ? -1 : WEXITSTATUS(status);
}

// The first format statement moved to the front; the rest as it was.
std::string MadeReadable(const std::string& text) {
  const std::size_t start = text.find("%FS");
  if (start == std::string::npos) return text;
  const std::size_t end = text.find('%', start + 1);
  if (end == std::string::npos) return text;
  std::string rest = text;
  rest.erase(start, end + 1 - start);
  return text.substr(start, end + 1 - start) + "\n" + rest;
}

// The board written as Gerber, drawn the way the editor draws its objects.
class BoardGerber {
 public:
  std::string Text(const json& objects) {
    for (const json& o : objects) Object(o);
    std::string head = "%FSLAX46Y46*%\n%MOMM*%\n%LPD*%\n";
    for (const auto& [key, code] : apertures_) head += "%ADD" + std::to_string(code) + key + "*%\n";
    return head + "G75*\n" + body_.str() + "M02*\n";
  }

 private:
  static long long Nm(double units) { return std::llround(units * kNmPerUnit); }
  static std::string Mm(double units) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", std::abs(units) * kNmPerUnit / 1e6);
    return text;
  }
  std::string Xy(double x, double y) { return "X" + std::to_string(Nm(x)) + "Y" + std::to_string(Nm(y)); }

  void Select(const std::string& key) {
    auto [it, added] = apertures_.try_emplace(key, 10 + static_cast<int>(apertures_.size()));
    body_ << "D" << it->second << "*\n";
  }

  void Polygon(const std::vector<std::pair<double, double>>& points) {
    body_ << "G36*\n" << Xy(points[0].first, points[0].second) << "D02*\nG01*\n";
    for (std::size_t i = 1; i <= points.size(); ++i) {
      const auto& [x, y] = points[i % points.size()];
      body_ << Xy(x, y) << "D01*\n";
    }
    body_ << "G37*\n";
  }

  static std::vector<std::pair<double, double>> Box(double cx, double cy, double w, double h, double degrees,
                                                    double cut = 0) {
    std::vector<std::pair<double, double>> local;
    if (cut > 0) {
      local = {{-w / 2 + cut, -h / 2}, {w / 2 - cut, -h / 2}, {w / 2, -h / 2 + cut}, {w / 2, h / 2 - cut},
               {w / 2 - cut, h / 2},   {-w / 2 + cut, h / 2}, {-w / 2, h / 2 - cut}, {-w / 2, -h / 2 + cut}};
    } else {
      local = {{-w / 2, -h / 2}, {w / 2, -h / 2}, {w / 2, h / 2}, {-w / 2, h / 2}};
    }
    const double c = std::cos(degrees * kPi / 180);
    const double s = std::sin(degrees * kPi / 180);
    for (auto& [x, y] : local) std::tie(x, y) = std::make_pair(cx + x * c - y * s, cy + x * s + y * c);
    return local;
  }

  void Object(const json& o) {
    const std::string kind = o["kind"];
    if (kind == "track") {
      const double w = o["width"];
      if (w == 0) return;
      Select("C," + Mm(w));
      body_ << "G01*\n" << Xy(o["x1"], o["y1"]) << "D02*\n" << Xy(o["x2"], o["y2"]) << "D01*\n";
    } else if (kind == "arc") {
      const double w = o["width"];
      const double r = std::abs(static_cast<double>(o["radius"]));
      const double cx = o["x"];
      const double cy = o["y"];
      double sweep = static_cast<double>(o["end_angle"]) - static_cast<double>(o["start_angle"]);
      if (sweep < 0) sweep += 360;
      if (sweep < 0) sweep = std::fmod(sweep, 360.0) + 360;
      if (w == 0) return;
      Select("C," + Mm(w));
      const double a = static_cast<double>(o["start_angle"]) * kPi / 180;
      const double b = a + std::min(sweep, 360.0) * kPi / 180;
      body_ << Xy(cx + r * std::cos(a), cy + r * std::sin(a)) << "D02*\n";
      if (sweep == 0) {
        body_ << "D03*\n";
        return;
      }
      body_ << "G03*\n"
            << Xy(cx + r * std::cos(b), cy + r * std::sin(b)) << "I" << Nm(-r * std::cos(a)) << "J"
            << Nm(-r * std::sin(a)) << "D01*\nG01*\n";
    } else if (kind == "fill") {
      const double x1 = o["x1"], y1 = o["y1"], x2 = o["x2"], y2 = o["y2"];
      if (x1 == x2 || y1 == y2) return;
      Polygon(Box((x1 + x2) / 2, (y1 + y2) / 2, std::abs(x2 - x1), std::abs(y2 - y1), o["rotation"]));
    } else if (kind == "pad") {
      const json& top = o["top"];
      const double w = std::abs(static_cast<double>(top["x_size"]));
      const double h = std::abs(static_cast<double>(top["y_size"]));
      const int shape = top["shape"];
      const double rotation = o["rotation"];
      const double x = o["x"], y = o["y"];
      if (w == 0 || h == 0) return;
      if (shape == 2 && rotation != 0) {
        Polygon(Box(x, y, w, h, rotation));
        return;
      }
      if (shape == 3) {
        Polygon(Box(x, y, w, h, rotation, std::min(w, h) / (2 + std::sqrt(2.0))));
        return;
      }
      if (shape == 2) {
        Select("R," + Mm(w) + "X" + Mm(h));
      } else if (shape == 1 && w != h) {
        Select("O," + Mm(w) + "X" + Mm(h));  // turned obround pads do not occur: the importer sets no rotation
      } else {
        Select("C," + Mm(shape == 1 ? w : std::max(w, h)));
      }
      body_ << Xy(x, y) << "D03*\n";
    }
  }

  std::map<std::string, int> apertures_;
  std::ostringstream body_;
};

// Lit pixels of a picture, one byte each.
bool Pixels(const fs::path& path, std::vector<unsigned char>& lit, unsigned& width, unsigned& height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&image, path.c_str()) == 0) return false;
  image.format = PNG_FORMAT_GRAY;
  lit.assign(PNG_IMAGE_SIZE(image), 0);
  if (png_image_finish_read(&image, nullptr, lit.data(), 0, nullptr) == 0) return false;
  width = image.width;
  height = image.height;
  for (unsigned char& p : lit) p = p > 127 ? 1 : 0;
  return true;
}

struct Measured {
  double GerbvShare = 0;
  double GerbvAdded = 0;
  double ToolShare = 0;
  double ToolAdded = 0;
  long long DarkPixels = 0;
  std::vector<std::string> Causes;  // those the tool gives a share of the left-out or added area
};

// Imports one file with the tool and measures it with gerbv; false when something failed.
bool Measure(const std::string& tool, const fs::path& work, const fs::path& file, Measured& m, std::string& error) {
  const fs::path dump = work / (file.filename().string() + ".json");
  Run(Quoted(tool) + " import " + Quoted(file) + " --quiet --json " + Quoted(dump) + " 2>/dev/null");
  json board;
  try {
    board = json::parse(ReadAll(dump));
  } catch (const std::exception& e) {
    error = std::string("no dump: ") + e.what();
    return false;
  }
  if (!board.contains("left_out") || !board["left_out"].contains("share")) {
    error = "the dump has no left-out share: " + board.value("left_out", json()).dump();
    return false;
  }
  m.ToolShare = board["left_out"]["share"];
  m.ToolAdded = board["left_out"].value("added_share", 0.0);
  const json& leftOut = board["left_out"];
  for (const char* key : {"by_cause_mm2", "added_by_cause_mm2"}) {
    if (!leftOut.contains(key)) continue;
    for (const auto& [cause, area] : leftOut[key].items()) {
      // Causes of the whole file take all of it by design; "other" is no cause.
      static const std::set<std::string> kWholeFile = {
          "other",           "not_recognised",          "units_in_format",
          "units_by_g_code", "incremental_coordinates", "image_parameters"};
      if (area.get<double>() > 0.0005 && kWholeFile.count(cause) == 0) m.Causes.push_back(cause);
    }
  }
  const fs::path boardFile = work / (file.filename().string() + ".board.gbr");
  std::ofstream(boardFile) << BoardGerber().Text(board["objects"]);

  const std::string gerbv = "gerbv -x png -D 1000 -B 0 -b '#000000' ";
  const fs::path original = work / (file.filename().string() + ".original.png");
  const fs::path imported = work / (file.filename().string() + ".board.png");
  const std::string both = " " + Quoted(file) + " " + Quoted(boardFile) + " >/dev/null 2>&1";
  // Both pictures hold both files, one of them transparent, so that they share one frame.
  Run(gerbv + "-f '#FFFFFFFF' -f '#FFFFFF00' -o " + Quoted(original) + both);
  Run(gerbv + "-f '#FFFFFF00' -f '#FFFFFFFF' -o " + Quoted(imported) + both);
  std::vector<unsigned char> a;
  std::vector<unsigned char> b;
  unsigned wa = 0, ha = 0, wb = 0, hb = 0;
  if (!Pixels(original, a, wa, ha) || !Pixels(imported, b, wb, hb) || wa != wb || ha != hb) {
    error = "gerbv gave no pictures of one size";
    return false;
  }
  long long dark = 0, left = 0, added = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    dark += a[i];
    left += a[i] & (b[i] ^ 1);
    added += b[i] & (a[i] ^ 1);
  }
  m.DarkPixels = dark;
  m.GerbvShare = dark > 0 ? static_cast<double>(left) / static_cast<double>(dark) : 0.0;
  m.GerbvAdded = dark > 0 ? static_cast<double>(added) / static_cast<double>(dark) : 0.0;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::cerr << "usage: zz-left-out-vs-gerbv TOOL WORKDIR FILE...\n";
    return 2;
  }
  if (Run("gerbv --version >/dev/null 2>&1") != 0) {
    std::cout << "gerbv is not installed: skipped\n";
    return 77;
  }
  const std::string tool = argv[1];
  const fs::path work = argv[2];
  fs::create_directories(work);
  int failures = 0;
  int measured = 0;
  std::map<std::string, int> partial;  // by cause: files whose share is neither 0 nor 1
  std::printf("%-34s %10s %10s %10s %10s %8s\n", "file", "gerbv", "tool", "difference", "added (g/t)", "");
  for (int i = 3; i < argc; ++i) {
    const fs::path file = argv[i];
    if (!fs::exists(file)) {
      std::printf("%-34s not present, skipped\n", file.filename().c_str());
      continue;
    }
    std::vector<fs::path> variants = {file};
    const std::string text = ReadAll(file);
    const std::string readable = MadeReadable(text);
    if (readable != text && text.rfind("%FS", 0) != 0) {
      const fs::path copy = work / ("readable-" + file.filename().string());
      std::ofstream(copy, std::ios::binary) << readable;
      variants.push_back(copy);
    }
    for (const fs::path& variant : variants) {
      Measured m;
      std::string error;
      if (!Measure(tool, work, variant, m, error)) {
        std::printf("%-34s FAILED: %s\n", variant.filename().c_str(), error.c_str());
        ++failures;
        continue;
      }
      ++measured;
      const double difference = m.ToolShare - m.GerbvShare;
      const bool ok = std::abs(difference) <= kTolerance && std::abs(m.ToolAdded - m.GerbvAdded) <= kAddedTolerance;
      for (const std::string& cause : m.Causes) partial[cause] += m.ToolShare > 0.0 && m.ToolShare < 1.0 ? 1 : 0;
      failures += ok ? 0 : 1;
      std::printf("%-34s %9.2f%% %9.2f%% %9.2f%% %5.1f/%-5.1f %s\n", variant.filename().c_str(), 100 * m.GerbvShare,
                  100 * m.ToolShare, 100 * difference, 100 * m.GerbvAdded, 100 * m.ToolAdded, ok ? "ok" : "FAILED");
    }
  }
  if (measured == 0) {
    std::cout << "no file measured: skipped\n";
    return 77;
  }
  for (const auto& [cause, files] : partial) {
    const bool ok = files >= kPartialFilesPerCause;
    std::printf("%-34s %d file(s) with a share between 0 and 1 %s\n", cause.c_str(), files, ok ? "ok" : "FAILED");
    failures += ok ? 0 : 1;
  }
  return failures == 0 ? 0 : 1;
}
