#include "gerberx/Fields.h"

#include <cctype>

namespace gerberx {

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

std::string WithoutBlanks(const std::string& s) {
  std::string out;
  for (char c : s)
    if (c != ' ' && c != '\t') out += c;
  return out;
}

std::vector<std::string> Split(const std::string& s, char by) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : s) {
    if (c == by) {
      parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  parts.push_back(part);
  return parts;
}

long SmallInt(std::string_view s) {
  if (s.empty() || s.size() > 9 || s.find_first_not_of("0123456789") != std::string_view::npos) return -1;
  long n = 0;
  for (const char c : s) n = n * 10 + (c - '0');
  return n;
}

}  // namespace gerberx
