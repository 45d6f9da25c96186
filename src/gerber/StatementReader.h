#pragma once

// Splits the Gerber text into statements: a parameter statement runs from "%" to the next "%",
// a data statement up to and including the next "*". Line ends are skipped; the progress
// display advances once per character and once per line end. Runs once per character of
// files of up to 100 MB, so it stays inline and allocates nothing.

#include <cstdint>
#include <string>
#include <string_view>

#include "gerber/GerberRun.h"
#include "host/HostRoutines.h"
#include "host/ShortString.h"

namespace zz {

// Line numbers stop at the largest 32-bit value: a file of more line ends than that must not
// overflow the count.
inline void CountLine(int32_t& line) {
  if (line < INT32_MAX) ++line;
}

// The next character of the file, line ends skipped; NUL at the end of the file.
inline char NextChar(GerberRun& run) {
  TextFile& file = run.File;
  if (file.AtEnd()) return '\0';
  while (file.AtLineEnd()) {
    file.SkipLineEnd();
    CountLine(run.LineNumber);
    host::PcbApi_Percent_Update();
    if (file.AtEnd()) return '\0';
  }
  const char c = file.ReadChar();
  if (c == '\n') CountLine(run.LineNumber);
  host::PcbApi_Percent_Update();
  return c;
}

// NextChar where the file is known to be neither at its end nor at a line end: the common case
// inside a statement, which needs none of NextChar's tests.
inline char TakeChar(GerberRun& run) {
  const char c = run.File.ReadChar();
  if (c == '\n') CountLine(run.LineNumber);
  host::PcbApi_Percent_Update();
  return c;
}

// The next statement; at most 255 characters are kept, the rest up to the terminator is read
// and dropped. After the last statement of a file one more, a single NUL, is read.
inline TShortString<255> ReadStatement(GerberRun& run) {
  TShortString<255> statement;
  TextFile& file = run.File;
  char c = NextChar(run);
  // Line feeds between statements only separate them. Taken into the next statement they
  // would hide its "%" from the test below, and a file with bare line-feed line ends would
  // read as one long parameter statement that draws nothing.
  while ((c == '\0' || c == '\n') && !file.AtEnd()) c = NextChar(run);
  if (c == '\n') c = '\0';
  const int32_t startLine = run.LineNumber;
  char terminator = '*';
  if (c == '%') {
    terminator = '%';
    statement.Append(c);
    c = NextChar(run);
  }
  while (c != terminator && !file.AtEnd()) {
    statement.Append(c);
    c = file.AtLineEnd() ? NextChar(run) : TakeChar(run);
  }
  statement.Append(c);
  run.StatementLine = startLine;
  return statement;
}

inline bool IsParameterStatement(std::string_view statement) { return statement.find('%') != std::string_view::npos; }

// The statement quoted for a message, control characters shown as blanks.
std::string QuotedStatement(std::string_view statement);

}  // namespace zz
