#pragma once

#include <stdexcept>
#include <string>

namespace zz {

// A text that must be a decimal integer is not one ("D+", "G-", "D1.5", "DCODE").
class EConversionError : public std::runtime_error {
 public:
  explicit EConversionError(const std::string& message) : std::runtime_error(message) {}
};

// A coordinate or size whose value in internal units does not fit in 32 bits.
class ERangeError : public std::runtime_error {
 public:
  explicit ERangeError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace zz
