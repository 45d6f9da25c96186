#include "gerberx/ReadError.h"

namespace gerberx {

namespace {

std::string Message(const std::string& file, int line, const std::string& statement, const std::string& reason) {
  std::string shown = statement.size() > 80 ? statement.substr(0, 77) + "..." : statement;
  std::string text = file;
  if (line > 0) text += ":" + std::to_string(line);
  text += ": " + reason;
  if (!shown.empty()) text += " in '" + shown + "'";
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
