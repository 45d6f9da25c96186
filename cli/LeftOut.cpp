#include "cli/LeftOut.h"

#include <algorithm>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "cli/FileArea.h"

namespace zzcli {
namespace {

using namespace boost::polygon::operators;

// Shares out `rest` over the causes' objects in the order of Cause; what none holds is Other.
void ShareOut(PolygonSet rest, const std::array<PolygonSet, kCauseCount>& objects,
              std::array<double, kCauseCount>& areas) {
  for (std::size_t c = 1; c < kCauseCount; ++c) {
    if (c == static_cast<std::size_t>(Cause::Other) || objects[c].empty() || rest.empty()) continue;
    PolygonSet part = rest & objects[c];
    areas[c] = AreaMm2(part);
    if (areas[c] > 0.0) rest -= part;
  }
  areas[static_cast<std::size_t>(Cause::Other)] = AreaMm2(rest);
}

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

}  // namespace

LeftOutReport CompareAreas(const FileArea& file, const BoardArea& board) {
  LeftOutReport report;
  const PolygonSet& covered = board.Covered;
  report.DarkMm2 = AreaMm2(file.Dark);
  report.BoardMm2 = AreaMm2(covered);
  report.LeftOut = file.Dark - covered;
  report.Added = covered - file.Dark;
  report.LeftOutMm2 = AreaMm2(report.LeftOut);
  report.AddedMm2 = AreaMm2(report.Added);
  ShareOut(report.LeftOut, file.ObjectsByCause, report.LeftOutByCause);
  ShareOut(report.Added, board.ObjectsByCause, report.AddedByCause);
  return report;
}

std::string LeftOutSummary(const LeftOutAnalysis& analysis) {
  std::string out;
  const bool notRecognised = analysis.Reading.Global == Cause::NotRecognised;
  if (notRecognised) {
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
  } else {
    Line(out, "Left out", "not measured: " + analysis.NotMeasured);
  }
  // For a file the importer turns down: what it would read differently once it is readable.
  const char* label = notRecognised ? "Once readable" : "Statements";
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
  if (const std::optional<LeftOutReport>& a = analysis.Areas) {
    j["share"] = a->Share();
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
  } else {
    // Nothing of a file the importer turns down reaches the board, whatever its area.
    if (analysis.Reading.Global == Cause::NotRecognised) j["share"] = 1.0;
    j["not_measured"] = analysis.NotMeasured;
  }
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

}  // namespace zzcli

namespace zzcli {
namespace {

constexpr const char* kLeftOutColour = "#2fd4ff";
constexpr const char* kAddedColour = "#ff3fd0";

SvgOverlay Overlay(const PolygonSet& set, const std::string& name, const char* colour) {
  SvgOverlay overlay{name, colour, {}};
  for (const Ring& ring : Outlines(set)) {
    auto& points = overlay.Rings.emplace_back();
    points.reserve(ring.size());
    for (const auto& p : ring) points.emplace_back(p.x(), p.y());
  }
  return overlay;
}

}  // namespace

LeftOutAnalysis AnalyseImport(const std::string& file, const ImportFacts& facts, const standin::ObjectStore& objects,
                              std::span<const zz::THandle> added) {
  LeftOutAnalysis analysis;
  analysis.Reading = ScanPluginReading(file, ScanOptions{facts.TableFile, facts.Recognised});
  PluginReading& reading = analysis.Reading;
  if (!facts.Recognised) reading.Global = Cause::NotRecognised;

  // The full reading and the booleans take about a second of CPU per thousand objects on dense
  // boards, and grow faster than that: beyond this the statements are still found, the areas
  // are not measured.
  constexpr std::size_t kMaxObjects = 20'000;
  // For a file the importer turns down, the scan's count of what it would create stands in.
  const std::size_t objectCount = std::max(added.size(), reading.ObjectCauses.size());
  if (objectCount > kMaxObjects) {
    analysis.NotMeasured = "the file makes " + std::to_string(objectCount) + " objects; areas are measured up to " +
                           std::to_string(kMaxObjects) + " (--no-left-out skips the analysis)";
    return analysis;
  }
  // The board's objects by cause. The scan foresees one entry per object the importer creates;
  // when the counts differ (an object the editor refused, a table file's apertures) the causes
  // cannot be matched and the objects count as read right.
  BoardArea board;
  const bool matched = reading.ObjectCauses.size() == added.size();
  for (std::size_t i = 0; i < added.size(); ++i) {
    Cause cause = matched ? reading.ObjectCauses[i] : Cause::None;
    if (reading.Global != Cause::None) cause = reading.Global;
    AddObjectShape(board.Covered, objects, added[i]);
    if (cause != Cause::None) AddObjectShape(board.ObjectsByCause[static_cast<std::size_t>(cause)], objects, added[i]);
  }

  std::optional<FileArea> area = ReadFileArea(file, reading, analysis.NotMeasured);
  if (area) analysis.Areas = CompareAreas(*area, board);
  return analysis;
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
