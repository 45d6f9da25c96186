#pragma once

// Splits the Gerber text into statements: a parameter statement runs from "%" to the next "%",
// a data statement up to and including the next "*". Line ends are skipped; the progress
// display advances once per character and once per line end. Runs once per character of
// files of up to 100 MB, so it stays inline and allocates nothing.

#include <array>
#include <cstddef>
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

// Inside a statement: neither a line end, a line feed, a Ctrl-Z nor the statement's terminator.
// By table, one per terminator: every character of the file passes through it.
template <char Terminator>
inline constexpr auto kOrdinaryChar = [] {
  std::array<bool, 256> table{};
  table.fill(true);
  for (const char c : {Terminator, '\r', '\n', '\x1a'}) table[static_cast<unsigned char>(c)] = false;
  return table;
}();

// The length of the run of ordinary characters at the start of text.
inline std::size_t OrdinaryRun(std::string_view text, char terminator) {
  const std::array<bool, 256>& ordinary = terminator == '%' ? kOrdinaryChar<'%'> : kOrdinaryChar<'*'>;
  std::size_t n = 0;
  while (n < text.size() && ordinary[static_cast<unsigned char>(text[n])]) ++n;
  return n;
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
    // A run of ordinary characters ahead in the buffer is taken at once, with one progress step
    // each; anything else (a line end, a line feed, a Ctrl-Z, the terminator) one at a time.
    const std::string_view ahead = file.Buffered();
    const std::size_t n = OrdinaryRun(ahead, terminator);
    statement.Append(c);
    if (n == 0) {
      c = file.AtLineEnd() ? NextChar(run) : TakeChar(run);
      continue;
    }
    statement.Append(ahead.substr(0, n - 1));
    c = ahead[n - 1];
    file.Advance(n);
    const auto update = host::BoundTable().PcbApi_Percent_Update;
    for (std::size_t i = 0; i < n; ++i) update();
  }
  statement.Append(c);
  run.StatementLine = startLine;
  return statement;
}

inline bool IsParameterStatement(std::string_view statement) { return statement.find('%') != std::string_view::npos; }

// The statement quoted for a message, control characters shown as blanks.
std::string QuotedStatement(std::string_view statement);

}  // namespace zz
