#include "cli/ConversionSummary.h"

#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "cli/Plural.h"

namespace zzcli {
namespace {

namespace cv = gerberx::convert;

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

std::string Mm2(double mm2) {
  char text[48];
  std::snprintf(text, sizeof text, "%.4f mm2", mm2);
  return text;
}

std::string Share(double part, double whole) {
  if (whole <= 0.0) return "-";
  char text[32];
  std::snprintf(text, sizeof text, "%.3f %%", 100.0 * part / whole);
  return text;
}

std::string Mm(gerberx::Coord units) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", gerberx::ToMm(units));
  return text;
}

}  // namespace

std::string WrittenText(const cv::WrittenCounts& counts, bool fills) {
  std::string text = Plural(counts.Total(), "object", "objects") + " (" + Plural(counts.Pads, "pad", "pads") + ", " +
                     Plural(counts.Tracks, "track", "tracks") + ", " + Plural(counts.Arcs, "arc", "arcs");
  if (fills) text += ", " + Plural(counts.Fills, "fill", "fills");
  return text + "), " + Plural(counts.Apertures, "aperture", "apertures");
}

void PrintConversion(std::ostream& out, const cv::ConvertedLayer& layer, const ConversionFigures& figures) {
  if (figures.ObjectsRead == 0) {
    // A CAD program writes such a file for every empty layer of a package.
    out << "  nothing to convert: the file draws nothing; written as an empty layer\n";
  } else {
    out << "  kept:        " << KeptText(layer) << "\n  decomposed:  " << DecomposedText(layer) << " into "
        << Plural(layer.Decomposed.Count(), "object", "objects")
        << "\n  written:     " << WrittenText(figures.Written, true) << " for "
        << Plural(figures.Primitives, "primitive", "primitives") << " placed by the original\n";
  }
  if (const std::optional<cv::ProofResult>& proof = figures.Proof) {
    out << "  proof:       uncovered " << Mm2(proof->UncoveredMm2) << " ("
        << Share(proof->UncoveredMm2, proof->ComparedDarkMm2) << "), added " << Mm2(proof->AddedMm2) << " ("
        << Share(proof->AddedMm2, proof->ComparedDarkMm2) << ") of " << Mm2(proof->ComparedDarkMm2)
        << " dark compared, past the tolerance band; " << Plural(proof->Identical, "object", "objects")
        << " written as drawn\n";
    if (proof->Exceeds()) {
      out << "  DIFFERENCE:  " << Plural(proof->Pieces, "piece", "pieces")
          << " past what the tolerance allows; the largest, " << Mm2(proof->WorstMm2) << ", in x "
          << Mm(proof->Worst.min.x) << " to " << Mm(proof->Worst.max.x) << ", y " << Mm(proof->Worst.min.y) << " to "
          << Mm(proof->Worst.max.y) << " mm\n";
    }
  }
  out << "  time:        " << std::llround(figures.Seconds * 1000.0) << " ms (the proof "
      << std::llround(figures.ProofSeconds * 1000.0) << " ms)\n";
}

std::string ConversionJson(const std::vector<ConversionFigures>& files) {
  nlohmann::json all = nlohmann::json::array();
  for (const ConversionFigures& f : files) {
    nlohmann::json file = {{"file", f.File},
                           {"target", f.Target},
                           {"objects_read", f.ObjectsRead},
                           {"primitives_placed", f.Primitives},
                           {"objects_written", f.Written.Total()},
                           {"pads", f.Written.Pads},
                           {"tracks", f.Written.Tracks},
                           {"arcs", f.Written.Arcs},
                           {"fills", f.Written.Fills},
                           {"apertures", f.Written.Apertures},
                           {"seconds", f.Seconds},
                           {"proof_seconds", f.ProofSeconds}};
    if (f.Proof) {
      const cv::ProofResult& p = *f.Proof;
      const auto share = [&](double part) { return p.ComparedDarkMm2 > 0 ? part / p.ComparedDarkMm2 : 0.0; };
      nlohmann::json proof = {{"uncovered_mm2", p.UncoveredMm2},        {"added_mm2", p.AddedMm2},
                              {"dark_compared_mm2", p.ComparedDarkMm2}, {"uncovered_share", share(p.UncoveredMm2)},
                              {"added_share", share(p.AddedMm2)},       {"objects_identical", p.Identical},
                              {"objects_compared", p.Compared},         {"pieces_past_tolerance", p.Pieces},
                              {"within_tolerance", !p.Exceeds()}};
      if (p.Exceeds()) {
        proof["largest_piece"] = {{"mm2", p.WorstMm2},
                                  {"x1", gerberx::ToMm(p.Worst.min.x)},
                                  {"y1", gerberx::ToMm(p.Worst.min.y)},
                                  {"x2", gerberx::ToMm(p.Worst.max.x)},
                                  {"y2", gerberx::ToMm(p.Worst.max.y)}};
      }
      file["proof"] = std::move(proof);
    }
    all.push_back(std::move(file));
  }
  return nlohmann::json{{"files", all}}.dump(2) + "\n";
}

}  // namespace zzcli
