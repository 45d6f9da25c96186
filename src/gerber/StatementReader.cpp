#include "gerber/StatementReader.h"

namespace zz {

std::string QuotedStatement(std::string_view statement) {
  std::string text;
  text.reserve(statement.size() + 2);
  for (const char c : statement) {
    const auto code = static_cast<unsigned char>(c);
    text += (code < 32 || code == 127) ? ' ' : c;
  }
  const auto first = text.find_first_not_of(' ');
  const auto last = text.find_last_not_of(' ');
  text = first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
  return "\"" + text + "\"";
}

}  // namespace zz
