#include "gerberx/ReadError.h"

namespace gerberx {

namespace {

std::string Message(const std::string& file, int line, const std::string& statement, const std::string& reason) {
  // Appended piece by piece: g++ 12 at -O2 for i686 warns (falsely) of overlapping copies in
  // chains of `+` on temporaries here.
  std::string text = file;
  if (line > 0) text.append(":").append(std::to_string(line));
  text.append(": ").append(reason);
  if (!statement.empty()) {
    text.append(" in '");
    if (statement.size() > 80) {
      text.append(statement, 0, 77).append("...");
    } else {
      text.append(statement);
    }
    text.append("'");
  }
  return text;
}

}  // namespace

ReadError::ReadError(std::string file, int line, std::string statement, std::string reason)
    : std::runtime_error(Message(file, line, statement, reason)),
      file_(std::move(file)),
      line_(line),
      statement_(std::move(statement)),
      reason_(std::move(reason)) {}

}  // namespace gerberx
