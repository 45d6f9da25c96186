#pragma once

// What the tool adds to the stand-in's board dump: the counts of what an import ignored, what it
// left out, and,
// for a board made of several imports, each file under "files".

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zzcli {

// Counts by kind of what the import read and could not represent, in the order to print them.
using IgnoredCounts = std::vector<std::pair<std::string, int64_t>>;

// One of several files imported one after the other into the same board. Its objects are the
// `Objects` that follow those of the files before it.
struct ImportedFile {
  std::string File;
  int32_t Layer = 0;  // the current layer it was imported on
  bool Recognised = false;
  bool Result = false;
  std::vector<std::string> Messages;  // shown during its import
  int64_t Objects = 0;
  std::optional<IgnoredCounts> Ignored;
  std::optional<std::string> LeftOut;  // a JSON value, written under "left_out"
};

// The members that follow the objects: "ignored" and "left_out" (a JSON value) when given, then
// "files" when not empty, one file a line.
std::string DumpMembers(const std::optional<IgnoredCounts>& ignored, const std::optional<std::string>& leftOut,
                        const std::vector<ImportedFile>& files);

}  // namespace zzcli
