#pragma once

// What a direct import leaves out or adds: the file's dark area as the full reading gives it,
// against the area the imported board covers, both in the board's internal units.
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

#include "cli/BoardShapes.h"
#include "cli/BoardSvg.h"
#include "cli/Misreadings.h"
#include "cli/Summary.h"

namespace zzcli {

// The file's side: its dark area, and the objects behind it by cause (Cause::None, the objects
// the importer reads right, left empty).
struct FileArea {
  PolygonSet Dark;
  std::array<PolygonSet, kCauseCount> ObjectsByCause;
};

// The board's side: the objects this import created, all of them and by cause (Cause::None
// left empty).
struct BoardArea {
  PolygonSet Covered;
  std::array<PolygonSet, kCauseCount> ObjectsByCause;
};

struct LeftOutReport {
  double DarkMm2 = 0.0;
  double BoardMm2 = 0.0;
  double LeftOutMm2 = 0.0;
  double AddedMm2 = 0.0;
  std::array<double, kCauseCount> LeftOutByCause{};
  std::array<double, kCauseCount> AddedByCause{};
  PolygonSet LeftOut;
  PolygonSet Added;

  // The left-out area as a share of the dark area (0 when the file has none).
  double Share() const { return DarkMm2 > 0.0 ? LeftOutMm2 / DarkMm2 : 0.0; }
  double AddedShare() const { return DarkMm2 > 0.0 ? AddedMm2 / DarkMm2 : 0.0; }
};

LeftOutReport CompareAreas(const FileArea& file, const BoardArea& board);

// Left out and added, by cause, with the statements behind them; or why nothing was measured.
struct LeftOutAnalysis {
  std::optional<LeftOutReport> Areas;
  std::string NotMeasured;  // why Areas is empty (the file could not be read fully, too large, ...)
  PluginReading Reading;
};

struct ImportFacts {
  bool Recognised = true;
  bool TableFile = false;  // the import loaded an aperture table file
};

// Reads the file fully and compares it with `added`, the objects its import created.
LeftOutAnalysis AnalyseImport(const std::string& file, const ImportFacts& facts, const standin::ObjectStore& objects,
                              std::span<const zz::THandle> added);

// The summary's lines (each ending with a line feed) and the dump's "left_out" value.
std::string LeftOutSummary(const LeftOutAnalysis& analysis);
std::string LeftOutJson(const LeftOutAnalysis& analysis);

// The left-out and added areas of the reports that have them, to draw over the board.
std::vector<SvgOverlay> LeftOutOverlays(const std::vector<ImportReport>& reports);

}  // namespace zzcli
