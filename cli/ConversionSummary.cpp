#include "cli/ConversionSummary.h"

#include <cmath>

namespace zzcli {
namespace {

namespace cv = gerberx::convert;

std::string Plural(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string KeptText(const cv::ConvertedLayer& layer) {
  std::string text = Plural(layer.Pads.size(), "pad", "pads") + ", " + Plural(layer.Tracks.size(), "track", "tracks") +
                     ", " + Plural(layer.Arcs.size(), "arc", "arcs") + ", " +
                     Plural(layer.RectStrokes.size(), "fill", "fills");
  if (layer.MacroFlashesKept == 0) return text;
  return text + " (" + std::to_string(layer.MacroObjectsKept) + " of them from " +
         Plural(layer.MacroFlashesKept, "macro flash", "macro flashes") + " of circles and rectangles)";
}

std::string DecomposedText(const cv::ConvertedLayer& layer) {
  std::string text;
  for (std::size_t i = 0; i < layer.DecomposedBy.size(); ++i) {
    if (layer.DecomposedBy[i] == 0) continue;
    if (!text.empty()) text += ", ";
    text += cv::DecomposeReasonText(static_cast<cv::DecomposeReason>(i), layer.DecomposedBy[i]);
  }
  return text.empty() ? "nothing" : text;
}

std::string WrittenText(const cv::WrittenCounts& counts) {
  return Plural(counts.Total(), "object", "objects") + " (" + Plural(counts.Pads, "pad", "pads") + ", " +
         Plural(counts.Tracks, "track", "tracks") + ", " + Plural(counts.Arcs, "arc", "arcs") + ", " +
         Plural(counts.Fills, "fill", "fills") + "), " + Plural(counts.Apertures, "aperture", "apertures");
}

}  // namespace

void PrintConversion(std::ostream& out, const cv::ConvertedLayer& layer, const ConversionFigures& figures) {
  if (figures.ObjectsRead == 0) {
    // A CAD program writes such a file for every empty layer of a package.
    out << "  nothing to convert: the file draws nothing; written as an empty layer\n";
  } else {
    out << "  kept:        " << KeptText(layer) << "\n  decomposed:  " << DecomposedText(layer) << " into "
        << Plural(layer.Decomposed.Count(), "object", "objects") << "\n  written:     " << WrittenText(figures.Written)
        << '\n';
  }
  out << "  time:        " << std::llround(figures.Seconds * 1000.0) << " ms\n";
}

}  // namespace zzcli
