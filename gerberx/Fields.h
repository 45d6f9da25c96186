#pragma once
// Small routines on the text of a statement's fields.

#include <string>
#include <string_view>
#include <vector>

namespace gerberx {

bool IsDigit(char c);
std::string WithoutBlanks(const std::string& s);
std::vector<std::string> Split(const std::string& s, char by);
// A small whole number from a field ("10", "01"); -1 when it is not one.
long SmallInt(std::string_view s);

}  // namespace gerberx
