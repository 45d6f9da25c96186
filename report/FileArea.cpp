#include "report/FileArea.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "gerberx/Reader.h"
#include "report/BoardShapes.h"

namespace zzreport {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Why the importer drops or misplaces an object of the file: what changes the whole file
// first, then what the object is, then what its statement holds.
Cause CauseOf(const gerberx::Object& object, const PluginReading& reading) {
  if (reading.Global != Cause::None) return reading.Global;
  if (reading.FirstOperationWithoutApertures != 0 && object.line >= reading.FirstOperationWithoutApertures) {
    return reading.FirstOperationCause;
  }
  if (object.stepRepeatCopy > 0) return Cause::StepAndRepeat;
  if (object.blockDepth > 0) return Cause::BlockApertures;
  if (object.kind == gerberx::ObjectKind::Region) return Cause::Regions;
  if (object.kind == gerberx::ObjectKind::MacroFlash) return Cause::MacroPads;
  const auto line = reading.LineCauses.find(object.line);
  return line != reading.LineCauses.end() ? line->second : Cause::None;
}

// The file's text, read once for both tries below; failing as the reader fails on the file.
std::string FileText(const std::string& file) {
  // By its UTF-8 name: a narrow one opens in the ANSI code page on Windows.
  std::ifstream in(std::filesystem::path(std::u8string(file.begin(), file.end())), std::ios::binary);
  if (!in) throw gerberx::ReadError(file, 0, "", "cannot open the file");
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) throw gerberx::ReadError(file, 0, "", "cannot read the file");
  return text.str();
}

// A file whose apertures are in a table file (RS-274-D), for the full reader: the apertures the
// importer used, as definitions on the format statement's line so that every line keeps its number.
std::optional<std::string> WithApertures(const std::string& content, const PluginReading& reading) {
  if (reading.Apertures.empty()) return std::nullopt;
  const std::size_t start = content.find("%FS");
  const std::size_t end = start == std::string::npos ? start : content.find('%', start + 1);
  if (end == std::string::npos) return std::nullopt;
  const double perUnit = reading.Imperial ? 1.0 / gerberx::kUnitsPerInch : 1.0 / gerberx::kUnitsPerMm;
  const auto size = [perUnit](int32_t units) {
    char number[32];
    std::snprintf(number, sizeof number, "%.6f", std::abs(static_cast<double>(units)) * perUnit);
    return std::string(number);
  };
  std::string definitions = reading.Imperial ? "%MOIN*%" : "%MOMM*%";
  for (const PluginReading::ApertureUsed& a : reading.Apertures) {
    definitions += "%ADD" + std::to_string(a.DCode);
    switch (a.Shape) {
      case zz::ApertureShapeCode::Rectangle:
        definitions += "R," + size(a.XSize) + "X" + size(a.YSize);
        break;
      case zz::ApertureShapeCode::Octagon:  // sides on the axes, as wide across them as the importer's pad
        definitions +=
            "P," + size(static_cast<int32_t>(std::lround(std::max(a.XSize, a.YSize) / std::cos(kPi / 8)))) + "X8X22.5";
        break;
      case zz::ApertureShapeCode::Round:
        if (a.XSize != a.YSize) {
          definitions += "O," + size(a.XSize) + "X" + size(a.YSize);
          break;
        }
        [[fallthrough]];
      default:
        definitions += "C," + size(std::max(a.XSize, a.YSize));
        break;
    }
    definitions += "*%";
  }
  std::string defined = content;
  defined.insert(end + 1, definitions);
  return defined;
}

}  // namespace

std::optional<FileArea> ReadFileArea(const std::string& file, const PluginReading& reading, std::string& why) {
  FileArea area;
  try {
    gerberx::Options options;
    options.chordErrorMm = kChordErrorMm;
    // The sweep fills the objects itself: no dark area, and plain objects outlined when reached.
    options.computeDarkArea = false;
    options.plainObjectAreas = false;
    const std::string text = FileText(file);
    try {
      area.Layer = gerberx::ReadGerberText(text, file, options);
    } catch (const gerberx::ReadError&) {
      const std::optional<std::string> defined = WithApertures(text, reading);
      if (!defined) throw;
      area.Layer = gerberx::ReadGerberText(*defined, file, options);
    }
  } catch (const std::exception& e) {
    why = std::string("the file cannot be read fully: ") + e.what();
    return std::nullopt;
  }
  area.Causes.reserve(area.Layer.objects.size());
  for (const gerberx::Object& object : area.Layer.objects) area.Causes.push_back(CauseOf(object, reading));
  return area;
}

}  // namespace zzreport
