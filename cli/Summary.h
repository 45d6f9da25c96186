#pragma once

// The one-screen summary of an import: what the user reads after `zizozudu import`.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "cli/ImportDump.h"
#include "host/LayerTypes.h"
#include "report/LeftOut.h"
#include "standin/Geometry.h"
#include "standin/Server.h"

namespace zzcli {

struct ObjectCounts {
  std::size_t Tracks = 0;
  std::size_t Fills = 0;
  std::size_t Arcs = 0;
  std::size_t Pads = 0;
  std::size_t Others = 0;  // kinds the importer never creates
  std::size_t Total() const { return Tracks + Fills + Arcs + Pads + Others; }
};

struct ImportReport {
  std::string File;
  bool Recognised = false;
  std::string NotRecognisedReason;  // plain words, when not recognised
  bool Result = false;
  bool Crashed = false;  // the import ended by an exception, whose text is CrashText
  std::string CrashText;
  zz::TLayerNumber Layer = 0;  // the board's current layer, where the objects went
  std::string LayerWhy;        // where that layer came from, when the tool chose it
  std::vector<std::string> Messages;
  std::size_t ObjectsAdded = 0;  // by this import, whether or not the summary counts them
  ObjectCounts Counts;
  std::optional<standin::Box> Bounds;  // internal units
  bool TableSearched = false;          // the import looked for an aperture table file
  std::optional<std::string> TableFile;
  std::optional<IgnoredCounts> Ignored;
  std::optional<zzreport::LeftOutAnalysis> LeftOut;  // what the import leaves out, when analysed
};

// The board's objects from the first-th on, in the order added.
ObjectCounts CountObjects(const standin::ObjectStore& objects, const standin::Board& board, std::size_t first = 0);

// Several lines, each "Label:  value", ending with a line feed.
std::string FormatSummary(const ImportReport& report);

// After the summaries of several files imported into one board: the board as a whole, its
// layers with their files, its objects and its bounding box.
std::string FormatBoardSummary(const std::vector<ImportReport>& reports, const ObjectCounts& counts,
                               const std::optional<standin::Box>& bounds);

// A length in internal units as millimetres or inches with a fixed number of decimals.
std::string FormatMm(double units);
std::string FormatInch(double units);

}  // namespace zzcli
