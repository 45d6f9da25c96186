#pragma once

// What `zizozudu import` reads, in order, and on which layer: the files given, a folder's
// Gerber files in name order, each with the layer the user gave or the one its file says.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/LayerAssignment.h"

namespace zzcli {

class ScratchFolder;

struct PlannedImport {
  std::string File;   // UTF-8, on disk
  std::string Shown;  // as the summary names it: an archive's file as ARCHIVE/ENTRY, else File
  // The current layer to set before the import; none: the board's as it is (one file, no --layer).
  std::optional<LayerChoice> Layer;
};

struct SkippedFile {
  std::string File;
  std::string Why;  // "drill file", "netlist", ...
};

struct ImportPlan {
  std::vector<PlannedImport> Imports;
  std::vector<SkippedFile> Skipped;       // files of the folders given that are not Gerber files
  std::vector<std::string> EmptyFolders;  // folders given without a single Gerber file
  std::vector<std::string> Errors;        // archives that could not be opened, in plain words
  // Where the archives' files were extracted to; removed with the plan.
  std::vector<std::shared_ptr<ScratchFolder>> Scratch;
};

enum class FileKind { Gerber, Drill, Other };

struct FileClass {
  FileKind Kind = FileKind::Other;
  std::string Why;  // "drill file", "netlist", ...; empty for a Gerber file
};

// How many first bytes of a file its classification reads: a drill file's tool table may come
// after a long comment header.
constexpr std::size_t kClassifyHeadBytes = 4096;

// What a file of a package is: a Gerber file, an Excellon drill file, or something else (a
// netlist, a job file, pick-and-place data, an aperture table, a text...) with the reason.
// `head`: its first bytes.
FileClass ClassifyFile(std::string_view fileName, std::string_view head);

// Why a file found in a folder is no Gerber file to import, or none.
std::optional<std::string> NotAGerberFile(std::string_view fileName, std::string_view head);

// One FILE argument opened: a folder's files (not its subfolders) in name order, an archive's
// files (in its folders too) extracted into a scratch folder, or the file itself.
struct PackageFile {
  std::string Path;   // on disk, UTF-8
  std::string Shown;  // the folder's file as found, an archive's as ARCHIVE/ENTRY
  FileClass Class;
};
struct OpenedArgument {
  bool Package = false;  // a folder or an archive
  std::vector<PackageFile> Files;
  std::vector<SkippedFile> Skipped;  // subfolders of a folder
  std::optional<std::string> Error;  // an archive that could not be opened
  std::shared_ptr<ScratchFolder> Scratch;
};
OpenedArgument OpenArgument(const std::string& argument);

// `text` (a message, an error) with `file`, a package file's path on disk, named as the user knows
// it: `shown`, not an archive's scratch copy.
std::string AsShown(std::string text, const std::string& file, const std::string& shown);

// The plan of an import command. The k-th --layer belongs to the k-th FILE, to each file of it
// for a folder; "auto" (or no --layer with several files or a folder) takes the layer the file says.
ImportPlan PlanImport(const ImportCommand& command);

// The summary's lines on the files of the folders that were not imported.
std::string FormatSkipped(const std::vector<SkippedFile>& skipped);

}  // namespace zzcli
