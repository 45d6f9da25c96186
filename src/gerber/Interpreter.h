#pragma once

// The road every statement of a file takes: the format statement first, then each statement
// through dispatch, the aperture table rule and execution. Whatever stops a statement leaves
// here as one EStatementError naming its line and the statement; the caller adds only the file.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "gerber/GerberRun.h"

namespace zz {

// "line N: <what went wrong> in statement "<statement>"".
class EStatementError : public std::runtime_error {
 public:
  explicit EStatementError(const std::string& message) : std::runtime_error(message) {}
};

// Reads and drops the statements before the first one holding "%" and applies that one as the
// format statement. False when the file ends first.
bool ReadUpToFormatStatement(GerberRun& run);

// Applies one statement read after the format statement and, for a data statement, carries out
// its operation. False when the run must stop: a move, draw or flash without any aperture table,
// which is not carried out and is reported to the user as "Aperture Table Not Found".
bool InterpretStatement(GerberRun& run, std::string_view statement);

}  // namespace zz
