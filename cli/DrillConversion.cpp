#include "cli/DrillConversion.h"

#include <chrono>
#include <cmath>
#include <exception>

#include "cli/ConversionSummary.h"
#include "cli/ErrorPrefix.h"
#include "cli/FileContents.h"
#include "cli/WriteReplacing.h"
#include "gerberx/convert/GerberWriter.h"
#include "gerberx/drill/DrillConvert.h"
#include "gerberx/drill/DrillReader.h"

namespace zzcli {
namespace {

namespace dr = gerberx::drill;

std::string UnitsText(const dr::DrillFile& drill) {
  if (!drill.UnitsStated) return "inch (the file states none: the format's default)";
  return drill.Metric ? "mm" : "inch";
}

}  // namespace

bool ConvertDrillFile(const ConvertCommand& command, const std::string& file, const std::string& shown,
                      const std::string& target, std::ostream& out, std::ostream& err) {
  const auto started = std::chrono::steady_clock::now();
  try {
    // Read here, not by the reader: the path is UTF-8, which the file system gets as such.
    const std::optional<std::string> text = ReadWholeFile(file);
    if (!text) throw gerberx::ReadError(shown, 0, "", "cannot be opened");
    const dr::DrillFile drill = dr::ReadDrillText(*text, shown);
    gerberx::convert::WrittenCounts counts;
    const auto write = [&](std::ostream& output) {
      counts = gerberx::convert::WriteGerber(output, dr::ToConvertedLayer(drill));
    };
    if (!WriteReplacing(target, write, err)) return false;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (!command.Quiet) {
      out << shown << " -> " << target << "\n  drill:       " << dr::DrillSummary(drill);
      if (const std::string plating = dr::PlatingText(drill.Plated); !plating.empty()) {
        out << "\n  plating:     " << plating;
      }
      out << "\n  units:       " << UnitsText(drill) << "\n  written:     " << WrittenText(counts, false)
          << "\n  time:        " << std::llround(seconds * 1000.0) << " ms\n";
    }
    return true;
  } catch (const std::exception& e) {
    err << kTool << e.what() << '\n';
    return false;
  }
}

}  // namespace zzcli
