#pragma once

// A count in the summaries' words.

#include <cstddef>
#include <string>

namespace zzcli {

// "1 file", "3 files".
inline std::string Plural(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace zzcli
