#pragma once

#include <string>

namespace zz {

// Whether the file exists and its first line, upper-cased, holds a whole format statement:
// "%FS" (or "%*FS"), "X", "Y" and "*%". Opens and closes the file; keeps no state. Tells the
// import observer, if one is set, why a file is turned down.
bool IsRecognisedGerberFile(const std::string& fileName);

// The same test on a first line already read.
bool IsFormatStatementLine(std::string_view firstLine);

}  // namespace zz
