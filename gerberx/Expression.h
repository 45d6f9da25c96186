#pragma once
// The arithmetic of aperture macros: numbers, variables $n, + - x / (also X), parentheses and
// unary signs. Parsed once when the macro is defined, evaluated at each aperture definition.

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace gerberx {

// A malformed expression; the caller adds the file and line.
class ExpressionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

using Variables = std::map<int, double>;

class Expression {
 public:
  static Expression Parse(const std::string& text);  // throws ExpressionError
  // An unset variable is 0. The result may be inf or nan; the caller checks what it needs.
  double Evaluate(const Variables& vars) const;

 private:
  struct Node {
    char op;  // 'n' number, 'v' variable, '~' negation, or + - x /
    double value = 0;
    int var = 0;
    int left = -1, right = -1;
  };
  std::vector<Node> nodes_;
  int root_ = -1;
  double Eval(int node, const Variables& vars) const;
  friend class ExpressionParser;
};

}  // namespace gerberx
