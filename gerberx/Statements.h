#pragma once
// Splits Gerber text into statements: word statements ending in '*', and the commands of
// '%' blocks (several in one block, an aperture macro's body kept whole).

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace gerberx {

struct Statement {
  bool extended = false;               // from a '%' block
  std::string text;                    // without the '*'; line ends removed
  std::vector<std::string> macroBody;  // %AM: the primitives and assignments after the name
  std::vector<int> macroLines;         // the line of each part of macroBody
  int line = 0;
};

class StatementSplitter {
 public:
  StatementSplitter(std::string_view text, std::string file, std::size_t maxStatementLength);
  // The next statement, or false at the end of the text. Throws ReadError on an unended '%' block.
  bool Next(Statement& out);

 private:
  bool NextWord(Statement& out);
  void ReadBlock();

  std::string_view text_;
  std::string file_;
  std::size_t maxLength_;
  std::size_t pos_ = 0;
  int line_ = 1;
  std::vector<Statement> pending_;  // the commands of the last '%' block not yet given out
  std::string word_;                // the word statement being read
  std::size_t pendingNext_ = 0;
};

}  // namespace gerberx
