#pragma once

// `zizozudu convert FILE|FOLDER|ZIP... [-o OUT | --out-dir DIR] [--tolerance MM]`: each Gerber
// and drill file rewritten as a Gerber file the importer recognises and reads whole, with the
// same copper, under a name that keeps its layer; folders and archives opened, other files
// skipped.

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/LayerAssignment.h"

namespace CLI {
class App;
}

namespace zzcli {

struct ConvertCommand {
  std::vector<std::string> Files;
  std::optional<std::string> Output;     // -o: only with one file
  std::optional<std::string> OutputDir;  // --out-dir
  double ToleranceMm = 0.005;
  std::optional<std::string> Json;  // --json: every file's counts and proof
  bool Quiet = false;
};

// The subcommand and its options, filling `command` when it is parsed.
CLI::App* AddConvertSubcommand(CLI::App& app, ConvertCommand& command);

// After parsing: a usage error in plain words, or none.
std::optional<std::string> CheckConvertCommand(const ConvertCommand& command);

// What the importer makes of an RS-274-D file: why it does not recognise it, or the aperture
// table file it loads with it (as spelled on disk; none when there is none). The tool asks the
// importer itself, so that it never holds a second copy of the importer's search.
struct TableSearchResult {
  std::optional<std::string> NotRecognised;
  std::optional<std::string> TableFile;
  bool ReadWhole = false;  // the import read the whole file (one that draws nothing needs no table)
};
using TableSearch = std::function<TableSearchResult(const std::string& file)>;

// Where a file's conversion goes and what it says of its layer.
struct ConvertedTarget {
  std::string Path;  // UTF-8
  // The file function comment the file carries when its name cannot say its layer.
  std::optional<std::string> LayerComment;
};

// The converted file of `name` (the original's file name) in `folder` (empty: the current
// one): the original's name up to its extension, then `infix`, then an extension that says
// `layer` by the name conventions and that the editor's dialog shows; a layer no such
// extension says gets ".gbr" and the comment. The default layer keeps a shown extension.
ConvertedTarget ConvertedTargetOf(const std::string& folder, const std::string& name, const std::string& infix,
                                  const LayerChoice& layer);

// Where the conversions of a FILE argument's files go: into --out-dir under their own names; else
// a folder's or an archive's (`package`) into NAME-converted beside it, under their own names;
// else beside the file, NAME.converted.EXT.
struct OutputPlace {
  std::string Folder;  // UTF-8; empty: the current one
  std::string Infix;   // before the extension
};
OutputPlace OutputPlaceOf(const ConvertCommand& command, const std::string& argument, bool package);

// The converted file of `shown` (as the summary names it), of an argument whose conversions go
// to `place`: -o as given, else as ConvertedTargetOf says.
ConvertedTarget TargetOfFile(const ConvertCommand& command, const OutputPlace& place, const std::string& shown,
                             const LayerChoice& layer);

// Where a drill file's conversion puts its holes.
inline const LayerChoice kDrillLayer{73, LayerSource::FileName, ""};  // DrillDrawing

// Every file converted, but the proof of one shows a difference past the tolerance.
constexpr int kExitProofDiffers = 4;

int RunConvert(const ConvertCommand& command, const TableSearch& findTable, std::ostream& out, std::ostream& err);

}  // namespace zzcli
