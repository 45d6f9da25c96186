#pragma once
#include <stdexcept>

namespace gerberx {

// A statement the reader cannot read, thrown by the routines that decode its fields; the
// statement loop adds the file, line and statement (ReadError).
class StatementError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace gerberx
