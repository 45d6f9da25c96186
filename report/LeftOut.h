#pragma once

// What a direct import leaves out or adds: the file's dark area as the full reading gives it,
// against the area the imported board covers, both in the board's internal units.
//
// Two steps. The importer's own events (Misreadings.h) show whether any statement was read
// differently from what the file means; only then are the areas measured, by one sweep over the
// file's and the board's outlines (SpanSweep.h).
//
// Attribution: every object of the file is put down to at most one cause (the one that makes
// the importer drop or misplace it), and so is every object the importer created. The area
// left out (dark, not on the board) is then shared out in the order of Cause: each cause takes
// what is left of it inside its objects, so the parts are disjoint and add up to the whole;
// what no cause's objects hold is "other". The added area (on the board, not dark) is shared
// out the same way over the board's objects.

#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "gerberx/Geometry.h"
#include "report/Misreadings.h"
#include "standin/ObjectStore.h"

namespace zzreport {

struct LeftOutReport {
  double DarkMm2 = 0.0;
  double BoardMm2 = 0.0;
  double LeftOutMm2 = 0.0;
  double AddedMm2 = 0.0;
  std::array<double, kCauseCount> LeftOutByCause{};
  std::array<double, kCauseCount> AddedByCause{};
  // Outlines of the left-out and added areas, when asked for (rectangles of the sweep's rows).
  std::vector<gerberx::Ring> LeftOut;
  std::vector<gerberx::Ring> Added;

  // The left-out area as a share of the dark area (0 when the file has none).
  double Share() const { return DarkMm2 > 0.0 ? LeftOutMm2 / DarkMm2 : 0.0; }
  double AddedShare() const { return DarkMm2 > 0.0 ? AddedMm2 / DarkMm2 : 0.0; }
};

// Left out and added, by cause, with the statements behind them; or why nothing was measured.
struct LeftOutAnalysis {
  std::optional<LeftOutReport> Areas;
  std::string NotMeasured;  // why Areas is empty when a statement was misread (the file cannot be read fully)
  PluginReading Reading;
  bool Recognised = true;
  bool ReadFromCopy = false;  // the statements come from a copy made readable

  // Nothing was misread: the board is the file.
  bool Whole() const { return Recognised && !Reading.FoundAny(); }
  // The share of the dark area left out, when known.
  std::optional<double> Share() const;
};

struct ImportFacts {
  bool Recognised = true;
  bool Outlines = false;  // keep the left-out and added outlines, for drawing
};

// The analysis of one import: `reading` is what its events showed, `added` the objects it created.
LeftOutAnalysis AnalyseImport(const std::string& file, const ImportFacts& facts, PluginReading reading,
                              const standin::ObjectStore& objects, std::span<const zz::THandle> added);

// The sweep's row pitch: a fifth of a 1000-dpi pixel.
constexpr double kRowPitchMm = 0.00508;

}  // namespace zzreport
