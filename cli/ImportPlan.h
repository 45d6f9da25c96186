#pragma once

// What `zizozudu import` reads, in order, and on which layer: the files given, a folder's
// Gerber files in name order, each with the layer the user gave or the one its file says.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/LayerAssignment.h"

namespace zzcli {

struct PlannedImport {
  std::string File;  // UTF-8
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
};

// Why a file found in a folder is no Gerber file to import (a drill file, a netlist, a job file,
// pick-and-place data, an aperture table, a text...), or none. `head`: its first bytes.
std::optional<std::string> NotAGerberFile(std::string_view fileName, std::string_view head);

// The plan of an import command. The k-th --layer belongs to the k-th FILE, to each file of it
// for a folder; "auto" (or no --layer with several files or a folder) takes the layer the file says.
ImportPlan PlanImport(const ImportCommand& command);

// The summary's lines on the files of the folders that were not imported.
std::string FormatSkipped(const std::vector<SkippedFile>& skipped);

}  // namespace zzcli
