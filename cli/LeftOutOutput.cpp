#include "cli/LeftOutOutput.h"

#include <cstdio>
#include <nlohmann/json.hpp>

namespace zzcli {
namespace {

using zzreport::Cause;
using zzreport::CauseStatements;
using zzreport::kCauseCount;
using zzreport::LeftOutAnalysis;
using zzreport::LeftOutReport;

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string Percent(double part, double whole) {
  return whole > 0.0 ? Fixed(100.0 * part / whole, 1) + " %" : std::string("-");
}

void Line(std::string& out, const char* label, const std::string& value) {
  std::string padded = *label != '\0' ? std::string(label) + ":" : std::string();
  padded.resize(17, ' ');
  out += padded + value + '\n';
}

// One line per cause: "  3.210 mm2 (1.2 %) regions (G36/G37) are not filled".
void ByCauseLines(std::string& out, const std::array<double, kCauseCount>& areas, double whole) {
  for (std::size_t c = 1; c < kCauseCount; ++c) {
    // Below half a thousandth of a square millimetre is rounding, not a finding.
    if (areas[c] < 0.0005) continue;
    Line(out, "",
         "  " + Fixed(areas[c], 3) + " mm2 (" + Percent(areas[c], whole) + ") " +
             std::string(CauseWords(static_cast<Cause>(c))));
  }
}

std::string Shortened(const std::string& statement) {
  constexpr std::size_t kShown = 48;
  return statement.size() <= kShown ? statement : statement.substr(0, kShown) + "...";
}

constexpr const char* kLeftOutColour = "#2fd4ff";
constexpr const char* kAddedColour = "#ff3fd0";

SvgOverlay Overlay(const std::vector<gerberx::Ring>& rings, const std::string& name, const char* colour) {
  SvgOverlay overlay{name, colour, {}};
  for (const gerberx::Ring& ring : rings) {
    auto& points = overlay.Rings.emplace_back();
    points.reserve(ring.size());
    for (const gerberx::Point& p : ring) points.emplace_back(p.x, p.y);
  }
  return overlay;
}

}  // namespace

std::string LeftOutSummary(const LeftOutAnalysis& analysis) {
  std::string out;
  if (!analysis.Recognised) {
    std::string dark = analysis.Areas ? " (" + Fixed(analysis.Areas->DarkMm2, 3) + " mm2)" : std::string();
    Line(out, "Left out", "all of it" + dark + ": the editor would import nothing from this file, as its importer");
    Line(out, "", "does not recognise it; `zizozudu convert` writes a file that the importer reads whole");
    if (!analysis.Areas) Line(out, "", "(its area not measured: " + analysis.NotMeasured + ")");
  } else if (const std::optional<LeftOutReport>& a = analysis.Areas) {
    Line(out, "Left out",
         Fixed(a->LeftOutMm2, 3) + " mm2 of " + Fixed(a->DarkMm2, 3) + " mm2 dark (" +
             Percent(a->LeftOutMm2, a->DarkMm2) + ")");
    ByCauseLines(out, a->LeftOutByCause, a->DarkMm2);
    Line(out, "Added", Fixed(a->AddedMm2, 3) + " mm2 (" + Percent(a->AddedMm2, a->DarkMm2) + " of the dark area)");
    ByCauseLines(out, a->AddedByCause, a->DarkMm2);
  } else if (analysis.Whole()) {
    Line(out, "Left out", "nothing (0 %): every statement was read as the file means it");
  } else {
    Line(out, "Left out", "not measured: " + analysis.NotMeasured);
  }
  // For a file the importer turns down: what it would read differently once it is readable.
  const char* label = analysis.Recognised ? "Statements" : "Once readable";
  if (analysis.ReadFromCopy) {
    Line(out, label, "(from an import of a copy with its format statement put first)");
    label = "";
  }
  for (std::size_t c = 1; c < kCauseCount; ++c) {
    const CauseStatements& s = analysis.Reading.Statements[c];
    if (s.Count == 0) continue;
    std::string text = std::string(CauseWords(static_cast<Cause>(c))) + ": ";
    text += s.Count == 1 ? std::string() : std::to_string(s.Count) + " statements, ";
    for (std::size_t i = 0; i < s.First.size(); ++i) {
      text += (i == 0 ? "line " : ", ") + std::to_string(s.First[i].first);
      if (i == 0) text += " \"" + Shortened(s.First[i].second) + "\"";
    }
    if (s.Count > static_cast<int64_t>(s.First.size())) text += ", ...";
    Line(out, label, text);
    label = "";
  }
  return out;
}

std::string LeftOutJson(const LeftOutAnalysis& analysis) {
  nlohmann::ordered_json j = nlohmann::ordered_json::object();
  if (const std::optional<double> share = analysis.Share()) j["share"] = *share;
  if (const std::optional<LeftOutReport>& a = analysis.Areas) {
    j["dark_mm2"] = a->DarkMm2;
    j["left_out_mm2"] = a->LeftOutMm2;
    j["added_mm2"] = a->AddedMm2;
    j["added_share"] = a->AddedShare();
    nlohmann::ordered_json left = nlohmann::ordered_json::object();
    nlohmann::ordered_json added = nlohmann::ordered_json::object();
    for (std::size_t c = 1; c < kCauseCount; ++c) {
      const std::string key(CauseKey(static_cast<Cause>(c)));
      if (a->LeftOutByCause[c] > 0.0) left[key] = a->LeftOutByCause[c];
      if (a->AddedByCause[c] > 0.0) added[key] = a->AddedByCause[c];
    }
    j["by_cause_mm2"] = left;
    j["added_by_cause_mm2"] = added;
  } else if (analysis.Whole()) {
    j["added_share"] = 0.0;
  } else {
    j["not_measured"] = analysis.NotMeasured;
  }
  if (analysis.ReadFromCopy) j["read_from_copy"] = true;
  nlohmann::ordered_json statements = nlohmann::ordered_json::object();
  for (std::size_t c = 1; c < kCauseCount; ++c) {
    const CauseStatements& s = analysis.Reading.Statements[c];
    if (s.Count == 0) continue;
    nlohmann::ordered_json lines = nlohmann::ordered_json::array();
    for (const auto& [line, text] : s.First) lines.push_back(line);
    statements[std::string(CauseKey(static_cast<Cause>(c)))] = {{"count", s.Count}, {"lines", lines}};
  }
  j["statements"] = statements;
  return j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::vector<SvgOverlay> LeftOutOverlays(const std::vector<ImportReport>& reports) {
  std::vector<SvgOverlay> overlays;
  const bool several = reports.size() > 1;
  for (const ImportReport& report : reports) {
    if (!report.LeftOut || !report.LeftOut->Areas) continue;
    const std::string of = several ? ": " + report.File : std::string();
    overlays.push_back(Overlay(report.LeftOut->Areas->LeftOut, "left out" + of, kLeftOutColour));
    overlays.push_back(Overlay(report.LeftOut->Areas->Added, "added" + of, kAddedColour));
  }
  return overlays;
}

}  // namespace zzcli
