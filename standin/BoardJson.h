#pragma once

// The board dump "zizozudu-board/1": the header keys in their fixed order, then the objects in
// the order they were added, one per line so that two dumps diff well. Lengths are integers in
// internal units, angles doubles printed so that they read back to the same value, `layer` the
// classic layer number of the object's layer identifier. Texts that are not valid UTF-8 (file
// names in a single-byte code page) are written with replacement characters.

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "standin/Server.h"

namespace standin {

struct DumpHeader {
  std::string File;
  bool Recognised = false;
  bool Result = false;
};

// Messages come from the server's user interface, the current layer from the board. `more`,
// members a caller adds (each written ",\"key\":value"), follows the objects as it is.
void WriteBoardJson(std::ostream& out, const Server& server, const Board& board, const DumpHeader& header,
                    std::string_view more = {});
std::string BoardJson(const Server& server, const Board& board, const DumpHeader& header, std::string_view more = {});

// A text, or a list of texts, as JSON: escaped, and with replacement characters where a text
// is not valid UTF-8.
std::string JsonString(std::string_view text);
std::string JsonStrings(const std::vector<std::string>& texts);

}  // namespace standin
