#pragma once

// The board dump "zizozudu-board/1": the header keys in their fixed order, then the objects in
// the order they were added, one per line so that two dumps diff well. Lengths are integers in
// internal units, angles doubles printed so that they read back to the same value, `layer` the
// classic layer number of the object's layer identifier. Texts that are not valid UTF-8 (file
// names in a single-byte code page) are written with replacement characters.

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "standin/Server.h"

namespace standin {

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

struct DumpHeader {
  std::string File;
  bool Recognised = false;
  bool Result = false;
  std::optional<IgnoredCounts> Ignored;  // written under "ignored" when present
  std::optional<std::string> LeftOut;    // a JSON value, written under "left_out" when present
};

// Messages come from server.Messages(), the current layer from the board. `files`, when not
// empty, is written under "files", one line each: a board made of several imports (the tool then
// gives the first file's name in the header, and Recognised and Result for all of them).
void WriteBoardJson(std::ostream& out, const Server& server, const Board& board, const DumpHeader& header,
                    const std::vector<ImportedFile>& files = {});
std::string BoardJson(const Server& server, const Board& board, const DumpHeader& header,
                      const std::vector<ImportedFile>& files = {});

}  // namespace standin
