#pragma once
#include <stdexcept>
#include <string>

namespace gerberx {

// Any input the reader cannot read, or a bound it hit. what() reads
// "FILE:LINE: REASON in 'STATEMENT'", the statement cut to a readable length.
class ReadError : public std::runtime_error {
 public:
  ReadError(std::string file, int line, std::string statement, std::string reason);
  const std::string& File() const { return file_; }
  int Line() const { return line_; }
  const std::string& Statement() const { return statement_; }
  const std::string& Reason() const { return reason_; }

 private:
  std::string file_;
  int line_;
  std::string statement_;
  std::string reason_;
};

}  // namespace gerberx
